#pragma once

#include "font/char_map.h"
#include "font/font_extras.h"
#include "font/glyph_table.h"
#include "project/project_extras.h"
#include "project/settings.h"
#include "project/text_areas.h"
#include "raster/raster.h"
#include "text/effects.h"
#include "text/layout.h"
#include "text/render.h"
#include "text/line_table.h"
#include "text/overflow.h"

#include <QString>

#include <cstdint>

namespace letterloom::project {

// The program's whole document state, alive for the whole run. The
// application makes one and hands it to every window; a test makes its own.
// Windows keep only their own widget state.
//
// The windows' timers tick every millisecond but draw only when the revision
// has moved since their last frame. So whatever changes something a window
// shows (the picture, the overlay, the text area, the show flags, a glyph, the
// current glyph, the pixel size, ...) bumps the revision, or the change does
// not reach the screen.
struct Workspace {
    explicit Workspace(QString programDirectory);

    // A number that grows with every change of what a window shows.
    std::uint64_t revision() const { return revision_; }
    void bumpRevision() { ++revision_; }

    // The folder of the program's own file, with its trailing separator: the
    // base of relative font paths in project files and where dialogs start.
    QString programDirectory;

    font::GlyphTable glyphs;
    int currentGlyph = 0;  // the glyph selected in the character table
    // The extras of the font file beside its glyphs, written back with them.
    font::FontExtras fontExtras;

    ProjectSettings settings;
    // The extras of the project file beside its settings, written back with them.
    ProjectExtras projectExtras;

    // Unsaved work. fontModified: the glyph table differs from its file. The
    // other three: the project changed since it was last read, written or reset.
    bool fontModified = false;
    bool textChanged = false;
    bool pictureChanged = false;
    bool areaChanged = false;
    // The effects of an area changed since the project was last read, written or reset.
    bool effectsChanged = false;
    // The tracking or word spacing of an area changed, likewise.
    bool spacingChanged = false;
    bool projectChanged() const
    {
        return textChanged || pictureChanged || areaChanged || effectsChanged || spacingChanged;
    }

    QString projectPath;  // empty while the project has no file
    QString fontPath;     // empty while the font has no file

    bool pictureLoaded = false;
    raster::Raster picture;
    // There is a picture to show and to export: one was loaded, and it has
    // pixels (a project saved before any picture was loaded holds an empty one).
    bool hasPicture() const { return pictureLoaded && !picture.isEmpty(); }

    text::LineTable lines;   // the layout of the last refresh
    raster::Raster overlay;  // the rendered text of the last refresh, text area sized
    text::TextMask mask;     // white text's mask, taken before tinting (overlayMask)
    // Where and by how much the text of the last refresh missed its area.
    text::Overflow overflow;

    // The current area's text colour: the colour box's as the last refresh
    // read it, or a project's as Open gave it to the colour box. A change of
    // area keeps it with the area it belongs to.
    raster::Colour textColour = raster::kBlack;
    // The current area's effects, drawn with its overlay (text/effects.h).
    text::Effects effects;
    // The current area's tracking and word spacing.
    text::Spacing spacing;

    // Every text area of the project (project/text_areas.h), at least one.
    // The current one is live in settings, lines, overlay and the text input
    // window; its place here holds what it had when it was last left.
    std::vector<AreaSlot> areas = std::vector<AreaSlot>(1);
    int currentArea = 0;

private:
    std::uint64_t revision_ = 0;
};

// The refresh of the workspace's text: lays text out in the text area with the
// project's settings and glyphs, renders it into the overlay, takes its mask
// and tints it in colour, and bumps the revision. Returns the notice that
// ended the layout.
text::Notice refreshText(Workspace &workspace, const QByteArray &text, raster::Colour colour);
// What the workspace's own text is laid out and drawn with, in colour.
text::TextSettings currentTextSettings(const Workspace &workspace, raster::Colour colour);
// text::RefreshText keeping the mask of text tinted white, which only the
// untinted overlay shows. kerning is the font's pairs (null for none).
text::Notice refreshOverlay(const QByteArray &text, const text::TextSettings &settings, const font::GlyphTable &glyphs,
                            const font::Kerning *kerning, text::LineTable &lines, raster::Raster &overlay,
                            text::TextMask &mask);

// The first half of refreshOverlay: clears lines and lays text out in them.
text::Notice layOutText(const QByteArray &text, const text::TextSettings &settings, const font::GlyphTable &glyphs,
                        const font::Kerning *kerning, text::LineTable &lines);
// The second half: renders lines already laid out into the overlay, keeps
// the mask of white text and tints it.
void renderOverlay(const text::LineTable &lines, const text::TextSettings &settings, const font::GlyphTable &glyphs,
                   const font::Kerning *kerning, raster::Raster &overlay, text::TextMask &mask);

// The text of an overlay: the mask kept by its refresh, or else its pixels
// that are not white.
text::TextMask overlayMask(const raster::Raster &overlay, const text::TextMask &kept);

// The program directory of the running executable, with a trailing separator.
QString applicationDirectory();

}  // namespace letterloom::project
