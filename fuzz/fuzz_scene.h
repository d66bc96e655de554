#pragma once

// The input of the text composition fuzz target: the settings of a refresh
// and of the image view, a few glyphs, then the text. All little-endian:
//
//   i32 area x, area y, area width, area height, line spacing
//   u8  alignment
//   u32 text colour (its top byte is dropped, as the colour dialog gives none)
//   u8  flags: 1 picture loaded, 2 hint lines, 4 area frame, 8 exporting,
//       16 selection mode
//   u8  picture width, picture height, view width, view height
//   u8  glyph count, then for each glyph:
//       u8 code, u8 defined flag, u8 width (0..251 as it stands, 252..255 the
//       widest glyphs: 512, 1024, 2048 and 4096 pixels), u8 height (modulo 33),
//       u8 pattern length, that many pattern bytes (the pixels, column by
//       column, repeat the pattern: 0 black, 1 white, others a colour)
//   the rest of the input is the text.
//
// Area and line spacing are taken as they come, negative and huge included;
// glyphs reach the widest the program allows.

#include "base/byte_reader.h"
#include "font/glyph_table.h"
#include "project/workspace.h"
#include "raster/raster.h"
#include "text/render.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace letterloom::fuzz {

// Text areas up to this many pixels are rendered on every run, and pictures
// up to this many written back; larger ones that the program can hold are
// only laid out or read, so that the fuzzer keeps its pace.
inline constexpr qint64 kCheapAreaPixels = qint64(1) << 18;

enum SceneFlag : std::uint8_t {
    kPictureLoaded = 1, kShowHelp = 2, kShowSelection = 4, kExporting = 8, kSelectionMode = 16
};

struct SceneGlyph {
    std::uint8_t code = 0;
    std::uint8_t defined = 1;
    std::uint16_t width = 0;
    std::uint8_t height = 0;
    QByteArray pattern;
};

struct SceneInput {
    std::int32_t x = 0, y = 0, width = 0, height = 0, lineSpacing = 10;
    std::uint8_t alignment = text::kAlignLeft;
    std::uint32_t colour = raster::kBlack;
    std::uint8_t flags = kPictureLoaded | kShowHelp | kShowSelection;
    std::uint8_t pictureWidth = 64, pictureHeight = 48, viewWidth = 80, viewHeight = 60;
    std::vector<SceneGlyph> glyphs;
    QByteArray text;
};

// What one run composes: a workspace with its font, picture and settings,
// the refresh settings, the text and the view raster.
struct Scene {
    project::Workspace workspace{QStringLiteral("/program/")};
    text::TextSettings text;
    QByteArray textBytes;
    raster::Raster view;
    bool exporting = false;
    bool selectionMode = false;
};

// Glyph widths: most glyphs are narrow, so that runs stay quick, but the
// widest the program allows are reachable too.
inline constexpr int kWideFrom = 252;

inline std::uint16_t wideGlyphWidth(std::uint8_t value)
{
    return value < kWideFrom ? value : std::uint16_t(512 << (value - kWideFrom));
}

inline raster::Colour patternColour(std::uint8_t value)
{
    switch (value) {
    case 0: return raster::kBlack;
    case 1: return raster::kWhite;
    default: return raster::rgb(value * 37, value * 101, value * 53);
    }
}

inline SceneInput readSceneInput(const QByteArray &bytes)
{
    ByteReader in(bytes);
    SceneInput input;
    input.x = in.i32();
    input.y = in.i32();
    input.width = in.i32();
    input.height = in.i32();
    input.lineSpacing = in.i32();
    input.alignment = in.u8();
    input.colour = in.u32() & 0xFFFFFFu;
    input.flags = in.u8();
    input.pictureWidth = in.u8();
    input.pictureHeight = in.u8();
    input.viewWidth = in.u8();
    input.viewHeight = in.u8();
    for (int count = in.u8(); count > 0; --count) {
        SceneGlyph glyph;
        glyph.code = in.u8();
        glyph.defined = in.u8();
        glyph.width = wideGlyphWidth(in.u8());
        glyph.height = in.u8() % 33;
        glyph.pattern = in.take(in.u8());
        input.glyphs.push_back(glyph);
    }
    input.text = in.take(in.remaining());
    return input;
}

inline QByteArray sceneBytes(const SceneInput &input)
{
    ByteWriter out;
    for (std::int32_t field : {input.x, input.y, input.width, input.height, input.lineSpacing})
        out.i32(field);
    out.u8(input.alignment);
    out.u32(input.colour);
    for (std::uint8_t field : {input.flags, input.pictureWidth, input.pictureHeight, input.viewWidth, input.viewHeight})
        out.u8(field);
    out.u8(std::uint8_t(input.glyphs.size()));
    for (const SceneGlyph &glyph : input.glyphs) {
        std::uint8_t width = std::uint8_t(std::min<int>(glyph.width, kWideFrom - 1));
        for (int value = kWideFrom; value <= 255; ++value)
            if (wideGlyphWidth(std::uint8_t(value)) == glyph.width)
                width = std::uint8_t(value);
        for (std::uint8_t field : {glyph.code, glyph.defined, width, glyph.height, std::uint8_t(glyph.pattern.size())})
            out.u8(field);
        out.bytes(glyph.pattern);
    }
    out.bytes(input.text);
    return out.result();
}

// Gives a glyph its size and its image, filled with its pattern, as reading
// a font file would (a glyph may be 0 wide, or defined without pixels).
// Composition reads only the flag, the size and the image, so the pixel
// columns are left empty: building them would take most of every run.
inline void putGlyph(font::GlyphTable &glyphs, const SceneGlyph &input)
{
    font::tGraphChar &glyph = glyphs[input.code];
    glyph.defined = input.defined;
    glyph.width = input.width;
    glyph.height = input.height;
    if (input.width == 0 || input.height == 0) {
        glyph.image.setSize(input.width, input.height);
        return;
    }
    QImage image(input.width, input.height, QImage::Format_RGB32);
    qsizetype at = 0;
    for (std::int32_t x = 0; x < input.width; ++x) {
        for (std::int32_t y = 0; y < input.height; ++y) {
            const raster::Colour colour =
                input.pattern.isEmpty() ? raster::kWhite
                                        : patternColour(std::uint8_t(input.pattern[at++ % input.pattern.size()]));
            reinterpret_cast<QRgb *>(image.scanLine(y))[x] = raster::toQRgb(colour);
        }
    }
    glyph.image = raster::Raster(image);
}

inline Scene decodeScene(const QByteArray &bytes)
{
    const SceneInput input = readSceneInput(bytes);
    Scene scene;
    project::Workspace &workspace = scene.workspace;
    workspace.settings.area = {input.x, input.y, input.width, input.height};
    workspace.settings.lineSpacing = input.lineSpacing;
    workspace.settings.alignment = input.alignment;
    workspace.settings.showHelp = (input.flags & kShowHelp) != 0;
    workspace.settings.showSelection = (input.flags & kShowSelection) != 0;
    workspace.pictureLoaded = (input.flags & kPictureLoaded) != 0;
    workspace.picture = raster::Raster(input.pictureWidth, input.pictureHeight);
    for (int y = 0; y < input.pictureHeight; ++y)
        workspace.picture.fillRect(0, y, input.pictureWidth, y + 1, raster::rgb(y * 5, 255 - y, 128));
    for (const SceneGlyph &glyph : input.glyphs)
        putGlyph(workspace.glyphs, glyph);
    scene.text = {input.width, input.height, input.lineSpacing, input.alignment, input.colour, {}};
    scene.textBytes = input.text;
    scene.view = raster::Raster(input.viewWidth, input.viewHeight);
    scene.exporting = (input.flags & kExporting) != 0;
    scene.selectionMode = (input.flags & kSelectionMode) != 0;
    return scene;
}

}  // namespace letterloom::fuzz
