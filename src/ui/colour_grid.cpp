#include "ui/colour_grid.h"

#include <QMouseEvent>
#include <QPainter>

namespace letterloom::ui {

// The 16 colours of the default system palette, dark ones on top.
const std::array<raster::Colour, ColourGrid::kColumns * ColourGrid::kRows> ColourGrid::kColours = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

namespace {

// The mark of a selected square: FG, BG, or FB when it is both.
QString markOf(bool foreground, bool background)
{
    if (foreground && background)
        return QStringLiteral("FB");
    return foreground ? QStringLiteral("FG") : QStringLiteral("BG");
}

// Black marks on light squares, white ones on dark squares.
QColor markColour(raster::Colour colour)
{
    const int red = int(colour & 0xFF), green = int((colour >> 8) & 0xFF), blue = int((colour >> 16) & 0xFF);
    return red * 299 + green * 587 + blue * 114 > 128 * 1000 ? Qt::black : Qt::white;
}

}  // namespace

ColourGrid::ColourGrid(QWidget *parent)
    : QWidget(parent)
{
}

QRect ColourGrid::squareRect(int index) const
{
    const int column = index % kColumns, row = index / kColumns;
    const int left = column * width() / kColumns, right = (column + 1) * width() / kColumns;
    const int top = row * height() / kRows, bottom = (row + 1) * height() / kRows;
    return {left, top, right - left, bottom - top};
}

int ColourGrid::squareAt(QPoint position) const
{
    if (!rect().contains(position))
        return -1;
    const int column = position.x() * kColumns / width();
    const int row = position.y() * kRows / height();
    return row * kColumns + column;
}

void ColourGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QFont small = font();
    small.setPixelSize(9);
    small.setBold(true);
    painter.setFont(small);
    for (int index = 0; index < kColumns * kRows; ++index) {
        const QRect square = squareRect(index);
        const raster::Colour colour = kColours[std::size_t(index)];
        painter.fillRect(square, QColor::fromRgb(raster::toQRgb(colour)));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(square.adjusted(0, 0, -1, -1));
        const bool foreground = index == foreground_, background = index == background_;
        if (foreground || background) {
            painter.setPen(markColour(colour));
            painter.drawText(square, Qt::AlignCenter, markOf(foreground, background));
        }
    }
}

void ColourGrid::follow(Qt::MouseButtons held, QPoint position)
{
    const int index = squareAt(position);
    if (index < 0)
        return;
    if (held & Qt::LeftButton)
        foreground_ = index;
    if (held & Qt::RightButton)
        background_ = index;
    update();
}

void ColourGrid::mousePressEvent(QMouseEvent *event)
{
    follow(event->button(), event->position().toPoint());
}

void ColourGrid::mouseMoveEvent(QMouseEvent *event)
{
    follow(event->buttons(), event->position().toPoint());
}

void ColourGrid::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseUp(event->button());
}

}  // namespace letterloom::ui
