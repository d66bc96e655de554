#include "text/fit_search.h"

#include <algorithm>

namespace letterloom::text {

namespace {

constexpr unsigned char kSpace = ' ';
// The tracking step ends here: letters 1 pixel closer than their glyphs.
constexpr std::int32_t kLowestFitTracking = -1;

}  // namespace

std::int32_t defaultFitFloor(std::int32_t lineSpacing)
{
    return std::int32_t(std::max<std::int64_t>(std::int64_t(lineSpacing) - 4, std::min(lineSpacing, 0)));
}

std::int32_t narrowestWordSpacing(const font::GlyphTable &glyphs)
{
    const font::tGraphChar &space = glyphs[kSpace];
    const std::int64_t width = space.defined ? space.width : 0;
    return std::int32_t(std::clamp<std::int64_t>(1 - width, kMinWordSpacing, kMaxWordSpacing));
}

FitCandidates::FitCandidates(const FitSetting &current, std::int32_t floor, std::int32_t narrowestWordSpacing)
    : current_(current),
      lineSteps_(std::max<std::int64_t>(std::int64_t(current.lineSpacing) - floor, 0)),
      trackingSteps_(std::max<std::int64_t>(std::int64_t(current.spacing.tracking) - kLowestFitTracking, 0)),
      wordSteps_(std::max<std::int64_t>(std::int64_t(current.spacing.wordSpacing) - narrowestWordSpacing, 0))
{
}

FitSetting FitCandidates::operator[](std::size_t index) const
{
    FitSetting setting = current_;
    std::int64_t step = std::int64_t(index);
    const std::int64_t lines = std::min(step, lineSteps_);
    setting.lineSpacing = std::int32_t(current_.lineSpacing - lines);
    step -= lines;
    const std::int64_t tracking = std::min(step, trackingSteps_);
    setting.spacing.tracking = std::int32_t(current_.spacing.tracking - tracking);
    step -= tracking;
    setting.spacing.wordSpacing = std::int32_t(current_.spacing.wordSpacing - std::min(step, wordSteps_));
    return setting;
}

FitSearch::FitSearch(std::int32_t areaWidth, std::int32_t areaHeight, const FitSetting &current, std::int32_t floor,
                     const font::GlyphTable &glyphs, const font::Kerning *kerning)
    : width_(areaWidth), height_(areaHeight), candidates_(current, floor, narrowestWordSpacing(glyphs)),
      glyphs_(glyphs), kerning_(kerning && !kerning->isEmpty() ? kerning : nullptr)
{
}

Notice FitSearch::layOut(const QByteArray &text, const FitSetting &setting)
{
    ++layouts_;
    lines_.reuse();
    return LayoutText(text, width_, height_, setting.lineSpacing, glyphs_, lines_, setting.spacing, kerning_);
}

FitResult FitSearch::first(const QByteArray &text, std::size_t from)
{
    layouts_ = 0;
    FitResult result;
    const std::size_t count = candidates_.size();
    for (std::size_t index = from; index < count; ++index) {
        const FitSetting setting = candidates_[index];
        const Notice notice = layOut(text, setting);
        result.index = index;
        result.setting = setting;
        result.notice = notice;
        if (notice == Notice::None) {
            result.found = true;
            break;
        }
        // The line spacing step keeps the spacing, so the word stays too wide.
        if (notice == Notice::Width && index < candidates_.firstSpacingStep())
            index = std::max(index, candidates_.firstSpacingStep() - 1);
    }
    // A width notice may have skipped the last candidates; it stands for them.
    if (!result.found && count > 0) {
        result.index = count - 1;
        result.setting = candidates_[count - 1];
    }
    result.layouts = layouts_;
    return result;
}

FitResult FitSearch::firstForAll(const std::vector<QByteArray> &texts)
{
    std::int64_t layouts = 0;
    FitResult common;
    common.found = true;
    common.setting = candidates_[0];
    // The candidate only moves on, so the passes end after at most one for
    // every candidate; with fits that only grow down the list, after two.
    for (bool moved = true; moved;) {
        moved = false;
        for (std::size_t t = 0; t < texts.size(); ++t) {
            const FitResult one = first(texts[t], common.index);
            layouts += one.layouts;
            if (!one.found) {
                common = one;
                common.text = t;
                common.layouts = layouts;
                return common;
            }
            if (one.index != common.index) {
                common.index = one.index;
                common.setting = one.setting;
                moved = true;
            }
        }
    }
    common.layouts = layouts;
    return common;
}

QString fitSettingText(const FitSetting &setting, const FitSetting &current)
{
    QString text = QStringLiteral("line spacing %1").arg(setting.lineSpacing);
    if (setting.spacing.tracking != current.spacing.tracking)
        text += QStringLiteral(", tracking %1").arg(setting.spacing.tracking);
    if (setting.spacing.wordSpacing != current.spacing.wordSpacing)
        text += QStringLiteral(", word spacing %1").arg(setting.spacing.wordSpacing);
    return text;
}

}  // namespace letterloom::text
