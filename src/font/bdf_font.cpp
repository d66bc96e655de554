#include "font/bdf_font.h"

#include "base/error.h"
#include "base/file_io.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>
#include <optional>
#include <set>

namespace letterloom::font {

namespace {

const QString kFormat = QStringLiteral("BDF font");

// Walks the lines of a BDF file one at a time, without copying the file into
// a list first (a crafted file of millions of empty lines stays cheap), and
// passes over blank lines and comments.
class BdfLines {
public:
    explicit BdfLines(const QByteArray &bytes) : bytes_(bytes) {}

    // Moves to the next meaningful line; false at the end of the file.
    bool next()
    {
        while (pos_ < bytes_.size()) {
            qsizetype end = bytes_.indexOf('\n', pos_);
            if (end < 0)
                end = bytes_.size();
            line_ = bytes_.mid(pos_, end - pos_).simplified();
            pos_ = end + 1;
            ++number_;
            if (line_.isEmpty() || line_.startsWith("COMMENT"))
                continue;
            splitLine();
            return true;
        }
        line_.clear();
        words_.clear();
        return false;
    }

    const QByteArray &keyword() const { return words_.front(); }
    bool is(const char *keyword) const { return !words_.isEmpty() && words_.front() == keyword; }
    qsizetype wordCount() const { return wordCount_; }
    // Everything after the keyword, its words one space apart.
    QByteArrayView rest() const
    {
        const qsizetype space = line_.indexOf(' ');
        return space < 0 ? QByteArrayView() : QByteArrayView(line_).sliced(space + 1);
    }
    const QByteArray &word(qsizetype index) const { return words_[index]; }

    // The index-th word after the keyword as a number.
    qint64 number(qsizetype index) const
    {
        bool ok = false;
        const qint64 value = index < words_.size() ? words_[index].toInt(&ok) : 0;
        if (!ok)
            fail(QStringLiteral("%1 needs whole numbers").arg(QString::fromLatin1(keyword())));
        return value;
    }

    [[noreturn]] void fail(const QString &what) const
    {
        throw Error(QStringLiteral("Invalid %1: %2 (line %3)").arg(kFormat, what).arg(std::max(number_, 1)));
    }

private:
    const QByteArray &bytes_;
    qsizetype pos_ = 0;
    int number_ = 0;
    // Only the first words are cut out (no keyword reads more than four
    // numbers): a long line of many words costs its own bytes, not a byte
    // array for every word.
    void splitLine()
    {
        words_.clear();
        wordCount_ = line_.count(' ') + 1;
        qsizetype begin = 0;
        while (words_.size() < kKeptWords && begin <= line_.size()) {
            qsizetype end = line_.indexOf(' ', begin);
            if (end < 0)
                end = line_.size();
            words_.push_back(line_.mid(begin, end - begin));
            begin = end + 1;
        }
    }

    static constexpr qsizetype kKeptWords = 6;
    QByteArray line_;  // simplified: words one space apart
    qsizetype wordCount_ = 0;
    QList<QByteArray> words_;
};

// What the font header says about the glyphs.
struct BdfHeader {
    qint64 ascent = 0;
    qint64 cellHeight = 0;
    std::optional<qint64> defaultAdvance;  // a font-wide DWIDTH
    qint64 chars = 0;
    QString registry, encoding;  // CHARSET_REGISTRY and CHARSET_ENCODING, or the FONT name's last fields
};

QString propertyText(const BdfLines &lines)
{
    QByteArray value = lines.rest().toByteArray();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        value = value.mid(1, value.size() - 2);
    return QString::fromLatin1(value);
}

// The font name's last two fields name its registry and encoding:
// "-misc-fixed-medium-r-normal--13-120-75-75-c-70-iso8859-5".
void registryOfName(const QString &name, BdfHeader &header)
{
    if (name.count(u'-') != 14 || !header.registry.isEmpty())
        return;
    const QStringList fields = name.split(u'-');
    {
        header.registry = fields[13];
        header.encoding = fields[14];
    }
}

BdfHeader readHeader(BdfLines &lines)
{
    if (!lines.next() || !lines.is("STARTFONT"))
        lines.fail(QStringLiteral("it does not begin with STARTFONT"));

    std::optional<qint64> ascent, descent, boxHeight, boxBottom;
    QString fontName;
    BdfHeader header;
    while (lines.next()) {
        if (lines.is("FONTBOUNDINGBOX")) {
            boxHeight = lines.number(2);
            boxBottom = lines.number(4);
        } else if (lines.is("DWIDTH")) {
            header.defaultAdvance = lines.number(1);
        } else if (lines.is("FONT")) {
            fontName = propertyText(lines);
        } else if (lines.is("STARTPROPERTIES")) {
            while (lines.next() && !lines.is("ENDPROPERTIES")) {
                if (lines.is("FONT_ASCENT"))
                    ascent = lines.number(1);
                else if (lines.is("FONT_DESCENT"))
                    descent = lines.number(1);
                else if (lines.is("CHARSET_REGISTRY"))
                    header.registry = propertyText(lines);
                else if (lines.is("CHARSET_ENCODING"))
                    header.encoding = propertyText(lines);
                else if (lines.is("STARTCHAR") || lines.is("CHARS") || lines.is("ENDFONT"))
                    lines.fail(QStringLiteral("the properties end without ENDPROPERTIES"));
            }
        } else if (lines.is("CHARS")) {
            header.chars = lines.number(1);
            if (header.chars < 0)
                lines.fail(QStringLiteral("CHARS is negative"));
            registryOfName(fontName, header);
            if (ascent && descent) {
                header.ascent = *ascent;
                header.cellHeight = *ascent + *descent;
            } else if (boxHeight) {
                header.ascent = *boxHeight + *boxBottom;
                header.cellHeight = *boxHeight;
            } else {
                lines.fail(QStringLiteral("it gives neither FONT_ASCENT and FONT_DESCENT nor FONTBOUNDINGBOX"));
            }
            return header;
        } else if (lines.is("STARTCHAR") || lines.is("ENDFONT")) {
            lines.fail(QStringLiteral("%1 comes before CHARS").arg(QString::fromLatin1(lines.keyword())));
        }
    }
    lines.fail(QStringLiteral("it ends before CHARS"));
}

// The glyph metrics given between STARTCHAR and BITMAP.
struct BdfGlyph {
    QString name;
    std::optional<qint64> code;
    std::optional<qint64> advance;
    std::optional<qint64> width, height, left, bottom;  // BBX
};

BdfGlyph readGlyphMetrics(BdfLines &lines)
{
    BdfGlyph glyph;
    glyph.name = lines.wordCount() > 1 ? QString::fromLatin1(lines.word(1)) : QString();
    while (lines.next() && !lines.is("BITMAP")) {
        if (lines.is("ENCODING")) {
            glyph.code = lines.number(1);
        } else if (lines.is("DWIDTH")) {
            glyph.advance = lines.number(1);
        } else if (lines.is("BBX")) {
            glyph.width = lines.number(1);
            glyph.height = lines.number(2);
            glyph.left = lines.number(3);
            glyph.bottom = lines.number(4);
            if (*glyph.width < 0 || *glyph.height < 0)
                lines.fail(QStringLiteral("glyph \"%1\" has a negative BBX size").arg(glyph.name));
        } else if (lines.is("STARTCHAR") || lines.is("ENDCHAR") || lines.is("ENDFONT")) {
            lines.fail(QStringLiteral("glyph \"%1\" has no BITMAP").arg(glyph.name));
        }
    }
    if (!lines.is("BITMAP"))
        lines.fail(QStringLiteral("it ends inside glyph \"%1\"").arg(glyph.name));
    if (!glyph.code)
        lines.fail(QStringLiteral("glyph \"%1\" has no ENCODING").arg(glyph.name));
    if (!glyph.width)
        lines.fail(QStringLiteral("glyph \"%1\" has no BBX").arg(glyph.name));
    return glyph;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads one glyph from STARTCHAR to ENDCHAR into the font (when its code is kept).
void readGlyph(BdfLines &lines, const BdfHeader &header, FontImport &font)
{
    const BdfGlyph metrics = readGlyphMetrics(lines);
    const qint64 advance = metrics.advance.value_or(header.defaultAdvance.value_or(
        std::max<qint64>(*metrics.left + *metrics.width, 0)));
    tGraphChar *glyph = font.addGlyph(*metrics.code, advance);

    // Row r of the bitmap (from the top) lies r rows below the box's top,
    // which stands bottom + height rows above the baseline.
    const qint64 top = header.ascent - *metrics.bottom - *metrics.height;
    const qint64 hexPerRow = (*metrics.width + 7) / 8 * 2;
    qint64 row = 0;
    for (; lines.next() && !lines.is("ENDCHAR"); ++row) {
        if (lines.is("STARTCHAR") || lines.is("ENDFONT"))
            break;
        if (row >= *metrics.height)
            lines.fail(QStringLiteral("glyph \"%1\" has more bitmap rows than its BBX height").arg(metrics.name));
        const QByteArray &hex = lines.keyword();
        if (hex.size() < hexPerRow)
            lines.fail(QStringLiteral("a bitmap row of glyph \"%1\" is shorter than its BBX width").arg(metrics.name));
        for (qint64 i = 0; i < hexPerRow; ++i) {
            const int nibble = hexDigit(hex[i]);
            if (nibble < 0)
                lines.fail(QStringLiteral("a bitmap row of glyph \"%1\" is not hexadecimal").arg(metrics.name));
            if (!glyph)
                continue;
            for (int bit = 0; bit < 4; ++bit) {
                const qint64 column = i * 4 + bit;
                if (column < *metrics.width && (nibble & (8 >> bit)))
                    font.put(*glyph, *metrics.left + column, top + row, raster::kBlack);
            }
        }
    }
    if (!lines.is("ENDCHAR"))
        lines.fail(QStringLiteral("glyph \"%1\" ends without ENDCHAR").arg(metrics.name));
    if (row != *metrics.height && *metrics.width > 0)
        lines.fail(QStringLiteral("glyph \"%1\" has fewer bitmap rows than its BBX height").arg(metrics.name));
}

// The code page of a registry of 8-bit codes ("ISO8859" "5", "KOI8" "R",
// "microsoft" "cp1251"); nothing for ISO8859-1, whose codes are the
// program's own, and for registries no code page stands for.
std::optional<QString> codePageOf(const BdfHeader &header)
{
    const QString registry = header.registry.trimmed(), encoding = header.encoding.trimmed();
    if (registry.compare(QStringLiteral("ISO8859"), Qt::CaseInsensitive) == 0 && encoding == u"1")
        return std::nullopt;
    for (const QString &name : {registry + u'-' + encoding, encoding})
        if (!name.isEmpty() && name != u"-")
            if (auto page = CharMap::codePageName(name))
                return page;
    return std::nullopt;
}

}  // namespace

ImportedFont parseBdf(const QByteArray &bytes, const CharMap &through)
{
    BdfLines lines(bytes);
    const BdfHeader header = readHeader(lines);
    FontImport font(kFormat, header.cellHeight, bytes.size());
    const bool unicode = header.registry.compare(QStringLiteral("ISO10646"), Qt::CaseInsensitive) == 0;
    std::optional<QString> codePage = unicode ? std::nullopt : codePageOf(header);
    if (unicode)
        font.placeThrough(through);
    qint64 count = 0;
    while (lines.next()) {
        if (lines.is("ENDFONT")) {
            if (count != header.chars)
                lines.fail(QStringLiteral("CHARS gives %1 glyphs but the file has %2").arg(header.chars).arg(count));
            ImportedFont imported = font.finish();
            if (codePage) {
                try {
                    imported.extras.charMap = CharMap::fromCodePage(*codePage);
                } catch (const Error &error) {
                    imported.warnings << error.message();
                }
            }
            return imported;
        }
        if (!lines.is("STARTCHAR"))
            lines.fail(QStringLiteral("STARTCHAR or ENDFONT expected, not %1").arg(QString::fromLatin1(lines.keyword())));
        readGlyph(lines, header, font);
        ++count;
    }
    lines.fail(QStringLiteral("it ends before ENDFONT"));
}

ImportedFont readBdfFile(const QString &path, const CharMap &through)
{
    return parseBdf(readWholeFile(path), through);
}

namespace {

// One bitmap row as hexadecimal: 8 pixels a byte, the leftmost in the top bit.
QByteArray bitmapRow(const tGraphChar &glyph, std::int32_t y)
{
    QByteArray row;
    for (std::int32_t x0 = 0; x0 < glyph.width; x0 += 8) {
        int byte = 0;
        for (std::int32_t bit = 0; bit < 8 && x0 + bit < glyph.width; ++bit)
            if (!isWhite(glyph.pixels[std::size_t(x0 + bit)][std::size_t(y)]))
                byte |= 0x80 >> bit;
        row += QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
    }
    return row;
}

// The family field of the font's name: the characters that separate or
// match fields in a font name are left out.
QString familyField(const QString &family)
{
    static const QRegularExpression notAllowed(QStringLiteral("[^A-Za-z0-9 _.]"));
    QString field = QString(family).remove(notAllowed).simplified();
    return field.isEmpty() ? QStringLiteral("Letterloom") : field;
}

}  // namespace

BdfExport bdfBytes(const GlyphTable &font, const QString &family, const CharMap &map)
{
    const UnicodeExport unicode = unicodeExport(font, map);
    const GlyphTable &glyphs = unicode.glyphs;
    const bool throughMap = !map.isNone();
    const ExportCells cells = exportCells(glyphs);
    // The font's size in points at 72 dots an inch equals its cell height in pixels.
    const qint64 size = std::max<qint64>(cells.cellHeight, 1);
    qint64 widthSum = 0;
    std::set<qint64> widths;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        if (!glyphs[code].defined)
            continue;
        widthSum += glyphs[code].width;
        widths.insert(glyphs[code].width);
    }
    const qint64 averageWidth = cells.count > 0 ? (widthSum * 10 + cells.count / 2) / cells.count : 0;
    const char *spacing = widths.size() <= 1 ? "M" : "P";

    QByteArray out;
    auto line = [&out](const QByteArray &text) { out += text + '\n'; };
    line("STARTFONT 2.1");
    line(QStringLiteral("FONT -Letterloom-%1-Medium-R-Normal--%2-%3-72-72-%4-%5-%6")
             .arg(familyField(family)).arg(size).arg(size * 10).arg(QLatin1String(spacing)).arg(averageWidth)
             .arg(throughMap ? QStringLiteral("ISO10646-1") : QStringLiteral("ISO8859-1")).toLatin1());
    line("SIZE " + QByteArray::number(size) + " 72 72");
    line("FONTBOUNDINGBOX " + QByteArray::number(cells.widest) + ' ' + QByteArray::number(cells.cellHeight) + " 0 0");
    line(throughMap ? "STARTPROPERTIES 4" : "STARTPROPERTIES 2");
    line("FONT_ASCENT " + QByteArray::number(cells.cellHeight));
    line("FONT_DESCENT 0");
    if (throughMap) {
        line("CHARSET_REGISTRY \"ISO10646\"");
        line("CHARSET_ENCODING \"1\"");
    }
    line("ENDPROPERTIES");
    line("CHARS " + QByteArray::number(cells.count));
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        const tGraphChar &glyph = glyphs[code];
        if (!glyph.defined)
            continue;
        const bool hasPixels = glyph.width > 0 && glyph.height > 0;
        const qint64 scalableWidth = std::llround(glyph.width * 1000.0 / double(size));
        const char32_t character = unicode.characters[std::size_t(code)];
        line(throughMap ? "STARTCHAR U+" + QByteArray::number(uint(character), 16).toUpper().rightJustified(4, '0')
                        : "STARTCHAR C" + QByteArray::number(code).rightJustified(3, '0'));
        line("ENCODING " + QByteArray::number(uint(character)));
        line("SWIDTH " + QByteArray::number(scalableWidth) + " 0");
        line("DWIDTH " + QByteArray::number(glyph.width) + " 0");
        line("BBX " + QByteArray::number(hasPixels ? glyph.width : 0) + ' ' +
             QByteArray::number(hasPixels ? glyph.height : 0) + " 0 0");
        line("BITMAP");
        for (std::int32_t y = 0; hasPixels && y < glyph.height; ++y)
            line(bitmapRow(glyph, y));
        line("ENDCHAR");
    }
    line("ENDFONT");

    BdfExport result{out, unicode.warnings};
    const std::set<int> coloured = glyphsWithPixel(
        glyphs, [](Colour colour) { return !isWhite(colour) && (colour & 0xFFFFFFu) != raster::kBlack; });
    if (!coloured.empty())
        result.warnings << QStringLiteral("Colours dropped, drawn in black: glyphs %1").arg(codeList(coloured));
    return result;
}

QStringList writeBdfFile(const QString &path, const GlyphTable &glyphs, const CharMap &map)
{
    BdfExport exported = bdfBytes(glyphs, QFileInfo(path).completeBaseName(), map);
    writeWholeFile(path, exported.bytes);
    return exported.warnings;
}

}  // namespace letterloom::font
