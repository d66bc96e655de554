#include "font/foreign_font.h"

#include "base/error.h"

#include <algorithm>
#include <map>
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

UnicodePlacement::UnicodePlacement(const CharMap &map) : none_(map.isNone()), description_(map.description())
{
    if (none_)
        return;
    std::map<qint64, std::vector<int>> codes;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        const QList<uint> characters = map.text(code).toUcs4();
        if (characters.size() == 1)
            codes[characters.front()].push_back(code);
        else if (characters.size() > 1)
            several_.insert(code);
    }
    codes_.assign(codes.begin(), codes.end());
}

const std::vector<int> &UnicodePlacement::codesOf(qint64 point) const
{
    static const std::vector<int> nothing;
    if (none_) {
        static const std::vector<std::vector<int>> own = [] {
            std::vector<std::vector<int>> list;
            for (int code = 0; code < GlyphTable::kSize; ++code)
                list.push_back({code});
            return list;
        }();
        return point >= 0 && point < GlyphTable::kSize ? own[std::size_t(point)] : nothing;
    }
    const auto found = std::lower_bound(codes_.begin(), codes_.end(), point,
                                        [](const auto &entry, qint64 value) { return entry.first < value; });
    return found != codes_.end() && found->first == point ? found->second : nothing;
}

QStringList UnicodePlacement::warnings() const
{
    if (several_.empty())
        return {};
    return {QStringLiteral("Left undefined, their texts in the character map (%1) have several characters: codes %2")
                .arg(description_, codeList(several_))};
}

QString UnicodePlacement::noCode() const
{
    return QStringLiteral("no code in the character map (%1)").arg(description_);
}

UnicodeExport unicodeExport(const GlyphTable &glyphs, const CharMap &map)
{
    UnicodeExport result{glyphs, {}, {}};
    std::set<int> noCharacter, repeated;
    std::set<char32_t> used;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        result.characters[std::size_t(code)] = char32_t(code);
        if (map.isNone() || !glyphs[code].defined)
            continue;
        const QList<uint> characters = map.text(code).toUcs4();
        if (characters.size() != 1) {
            noCharacter.insert(code);
        } else if (!used.insert(characters.front()).second) {
            repeated.insert(code);
        } else {
            result.characters[std::size_t(code)] = characters.front();
            continue;
        }
        result.glyphs.clearGlyph(code);
    }
    if (!noCharacter.empty())
        result.warnings << QStringLiteral("Skipped, no single character in the character map (%1): glyphs %2")
                               .arg(map.description(), codeList(noCharacter));
    if (!repeated.empty())
        result.warnings << QStringLiteral("Skipped, their characters belong to lower codes in the character map (%1): glyphs %2")
                               .arg(map.description(), codeList(repeated));
    return result;
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

void FontImport::placeThrough(const CharMap &map)
{
    font_.unicode = true;
    font_.extras.charMap = map;
    if (!map.isNone())
        placement_.emplace(map);
}

std::vector<int> FontImport::keptCodesOf(qint64 code) const
{
    std::vector<int> codes;
    if (placement_) {
        if (characters_.contains(code))
            for (int placed : placement_->codesOf(code))
                if (kept_.contains(placed))
                    codes.push_back(placed);
    } else if (code >= 0 && code < GlyphTable::kSize && kept_.contains(int(code))) {
        codes.push_back(int(code));
    }
    return codes;
}

tGraphChar *FontImport::addGlyph(qint64 code, qint64 advance)
{
    if (code < 0) {
        ++unencoded_;
        return nullptr;
    }
    std::vector<int> more;
    if (placement_) {
        const std::vector<int> &codes = placement_->codesOf(code);
        if (codes.empty()) {
            ++unplaced_;
            return nullptr;
        }
        if (!characters_.insert(code).second) {
            repeated_.insert(codes.front());
            return nullptr;
        }
        more.assign(codes.begin() + 1, codes.end());
        code = codes.front();
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
    pixelsUsed_ += advance * cellHeight_ * qint64(1 + more.size());
    for (int other : more) {
        kept_.insert(other);
        copies_.emplace_back(int(code), other);
    }
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

void FontImport::put(tGraphChar &glyph, qint64 x, qint64 y, Colour colour)
{
    if (x >= 0 && y >= 0 && x < glyph.width && y < glyph.height)
        glyph.pixels[std::size_t(x)][std::size_t(y)] = colour;
    else if (!isWhite(colour))
        cut_.insert(codeOf(glyph));
}

ImportedFont FontImport::finish()
{
    for (const auto &[from, to] : copies_)
        font_.glyphs[to] = font_.glyphs[from];
    for (int code : kept_)
        syncImage(font_.glyphs[code]);

    QStringList &warnings = font_.warnings;
    if (outOfRange_ > 0)
        warnings << QStringLiteral("Skipped %1 with codes above 255").arg(glyphCount(outOfRange_));
    if (unplaced_ > 0)
        warnings << QStringLiteral("Skipped %1 whose characters have %2").arg(glyphCount(unplaced_), placement_->noCode());
    if (placement_)
        warnings << placement_->warnings();
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
