#include "project/live_refresh.h"

#include "base/error.h"
#include "project/text_areas.h"
#include "project/workspace.h"

#include <QSettings>

namespace letterloom::project {

namespace {

const QString kKey = QStringLiteral("liveRefresh");

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Letterloom"),
                     QStringLiteral("Letterloom"));
}

}  // namespace

LiveRefresh::LiveRefresh()
    : on_(settings().value(kKey, false).toBool())
{
}

void LiveRefresh::setOn(bool on)
{
    on_ = on;
    last_.reset();
    notice_.clear();
    settings().setValue(kKey, on);
}

bool LiveRefresh::tick(Workspace &workspace, const QByteArray &text, raster::Colour colour)
{
    if (!on_)
        return false;
    const ProjectSettings &settings = workspace.settings;
    Inputs now{text, colour, settings.alignment, settings.lineSpacing, settings.area, workspace.effects,
               workspace.revision()};
    if (last_ == now)
        return false;
    try {
        notice_ = areasNotice(refreshAreas(workspace, text, colour));
    } catch (const Error &error) {
        notice_ = error.message();
        workspace.bumpRevision();
    }
    // The refresh moved the revision itself.
    now.revision = workspace.revision();
    last_ = now;
    return true;
}

}  // namespace letterloom::project
