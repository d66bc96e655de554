#include "project/workspace.h"

#include "text/render.h"

#include <QCoreApplication>
#include <QDir>

namespace letterloom::project {

Workspace::Workspace(QString programDirectory)
    : programDirectory(std::move(programDirectory))
{
    if (!this->programDirectory.isEmpty() && !this->programDirectory.endsWith(u'/'))
        this->programDirectory += u'/';
}

text::Notice refreshText(Workspace &workspace, const QByteArray &text, raster::Colour colour)
{
    const ProjectSettings &settings = workspace.settings;
    workspace.textColour = colour;
    workspace.bumpRevision();
    const text::Notice notice = refreshOverlay(text, currentTextSettings(workspace, colour), workspace.glyphs,
                                               &workspace.fontExtras.kerning, workspace.lines, workspace.overlay,
                                               workspace.mask);
    workspace.overflow = text::MeasureOverflow(text, notice, workspace.lines, settings.area.width,
                                               settings.area.height, settings.lineSpacing, workspace.glyphs,
                                               workspace.spacing, &workspace.fontExtras.kerning);
    return notice;
}

text::TextSettings currentTextSettings(const Workspace &workspace, raster::Colour colour)
{
    const ProjectSettings &settings = workspace.settings;
    return {settings.area.width, settings.area.height, settings.lineSpacing, settings.alignment, colour,
            workspace.spacing};
}

text::Notice refreshOverlay(const QByteArray &text, const text::TextSettings &settings, const font::GlyphTable &glyphs,
                            const font::Kerning *kerning, text::LineTable &lines, raster::Raster &overlay,
                            text::TextMask &mask)
{
    const text::Notice notice = layOutText(text, settings, glyphs, kerning, lines);
    renderOverlay(lines, settings, glyphs, kerning, overlay, mask);
    return notice;
}

text::Notice layOutText(const QByteArray &text, const text::TextSettings &settings, const font::GlyphTable &glyphs,
                        const font::Kerning *kerning, text::LineTable &lines)
{
    text::ClearLineTable(lines);
    return text::LayoutText(text, settings.areaWidth, settings.areaHeight, settings.lineSpacing, glyphs, lines,
                            settings.spacing, kerning);
}

void renderOverlay(const text::LineTable &lines, const text::TextSettings &settings, const font::GlyphTable &glyphs,
                   const font::Kerning *kerning, raster::Raster &overlay, text::TextMask &mask)
{
    text::RenderLines(lines, settings.areaWidth, settings.areaHeight, settings.lineSpacing, settings.alignment, glyphs,
                      overlay, settings.spacing, kerning);
    // Tinted in any other colour, the text stays the overlay's pixels that
    // are not white; only white text needs its mask kept.
    mask = settings.colour == raster::kWhite ? text::textMask(overlay) : text::TextMask{};
    text::TintOverlay(overlay, settings.colour);
}

text::TextMask overlayMask(const raster::Raster &overlay, const text::TextMask &kept)
{
    if (kept.width == overlay.width() && kept.height == overlay.height() && !kept.isEmpty())
        return kept;
    return text::textMask(overlay);
}

QString applicationDirectory()
{
    return QDir(QCoreApplication::applicationDirPath()).absolutePath() + u'/';
}

}  // namespace letterloom::project
