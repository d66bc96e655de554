#pragma once

#include "font/glyph_table.h"
#include "font/kerning.h"
#include "text/line_table.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace letterloom::text {

// What ended a layout: nothing (every word placed), a word wider than the
// area, or a line that would start below the area.
enum class Notice { None, Width, Height };

// The most records without words that one never-fitting word leaves.
inline constexpr std::int64_t kMaxEmptyLines = std::int64_t(1) << 20;

// Extra room a text area gives its text: tracking between the characters of
// a word, word spacing added to the width of a space. With both 0 (and no
// kerning) layout and drawing are those of a font's plain widths.
inline constexpr int kMinTracking = -8;
inline constexpr int kMaxTracking = 16;
inline constexpr int kMinWordSpacing = -8;
inline constexpr int kMaxWordSpacing = 16;

struct Spacing {
    std::int32_t tracking = 0;
    std::int32_t wordSpacing = 0;
    bool any() const { return tracking != 0 || wordSpacing != 0; }
    bool operator==(const Spacing &other) const = default;
};

// What tracking and kerning add to the width of a word of resolved
// characters: tracking once between each two of them and the kerning of
// each adjacent pair; nothing for an empty word. May be negative.
std::int64_t SpacingWidth(QByteArrayView resolved, const Spacing &spacing, const font::Kerning *kerning);

// The words shown to the user for a notice; empty for Notice::None.
QString noticeText(Notice notice);

// The sum of the widths of the defined glyphs of text's characters; a sum
// beyond the 32-bit range gives the largest 32-bit value.
std::int32_t WordWidth(const QByteArray &text, const font::GlyphTable &glyphs);

// Replaces the "$" escapes of one word: "$$" is one dollar sign, "$" and one
// or two digits the character of that code.
QByteArray ResolveEscapes(QByteArray word);
// The same on size bytes at data, in place; returns the resolved size.
qsizetype ResolveEscapesInPlace(char *data, qsizetype size);

// Lays text (8-bit characters, lines separated by CR LF) out in an area of
// areaWidth x areaHeight pixels, appending lines to `lines` (expected empty).
// Returns the notice that stopped it; the lines placed before it stay. A word
// that does not fit even on an empty line leaves one record without words for
// every line that wrapping could still start in the area, then the height
// notice; only one such record when the line pitch is 0 or less (the lines
// would never end) or when there would be more than kMaxEmptyLines of them.
// Time and memory grow linearly with the text; a text of 4 GiB or more is
// refused (Error).
//
// A word's measured width is its width as typed plus SpacingWidth of its
// resolved characters; a space counts its glyph's width plus the word
// spacing. kerning may be null (no pairs).
Notice LayoutText(const QByteArray &text, std::int32_t areaWidth, std::int32_t areaHeight,
                  std::int32_t lineSpacing, const font::GlyphTable &glyphs, LineTable &lines,
                  const Spacing &spacing = {}, const font::Kerning *kerning = nullptr);

}  // namespace letterloom::text
