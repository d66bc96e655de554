#include "text/layout.h"

#include "base/error.h"
#include "text/decimal.h"

#include <algorithm>
#include <array>
#include <limits>

namespace letterloom::text {

namespace {

constexpr char kSpace = ' ';
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kDollar = '$';

// Space, CR, LF, tab and every other control character: what trimming removes.
bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// A stretch [begin, end) of the text, so that words are cut out without
// copying the rest of it.
struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
};

Span trimmed(const char *data, Span span)
{
    while (span.begin < span.end && isBlank(data[span.begin]))
        ++span.begin;
    while (span.end > span.begin && isBlank(data[span.end - 1]))
        --span.end;
    return span;
}

// The spaces and CRs of text[span]: what can end a word. Counted 32 bytes at
// a time, a loop of fixed length that the compiler turns into vector compares.
std::size_t separatorCount(const char *data, Span span)
{
    std::size_t count = 0;
    qsizetype i = span.begin;
    for (; i + 32 <= span.end; i += 32) {
        std::uint8_t block = 0;
        for (int j = 0; j < 32; ++j)
            block += std::uint8_t((data[i + j] == kSpace) | (data[i + j] == kCr));
        count += block;
    }
    for (; i < span.end; ++i)
        count += std::size_t((data[i] == kSpace) | (data[i] == kCr));
    return count;
}

// Widths are summed in 64 bits: a long word of wide glyphs can pass the
// 32-bit range, and such a word must not come out narrow.
std::int64_t measure(const char *data, Span span, const font::GlyphTable &glyphs)
{
    std::int64_t width = 0;
    for (qsizetype i = span.begin; i < span.end; ++i) {
        const font::tGraphChar &glyph = glyphs[static_cast<unsigned char>(data[i])];
        if (glyph.defined)
            width += glyph.width;
    }
    return width;
}

// What a byte is to the word loop: a space ends a word, a CR does when an LF
// follows it, and a word with a dollar sign is the only one whose escapes
// need resolving.
enum Kind : std::uint8_t { kPlain = 0, kSpaceKind = 1, kCrKind = 2, kDollarKind = 4 };

constexpr std::array<std::uint8_t, 256> kKinds = [] {
    std::array<std::uint8_t, 256> kinds{};
    kinds[std::uint8_t(kSpace)] = kSpaceKind;
    kinds[std::uint8_t(kCr)] = kCrKind;
    kinds[std::uint8_t(kDollar)] = kDollarKind;
    return kinds;
}();

// The width each code adds to a word as typed, its glyph's when defined: one
// small table instead of a look into each glyph's record.
class WidthTable {
public:
    explicit WidthTable(const font::GlyphTable &glyphs)
    {
        for (int code = 0; code < font::GlyphTable::kSize; ++code)
            widths_[std::size_t(code)] = glyphs[code].defined ? glyphs[code].width : 0;
    }
    std::int32_t operator()(unsigned char code) const { return widths_[code]; }

private:
    std::array<std::int32_t, 256> widths_;
};

// The same straight from the glyphs, for a text too short to pay for the table.
class GlyphWidths {
public:
    explicit GlyphWidths(const font::GlyphTable &glyphs) : glyphs_(glyphs) {}
    std::int32_t operator()(unsigned char code) const
    {
        const font::tGraphChar &glyph = glyphs_[code];
        return glyph.defined ? glyph.width : 0;
    }

private:
    const font::GlyphTable &glyphs_;
};

std::int32_t saturated(std::int64_t value)
{
    return std::int32_t(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                  std::numeric_limits<std::int32_t>::max()));
}

// One run of LayoutText: the area, the pitch and the current line's running
// sums, all in 64 bits so that no value from a project file can wrap around
// into a wrong "fits".
class Layout {
public:
    Layout(std::int32_t areaWidth, std::int32_t areaHeight, std::int32_t lineSpacing,
           const font::GlyphTable &glyphs, LineTable &lines, const Spacing &spacing, const font::Kerning *kerning)
        : room_(std::int64_t(areaWidth) - 4), heightRoom_(std::int64_t(areaHeight) - 4),
          pitch_(std::int64_t(lineSpacing) + 2),
          spaceWidth_((glyphs[kSpace].defined ? glyphs[kSpace].width : 0) + std::int64_t(spacing.wordSpacing)),
          spacing_(spacing), kerning_(kerning), plain_(!spacing.tracking && (!kerning || kerning->isEmpty())),
          lines_(lines), records_(std::int64_t(lines.size()))
    {
    }

    // Puts a word whose glyphs as typed are typedWidth wide on the current
    // line or, when it does not fit there, on the lines that wrapping starts.
    // A word without a dollar sign has no escapes: it is its own resolved form.
    Notice place(QByteArrayView word, std::int64_t typedWidth, bool dollar)
    {
        std::int64_t w = typedWidth;
        QByteArrayView resolved = word;
        if (!plain_) {
            // Tracking and kerning count between the resolved characters.
            if (dollar) {
                resolved_.resize(word.size());
                std::copy(word.begin(), word.end(), resolved_.begin());
                resolved_.truncate(ResolveEscapesInPlace(resolved_.data(), resolved_.size()));
                resolved = resolved_;
            }
            w += SpacingWidth(resolved, spacing_, kerning_);
        }
        if (w > room_)
            return Notice::Width;
        while (!fits(w)) {
            if (count_ == 0)
                return neverFitting();
            ++line_;
            if (pitch_ * line_ > heightRoom_)
                return Notice::Height;
        }
        if (plain_ && dollar)
            append(word, w);
        else
            appendResolved(resolved, w);
        return Notice::None;
    }

    // A CR LF ends the current line; the next one starts without a height check.
    void breakLine() { ++line_; }

    // Writes the sums of the last word placed into its line; called before
    // another line opens and once the layout ends.
    void finish()
    {
        if (!pending_)
            return;
        lines_.setLineSums(saturated(closedLineWidth_),
                           closedCount_ == 0 ? 0 : saturated((room_ - closedWidthSum_) / closedCount_));
        pending_ = false;
    }

private:
    // The word failed on a fresh line, so it fails on every further one: each
    // attempt opens one more record without words, until a line would start
    // below the area. The records are added at once. Where the attempts would
    // never end (a pitch of 0 or less) or would open more than
    // kMaxEmptyLines records, only the first record stays.
    Notice neverFitting()
    {
        if (pitch_ <= 0 || heightRoom_ < 0)
            return Notice::Height;
        const std::int64_t more = std::max<std::int64_t>(heightRoom_ / pitch_ - line_, 0);
        if (1 + more > kMaxEmptyLines)
            return Notice::Height;
        finish();
        lines_.addEmptyLines(std::size_t(more));
        records_ += more;
        return Notice::Height;
    }

    // Opens the record of the current line when it has none yet and charges
    // the word to it; false when the line then runs wider than the area.
    bool fits(std::int64_t w)
    {
        if (records_ < line_ + 1) {
            finish();
            lines_.addLine();
            ++records_;
            count_ = 0;
            widthSum_ = 0;
            lineWidth_ = 0;
        }
        widthSum_ += w;
        lineWidth_ += w + spaceWidth_;
        return lineWidth_ <= room_;
    }

    // The word goes into the table as typed and has its escapes resolved
    // there, in place.
    void append(QByteArrayView word, std::int64_t w)
    {
        lines_.addWord(word, saturated(w));
        lines_.shortenLastWord(ResolveEscapesInPlace(lines_.lastWordData(), word.size()));
        closeWord();
    }

    // The same for a word whose escapes are already resolved.
    void appendResolved(QByteArrayView resolved, std::int64_t w)
    {
        lines_.addWord(resolved, saturated(w));
        closeWord();
    }

    // The line's sums as they stand after this word, written by finish(): a
    // line's record holds those of its last word.
    void closeWord()
    {
        pending_ = true;
        closedLineWidth_ = lineWidth_;
        closedWidthSum_ = widthSum_;
        closedCount_ = count_;
        ++count_;
    }

    const std::int64_t room_;        // W - 4: the widest a line may be
    const std::int64_t heightRoom_;  // H - 4
    const std::int64_t pitch_;       // lineSpacing + 2
    const std::int64_t spaceWidth_;  // charged after every word, with the word spacing
    const Spacing spacing_;
    const font::Kerning *const kerning_;
    const bool plain_;               // no tracking, no kerning: words are as wide as typed
    LineTable &lines_;
    std::int64_t records_;           // the table's lines, counted here rather than asked for every word
    QByteArray resolved_;            // the current word resolved, when spacing counts

    std::int64_t line_ = 0;       // n: the current line
    std::int64_t count_ = 0;      // c: words on the current line
    std::int64_t widthSum_ = 0;   // S: their widths
    std::int64_t lineWidth_ = 0;  // L: their widths plus one space width each

    // L, S and c - 1 after the last word placed, until finish() writes them.
    bool pending_ = false;
    std::int64_t closedLineWidth_ = 0;
    std::int64_t closedWidthSum_ = 0;
    std::int64_t closedCount_ = 0;
};

// The words of text[whole] one after the other, each measured as typed with
// width, into layout. Only a space and a CR LF pair separate words; a lone CR
// or LF stays inside its word. A word is trimmed of blanks at both ends and
// measured before its escapes; tracking and kerning then count between its
// resolved characters. One pass over the bytes finds a word's end, its width
// and whether it holds a dollar sign.
template <typename Widths>
Notice layOutWords(const char *text, Span whole, const Widths &width, Layout &layout)
{
    const auto *data = reinterpret_cast<const unsigned char *>(text);
    const qsizetype end = whole.end;
    if (whole.begin == end)
        return Notice::None;
    for (qsizetype start = whole.begin;;) {
        std::int64_t w = 0;
        unsigned kinds = 0;
        qsizetype p = start;
        for (; p < end; ++p) {
            const unsigned char c = data[p];
            const unsigned kind = kKinds[c];
            if (kind & (kSpaceKind | kCrKind)) [[unlikely]] {
                if (kind == kSpaceKind || (p + 1 < end && data[p + 1] == std::uint8_t(kLf)))
                    break;
            }
            kinds |= kind;
            w += width(c);
        }
        qsizetype begin = start, stop = p;
        while (begin < stop && isBlank(char(data[begin])))
            w -= width(data[begin++]);
        while (stop > begin && isBlank(char(data[stop - 1])))
            w -= width(data[--stop]);
        const Notice notice = layout.place(QByteArrayView(text + begin, stop - begin), w, kinds & kDollarKind);
        if (notice != Notice::None)
            return notice;
        if (p == end)
            return Notice::None;
        if (data[p] == std::uint8_t(kSpace)) {
            start = p + 1;
        } else {
            start = p + 2;
            layout.breakLine();
        }
    }
}

}  // namespace

QString noticeText(Notice notice)
{
    switch (notice) {
    case Notice::Width:
        return QStringLiteral("Text does not fit in the specified area by width!");
    case Notice::Height:
        return QStringLiteral("Text does not fit in the specified area by height!");
    case Notice::None:
        break;
    }
    return {};
}

std::int64_t SpacingWidth(QByteArrayView resolved, const Spacing &spacing, const font::Kerning *kerning)
{
    if (resolved.isEmpty())
        return 0;
    std::int64_t extra = std::int64_t(spacing.tracking) * (resolved.size() - 1);
    if (kerning && !kerning->isEmpty())
        for (qsizetype i = 0; i + 1 < resolved.size(); ++i)
            extra += kerning->amount(std::uint8_t(resolved[i]), std::uint8_t(resolved[i + 1]));
    return extra;
}

std::int32_t WordWidth(const QByteArray &text, const font::GlyphTable &glyphs)
{
    return saturated(measure(text.constData(), {0, text.size()}, glyphs));
}

qsizetype ResolveEscapesInPlace(char *data, qsizetype size)
{
    // The word only ever shrinks, so it is rewritten in place: `out` trails
    // the scan position `in`. The last character is never examined.
    qsizetype out = 0;
    qsizetype in = 0;
    while (in < size - 1) {
        if (data[in] == kDollar) {
            if (data[in + 1] == kDollar) {
                data[out++] = kDollar;
                in += 2;
                continue;
            }
            const qsizetype digitCount = std::min<qsizetype>(2, size - 1 - in);
            const QByteArray digits = QByteArray::fromRawData(data + in + 1, digitCount);
            if (IsAllDigits(digits)) {
                data[out++] = char(DigitsToInt(digits));
                in += 1 + digitCount;
                continue;
            }
        }
        data[out++] = data[in++];
    }
    if (in < size)
        data[out++] = data[in];
    return out;
}

QByteArray ResolveEscapes(QByteArray word)
{
    word.truncate(ResolveEscapesInPlace(word.data(), word.size()));
    return word;
}

Notice LayoutText(const QByteArray &text, std::int32_t areaWidth, std::int32_t areaHeight,
                  std::int32_t lineSpacing, const font::GlyphTable &glyphs, LineTable &lines,
                  const Spacing &spacing, const font::Kerning *kerning)
{
    if (text.size() >= qsizetype(std::numeric_limits<std::uint32_t>::max()))
        throw Error(QStringLiteral("The text is too long to lay out"));
    const char *data = text.constData();
    const Span whole = trimmed(data, {0, text.size()});
    Layout layout(areaWidth, areaHeight, lineSpacing, glyphs, lines, spacing, kerning);
    // Room for every word the text could place, so that the table's buffers
    // are allocated once and never copied: one word more than the spaces and
    // CRs at most, and no more bytes than the text. Memory counts once it is
    // written, so a long text in an area of a few lines costs little of it.
    if (whole.begin < whole.end)
        lines.reserve(separatorCount(data, whole) + 1, std::size_t(whole.end - whole.begin));

    // The table costs a look at every glyph: a short text measures straight
    // from the glyphs instead.
    constexpr qsizetype kTableFrom = 256;
    const Notice notice = whole.end - whole.begin >= kTableFrom
                              ? layOutWords(data, whole, WidthTable(glyphs), layout)
                              : layOutWords(data, whole, GlyphWidths(glyphs), layout);
    layout.finish();
    return notice;
}

}  // namespace letterloom::text
