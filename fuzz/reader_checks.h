#pragma once

// What the program promises about every file it reads, whatever the file
// holds: reading ends with the value or with a message for the user, never
// with a crash, a hang or memory it had no business taking, and what it
// read survives being written back. The fuzz targets hold the readers to
// these promises on random inputs; the hostile-file test holds them to the
// same promises on the inputs that once broke them.

#include "fuzz_scene.h"

#include "base/csv.h"
#include "base/error.h"
#include "base/extension_block.h"
#include "font/bdf_font.h"
#include "font/bmfont.h"
#include "font/char_map.h"
#include "font/font_file.h"
#include "font/grid_import.h"
#include "font/psf_font.h"
#include "project/compose_view.h"
#include "project/project_file.h"
#include "raster/png_image.h"
#include "raster/raster.h"
#include "text/render.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace letterloom::fuzz {

// A promise the program broke: the reader misbehaved without any error.
class Broken : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// A check: one input through one reader and the promises about it.
using Check = QString (*)(const QByteArray &bytes);

inline void expect(bool holds, const char *promise)
{
    if (!holds)
        throw Broken(promise);
}

// What reading came to: empty when the input was read, else the message the
// user would see.
template <typename Read>
QString outcomeOf(Read &&read)
{
    try {
        read();
        return {};
    } catch (const Error &error) {
        return error.message();
    }
}

inline void expectImageMatchesPixels(const font::tGraphChar &glyph)
{
    expect(glyph.image.width() == glyph.width && glyph.image.height() == glyph.height,
           "a glyph's image has another size than the glyph");
    if (glyph.image.isEmpty())
        return;
    for (std::int32_t y = 0; y < glyph.height; ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(glyph.image.image().constScanLine(y));
        for (std::int32_t x = 0; x < glyph.width; ++x)
            expect(raster::fromQRgb(row[x]) == (glyph.pixels[std::size_t(x)][std::size_t(y)] & 0xFFFFFFu),
                   "a glyph's image shows other colours than its pixels");
    }
}

// An extension block's keys as a level read them: written back and read
// again they are `expected` (the extras themselves unless a level writes a
// value as its default), with nothing damaged and nothing dropped.
template <typename Extras, typename ReadExtras, typename WriteKeys>
void expectExtrasSurvive(const Extras &extras, ReadExtras readExtras, WriteKeys writeKeys, const Extras &expected)
{
    const QByteArray written = extensionBlockBytes(writeKeys(extras));
    const ExtensionBlock again = readExtensionBlock(written, 0);
    expect(again.damage.isEmpty(), "a block the program wrote reads back as damaged");
    ExtensionKeys keys(again.keys);
    expect(readExtras(keys) == expected, "extras do not survive being written back");
    expect(keys.dropped().isEmpty(), "a key the program wrote is dropped when read back");
}

template <typename Extras, typename ReadExtras, typename WriteKeys>
void expectExtrasSurvive(const Extras &extras, ReadExtras readExtras, WriteKeys writeKeys)
{
    expectExtrasSurvive(extras, readExtras, writeKeys, extras);
}

// A project's extras as the program writes them back: a text colour of
// black, which a file may name, is written as no colour at all (so that a
// project without extras keeps the described bytes).
inline project::ProjectExtras asWritten(project::ProjectExtras extras)
{
    if (extras.textColour == raster::kBlack)
        extras.textColour.reset();
    return extras;
}

// A font file: every glyph as stored, and written back to the same bytes
// (the bytes after the last glyph are not part of the font); its extras
// survive being written back.
inline QString checkFontFile(const QByteArray &bytes)
{
    return outcomeOf([&] {
        const font::FontFile font = font::parseFontFile(bytes);
        expect(bytes.startsWith(font::fontBytes(font.glyphs)), "a font does not write back byte for byte");
        for (int code = 0; code < font::GlyphTable::kSize; ++code)
            expectImageMatchesPixels(font.glyphs[code]);
        expectExtrasSurvive(font.extras, font::readFontExtras, font::fontExtrasKeys);
    });
}

// A project file: its parts written back to the same bytes, its picture
// decoded within the pixels its bytes can describe, its extras surviving
// being written back.
inline QString checkProjectFile(const QByteArray &bytes)
{
    return outcomeOf([&] {
        const project::ProjectFile file = project::parseProject(bytes);
        project::ProjectFile described = file;
        described.extensions = {};
        expect(bytes.startsWith(project::projectBytes(described)), "a project does not write back byte for byte");
        QStringList notices;
        const project::ProjectExtras extras = project::extrasOf(file, QStringLiteral("fuzzed.llp"), notices);
        expectExtrasSurvive(extras, project::readProjectExtras, project::projectExtrasKeys, asWritten(extras));
        const raster::Raster picture = project::embeddedPicture(file.pictureBmp);
        // A run-length stream sets at most 128 pixels a stored byte (a run
        // of 255 in two bytes) and may leave as many again, or 1 Mi, unset.
        const qint64 bound = 2 * std::max(qint64(1) << 20, 128 * qint64(file.pictureBmp.size()));
        expect(qint64(picture.width()) * picture.height() <= bound,
               "an embedded picture has more pixels than its bytes can describe");
    });
}

// An extension block on its own: what it reads written back reads the same,
// and what the font and the project levels take from it survives too.
inline QString checkExtensionBlock(const QByteArray &bytes)
{
    return outcomeOf([&] {
        const ExtensionBlock block = readExtensionBlock(bytes, 0);
        expect(block.damage.isEmpty() || block.keys.isEmpty(), "a damaged block kept keys");
        const ExtensionBlock again = readExtensionBlock(extensionBlockBytes(block.keys), 0);
        expect(again.damage.isEmpty() && again.keys == block.keys, "a block does not read back the same");
        ExtensionKeys fontKeys(block.keys);
        expectExtrasSurvive(font::readFontExtras(fontKeys), font::readFontExtras, font::fontExtrasKeys);
        ExtensionKeys projectKeys(block.keys);
        const project::ProjectExtras projectExtras = project::readProjectExtras(projectKeys);
        expectExtrasSurvive(projectExtras, project::readProjectExtras, project::projectExtrasKeys,
                            asWritten(projectExtras));
    });
}

// A BMP picture: within the program's raster limits, and the same pixels
// after the program writes it and reads it back (for pictures small enough
// to write on every run: a run-length file of a few bytes can describe the
// largest picture the program holds).
inline QString checkBmp(const QByteArray &bytes)
{
    return outcomeOf([&] {
        const raster::Raster picture = raster::Raster::fromBmp(bytes);
        expect(!picture.isEmpty() && raster::Raster::sizeAllowed(picture.width(), picture.height()),
               "a picture was read without pixels or beyond the raster limits");
        if (qint64(picture.width()) * picture.height() > kCheapAreaPixels)
            return;
        expect(raster::Raster::fromBmp(picture.toBmp()) == picture, "a picture does not survive being written back");
        // The same bytes give the same pixels, even when the memory the
        // decoder is handed held something else.
        {
            const std::vector<char> stale(std::size_t(picture.width()) * std::size_t(picture.height()), '\x55');
            (void)stale;
        }
        expect(raster::Raster::fromBmp(bytes) == picture, "a picture reads differently a second time");
    });
}

// A BDF font: what the program writes of it reads back as the same glyphs.
inline QString checkBdfFont(const QByteArray &bytes)
{
    return outcomeOf([&] {
        const font::ImportedFont imported = font::parseBdf(bytes);
        for (int code = 0; code < font::GlyphTable::kSize; ++code)
            expectImageMatchesPixels(imported.glyphs[code]);
        const font::BdfExport written = font::bdfBytes(imported.glyphs, QStringLiteral("Fuzzed"));
        font::ImportedFont again;
        try {
            again = font::parseBdf(written.bytes);
        } catch (const Error &) {
            throw Broken("a BDF font the program wrote cannot be read back");
        }
        expect(again.glyphs == imported.glyphs, "a BDF font does not read back the same");
    });
}

// A BMFont text file and its page, one input: a 16-bit length, that many
// bytes of .fnt text, then the bytes of the page that every page name gets.
inline QString checkBmFont(const QByteArray &bytes)
{
    return outcomeOf([&] {
        if (bytes.size() < 2)
            return;
        const qsizetype fntSize = std::min<qsizetype>(quint8(bytes[0]) | (quint8(bytes[1]) << 8), bytes.size() - 2);
        const QByteArray fnt = bytes.mid(2, fntSize);
        const QByteArray page = bytes.mid(2 + fntSize);
        const font::ImportedFont imported = font::parseBmFont(fnt, [&](const QString &) { return page; });
        for (int code = 0; code < font::GlyphTable::kSize; ++code)
            expectImageMatchesPixels(imported.glyphs[code]);
    });
}

// A PSF console font, packed or not: what the program writes of it reads
// back as the same glyphs (they are 1-bit glyphs of one size already).
inline QString checkPsfFont(const QByteArray &bytes)
{
    return outcomeOf([&] {
        const font::ImportedFont imported = font::parsePsf(bytes);
        for (int code = 0; code < font::GlyphTable::kSize; ++code)
            expectImageMatchesPixels(imported.glyphs[code]);
        font::ImportedFont again;
        try {
            again = font::parsePsf(font::psfBytes(imported.glyphs).bytes);
        } catch (const Error &) {
            throw Broken("a PSF font the program wrote cannot be read back");
        }
        expect(again.glyphs == imported.glyphs, "a PSF font does not read back the same");
    });
}

// A picture grid and the settings to read it, one input: 16 bytes of
// settings, then the bytes of a PNG or BMP picture.
//   0-1 cell width, 2-3 cell height (16 bits), 4 left and 5 top margin,
//   6 horizontal and 7 vertical gap, 8 columns, 9 first code,
//   10-11 spacing (16 bits), 12 flags: 1 no trimming, 2 background and
//   4 ink given (colours 13-15 red, green, blue: the background, the ink
//   its inverse), 8 space width given (the cell width plus 1)
struct GridInput {
    font::GridImportSettings settings;
    QImage picture;
};

inline constexpr qsizetype kGridSettingsBytes = 16;

inline QByteArray gridSettingsBytes(int cellWidth, int cellHeight, int spacing = 1, int first = 32, int flags = 0)
{
    QByteArray out(kGridSettingsBytes, '\0');
    out[0] = char(cellWidth);
    out[1] = char(cellWidth >> 8);
    out[2] = char(cellHeight);
    out[3] = char(cellHeight >> 8);
    out[9] = char(first);
    out[10] = char(spacing);
    out[11] = char(spacing >> 8);
    out[12] = char(flags);
    return out;
}

inline GridInput decodeGridInput(const QByteArray &bytes)
{
    GridInput input;
    auto byte = [&bytes](qsizetype at) { return at < bytes.size() ? int(quint8(bytes[at])) : 0; };
    font::GridImportSettings &settings = input.settings;
    settings.grid = {byte(0) | byte(1) << 8, byte(2) | byte(3) << 8, byte(4), byte(5), byte(6), byte(7), byte(8)};
    settings.codes = font::consecutiveCodes(byte(9));
    settings.spacing = byte(10) | byte(11) << 8;
    const int flags = byte(12);
    settings.trim = !(flags & 1);
    const raster::Colour colour = raster::rgb(byte(13), byte(14), byte(15));
    if (flags & 2)
        settings.background = colour;
    if (flags & 4)
        settings.ink = colour ^ 0xFFFFFFu;
    if (flags & 8)
        settings.spaceWidth = settings.grid.cellWidth + 1;
    const QByteArray picture = bytes.mid(kGridSettingsBytes);
    input.picture = picture.startsWith("\x89PNG") ? raster::decodePng(picture) : raster::Raster::fromBmp(picture).image();
    return input;
}

// A grid read into glyphs: no more than 256 glyphs, each as high as a cell,
// and drawn as a grid again, the glyphs read back the same.
inline QString checkGridImport(const QByteArray &bytes)
{
    return outcomeOf([&] {
        const GridInput input = decodeGridInput(bytes);
        font::GridImportSettings settings = input.settings;
        const font::GridImport imported = font::importGrid(input.picture, settings);
        expect(imported.made.size() <= std::size_t(font::GlyphTable::kSize), "a grid made more than 256 glyphs");
        for (int code = 0; code < font::GlyphTable::kSize; ++code) {
            const font::tGraphChar &glyph = imported.glyphs[code];
            expectImageMatchesPixels(glyph);
            expect(!glyph.defined || glyph.height == settings.grid.cellHeight, "a glyph is not as high as its cell");
        }
        font::GridExportSettings draw;
        draw.grid = settings.grid;
        draw.codes = settings.codes;
        const font::GridExport drawn = font::exportGrid(imported.glyphs, draw);
        settings.grid.columns = drawn.grid.columns;
        settings.background = drawn.background;
        settings.ink = raster::kBlack;
        font::GridImport again = font::importGrid(drawn.picture.image(), settings);
        // The space's cell was outside the first picture; drawn, it is an
        // empty cell, which reads as a blank space of the space width.
        font::tGraphChar &space = again.glyphs[' '];
        if (!imported.glyphs[' '].defined && space.defined) {
            for (const auto &column : space.pixels)
                expect(std::all_of(column.begin(), column.end(), [](font::Colour c) { return c == raster::kWhite; }),
                       "an empty space cell read back with pixels");
            space = font::tGraphChar();
        }
        expect(again.glyphs == imported.glyphs, "a grid drawn again does not read back the same");
    });
}

// A character table: what it names of its skipped lines stays bounded, the
// form in which fonts keep it reads back to the same map, and the text of
// every code encodes to a code with that same text.
inline QString checkCharTable(const QByteArray &bytes)
{
    return outcomeOf([&] {
        const font::TableRead read = font::readTable(bytes);
        expect(read.skipped.size() <= font::kMaxReportedLines + 1, "a table names too many skipped lines");
        expect(font::readTable(read.map.tableText()).map == read.map, "a table does not read back the same");
        for (int code = 0; code < font::GlyphTable::kSize; ++code) {
            const QString text = read.map.text(code);
            if (text.isEmpty())
                continue;
            const font::CharMap::Encoded encoded = read.map.encode(text);
            expect(encoded.ok() && read.map.decode(encoded.bytes) == text, "a code's text does not encode back");
        }
    });
}

// A table of comma-separated values: its records, written back one by one,
// read back to the same records.
inline QString checkCsv(const QByteArray &bytes)
{
    return outcomeOf([&] {
        const std::vector<QStringList> records = readCsv(QString::fromUtf8(bytes));
        QString written;
        for (const QStringList &record : records)
            written += csvRecord(record);
        expect(readCsv(written) == records, "a table does not read back the same");
    });
}

// Text laid out, rendered, tinted and composed over a picture: the overlay
// takes the area's size (or the refresh refuses an area too large to hold),
// no black is left behind the tint, and the view keeps its size.
inline QString checkScene(const QByteArray &bytes)
{
    return outcomeOf([&] {
        Scene scene = decodeScene(bytes);
        project::Workspace &workspace = scene.workspace;
        const std::int32_t width = scene.text.areaWidth, height = scene.text.areaHeight;
        if (width > 0 && height > 0 && raster::Raster::sizeAllowed(width, height) &&
            qint64(width) * height > kCheapAreaPixels) {
            // Too many pixels to render on every run: lay out only.
            text::LayoutText(scene.textBytes, width, height, scene.text.lineSpacing, workspace.glyphs,
                             workspace.lines);
            return;
        }
        text::RefreshText(scene.textBytes, scene.text, workspace.glyphs, workspace.lines, workspace.overlay);
        if (width <= 0 || height <= 0)
            expect(workspace.overlay.isEmpty(), "an area without pixels gave an overlay with pixels");
        else
            expect(workspace.overlay.size() == QSize(width, height), "the overlay does not take the text area's size");
        for (const text::TextLine &line : workspace.lines)
            expect(line.words().size() == line.wordWidths().size(), "a line has more words than widths or the other way");
        if ((scene.text.colour & 0xFFFFFFu) != raster::kBlack) {
            const QImage &image = workspace.overlay.image();
            for (int y = 0; y < image.height(); ++y) {
                const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
                expect(std::none_of(row, row + image.width(),
                                    [](QRgb pixel) { return raster::fromQRgb(pixel) == raster::kBlack; }),
                       "tinting left a black pixel");
            }
        }
        const QSize viewSize = scene.view.size();
        project::ComposeView(workspace, scene.view, scene.exporting, scene.selectionMode);
        expect(scene.view.size() == viewSize, "composing changed the view's size");
    });
}

}  // namespace letterloom::fuzz
