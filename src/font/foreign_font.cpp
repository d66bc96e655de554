#include "font/foreign_font.h"

#include "base/error.h"

#include <algorithm>
#include <utility>

namespace letterloom::font {

namespace {

QString glyphCount(int count)
{
    return count == 1 ? QStringLiteral("1 glyph") : QStringLiteral("%1 glyphs").arg(count);
}

}  // namespace

QString codeList(const std::set<int> &codes)
{
    constexpr int kShown = 8;
    QStringList shown;
    for (int code : codes) {
        if (shown.size() == kShown)
            break;
        shown << QString::number(code);
    }
    const int more = int(codes.size()) - int(shown.size());
    if (more > 0)
        return shown.join(QStringLiteral(", ")) + QStringLiteral(" and %1 more").arg(more);
    if (shown.size() == 1)
        return shown.front();
    const QString last = shown.takeLast();
    return shown.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

qint64 fontPixelBudget(qint64 fileBytes)
{
    constexpr qint64 kBase = qint64(1) << 22;
    constexpr qint64 kPerByte = 256;
    return std::min(kMaxFontPixels, kBase + kPerByte * std::max<qint64>(fileBytes, 0));
}

FontImport::FontImport(QString format, qint64 cellHeight, qint64 fileBytes)
    : format_(std::move(format)), pixelBudget_(fontPixelBudget(fileBytes))
{
    if (cellHeight < 0 || cellHeight > kMaxGlyphSide)
        fail(QStringLiteral("its cell height %1 is not between 0 and %2").arg(cellHeight).arg(kMaxGlyphSide));
    cellHeight_ = std::int32_t(cellHeight);
}

void FontImport::fail(const QString &what) const
{
    throw Error(QStringLiteral("Invalid %1: %2").arg(format_, what));
}

tGraphChar *FontImport::addGlyph(qint64 code, qint64 advance)
{
    if (code < 0) {
        ++unencoded_;
        return nullptr;
    }
    if (code >= GlyphTable::kSize) {
        ++outOfRange_;
        return nullptr;
    }
    if (advance < 0 || advance > kMaxGlyphSide)
        fail(QStringLiteral("glyph %1 has an advance of %2, not between 0 and %3")
                 .arg(code).arg(advance).arg(kMaxGlyphSide));
    if (!kept_.insert(int(code)).second) {
        repeated_.insert(int(code));
        return nullptr;
    }
    pixelsUsed_ += advance * cellHeight_;
    if (pixelsUsed_ > pixelBudget_)
        fail(QStringLiteral("its glyphs together hold more than %1 pixels").arg(pixelBudget_));

    tGraphChar &glyph = font_.glyphs[int(code)];
    glyph.defined = 1;
    resizeGlyph(glyph, std::int32_t(advance), cellHeight_);
    glyph.image.fill(raster::kWhite);
    for (auto &column : glyph.pixels)
        std::fill(column.begin(), column.end(), raster::kWhite);
    return &glyph;
}

void FontImport::put(tGraphChar &glyph, int code, qint64 x, qint64 y, Colour colour)
{
    if (x >= 0 && y >= 0 && x < glyph.width && y < glyph.height)
        glyph.pixels[std::size_t(x)][std::size_t(y)] = colour;
    else if (!isWhite(colour))
        cut_.insert(code);
}

ImportedFont FontImport::finish()
{
    for (int code : kept_)
        syncImage(font_.glyphs[code]);

    QStringList &warnings = font_.warnings;
    if (outOfRange_ > 0)
        warnings << QStringLiteral("Skipped %1 with codes above 255").arg(glyphCount(outOfRange_));
    if (unencoded_ > 0)
        warnings << QStringLiteral("Skipped %1 without a character code").arg(glyphCount(unencoded_));
    if (!repeated_.empty())
        warnings << QStringLiteral("Kept only the first glyph of codes %1, which appear more than once")
                        .arg(codeList(repeated_));
    if (!cut_.empty())
        warnings << QStringLiteral("Cut to their cells of advance x %1 pixels: glyphs %2")
                        .arg(cellHeight_).arg(codeList(cut_));
    warnings << extraWarnings_;
    return std::move(font_);
}

ExportCells exportCells(const GlyphTable &glyphs)
{
    ExportCells cells;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        const tGraphChar &glyph = glyphs[code];
        if (!glyph.defined)
            continue;
        ++cells.count;
        cells.cellHeight = std::max(cells.cellHeight, glyph.height);
        cells.widest = std::max(cells.widest, glyph.width);
    }
    return cells;
}

std::set<int> glyphsWithPixel(const GlyphTable &glyphs, const std::function<bool(Colour)> &test)
{
    std::set<int> codes;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        if (!glyphs[code].defined)
            continue;
        const auto &columns = glyphs[code].pixels;
        const bool found = std::any_of(columns.begin(), columns.end(), [&test](const std::vector<Colour> &column) {
            return std::any_of(column.begin(), column.end(), test);
        });
        if (found)
            codes.insert(code);
    }
    return codes;
}

}  // namespace letterloom::font
