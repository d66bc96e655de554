#include "project/view_zoom.h"

#include <QSettings>

#include <algorithm>

namespace letterloom::project {

namespace {

const QString kKey = QStringLiteral("imageZoom");

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Letterloom"),
                     QStringLiteral("Letterloom"));
}

// Division rounding towards minus infinity.
int floorDiv(qint64 value, int divisor)
{
    const qint64 quotient = value / divisor;
    return int(quotient - (value % divisor != 0 && value < 0));
}

}  // namespace

bool isZoomLevel(int zoom)
{
    return std::find(kZoomLevels.begin(), kZoomLevels.end(), zoom) != kZoomLevels.end();
}

int zoomedIn(int zoom)
{
    const auto next = std::upper_bound(kZoomLevels.begin(), kZoomLevels.end(), zoom);
    return next == kZoomLevels.end() ? kZoomLevels.back() : *next;
}

int zoomedOut(int zoom)
{
    const auto next = std::lower_bound(kZoomLevels.begin(), kZoomLevels.end(), zoom);
    return next == kZoomLevels.begin() ? kZoomLevels.front() : *(next - 1);
}

int storedZoom()
{
    bool number = false;
    const int zoom = settings().value(kKey).toInt(&number);
    return number && isZoomLevel(zoom) ? zoom : 1;
}

void storeZoom(int zoom)
{
    settings().setValue(kKey, zoom);
}

QPoint toPicture(QPoint atView, QPoint origin, int zoom)
{
    return {floorDiv(qint64(atView.x()) + origin.x(), zoom), floorDiv(qint64(atView.y()) + origin.y(), zoom)};
}

ViewLayout layOutView(QSize content, QSize room, int barThickness)
{
    bool horizontal = content.width() > room.width();
    bool vertical = content.height() > room.height();
    if (horizontal && !vertical)
        vertical = content.height() > room.height() - barThickness;
    if (vertical && !horizontal)
        horizontal = content.width() > room.width() - barThickness;
    const int barWidth = vertical ? barThickness : 0;
    const int barHeight = horizontal ? barThickness : 0;
    const QSize viewport(std::clamp(room.width() - barWidth, 0, content.width()),
                         std::clamp(room.height() - barHeight, 0, content.height()));
    return {viewport, horizontal, vertical, viewport + QSize(barWidth, barHeight)};
}

QPoint originKeeping(QPoint atView, QPoint origin, int from, int to)
{
    // The point of the zoomed picture under atView, in picture pixels and
    // their fraction, lands at the same place of the view.
    const auto keep = [&](int at, int corner) {
        const qint64 zoomed = qint64(at) + corner;
        return int(zoomed * to / from - at);
    };
    return {keep(atView.x(), origin.x()), keep(atView.y(), origin.y())};
}

}  // namespace letterloom::project
