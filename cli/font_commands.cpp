// The font commands: info, sheet and convert.

#include "cli.h"
#include "command_line.h"
#include "font_formats.h"
#include "font_sheet.h"
#include "json.h"

#include "base/file_io.h"

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
    const int red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF, high = colour >> 24;
    QString hex = QStringLiteral("%1%2%3").arg(red, 2, 16, QLatin1Char('0')).arg(green, 2, 16, QLatin1Char('0'))
                      .arg(blue, 2, 16, QLatin1Char('0'));
    if (high != 0)
        hex.prepend(QStringLiteral("%1").arg(high, 2, 16, QLatin1Char('0')));
    return hex.toUpper();
}

std::set<Colour> coloursOf(const font::tGraphChar &glyph)
{
    std::set<Colour> colours;
    for (const auto &column : glyph.pixels)
        colours.insert(column.begin(), column.end());
    return colours;
}

// How to type a code in a text: the character itself when it is printable
// (texts are Latin-1), its "$" escape below 100, nothing otherwise.
QString typedAs(int code)
{
    if (code == 32)
        return QStringLiteral("space");
    if ((code > 32 && code < 127) || code > 160)
        return QString(QChar(code));
    if (code < 100)
        return QStringLiteral("$%1").arg(code, 2, 10, QLatin1Char('0'));
    return QString();
}

QByteArray infoText(const QString &path, const GlyphTable &glyphs)
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
        out += QStringLiteral("%1  %2 %3 x %4 %5\n")
                   .arg(code, 4).arg(typedAs(code), -6).arg(glyph.width, 4).arg(glyph.height, -4)
                   .arg(colours.join(u' '));
    }
    QStringList totals;
    for (const auto &[colour, count] : glyphsPerColour)
        totals << QStringLiteral("%1 (%2)").arg(colourHex(colour)).arg(count);
    const QString header = QStringLiteral("%1: %2 glyphs defined\ncode  char    size      colours\n")
                               .arg(fileNameOf(path)).arg(defined);
    const QString footer = QStringLiteral("colours used (glyphs using each): %1\n").arg(totals.join(QStringLiteral(", ")));
    return (header + out + footer).toUtf8();
}

QByteArray infoJson(const GlyphTable &glyphs)
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
        return QByteArray("{\"code\": ") + QByteArray::number(codes[size_t(i)])
               + ", \"width\": " + QByteArray::number(glyph.width)
               + ", \"height\": " + QByteArray::number(glyph.height) + ", \"colours\": "
               + jsonList(qsizetype(list.size()), [&](qsizetype c) { return jsonText(colourHex(list[size_t(c)])); })
               + '}';
    }, ",\n  ");
    const std::vector<Colour> allList(all.begin(), all.end());
    return "{\"glyphs\": " + glyphList + ",\n \"colours\": "
           + jsonList(qsizetype(allList.size()), [&](qsizetype c) { return jsonText(colourHex(allList[size_t(c)])); })
           + "}\n";
}

int fontInfo(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("font info"), QStringLiteral("FONT"),
                     QStringLiteral("Lists the defined glyphs of a font with their sizes and colours\n"
                                    "(RRGGBB, red first), and every colour the font uses."));
    line.addArgument(QStringLiteral("FONT"), QStringLiteral("The font file (.llf, .bdf or .fnt)."));
    line.addOption({QStringLiteral("json"), QStringLiteral("Print JSON: {\"glyphs\": [{\"code\", \"width\", \"height\", \"colours\"}], \"colours\"}.")});
    if (!line.parse(arguments))
        return kExitOk;
    const QString path = line.argument(0);
    const GlyphTable glyphs = readFont(path);
    printOut(line.isSet(QStringLiteral("json")) ? infoJson(glyphs) : infoText(path, glyphs));
    return kExitOk;
}

int fontSheet(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("font sheet"), QStringLiteral("FONT -o SHEET.bmp"),
                     QStringLiteral("Draws a specimen picture of a font: its 256 glyphs in a 16 x 16 table,\n"
                                    "code 16 x row + column in each cell; grey cells hold no glyph."));
    line.addArgument(QStringLiteral("FONT"), QStringLiteral("The font file (.llf, .bdf or .fnt)."));
    line.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("The picture to write: BMP, or PNG when its name ends in .png."),
                    QStringLiteral("SHEET.bmp")});
    line.addOption({QStringLiteral("zoom"), QStringLiteral("Draw every glyph pixel as N x N pixels (1 to 16; default 2)."),
                    QStringLiteral("N"), QStringLiteral("2")});
    if (!line.parse(arguments))
        return kExitOk;
    const QString output = line.required(QStringLiteral("output"));
    bool ok = false;
    const int zoom = line.value(QStringLiteral("zoom")).toInt(&ok);
    if (!ok || zoom < 1 || zoom > 16)
        throw UsageError(QStringLiteral("--zoom takes a whole number from 1 to 16"));
    const GlyphTable glyphs = readFont(line.argument(0));
    FontSheet(glyphs, zoom).draw().writePictureFile(output);
    return kExitOk;
}

int fontConvert(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("font convert"), QStringLiteral("IN OUT"),
                     QStringLiteral("Reads a font file and writes it again, the kind of each file taken from its\n"
                                    "extension: .llf (Letterloom), .bdf (BDF) or .fnt (BMFont text, with PNG pages).\n"
                                    "What the other kinds cannot hold (colours, for one) is reported."));
    line.addArgument(QStringLiteral("IN"), QStringLiteral("The font file to read."));
    line.addArgument(QStringLiteral("OUT"), QStringLiteral("The font file to write (replaced all or nothing)."));
    if (!line.parse(arguments))
        return kExitOk;
    writeFont(line.argument(1), readFont(line.argument(0)));
    return kExitOk;
}

}  // namespace

std::vector<Command> fontCommands()
{
    return {
        {QStringLiteral("font info"), QStringLiteral("List a font's glyphs, sizes and colours"), fontInfo},
        {QStringLiteral("font sheet"), QStringLiteral("Draw a specimen picture of a font"), fontSheet},
        {QStringLiteral("font convert"), QStringLiteral("Read a font file and write it again"), fontConvert},
    };
}

}  // namespace letterloom::cli
