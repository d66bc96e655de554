#include "font/psf_font.h"

#include "base/byte_reader.h"
#include "base/error.h"
#include "base/file_io.h"
#include "base/gzip.h"

#include <algorithm>
#include <bitset>
#include <set>
#include <vector>

namespace letterloom::font {

namespace {

const QString kFormat = QStringLiteral("PSF font");

constexpr quint8 kPsf1Magic[2] = {0x36, 0x04};
constexpr quint8 kPsf2Magic[4] = {0x72, 0xB5, 0x4A, 0x86};
constexpr int kPsf1Has512 = 0x01;
constexpr int kPsf1HasTable = 0x02;
constexpr int kPsf1HasSequences = 0x04;
constexpr std::uint32_t kPsf2HasTable = 0x01;
constexpr qint64 kPsf2HeaderSize = 32;
constexpr std::uint16_t kPsf1Separator = 0xFFFF, kPsf1Sequence = 0xFFFE;
constexpr quint8 kPsf2Separator = 0xFF, kPsf2Sequence = 0xFE;

quint32 u32At(const QByteArray &bytes, qsizetype at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

bool startsWith(const QByteArray &bytes, const quint8 *magic, qsizetype size)
{
    return bytes.size() >= size && std::equal(magic, magic + size, reinterpret_cast<const quint8 *>(bytes.constData()));
}

// What the header says: where the glyphs lie and where the table starts.
struct PsfLayout {
    qint64 glyphs = 0;
    qint64 width = 0;
    qint64 height = 0;
    qint64 glyphStart = 0;
    qint64 glyphBytes = 0;  // per glyph
    qint64 rowBytes = 0;
    bool psf2 = false;
    bool hasTable = false;
};

PsfLayout readLayout(const QByteArray &bytes, const FontImport &font)
{
    PsfLayout layout;
    if (startsWith(bytes, kPsf1Magic, 2)) {
        if (bytes.size() < 4)
            font.fail(QStringLiteral("its header is cut short"));
        const int mode = quint8(bytes[2]);
        layout.glyphs = mode & kPsf1Has512 ? 512 : 256;
        layout.hasTable = mode & (kPsf1HasTable | kPsf1HasSequences);
        layout.width = 8;
        layout.height = quint8(bytes[3]);
        layout.rowBytes = 1;
        layout.glyphBytes = layout.height;
        layout.glyphStart = 4;
    } else if (startsWith(bytes, kPsf2Magic, 4)) {
        if (bytes.size() < kPsf2HeaderSize)
            font.fail(QStringLiteral("its header is cut short"));
        layout.psf2 = true;
        const qint64 headerSize = u32At(bytes, 8);
        layout.hasTable = u32At(bytes, 12) & kPsf2HasTable;
        layout.glyphs = u32At(bytes, 16);
        layout.glyphBytes = u32At(bytes, 20);
        layout.height = u32At(bytes, 24);
        layout.width = u32At(bytes, 28);
        if (headerSize < kPsf2HeaderSize || headerSize > bytes.size())
            font.fail(QStringLiteral("its header size %1 does not fit the file").arg(headerSize));
        layout.glyphStart = headerSize;
        layout.rowBytes = (layout.width + 7) / 8;
        if (layout.width < 1 || layout.width > kMaxGlyphSide || layout.height < 1 || layout.height > kMaxGlyphSide)
            font.fail(QStringLiteral("its glyphs of %1 x %2 pixels are not between 1 and %3 a side")
                          .arg(layout.width).arg(layout.height).arg(kMaxGlyphSide));
        if (layout.glyphBytes < layout.rowBytes * layout.height)
            font.fail(QStringLiteral("its glyphs of %1 bytes cannot hold %2 x %3 pixels")
                          .arg(layout.glyphBytes).arg(layout.width).arg(layout.height));
    } else {
        font.fail(QStringLiteral("it does not begin with the mark of either PSF version"));
    }
    if (layout.height < 1)
        font.fail(QStringLiteral("its glyphs are 0 pixels high"));
    // Both sides may reach 2^32: their product is not formed.
    if (layout.glyphs > (bytes.size() - layout.glyphStart) / layout.glyphBytes)
        font.fail(QStringLiteral("it ends inside its %1 glyphs").arg(layout.glyphs));
    return layout;
}

// Reads one UTF-8 character of the table; -1 for a byte that cannot start or
// continue one.
qint64 utf8At(const QByteArray &bytes, qsizetype &at)
{
    const quint8 lead = quint8(bytes[at++]);
    int more = 0;
    qint64 point = lead;
    if (lead >= 0xF0 && lead < 0xF8) {
        more = 3;
        point = lead & 0x07;
    } else if (lead >= 0xE0) {
        more = 2;
        point = lead & 0x0F;
    } else if (lead >= 0xC0) {
        more = 1;
        point = lead & 0x1F;
    } else if (lead >= 0x80) {
        return -1;
    }
    for (; more > 0; --more) {
        if (at >= bytes.size() || (quint8(bytes[at]) & 0xC0) != 0x80)
            return -1;
        point = (point << 6) | (quint8(bytes[at++]) & 0x3F);
    }
    return point;
}

// Walks the Unicode table one glyph's entry at a time, so that a font of
// millions of tiny glyphs, or one entry of millions of characters, costs no
// more than its bytes.
class TableReader {
public:
    TableReader(const QByteArray &bytes, const PsfLayout &layout, const FontImport &font,
                const UnicodePlacement &placement)
        : bytes_(bytes), layout_(layout), font_(font), placement_(placement),
          at_(qsizetype(layout.glyphStart + layout.glyphs * layout.glyphBytes)) {}

    // The entry of the next glyph: the codes its single characters have in
    // the character map, and whether it names any character at all. The
    // sequences of several characters that some entries add are passed over.
    struct Entry {
        std::bitset<GlyphTable::kSize> codes;
        bool characters = false;
    };
    const Entry &next(qint64 glyph)
    {
        entry_ = {};
        bool inSequence = false;
        for (;;) {
            if (at_ >= bytes_.size() - (layout_.psf2 ? 0 : 1))
                font_.fail(QStringLiteral("its Unicode table ends inside the entry of glyph %1").arg(glyph));
            qint64 point;
            if (layout_.psf2) {
                const quint8 byte = quint8(bytes_[at_]);
                if (byte == kPsf2Separator || byte == kPsf2Sequence) {
                    ++at_;
                    if (byte == kPsf2Separator)
                        return entry_;
                    inSequence = true;
                    continue;
                }
                point = utf8At(bytes_, at_);
                if (point < 0)
                    font_.fail(QStringLiteral("the Unicode table entry of glyph %1 is not UTF-8").arg(glyph));
            } else {
                point = quint8(bytes_[at_]) | (quint8(bytes_[at_ + 1]) << 8);
                at_ += 2;
                if (point == kPsf1Separator)
                    return entry_;
                if (point == kPsf1Sequence) {
                    inSequence = true;
                    continue;
                }
            }
            if (inSequence)
                continue;
            entry_.characters = true;
            for (const int code : placement_.codesOf(point))
                entry_.codes.set(std::size_t(code));
        }
    }

private:
    const QByteArray &bytes_;
    const PsfLayout &layout_;
    const FontImport &font_;
    const UnicodePlacement &placement_;
    qsizetype at_;
    Entry entry_;
};

void paintGlyph(FontImport &font, int code, const QByteArray &bytes, const PsfLayout &layout, qint64 glyph)
{
    tGraphChar *cell = font.addGlyph(code, layout.width);
    if (!cell)
        return;
    const char *bits = bytes.constData() + layout.glyphStart + glyph * layout.glyphBytes;
    for (qint64 y = 0; y < layout.height; ++y)
        for (qint64 x = 0; x < layout.width; ++x)
            if (quint8(bits[y * layout.rowBytes + x / 8]) & (0x80 >> (x % 8)))
                cell->pixels[std::size_t(x)][std::size_t(y)] = raster::kBlack;
}

}  // namespace

ImportedFont parsePsf(const QByteArray &packedOrNot, qint64 fileBytes, const CharMap &through)
{
    // The header is checked before the cell height is known; a placeholder
    // of the right format reports its failures.
    const FontImport checker(kFormat, 0, fileBytes);
    QByteArray bytes = packedOrNot;
    if (isGzip(packedOrNot)) {
        try {
            bytes = gunzip(packedOrNot, kMaxFileSize);
        } catch (const Error &error) {
            checker.fail(error.message().at(0).toLower() + error.message().mid(1));
        }
    }
    const PsfLayout layout = readLayout(bytes, checker);
    FontImport font(kFormat, layout.height, fileBytes);

    if (!layout.hasTable) {
        for (qint64 glyph = 0; glyph < layout.glyphs; ++glyph)
            paintGlyph(font, int(std::min<qint64>(glyph, GlyphTable::kSize)), bytes, layout, glyph);
        return font.finish();
    }
    const UnicodePlacement placement(through);
    TableReader table(bytes, layout, checker, placement);
    qint64 lost = 0;
    for (qint64 glyph = 0; glyph < layout.glyphs; ++glyph) {
        const TableReader::Entry &entry = table.next(glyph);
        for (std::size_t code = entry.codes._Find_first(); code < entry.codes.size(); code = entry.codes._Find_next(code))
            paintGlyph(font, int(code), bytes, layout, glyph);
        lost += entry.characters && entry.codes.none();
    }
    const QString noCode = placement.throughNone() ? QStringLiteral("no code in the character map") : placement.noCode();
    if (lost > 0)
        font.warn(lost == 1 ? QStringLiteral("Skipped 1 glyph whose characters have %1").arg(noCode)
                            : QStringLiteral("Skipped %1 glyphs whose characters have %2").arg(lost).arg(noCode));
    for (const QString &warning : placement.warnings())
        font.warn(warning);
    ImportedFont imported = font.finish();
    imported.unicode = true;
    imported.extras.charMap = through;
    return imported;
}

ImportedFont parsePsf(const QByteArray &bytes, const CharMap &through)
{
    return parsePsf(bytes, bytes.size(), through);
}

ImportedFont readPsfFile(const QString &path, const CharMap &through)
{
    return parsePsf(readWholeFile(path), through);
}

namespace {

void appendUtf8(QByteArray &out, char32_t point)
{
    out += QString::fromUcs4(&point, 1).toUtf8();
}

}  // namespace

PsfExport psfBytes(const GlyphTable &font, const CharMap &map)
{
    const UnicodeExport unicode = unicodeExport(font, map);
    const GlyphTable &glyphs = unicode.glyphs;
    const ExportCells cells = exportCells(glyphs);
    const std::int32_t width = std::max(cells.widest, 1), height = std::max(cells.cellHeight, 1);
    const bool psf1 = width == 8 && height <= 255;
    const qint64 rowBytes = (width + 7) / 8, glyphBytes = rowBytes * height;

    ByteWriter out;
    if (psf1) {
        out.bytes(QByteArray(reinterpret_cast<const char *>(kPsf1Magic), 2));
        out.u8(kPsf1HasTable);
        out.u8(std::uint8_t(height));
    } else {
        out.bytes(QByteArray(reinterpret_cast<const char *>(kPsf2Magic), 4));
        for (std::uint32_t field : {0u, std::uint32_t(kPsf2HeaderSize), kPsf2HasTable, std::uint32_t(GlyphTable::kSize),
                                    std::uint32_t(glyphBytes), std::uint32_t(height), std::uint32_t(width)})
            out.u32(field);
    }
    std::set<int> narrower;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        QByteArray bits(glyphBytes, '\0');
        const tGraphChar &glyph = glyphs[code];
        if (glyph.defined) {
            const std::int32_t lift = height - glyph.height;
            for (std::int32_t y = 0; y < glyph.height; ++y)
                for (std::int32_t x = 0; x < glyph.width; ++x)
                    if (!isWhite(glyph.pixels[std::size_t(x)][std::size_t(y)]))
                        bits[(lift + y) * rowBytes + x / 8] = char(quint8(bits[(lift + y) * rowBytes + x / 8]) | (0x80 >> (x % 8)));
            if (glyph.width != width)
                narrower.insert(code);
        }
        out.bytes(bits);
    }
    // The first version's table holds 16-bit characters only.
    std::set<int> beyond16Bits;
    QByteArray table;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        const char32_t character = unicode.characters[std::size_t(code)];
        if (psf1) {
            if (glyphs[code].defined && character > 0xFFFD)
                beyond16Bits.insert(code);
            else if (glyphs[code].defined)
                table += char(character & 0xFF) + QByteArray(1, char(character >> 8));
            table += QByteArray("\xFF\xFF", 2);
        } else {
            if (glyphs[code].defined)
                appendUtf8(table, character);
            table += char(kPsf2Separator);
        }
    }
    out.bytes(table);

    PsfExport result{out.result(), unicode.warnings};
    if (!beyond16Bits.empty())
        result.warnings << QStringLiteral("Left out of the Unicode table, their characters lie above U+FFFD: glyphs %1")
                               .arg(codeList(beyond16Bits));
    const std::set<int> coloured = glyphsWithPixel(
        glyphs, [](Colour colour) { return !isWhite(colour) && (colour & 0xFFFFFFu) != raster::kBlack; });
    if (!coloured.empty())
        result.warnings << QStringLiteral("Colours dropped, drawn in black: glyphs %1").arg(codeList(coloured));
    if (!narrower.empty())
        result.warnings << QStringLiteral("Made %1 pixels wide, the one width of a console font: glyphs %2")
                               .arg(width).arg(codeList(narrower));
    return result;
}

QStringList writePsfFile(const QString &path, const GlyphTable &glyphs, const CharMap &map)
{
    PsfExport exported = psfBytes(glyphs, map);
    writeWholeFile(path, path.endsWith(QStringLiteral(".gz"), Qt::CaseInsensitive) ? gzip(exported.bytes)
                                                                                  : exported.bytes);
    return exported.warnings;
}

}  // namespace letterloom::font
