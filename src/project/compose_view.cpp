#include "project/compose_view.h"

#include "text/effects.h"

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

// The frame of an area other than the current one, in a dimmer red.
constexpr raster::Colour kDimRed = raster::rgb(0xFF, 0x99, 0x99);

void drawFrame(const TextArea &area, raster::Raster &view, raster::Colour colour)
{
    view.drawOutline(area.x, area.y, qint64(area.x) + area.width, qint64(area.y) + area.height, colour);
}

// The frames of the text areas and the hint lines, which only the screen
// shows. With several areas each is numbered inside its top-left corner, the
// current one drawn last, in full red.
void drawGuides(const Workspace &workspace, raster::Raster &view, bool selectionMode, std::optional<QPoint> hintsAt)
{
    const ProjectSettings &settings = workspace.settings;
    if (settings.showSelection) {
        const bool several = workspace.areas.size() > 1;
        for (size_t i = 0; i < workspace.areas.size(); ++i) {
            if (int(i) == workspace.currentArea)
                continue;
            const TextArea &area = workspace.areas[i].values.rect;
            drawFrame(area, view, kDimRed);
            view.drawText(area.x + 2, area.y + 1, QString::number(i + 1), kDimRed);
        }
        drawFrame(settings.area, view, kRed);
        if (several)
            view.drawText(settings.area.x + 2, settings.area.y + 1, QString::number(workspace.currentArea + 1), kRed);
    }
    if (hintsAt)
        drawHints(settings, view, selectionMode, *hintsAt);
}

// The first word of each area that was not placed, in red where it would
// have gone, over the text and past the frame as far as it reaches.
void drawOverflowMarkers(const Workspace &workspace, raster::Raster &view)
{
    for (size_t i = 0; i < workspace.areas.size(); ++i) {
        const bool current = int(i) == workspace.currentArea;
        const AreaText &values = workspace.areas[i].values;
        const text::Overflow &overflow = current ? workspace.overflow : workspace.areas[i].overflow;
        if (!overflow.any())
            continue;
        const TextArea &area = current ? workspace.settings.area : values.rect;
        const std::int32_t lineSpacing = current ? workspace.settings.lineSpacing : values.lineSpacing;
        const std::uint8_t alignment = current ? workspace.settings.alignment : values.alignment;
        const text::Spacing &spacing = current ? workspace.spacing : values.spacing;
        const text::OverflowWord word =
            text::drawOverflowWord(overflow, workspace.glyphs, area.width, lineSpacing, alignment, kRed, spacing,
                                   &workspace.fontExtras.kerning);
        view.drawLeavingOut(word.picture, qint64(area.x) + word.at.x(), qint64(area.y) + word.at.y(), kWhite);
    }
}

// One area's rendered text onto view. The overlay's background is white; its
// text pixels are any other colour, whatever colour happens to lie in one of
// its corners. With effects it is drawn through its mask with them, reaching
// past its frame as far as they do but not past picture.
void drawOverlay(raster::Raster &view, const QRect &picture, const TextArea &area, const raster::Raster &overlay,
                 const text::TextMask &mask, const text::Effects &effects)
{
    if (effects.any())
        text::drawWithEffects(view, picture, area.x, area.y, overlay, overlayMask(overlay, mask), effects);
    else
        view.drawLeavingOut(overlay, area.x, area.y, kWhite);
}

// The rendered text of every area onto view, in their order, the current
// one from its live layout. Reads nothing of the workspace's picture but its
// size, so view may be the picture.
void drawAreas(const Workspace &workspace, raster::Raster &view, const QRect &picture)
{
    for (size_t i = 0; i < workspace.areas.size(); ++i) {
        const bool current = int(i) == workspace.currentArea;
        const AreaSlot &slot = workspace.areas[i];
        drawOverlay(view, picture, current ? workspace.settings.area : slot.values.rect,
                    current ? workspace.overlay : slot.overlay, current ? workspace.mask : slot.mask,
                    current ? workspace.effects : slot.values.effects);
    }
}

}  // namespace

void drawHints(const ProjectSettings &settings, raster::Raster &view, bool selectionMode, QPoint offset)
{
    if (!settings.showHelp)
        return;
    view.drawText(offset.x() + 10, offset.y() + 10, QStringLiteral("To select an area press \"Ctrl\""), kRed);
    if (selectionMode)
        view.drawText(offset.x() + 10, offset.y() + 24, QStringLiteral("Area selection mode is enabled!"), kRed);
}

void ComposeView(const Workspace &workspace, raster::Raster &view, bool exporting, bool selectionMode,
                 std::optional<QPoint> hintsAt)
{
    // A picture that covers the whole view leaves no white to show.
    const bool covered = workspace.hasPicture() && workspace.picture.width() >= view.width()
                         && workspace.picture.height() >= view.height();
    if (!covered)
        view.fill(kWhite);
    if (!workspace.hasPicture()) {
        drawPictureHint(view);
        return;
    }
    view.drawOpaque(workspace.picture, 0, 0);
    if (!exporting)
        drawGuides(workspace, view, selectionMode, hintsAt);
    drawAreas(workspace, view, QRect(0, 0, workspace.picture.width(), workspace.picture.height()));
    if (!exporting)
        drawOverflowMarkers(workspace, view);
}

std::vector<text::Notice> ExportOntoPicture(Workspace &workspace, const QByteArray &currentText, raster::Colour colour)
{
    // The view of an export is as large as the picture and starts as a copy
    // of its pixels, so the texts drawn onto the picture itself give the same
    // pixels without a second raster of its size; the resolution is the new
    // view's. Drawing an area reads nothing of the picture, so each one can
    // be drawn as soon as it is laid out.
    raster::Raster &picture = workspace.picture;
    const QRect whole(0, 0, picture.width(), picture.height());
    const font::Kerning *kerning = &workspace.fontExtras.kerning;
    std::vector<text::Notice> notices;
    for (size_t i = 0; i < workspace.areas.size(); ++i) {
        const bool current = int(i) == workspace.currentArea;
        AreaSlot &slot = workspace.areas[i];
        const TextArea &area = current ? workspace.settings.area : slot.values.rect;
        const text::TextSettings settings =
            current ? currentTextSettings(workspace, colour) : textSettingsOf(slot.values);
        const text::Effects &effects = current ? workspace.effects : slot.values.effects;
        text::LineTable &lines = current ? workspace.lines : slot.lines;
        raster::Raster &overlay = current ? workspace.overlay : slot.overlay;
        text::TextMask &mask = current ? workspace.mask : slot.mask;

        notices.push_back(
            layOutText(current ? currentText : slot.values.text, settings, workspace.glyphs, kerning, lines));
        if (!effects.any() && text::DrawLinesOnto(picture, area.x, area.y, lines, settings, workspace.glyphs, kerning))
            continue;
        renderOverlay(lines, settings, workspace.glyphs, kerning, overlay, mask);
        drawOverlay(picture, whole, area, overlay, mask, effects);
    }
    workspace.textColour = colour;
    workspace.bumpRevision();
    picture.resetResolution();
    return notices;
}

}  // namespace letterloom::project
