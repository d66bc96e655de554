// The font commands: info, sheet, convert and import-grid.

#include "cli.h"
#include "command_line.h"
#include "font_formats.h"
#include "font_sheet.h"
#include "grid_options.h"
#include "json.h"
#include "map_option.h"

#include "base/file_io.h"
#include "font/font_file.h"
#include "font/font_formats.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

namespace letterloom::cli {

namespace {

using font::GlyphTable;
using raster::Colour;

// A colour as RRGGBB, red first, the way --color takes it. The high byte,
// 0 in every font the program draws, leads when a file sets it.
QString colourHex(Colour colour)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char hex[8];
    int size = 0;
    const auto put = [&](Colour byte) {
        hex[size++] = kDigits[(byte >> 4) & 0xF];
        hex[size++] = kDigits[byte & 0xF];
    };
    if ((colour >> 24) != 0)
        put(colour >> 24);
    put(colour & 0xFF);
    put((colour >> 8) & 0xFF);
    put((colour >> 16) & 0xFF);
    return QString::fromLatin1(hex, size);
}

std::set<Colour> coloursOf(const font::tGraphChar &glyph)
{
    std::set<Colour> colours;
    for (const auto &column : glyph.pixels)
        colours.insert(column.begin(), column.end());
    return colours;
}

bool printable(const QString &text)
{
    return !text.isEmpty() && std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 32 || (c.unicode() >= 127 && c.unicode() < 160);
    });
}

// How to type a code in a text: the character itself when it is printable
// (with no map texts are Latin-1; through one, the map's text), its "$"
// escape below 100, nothing otherwise.
QString typedAs(int code, const font::CharMap &map)
{
    if (code == 32)
        return QStringLiteral("space");
    if (map.isNone() ? (code > 32 && code < 127) || code > 160 : printable(map.text(code)))
        return map.text(code);
    if (code < 100)
        return QStringLiteral("$%1").arg(code, 2, 10, QLatin1Char('0'));
    return QString();
}

// Text padded with spaces to width characters, in front for a positive
// width and behind for a negative one, as QString::arg pads its fields.
void appendField(QString &out, const QString &text, int width)
{
    const qsizetype padding = std::max<qsizetype>(0, std::abs(width) - text.size());
    if (width > 0)
        out.resize(out.size() + padding, u' ');
    out += text;
    if (width < 0)
        out.resize(out.size() + padding, u' ');
}

QByteArray infoText(const QString &path, const GlyphTable &glyphs, const font::CharMap &map)
{
    QString out;
    std::map<Colour, int> glyphsPerColour;
    int defined = 0;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        const font::tGraphChar &glyph = glyphs[code];
        if (!glyph.defined)
            continue;
        ++defined;
        QStringList colours;
        for (Colour colour : coloursOf(glyph)) {
            colours << colourHex(colour);
            ++glyphsPerColour[colour];
        }
        const QString typed = typedAs(code, map);
        appendField(out, QString::number(code), 4);
        out += u"  ";
        appendField(out, typed, -6);
        out += u' ';
        appendField(out, QString::number(glyph.width), 4);
        out += u" x ";
        appendField(out, QString::number(glyph.height), -4);
        out += u' ';
        out += colours.join(u' ');
        out += u'\n';
    }
    QStringList totals;
    for (const auto &[colour, count] : glyphsPerColour)
        totals << QStringLiteral("%1 (%2)").arg(colourHex(colour)).arg(count);
    const QString mapLine =
        map.isNone() ? QString() : QStringLiteral("character map: %1\n").arg(map.description());
    const QString header = QStringLiteral("%1: %2 glyphs defined\n%3code  char    size      colours\n")
                               .arg(fileNameOf(path)).arg(defined).arg(mapLine);
    const QString footer = QStringLiteral("colours used (glyphs using each): %1\n").arg(totals.join(QStringLiteral(", ")));
    return (header + out + footer).toUtf8();
}

// Through a character map, the JSON names it and gives each glyph's "text".
QByteArray infoJson(const GlyphTable &glyphs, const font::CharMap &map)
{
    std::vector<int> codes;
    std::set<Colour> all;
    for (int code = 0; code < GlyphTable::kSize; ++code)
        if (glyphs[code].defined)
            codes.push_back(code);
    const QByteArray glyphList = jsonList(qsizetype(codes.size()), [&](qsizetype i) {
        const font::tGraphChar &glyph = glyphs[codes[size_t(i)]];
        const std::set<Colour> colours = coloursOf(glyph);
        all.insert(colours.begin(), colours.end());
        const std::vector<Colour> list(colours.begin(), colours.end());
        const QByteArray text =
            map.isNone() ? QByteArray() : ", \"text\": " + jsonText(map.text(codes[size_t(i)]));
        return QByteArray("{\"code\": ") + QByteArray::number(codes[size_t(i)]) + text
               + ", \"width\": " + QByteArray::number(glyph.width)
               + ", \"height\": " + QByteArray::number(glyph.height) + ", \"colours\": "
               + jsonList(qsizetype(list.size()), [&](qsizetype c) { return jsonText(colourHex(list[size_t(c)])); })
               + '}';
    }, ",\n  ");
    const std::vector<Colour> allList(all.begin(), all.end());
    const QByteArray mapKey = map.isNone() ? QByteArray() : "\"charMap\": " + jsonText(map.description()) + ",\n ";
    return "{" + mapKey + "\"glyphs\": " + glyphList + ",\n \"colours\": "
           + jsonList(qsizetype(allList.size()), [&](qsizetype c) { return jsonText(colourHex(allList[size_t(c)])); })
           + "}\n";
}

int fontInfo(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("font info"), QStringLiteral("FONT"),
                     QStringLiteral("Lists the defined glyphs of a font with their sizes and colours\n"
                                    "(RRGGBB, red first), and every colour the font uses."));
    line.addArgument(QStringLiteral("FONT"), QStringLiteral("The font file (.llf, .bdf, .fnt or .psf)."));
    line.addOption({QStringLiteral("json"), QStringLiteral("Print JSON: {\"glyphs\": [{\"code\", \"width\", \"height\", \"colours\"}], \"colours\"};\n"
                                                           "through a character map also \"charMap\" and each glyph's \"text\".")});
    addMapOption(line);
    if (!line.parse(arguments))
        return kExitOk;
    const QString path = line.argument(0);
    const font::ImportedFont font = readFontWithExtras(path, mapOption(line));
    const GlyphTable &glyphs = font.glyphs;
    const font::CharMap &map = font.extras.charMap;
    printOut(line.isSet(QStringLiteral("json")) ? infoJson(glyphs, map) : infoText(path, glyphs, map));
    return kExitOk;
}

void printWarnings(const QStringList &warnings)
{
    for (const QString &warning : warnings)
        printMessage(warning);
}

// The glyphs as a plain grid, without labels, that import-grid reads back.
void writeGrid(const CommandLine &line, const font::ImportedFont &font, const QString &output)
{
    const GlyphTable &glyphs = font.glyphs;
    const font::GridImportSettings options = gridOptions(line, font.extras.charMap);
    font::GridExportSettings settings;
    settings.grid = options.grid;
    settings.codes = options.codes;
    settings.charMap = options.charMap;
    settings.background = options.background;
    settings.ink = options.ink;
    const font::GridExport drawn = font::exportGrid(glyphs, settings);
    writePictureOutput(drawn.picture, output);
    printWarnings(drawn.warnings);
}

int fontSheet(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("font sheet"), QStringLiteral("FONT -o SHEET.bmp"),
                     QStringLiteral("Draws a specimen picture of a font: its 256 glyphs in a 16 x 16 table,\n"
                                    "code 16 x row + column in each cell; grey cells hold no glyph.\n"
                                    "With --grid, draws the glyphs as a plain grid without labels instead,\n"
                                    "which \"font import-grid\" with the same options reads back: each glyph\n"
                                    "at the left of its cell, standing on its bottom, on a background that no\n"
                                    "glyph uses. Cells are as large as the largest glyph unless --cell says."));
    line.addArgument(QStringLiteral("FONT"), QStringLiteral("The font file (.llf, .bdf, .fnt or .psf)."));
    line.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("The picture to write: PNG when its name ends in .png, BMP for .bmp or no extension; other extensions are refused. - writes a BMP to stdout."),
                    QStringLiteral("SHEET.bmp")});
    line.addOption({QStringLiteral("zoom"), QStringLiteral("Draw every glyph pixel as N x N pixels (1 to 16; default 2)."),
                    QStringLiteral("N"), QStringLiteral("2")});
    line.addOption({QStringLiteral("grid"), QStringLiteral("Draw a plain grid for import-grid, with the options below.")});
    addGridOptions(line);
    addMapOption(line);
    if (!line.parse(arguments))
        return kExitOk;
    const std::optional<font::CharMap> map = mapOption(line);
    const QString output = line.requiredPicture(QStringLiteral("output"));
    const bool grid = line.isSet(QStringLiteral("grid"));
    if (grid && line.isSet(QStringLiteral("zoom")))
        throw UsageError(QStringLiteral("--zoom draws the specimen table; a --grid is drawn pixel for pixel"));
    if (!grid && anyGridOption(line))
        throw UsageError(QStringLiteral("The grid options need --grid"));
    if (grid) {
        writeGrid(line, readFontWithExtras(line.argument(0), map), output);
        return kExitOk;
    }
    bool ok = false;
    const int zoom = line.value(QStringLiteral("zoom")).toInt(&ok);
    if (!ok || zoom < 1 || zoom > 16)
        throw UsageError(QStringLiteral("--zoom takes a whole number from 1 to 16"));
    const GlyphTable glyphs = readFont(line.argument(0), map);
    writePictureOutput(FontSheet(glyphs, zoom).draw(), output);
    return kExitOk;
}

int fontImportGrid(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("font import-grid"), QStringLiteral("PICTURE --cell WxH -o FONT"),
                     QStringLiteral("Makes a font from a picture of its glyphs in a grid of cells (a PNG or BMP\n"
                                    "sprite sheet, a grid another tool drew, a screenshot). The background colour\n"
                                    "and every pixel with an alpha below 128 become white, the ink black, and\n"
                                    "other colours stay. Each glyph is as wide as its rightmost column that is not\n"
                                    "white plus 1 plus the spacing, and as high as a cell; an empty cell gives no\n"
                                    "glyph, except the space's, which gets the space width."));
    line.addArgument(QStringLiteral("PICTURE"), QStringLiteral("The picture (.png, or BMP)."));
    line.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                    QStringLiteral("The font to write (.llf, .bdf, .fnt or .psf; replaced all or nothing)."),
                    QStringLiteral("FONT")});
    line.addOption({QStringLiteral("into"),
                    QStringLiteral("Add the glyphs to this font: only the codes whose cells hold a glyph change,\n"
                                   "and the font keeps its character map and other extras."),
                    QStringLiteral("FONT")});
    addGridOptions(line);
    addMapOption(line);
    if (!line.parse(arguments))
        return kExitOk;
    const QString output = line.required(QStringLiteral("output"));
    line.required(QStringLiteral("cell"));
    const std::optional<font::CharMap> map = mapOption(line);
    font::ImportedFont font;
    if (line.isSet(QStringLiteral("into")))
        font = readFontWithExtras(line.value(QStringLiteral("into")), map);
    else if (map)
        font.extras.charMap = *map;
    const font::GridImportSettings settings = gridOptions(line, font.extras.charMap);
    const font::GridImport imported = font::importGrid(font::readGridPicture(line.argument(0)), settings);
    printWarnings(imported.warnings);
    font::mergeImport(font.glyphs, imported);
    writeFont(output, font.glyphs, font.extras);
    return kExitOk;
}

int fontConvert(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("font convert"), QStringLiteral("IN OUT"),
                     QStringLiteral("Reads a font file and writes it again, the kind of each file taken from its\n"
                                    "extension: .llf (Letterloom), .bdf (BDF), .fnt (BMFont text, with PNG pages) or\n"
                                    ".psf/.psfu (PSF console font; gzip-compressed when the name ends in .gz).\n"
                                    "What the other kinds cannot hold (colours, for one) is reported. BDF, BMFont\n"
                                    "and PSF fonts of Unicode characters are placed at the codes of --map (default\n"
                                    "none: characters 0-255 at their own codes); a font with a character map is\n"
                                    "written to them as the Unicode characters of its codes."));
    line.addArgument(QStringLiteral("IN"), QStringLiteral("The font file to read."));
    line.addArgument(QStringLiteral("OUT"), QStringLiteral("The font file to write (replaced all or nothing)."));
    addMapOption(line);
    if (!line.parse(arguments))
        return kExitOk;
    const std::optional<font::CharMap> map = mapOption(line);
    if (font::fontFormatOf(line.argument(0)) == font::FontFormat::Llf
        && font::fontFormatOf(line.argument(1)) == font::FontFormat::Llf) {
        // From the program's own kind to it: the records are copied as they
        // are, and only the extension block is made again.
        font::FontRecords font = font::loadFontRecords(line.argument(0));
        if (map)
            font.extras.charMap = *map;
        printWarnings(font.notices);
        font::writeFontRecords(line.argument(1), std::move(font));
        return kExitOk;
    }
    const font::ImportedFont font = readFontWithExtras(line.argument(0), map);
    writeFont(line.argument(1), font.glyphs, font.extras);
    return kExitOk;
}

}  // namespace

std::vector<Command> fontCommands()
{
    return {
        {QStringLiteral("font info"), QStringLiteral("List a font's glyphs, sizes and colours"), fontInfo},
        {QStringLiteral("font sheet"), QStringLiteral("Draw a specimen picture of a font"), fontSheet},
        {QStringLiteral("font convert"), QStringLiteral("Read a font file and write it again"), fontConvert},
        {QStringLiteral("font import-grid"), QStringLiteral("Make a font from a picture of a grid of glyphs"), fontImportGrid},
    };
}

}  // namespace letterloom::cli
