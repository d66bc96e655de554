#pragma once

#include "font/glyph_table.h"
#include "font/kerning.h"
#include "text/layout.h"
#include "text/line_table.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace letterloom::text {

// The settings of a text area that decide whether its text fits: the line
// spacing, the tracking and the word spacing.
struct FitSetting {
    std::int32_t lineSpacing = 10;
    Spacing spacing;
    bool operator==(const FitSetting &other) const = default;
};

// The lowest line spacing the search goes down to unless told otherwise: 4
// below the current one, but not below 0 (the toolbar's lowest) unless the
// current one already is.
std::int32_t defaultFitFloor(std::int32_t lineSpacing);

// The narrowest word spacing the search tries with glyphs: the one that
// leaves a space 1 pixel wide, not below kMinWordSpacing.
std::int32_t narrowestWordSpacing(const font::GlyphTable &glyphs);

// The settings the search tries, nearest first:
//   0. the current setting;
//   1. the line spacing 1 pixel lower at a time, down to the floor;
//   2. at the floor (or the current line spacing when that is lower), the
//      tracking 1 lower at a time, down to -1;
//   3. at that tracking (or the current one when lower), the word spacing 1
//      lower at a time, down to the narrowest that leaves a space 1 pixel
//      wide (narrowestWordSpacing).
// A value the current setting already has at or below a step's end is kept,
// and its step is left out.
class FitCandidates {
public:
    FitCandidates(const FitSetting &current, std::int32_t floor, std::int32_t narrowestWordSpacing);

    std::size_t size() const { return std::size_t(1 + lineSteps_ + trackingSteps_ + wordSteps_); }
    FitSetting operator[](std::size_t index) const;
    // The first candidate whose tracking or word spacing differs from the
    // current one: those before it differ in the line spacing alone.
    std::size_t firstSpacingStep() const { return std::size_t(1 + lineSteps_); }
    const FitSetting &current() const { return current_; }

private:
    FitSetting current_;
    std::int64_t lineSteps_ = 0;
    std::int64_t trackingSteps_ = 0;
    std::int64_t wordSteps_ = 0;
};

// What the search found for one text, or for many.
struct FitResult {
    // Whether a candidate fits; index and setting name it. When none does,
    // setting is the last one tried and notice what stopped its layout.
    bool found = false;
    std::size_t index = 0;
    FitSetting setting;
    Notice notice = Notice::None;
    // For many texts without a common setting: the first text that was left
    // without one.
    std::size_t text = 0;
    // How many layouts the search ran.
    std::int64_t layouts = 0;

    bool alreadyFits() const { return found && index == 0; }
};

// The search for the nearest setting of the candidates under which a text
// lays out in an area of areaWidth x areaHeight with no notice. The layouts
// are those of LayoutText with the glyphs and kerning given (kerning may be
// null). One line table serves every layout, so a search allocates nothing
// once the table has grown to the longest text.
class FitSearch {
public:
    FitSearch(std::int32_t areaWidth, std::int32_t areaHeight, const FitSetting &current, std::int32_t floor,
              const font::GlyphTable &glyphs, const font::Kerning *kerning);
    // The search keeps a reference to the glyphs: a table that would die
    // before it is refused.
    FitSearch(std::int32_t, std::int32_t, const FitSetting &, std::int32_t, font::GlyphTable &&,
              const font::Kerning *) = delete;

    const FitCandidates &candidates() const { return candidates_; }

    // The first candidate from index from on under which text fits. A width
    // notice does not depend on the line spacing, so it skips the rest of
    // the line spacing step at once.
    FitResult first(const QByteArray &text, std::size_t from = 0);

    // The first candidate under which every one of texts fits (nothing fits
    // no text). Each text moves the candidate on to the first that fits it,
    // and the texts are checked again until one candidate holds for all.
    FitResult firstForAll(const std::vector<QByteArray> &texts);

private:
    Notice layOut(const QByteArray &text, const FitSetting &setting);

    std::int32_t width_;
    std::int32_t height_;
    FitCandidates candidates_;
    const font::GlyphTable &glyphs_;
    const font::Kerning *kerning_;
    LineTable lines_;
    std::int64_t layouts_ = 0;
};

// "line spacing 6, tracking -1": the line spacing, then the tracking and
// the word spacing where they differ from current.
QString fitSettingText(const FitSetting &setting, const FitSetting &current);

}  // namespace letterloom::text
