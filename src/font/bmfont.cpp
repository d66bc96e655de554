#include "font/bmfont.h"

#include "base/error.h"
#include "base/file_io.h"
#include "raster/png_image.h"

#include <QDir>
#include <QFileInfo>

#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

namespace letterloom::font {

namespace {

const QString kFormat = QStringLiteral("BMFont file");

// The decoded page pixels one font may load in all: four pages of 4096 x 4096
// pixels, more than any real font uses, and far less than crafted files of
// many huge (and cheaply compressed) pages would make the reader decode.
constexpr qint64 kMaxPagePixels = 4 * kMaxFontPixels;

[[noreturn]] void fail(const QString &what)
{
    throw Error(QStringLiteral("Invalid %1: %2").arg(kFormat, what));
}

// The first word of a .fnt line: what the line is about ("char", "page", ...).
QByteArrayView tagOf(QByteArrayView line)
{
    qsizetype end = 0;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t')
        ++end;
    return line.first(end);
}

// The keys the reader looks at; a line may hold any others, which are checked
// for their form but not kept, so a line of millions of keys costs no memory.
constexpr const char *kKnownKeys[] = {"id",   "x",     "y",          "width",  "height", "xoffset", "yoffset", "page",
                                      "chnl", "xadvance", "lineHeight", "packed", "pages",  "count",   "file",
                                      "first", "second", "amount"};
constexpr int kKnownKeyCount = int(std::size(kKnownKeys));

int knownKey(QByteArrayView key)
{
    for (int i = 0; i < kKnownKeyCount; ++i)
        if (key == kKnownKeys[i])
            return i;
    return -1;
}

// One line of the .fnt: its tag and its key=value pairs, where a value is a
// word or a "quoted text". A key given twice keeps its last value. The values
// are views of the text, which outlives the line.
class FntLine {
public:
    FntLine(QByteArrayView text, int number) : tag_(tagOf(text).toByteArray()), number_(number)
    {
        qsizetype at = tag_.size();
        auto skipSpaces = [&] {
            while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
                ++at;
        };
        auto word = [&] {
            const qsizetype start = at;
            while (at < text.size() && text[at] != ' ' && text[at] != '\t' && text[at] != '=')
                ++at;
            return text.sliced(start, at - start);
        };
        for (skipSpaces(); at < text.size(); skipSpaces()) {
            const QByteArrayView key = word();
            if (at >= text.size() || text[at] != '=')
                this->fail(QStringLiteral("\"%1\" has no value").arg(QString::fromUtf8(key)));
            ++at;
            qsizetype start = at, end;
            if (at < text.size() && text[at] == '"') {
                const qsizetype close = text.indexOf('"', at + 1);
                if (close < 0)
                    this->fail(QStringLiteral("the text of \"%1\" has no closing quote").arg(QString::fromUtf8(key)));
                start = at + 1;
                end = close;
                at = close + 1;
            } else {
                while (at < text.size() && text[at] != ' ' && text[at] != '\t')
                    ++at;
                end = at;
            }
            if (const int index = knownKey(key); index >= 0)
                values_[std::size_t(index)] = text.sliced(start, end - start);
        }
    }

    const QByteArray &tag() const { return tag_; }

    qint64 integer(const char *key) const
    {
        if (!find(key))
            fail(QStringLiteral("%1 lacks %2=").arg(QString::fromUtf8(tag_), QLatin1String(key)));
        return integer(key, 0);
    }

    qint64 integer(const char *key, qint64 fallback) const
    {
        const std::optional<QByteArrayView> *found = find(key);
        if (!found)
            return fallback;
        bool ok = false;
        const qint64 value = (*found)->toInt(&ok);
        if (!ok)
            fail(QStringLiteral("%1= needs a whole number").arg(QLatin1String(key)));
        return value;
    }

    // The bytes of a value, a view of the line's text.
    QByteArrayView bytes(const char *key) const
    {
        const std::optional<QByteArrayView> *found = find(key);
        if (!found)
            fail(QStringLiteral("%1 lacks %2=").arg(QString::fromUtf8(tag_), QLatin1String(key)));
        return **found;
    }

    [[noreturn]] void fail(const QString &what) const
    {
        letterloom::font::fail(QStringLiteral("%1 (line %2)").arg(what).arg(number_));
    }

private:
    // The value of a key of kKnownKeys that the line gives, or nullptr.
    const std::optional<QByteArrayView> *find(const char *key) const
    {
        const int index = knownKey(key);
        Q_ASSERT(index >= 0);
        const std::optional<QByteArrayView> &value = values_[std::size_t(index)];
        return value ? &value : nullptr;
    }

    QByteArray tag_;
    std::array<std::optional<QByteArrayView>, kKnownKeyCount> values_;
    int number_;
};

// A kept glyph's box on its page and its place in its cell.
struct FntChar {
    qint64 id = 0;
    int code = 0;
    qint64 x = 0, y = 0, width = 0, height = 0;
    qint64 xoffset = 0, yoffset = 0;
    qint64 page = 0;
    qint64 channel = 15;
};

// One kerning line: after the glyph of first, the glyph of second moves by
// amount pixels.
struct FntKerning {
    qint64 first = 0, second = 0, amount = 0;
};

// The kerning lines kept: more pairs than 256 codes can make are not needed.
constexpr std::size_t kMaxKerningLines = std::size_t(1) << 20;

// Everything the .fnt says, with the glyphs kept so far (white cells).
struct FntFont {
    std::optional<FontImport> import;
    bool packed = false;
    std::map<qint64, QByteArrayView> pages;  // the file= of each, in the .fnt's bytes
    std::vector<FntChar> chars;
    std::optional<qint64> declaredChars;  // chars count=
    qint64 charLines = 0;
    qint64 boxPixels = 0;  // of the kept glyphs
    std::vector<FntKerning> kernings;
    qint64 badKernings = 0;  // lines that are no pair of whole numbers
};

void refuseOtherFormats(const QByteArray &fnt)
{
    if (fnt.startsWith("BMF"))
        fail(QStringLiteral("it is in the binary format; only the text format is read"));
    if (QByteArrayView(fnt).trimmed().startsWith('<'))
        fail(QStringLiteral("it is in the XML format; only the text format is read"));
}

// A page's name as its line gives it (file=), each backslash made a slash.
QString pageName(QByteArrayView file)
{
    return QString::fromUtf8(file).replace(u'\\', u'/');
}

// Page names are relative to the .fnt's folder and stay inside it.
QByteArrayView checkedPageFile(const FntLine &line)
{
    const QByteArrayView file = line.bytes("file");
    const QString name = pageName(file);
    const bool outside = name.isEmpty() || QDir::isAbsolutePath(name) || name.startsWith(u'/') ||
                         name.contains(u':') || name == QLatin1String("..") || name.startsWith(QLatin1String("../")) ||
                         name.endsWith(QLatin1String("/..")) || name.contains(QLatin1String("/../"));
    if (outside)
        line.fail(QStringLiteral("its page \"%1\" lies outside the font's folder").arg(name));
    return file;
}

void readCharLine(const FntLine &line, FntFont &font)
{
    if (!font.import)
        line.fail(QStringLiteral("a char line comes before the common line"));
    ++font.charLines;
    FntChar c;
    const qint64 id = line.integer("id");
    c.x = line.integer("x");
    c.y = line.integer("y");
    c.width = line.integer("width");
    c.height = line.integer("height");
    c.xoffset = line.integer("xoffset", 0);
    c.yoffset = line.integer("yoffset", 0);
    c.page = line.integer("page", 0);
    c.channel = line.integer("chnl", 15);
    const qint64 advance = line.integer("xadvance");
    if (c.x < 0 || c.y < 0 || c.width < 0 || c.height < 0)
        line.fail(QStringLiteral("char %1 has a negative box").arg(id));
    const tGraphChar *glyph = font.import->addGlyph(id, advance);
    if (!glyph)
        return;
    if (!font.pages.contains(c.page))
        line.fail(QStringLiteral("char %1 is on page %2, which the font does not name").arg(id).arg(c.page));
    font.boxPixels += c.width * c.height;
    if (font.boxPixels > kMaxFontPixels)
        line.fail(QStringLiteral("its glyph boxes together hold more than %1 pixels").arg(kMaxFontPixels));
    c.id = id;
    c.code = font.import->codeOf(*glyph);
    font.chars.push_back(c);
}

FntFont readFnt(const QByteArray &fnt, const CharMap &through)
{
    refuseOtherFormats(fnt);
    FntFont font;
    std::optional<qint64> pageCount;
    int number = 0;
    for (qsizetype pos = fnt.startsWith("\xEF\xBB\xBF") ? 3 : 0; pos < fnt.size();) {
        qsizetype end = fnt.indexOf('\n', pos);
        if (end < 0)
            end = fnt.size();
        const QByteArrayView text = QByteArrayView(fnt).sliced(pos, end - pos).trimmed();
        pos = end + 1;
        ++number;
        // Only the lines the reader uses are taken apart; others ("info",
        // kerning, whatever a tool adds) may hold anything.
        const QByteArrayView tag = tagOf(text);
        if (tag == "kerning") {
            // A kerning line that does not read costs its pair, not the font.
            try {
                const FntLine line(text, number);
                const FntKerning pair{line.integer("first"), line.integer("second"), line.integer("amount")};
                if (font.kernings.size() < kMaxKerningLines)
                    font.kernings.push_back(pair);
                else
                    ++font.badKernings;
            } catch (const Error &) {
                ++font.badKernings;
            }
            continue;
        }
        if (tag != "common" && tag != "page" && tag != "chars" && tag != "char")
            continue;
        const FntLine line(text, number);

        if (line.tag() == "common") {
            if (font.import)
                line.fail(QStringLiteral("the font has more than one common line"));
            font.import.emplace(kFormat, line.integer("lineHeight"), fnt.size());
            font.import->placeThrough(through);
            font.packed = line.integer("packed", 0) != 0;
            if (const qint64 pages = line.integer("pages", -1); pages >= 0)
                pageCount = pages;
        } else if (line.tag() == "page") {
            const qint64 id = line.integer("id");
            if (id < 0 || (pageCount && id >= *pageCount))
                line.fail(QStringLiteral("page id %1 is not one of its %2 pages").arg(id).arg(pageCount.value_or(0)));
            if (font.pages.contains(id))
                line.fail(QStringLiteral("page %1 is named twice").arg(id));
            font.pages[id] = checkedPageFile(line);
        } else if (line.tag() == "chars") {
            font.declaredChars = line.integer("count");
        } else {
            readCharLine(line, font);
        }
    }
    if (!font.import)
        fail(QStringLiteral("it has no common line"));
    // Every tool writes the count; without it a file cut short after its
    // header would pass for a font without glyphs.
    if (!font.declaredChars)
        fail(QStringLiteral("it has no chars count"));
    if (*font.declaredChars != font.charLines)
        fail(QStringLiteral("chars count=%1 but the file has %2 char lines").arg(*font.declaredChars).arg(font.charLines));
    return font;
}

// How a page holds its glyphs.
enum class PageKind {
    Blank,     // nothing visible in the glyph boxes
    Colour,    // colours as they are, transparent pixels white
    Coverage,  // glyphs in the alpha channel alone, or packed in single channels
};

// A page whose every visible glyph pixel is white holds its glyphs in the alpha
// channel alone: read as colours they would all come out white.
PageKind kindOf(const QImage &page, const std::vector<const FntChar *> &chars)
{
    PageKind kind = PageKind::Blank;
    for (const FntChar *c : chars)
        for (qint64 y = c->y; y < c->y + c->height; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(page.constScanLine(int(y)));
            for (qint64 x = c->x; x < c->x + c->width; ++x) {
                if (qAlpha(line[x]) == 0)
                    continue;
                if ((line[x] & 0xFFFFFFu) != 0xFFFFFFu)
                    return PageKind::Colour;
                kind = PageKind::Coverage;
            }
        }
    return kind;
}

// The channel of a pixel that holds a coverage glyph: for packed pages the
// glyph's own channel (chnl 1 blue, 2 green, 4 red, 8 alpha), else alpha.
int coverage(QRgb pixel, qint64 channel, bool packed)
{
    if (packed) {
        switch (channel) {
        case 1: return qBlue(pixel);
        case 2: return qGreen(pixel);
        case 4: return qRed(pixel);
        default: break;
        }
    }
    return qAlpha(pixel);
}

struct PageReading {
    PageKind kind = PageKind::Colour;
    bool packed = false;
    bool madeOpaque = false;  // a partly transparent colour pixel lost its transparency
};

Colour glyphColour(QRgb pixel, const FntChar &c, PageReading &reading)
{
    if (reading.kind == PageKind::Coverage)
        return coverage(pixel, c.channel, reading.packed) >= 128 ? raster::kBlack : raster::kWhite;
    if (qAlpha(pixel) == 0)
        return raster::kWhite;
    if (qAlpha(pixel) != 255)
        reading.madeOpaque = true;
    return raster::fromQRgb(pixel);
}

// Loads and decodes a page, counting its pixels against what one font may load.
QImage decodedPage(const QString &name, const PageLoader &loader, qint64 &pixelsLoaded)
{
    QByteArray bytes;
    try {
        bytes = loader(name);
    } catch (const Error &error) {
        throw Error(QStringLiteral("Cannot read the BMFont page \"%1\": %2").arg(name, error.message()));
    }
    QImage page;
    try {
        const QSize size = raster::pngSize(bytes);
        pixelsLoaded += qint64(size.width()) * size.height();
        if (pixelsLoaded <= kMaxPagePixels)
            page = raster::decodePng(bytes);
    } catch (const Error &) {
        fail(QStringLiteral("its page \"%1\" is not a valid PNG image").arg(name));
    }
    if (page.isNull())
        fail(QStringLiteral("its pages together hold more than %1 pixels").arg(kMaxPagePixels));
    return page;
}

// Copies the boxes of one page's glyphs into their cells.
void readPage(const QImage &page, const QString &name, const std::vector<const FntChar *> &chars, FntFont &font)
{
    for (const FntChar *c : chars)
        if (c->x + c->width > page.width() || c->y + c->height > page.height())
            fail(QStringLiteral("char %1 lies outside its page \"%2\"").arg(c->id).arg(name));

    PageReading reading;
    reading.packed = font.packed;
    reading.kind = font.packed ? PageKind::Coverage : kindOf(page, chars);
    for (const FntChar *c : chars) {
        tGraphChar &glyph = font.import->glyph(c->code);
        for (qint64 y = 0; y < c->height; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(page.constScanLine(int(c->y + y)));
            for (qint64 x = 0; x < c->width; ++x)
                font.import->put(glyph, c->xoffset + x, c->yoffset + y,
                                 glyphColour(line[c->x + x], *c, reading));
        }
    }
    if (font.packed)
        font.import->warn(QStringLiteral("Read as black on white from the channels of packed page \"%1\"").arg(name));
    else if (reading.kind == PageKind::Coverage)
        font.import->warn(QStringLiteral("Read as black on white from the transparency of page \"%1\"").arg(name));
    if (reading.madeOpaque)
        font.import->warn(QStringLiteral("Partly transparent pixels made opaque on page \"%1\"").arg(name));
}

}  // namespace

namespace {

QString pairCount(qint64 count)
{
    return count == 1 ? QStringLiteral("1 pair") : QStringLiteral("%1 pairs").arg(count);
}

// The kerning lines as pairs of the codes their glyphs were kept at. A line
// whose glyphs were not kept, that moves by more than kMaxKerning or does not
// read, or that repeats an earlier pair, is dropped and counted in a warning;
// amount 0 kerns nothing.
Kerning kerningOf(FntFont &font)
{
    std::vector<KerningPair> pairs;
    std::vector<bool> seen(std::size_t(GlyphTable::kSize * GlyphTable::kSize), false);
    qint64 unkept = 0, outOfRange = font.badKernings, repeated = 0;
    for (const FntKerning &line : font.kernings) {
        const std::vector<int> lefts = font.import->keptCodesOf(line.first);
        const std::vector<int> rights = font.import->keptCodesOf(line.second);
        if (lefts.empty() || rights.empty()) {
            ++unkept;
            continue;
        }
        if (line.amount < -kMaxKerning || line.amount > kMaxKerning) {
            ++outOfRange;
            continue;
        }
        bool repeats = false;
        for (int left : lefts)
            for (int right : rights) {
                const std::size_t at = std::size_t(left * GlyphTable::kSize + right);
                repeats = repeats || seen[at];
                if (!seen[at])
                    pairs.push_back({std::uint8_t(left), std::uint8_t(right), std::int32_t(line.amount)});
                seen[at] = true;
            }
        repeated += repeats ? 1 : 0;
    }
    if (unkept > 0)
        font.import->warn(QStringLiteral("Dropped the kerning of %1 whose glyphs were not kept").arg(pairCount(unkept)));
    if (outOfRange > 0)
        font.import->warn(QStringLiteral("Dropped the kerning of %1 that do not read as whole numbers or move "
                                         "more than %2 pixels").arg(pairCount(outOfRange)).arg(kMaxKerning));
    if (repeated > 0)
        font.import->warn(QStringLiteral("Kept only the first kerning of %1 given more than once").arg(pairCount(repeated)));
    return Kerning(pairs);
}

}  // namespace

ImportedFont parseBmFont(const QByteArray &fnt, const PageLoader &loader, const CharMap &through)
{
    FntFont font = readFnt(fnt, through);
    std::map<qint64, std::vector<const FntChar *>> charsByPage;
    for (const FntChar &c : font.chars)
        charsByPage[c.page].push_back(&c);
    // One page at a time, so that only one is held in memory.
    qint64 pixelsLoaded = 0;
    for (const auto &[page, chars] : charsByPage) {
        const QString name = pageName(font.pages.at(page));
        readPage(decodedPage(name, loader, pixelsLoaded), name, chars, font);
    }
    const Kerning kerning = kerningOf(font);
    ImportedFont imported = font.import->finish();
    imported.extras.kerning = kerning;
    return imported;
}

ImportedFont readBmFontFile(const QString &path, const CharMap &through)
{
    const QDir folder = QFileInfo(path).absoluteDir();
    return parseBmFont(readWholeFile(path),
                       [&folder](const QString &name) { return readWholeFile(folder.filePath(name)); }, through);
}

namespace {

struct PagePlace {
    int code = 0;
    int x = 0, y = 0;
};

struct PageLayout {
    int width = 1, height = 1;
    std::vector<PagePlace> places;  // glyphs with pixels
};

// Puts the glyph boxes on shelves, in code order, one pixel apart, on a page
// about as wide as it is high.
PageLayout layOut(const GlyphTable &glyphs, std::int32_t widest)
{
    qint64 area = 0;
    for (int code = 0; code < GlyphTable::kSize; ++code)
        if (glyphs[code].defined && glyphs[code].width > 0 && glyphs[code].height > 0)
            area += qint64(glyphs[code].width + 1) * (glyphs[code].height + 1);
    const qint64 width = std::max<qint64>(widest, qint64(std::ceil(std::sqrt(double(area)))));

    PageLayout layout;
    qint64 x = 0, y = 0, shelf = 0;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        const tGraphChar &glyph = glyphs[code];
        if (!glyph.defined || glyph.width == 0 || glyph.height == 0)
            continue;
        if (x + glyph.width > width) {
            y += shelf + 1;
            x = 0;
            shelf = 0;
        }
        if (!raster::Raster::sizeAllowed(width, y + glyph.height))
            throw Error(QStringLiteral("The font is too large for a BMFont page"));
        layout.places.push_back({code, int(x), int(y)});
        x += glyph.width + 1;
        shelf = std::max<qint64>(shelf, glyph.height);
    }
    layout.width = int(std::max<qint64>(width, 1));
    layout.height = int(std::max<qint64>(y + shelf, 1));
    return layout;
}

// The page: white pixels transparent, all others opaque in their colour.
QImage drawPage(const GlyphTable &glyphs, const PageLayout &layout)
{
    QImage page = raster::allocated(QImage(layout.width, layout.height, QImage::Format_ARGB32));
    page.fill(Qt::transparent);
    for (const PagePlace &place : layout.places) {
        const tGraphChar &glyph = glyphs[place.code];
        for (std::int32_t y = 0; y < glyph.height; ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(page.scanLine(place.y + y)) + place.x;
            for (std::int32_t x = 0; x < glyph.width; ++x) {
                const Colour colour = glyph.pixels[std::size_t(x)][std::size_t(y)];
                line[x] = isWhite(colour) ? qRgba(255, 255, 255, 0) : raster::toQRgb(colour);
            }
        }
    }
    return page;
}

QByteArray fntText(const GlyphTable &glyphs, const PageLayout &layout, const ExportCells &cells,
                   const QString &baseName, const QString &pageFileName, const UnicodeExport &unicode, bool throughMap,
                   const std::vector<KerningPair> &kerning)
{
    auto quoted = [](QString text) { return '"' + text.remove(u'"').toUtf8() + '"'; };
    const QByteArray height = QByteArray::number(cells.cellHeight);
    QByteArray out;
    out += "info face=" + quoted(baseName) + " size=" + height +
           " bold=0 italic=0 charset=\"\" unicode=" + (throughMap ? "1" : "0") + " stretchH=100 smooth=0 aa=1 padding=0,0,0,0 spacing=1,1 outline=0\n";
    out += "common lineHeight=" + height + " base=" + height + " scaleW=" + QByteArray::number(layout.width) +
           " scaleH=" + QByteArray::number(layout.height) +
           " pages=1 packed=0 alphaChnl=0 redChnl=0 greenChnl=0 blueChnl=0\n";
    out += "page id=0 file=" + quoted(pageFileName) + '\n';
    out += "chars count=" + QByteArray::number(cells.count) + '\n';

    std::map<int, PagePlace> placeOf;
    for (const PagePlace &place : layout.places)
        placeOf[place.code] = place;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        const tGraphChar &glyph = glyphs[code];
        if (!glyph.defined)
            continue;
        const auto found = placeOf.find(code);
        const bool placed = found != placeOf.end();
        // Each glyph stands on the baseline at the bottom of the line.
        out += "char id=" + QByteArray::number(uint(unicode.characters[std::size_t(code)])) +
               " x=" + QByteArray::number(placed ? found->second.x : 0) +
               " y=" + QByteArray::number(placed ? found->second.y : 0) +
               " width=" + QByteArray::number(placed ? glyph.width : 0) +
               " height=" + QByteArray::number(placed ? glyph.height : 0) +
               " xoffset=0 yoffset=" + QByteArray::number(placed ? cells.cellHeight - glyph.height : 0) +
               " xadvance=" + QByteArray::number(glyph.width) + " page=0 chnl=15\n";
    }
    // Kerning only when there is some, so a font without pairs is written
    // as it always was.
    if (!kerning.empty())
        out += "kernings count=" + QByteArray::number(qsizetype(kerning.size())) + '\n';
    for (const KerningPair &pair : kerning)
        out += "kerning first=" + QByteArray::number(uint(unicode.characters[pair.left])) +
               " second=" + QByteArray::number(uint(unicode.characters[pair.right])) +
               " amount=" + QByteArray::number(pair.amount) + '\n';
    return out;
}

}  // namespace

BmFontExport bmFontBytes(const GlyphTable &font, const QString &baseName, const CharMap &map, const Kerning &kerning)
{
    const UnicodeExport unicode = unicodeExport(font, map);
    const GlyphTable &glyphs = unicode.glyphs;
    const ExportCells cells = exportCells(glyphs);
    const PageLayout layout = layOut(glyphs, cells.widest);

    BmFontExport result;
    result.pageFileName = baseName + QStringLiteral("_0.png");
    result.page = raster::encodePng(drawPage(glyphs, layout));
    // A pair is written only where both of its glyphs are.
    std::vector<KerningPair> written;
    qint64 dropped = 0;
    for (const KerningPair &pair : kerning.pairs()) {
        if (glyphs[pair.left].defined && glyphs[pair.right].defined)
            written.push_back(pair);
        else
            ++dropped;
    }
    result.fnt = fntText(glyphs, layout, cells, baseName, result.pageFileName, unicode, !map.isNone(), written);
    result.warnings = unicode.warnings;
    if (dropped > 0)
        result.warnings << QStringLiteral("Dropped the kerning of %1 whose glyphs are not written").arg(pairCount(dropped));

    const std::set<int> highBytes = glyphsWithPixel(glyphs, [](Colour colour) { return (colour >> 24) != 0; });
    if (!highBytes.empty())
        result.warnings << QStringLiteral("Colour high bytes dropped: glyphs %1").arg(codeList(highBytes));
    return result;
}

QStringList writeBmFontFile(const QString &path, const GlyphTable &glyphs, const CharMap &map, const Kerning &kerning)
{
    const QFileInfo info(path);
    BmFontExport exported = bmFontBytes(glyphs, info.completeBaseName(), map, kerning);
    // The page and the .fnt as one set: either both replace the old ones or
    // neither does, so no old .fnt is left beside a new page.
    writeWholeFiles({{info.dir().filePath(exported.pageFileName), exported.page}, {path, exported.fnt}});
    return exported.warnings;
}

}  // namespace letterloom::font
