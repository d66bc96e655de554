#include "text/overflow.h"

#include "text/render.h"

#include <algorithm>
#include <utility>
#include <vector>
#include <limits>

namespace letterloom::text {

namespace {

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// The words of a text in layout's order: the text trimmed, then cut at every
// space and CR LF pair, each word trimmed. breakAfter tells whether a CR LF
// ended the word.
class Words {
public:
    explicit Words(const QByteArray &text) : data_(text.constData()), end_(text.size())
    {
        while (pos_ < end_ && isBlank(data_[pos_]))
            ++pos_;
        while (end_ > pos_ && isBlank(data_[end_ - 1]))
            --end_;
        start_ = pos_;
    }

    bool next(QByteArrayView &word, bool &breakAfter)
    {
        if (pos_ >= end_)
            return false;
        qsizetype p = pos_;
        while (p < end_ - 1 && data_[p] != ' ' && !(data_[p] == '\r' && data_[p + 1] == '\n'))
            ++p;
        qsizetype wordEnd = p;
        breakAfter = false;
        if (p == end_ - 1 && data_[p] != ' ') {
            wordEnd = end_;
            pos_ = end_;
        } else if (data_[p] == ' ') {
            pos_ = p + 1;
        } else {
            breakAfter = true;
            pos_ = p + 2;
        }
        qsizetype begin = std::exchange(start_, pos_);
        while (begin < wordEnd && isBlank(data_[begin]))
            ++begin;
        while (wordEnd > begin && isBlank(data_[wordEnd - 1]))
            --wordEnd;
        word = QByteArrayView(data_ + begin, wordEnd - begin);
        return true;
    }

private:
    const char *data_;
    qsizetype end_;
    qsizetype pos_ = 0;
    qsizetype start_ = 0;
};

std::int64_t plainWidth(QByteArrayView word, const font::GlyphTable &glyphs)
{
    std::int64_t width = 0;
    for (char c : word) {
        const font::tGraphChar &glyph = glyphs[static_cast<unsigned char>(c)];
        if (glyph.defined)
            width += glyph.width;
    }
    return width;
}

int clampedInt(std::int64_t value)
{
    return int(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

Overflow MeasureOverflow(const QByteArray &text, Notice notice, const LineTable &lines, std::int32_t areaWidth,
                         std::int32_t areaHeight, std::int32_t lineSpacing, const font::GlyphTable &glyphs,
                         const Spacing &spacing, const font::Kerning *kerning)
{
    Overflow overflow;
    if (notice == Notice::None)
        return overflow;
    const std::int64_t room = std::int64_t(areaWidth) - 4;
    const std::int64_t heightRoom = std::int64_t(areaHeight) - 4;
    const std::int64_t pitch = std::int64_t(lineSpacing) + 2;
    const font::tGraphChar &spaceGlyph = glyphs[' '];
    const std::int64_t space = (spaceGlyph.defined ? spaceGlyph.width : 0) + spacing.wordSpacing;
    const auto measured = [&](QByteArrayView word) {
        std::int64_t width = plainWidth(word, glyphs);
        if (spacing.tracking != 0 || (kerning && !kerning->isEmpty()))
            width += SpacingWidth(ResolveEscapes(word.toByteArray()), spacing, kerning);
        return width;
    };

    // The placed words are skipped. The first one not placed would have
    // started a line: the first record it left without words, or the line
    // after the last record.
    std::int64_t placed = 0;
    std::int64_t firstEmpty = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const qsizetype count = lines[i].wordCount();
        placed += count;
        if (count == 0 && firstEmpty < 0)
            firstEmpty = std::int64_t(i);
    }
    Words words(text);
    QByteArrayView word;
    bool breakAfter = false;
    for (std::int64_t i = 0; i <= placed; ++i)
        if (!words.next(word, breakAfter))
            return overflow;

    const std::int64_t w = measured(word);
    overflow.word = ResolveEscapes(word.toByteArray());
    overflow.wordWidth = w;
    overflow.line = firstEmpty >= 0 ? firstEmpty : std::int64_t(lines.size());
    if (w + space > room) {
        overflow.pixels = w + space - room;
        return overflow;
    }

    // A height notice: the rest is laid out from that line on without the
    // height check, up to its end or a word that fits no line.
    std::int64_t line = overflow.line;
    std::int64_t lineWidth = 0;
    std::int64_t count = 0;
    for (;;) {
        const std::int64_t width = measured(word);
        if (width + space > room)
            break;
        if (count > 0 && lineWidth + width + space > room) {
            ++line;
            lineWidth = 0;
            count = 0;
        }
        lineWidth += width + space;
        ++count;
        const bool lineBreak = breakAfter;
        if (!words.next(word, breakAfter))
            break;
        if (lineBreak) {
            ++line;
            lineWidth = 0;
            count = 0;
        }
    }
    const std::int64_t lastAllowed = pitch > 0 && heightRoom >= 0 ? heightRoom / pitch : 0;
    overflow.lines = std::max<std::int64_t>(line - lastAllowed, 0);
    return overflow;
}

QString overflowText(const Overflow &overflow)
{
    if (overflow.pixels > 0)
        return QStringLiteral("%1 px too wide").arg(overflow.pixels);
    if (overflow.lines > 0)
        return overflow.lines == 1 ? QStringLiteral("1 line too many")
                                   : QStringLiteral("%1 lines too many").arg(overflow.lines);
    return {};
}

OverflowWord drawOverflowWord(const Overflow &overflow, const font::GlyphTable &glyphs, std::int32_t areaWidth,
                              std::int32_t lineSpacing, std::uint8_t alignment, raster::Colour colour,
                              const Spacing &spacing, const font::Kerning *kerning)
{
    OverflowWord result;
    if (!overflow.any())
        return result;
    // Each glyph's left edge from the word's start, as drawing advances: by
    // the glyph's width, and after all but the last also by the tracking and
    // the kerning with the next.
    const QByteArray &word = overflow.word;
    std::vector<std::int64_t> lefts(std::size_t(word.size()));
    std::int64_t x = 0;
    std::int64_t low = 0;
    std::int64_t high = 0;
    std::int32_t height = 0;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const font::tGraphChar &glyph = glyphs[static_cast<unsigned char>(word[i])];
        lefts[std::size_t(i)] = x;
        low = std::min(low, x);
        high = std::max(high, x + glyph.image.width());
        height = std::max(height, glyph.height);
        x += glyph.width;
        if (i + 1 < word.size()) {
            x += spacing.tracking;
            if (kerning)
                x += kerning->amount(std::uint8_t(word[i]), std::uint8_t(word[i + 1]));
        }
    }
    const std::int64_t advance = x;  // where the pen ends: the word's drawn width
    const std::int64_t width = high - low;
    if (width <= 0 || height <= 0 || !raster::Raster::sizeAllowed(width, height))
        return result;
    const bool layered = spacing.any() || (kerning && !kerning->isEmpty());
    result.picture.setSize(int(width), height);
    result.picture.fill(raster::kWhite);
    for (qsizetype i = 0; i < word.size(); ++i) {
        const font::tGraphChar &glyph = glyphs[static_cast<unsigned char>(word[i])];
        // As a line draws it: with spacing or kerning in use, white never
        // covers the glyphs before it (the picture is white to begin with).
        const std::int64_t left = lefts[std::size_t(i)] - low;
        if (layered)
            result.picture.drawLeavingOut(glyph.image, left, height - glyph.height, raster::kWhite);
        else
            result.picture.drawOpaque(glyph.image, left, height - glyph.height);
    }
    for (int y = 0; y < result.picture.height(); ++y)
        for (int px = 0; px < result.picture.width(); ++px)
            if (result.picture.pixel(px, y) != raster::kWhite)
                result.picture.setPixel(px, y, colour);

    const font::tGraphChar &spaceGlyph = glyphs[' '];
    const std::int64_t space = (spaceGlyph.defined ? spaceGlyph.width : 0) + spacing.wordSpacing;
    std::int64_t start = 2;
    if (alignment == kAlignCentre)
        start = (std::int64_t(areaWidth) - (overflow.wordWidth + space)) / 2 + 2;
    else if (alignment == kAlignRight)
        start = std::int64_t(areaWidth) - 2 - advance;
    const std::int64_t baseline = 2 + (overflow.line + 1) * (std::int64_t(lineSpacing) + 2);
    result.at = QPoint(clampedInt(start + low), clampedInt(baseline - height));
    return result;
}

}  // namespace letterloom::text
