#include "project/compose_view.h"

namespace letterloom::project {

namespace {

using raster::kRed;
using raster::kWhite;

void drawPictureHint(raster::Raster &view)
{
    const QString hint = QStringLiteral("Load picture here!");
    const QSize extent = raster::Raster::measureText(hint);
    view.drawText((view.width() - extent.width()) / 2, (view.height() - extent.height()) / 2, hint, kRed);
}

// The frame of the text area and the hint lines, which only the screen shows.
void drawGuides(const ProjectSettings &settings, raster::Raster &view, bool selectionMode)
{
    if (settings.showSelection) {
        const TextArea &area = settings.area;
        view.drawOutline(area.x, area.y, qint64(area.x) + area.width, qint64(area.y) + area.height, kRed);
    }
    if (settings.showHelp) {
        view.drawText(10, 10, QStringLiteral("To select an area press \"Ctrl\""), kRed);
        if (selectionMode)
            view.drawText(10, 24, QStringLiteral("Area selection mode is enabled!"), kRed);
    }
}

}  // namespace

void ComposeView(const Workspace &workspace, raster::Raster &view, bool exporting, bool selectionMode)
{
    view.fill(kWhite);
    if (!workspace.hasPicture()) {
        drawPictureHint(view);
        return;
    }
    view.drawOpaque(workspace.picture, 0, 0);
    if (!exporting)
        drawGuides(workspace.settings, view, selectionMode);
    // The overlay's background is white; its text pixels are any other colour,
    // whatever colour happens to lie in one of its corners.
    const TextArea &area = workspace.settings.area;
    view.drawLeavingOut(workspace.overlay, area.x, area.y, kWhite);
}

}  // namespace letterloom::project
