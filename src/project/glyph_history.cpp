#include "project/glyph_history.h"

#include "project/workspace.h"

#include <QUndoCommand>

#include <memory>
#include <optional>
#include <vector>

#include <utility>

namespace letterloom::project {

namespace {

// The step id of pencil strokes: only steps with this id merge.
constexpr int kStrokeStep = 1;

qint64 bytesOf(const font::tGraphChar &glyph)
{
    return qint64(sizeof(font::Colour)) * glyph.width * glyph.height * 2  // pixels and image
           + qint64(glyph.pixels.size()) * qint64(sizeof(glyph.pixels[0]));
}

// One glyph's record before and after a change.
struct GlyphChange {
    int code;
    font::tGraphChar before;
    font::tGraphChar after;
};

// What one step records: the glyphs it changed, most often one; or none and
// the font's character map or its kerning pairs before and after.
struct StepRecord {
    int stroke;
    std::vector<GlyphChange> glyphs;
    std::optional<std::pair<font::CharMap, font::CharMap>> maps;
    std::optional<std::pair<font::Kerning, font::Kerning>> kernings;

    qint64 bytes() const
    {
        qint64 total = 0;
        for (const GlyphChange &change : glyphs)
            total += bytesOf(change.before) + bytesOf(change.after);
        return total;
    }
};

// One change of one glyph, or of several at once. The change has already
// been made when the step is pushed, so the first redo does nothing.
class GlyphStep : public QUndoCommand {
public:
    GlyphStep(GlyphHistory &history, std::shared_ptr<StepRecord> record)
        : history_(history), record_(std::move(record))
    {
        history_.countBytes(record_->bytes());
    }
    ~GlyphStep() override { history_.countBytes(-record_->bytes()); }

    const std::shared_ptr<StepRecord> &record() const { return record_; }

    int id() const override { return record_->stroke != 0 ? kStrokeStep : -1; }

    // A later dab of the same stroke on the same glyph extends this step.
    bool mergeWith(const QUndoCommand *other) override
    {
        const StepRecord &dab = *static_cast<const GlyphStep *>(other)->record_;
        if (history_.rebuilding() || dab.stroke != record_->stroke || dab.glyphs.size() != 1 ||
            record_->glyphs.size() != 1 || dab.glyphs[0].code != record_->glyphs[0].code)
            return false;
        history_.countBytes(-record_->bytes());
        record_->glyphs[0].after = dab.glyphs[0].after;
        history_.countBytes(record_->bytes());
        return true;
    }

    void undo() override
    {
        if (record_->maps)
            history_.restoreCharMap(record_->maps->first);
        else if (record_->kernings)
            history_.restoreKerning(record_->kernings->first);
        else
            restore(&GlyphChange::before);
    }

    void redo() override
    {
        if (std::exchange(pushed_, false))
            return;
        if (record_->maps)
            history_.restoreCharMap(record_->maps->second);
        else if (record_->kernings)
            history_.restoreKerning(record_->kernings->second);
        else
            restore(&GlyphChange::after);
    }

private:
    void restore(font::tGraphChar GlyphChange::*side)
    {
        if (record_->glyphs.size() == 1) {
            history_.restore(record_->glyphs[0].code, record_->glyphs[0].*side);
            return;
        }
        for (const GlyphChange &change : record_->glyphs)
            history_.restoreQuietly(change.code, change.*side);
        if (history_.rebuilding())
            return;
        emit history_.glyphsRestored();
        emit history_.glyphsChanged();
    }

    GlyphHistory &history_;
    std::shared_ptr<StepRecord> record_;
    bool pushed_ = true;
};

}  // namespace

GlyphHistory::GlyphHistory(Workspace &workspace, QObject *parent)
    : QObject(parent), workspace_(workspace)
{
    stack_.setUndoLimit(kUndoLimit);
    connect(&stack_, &QUndoStack::indexChanged, this, &GlyphHistory::followCleanState);
    connect(&stack_, &QUndoStack::cleanChanged, this, &GlyphHistory::followCleanState);
}

void GlyphHistory::record(int code, const std::function<void()> &change)
{
    recordStep(code, change, 0, false);
}

void GlyphHistory::recordPainting(int code, const std::function<void()> &change)
{
    recordStep(code, change, 0, true);
}

void GlyphHistory::beginStroke()
{
    stroke_ = ++lastStroke_;
}

void GlyphHistory::endStroke()
{
    stroke_ = 0;
}

void GlyphHistory::recordDab(int code, const std::function<void()> &change)
{
    recordStep(code, change, stroke_, true);
}

void GlyphHistory::recordGlyphs(const std::vector<int> &codes, const std::function<void()> &change)
{
    recordStep(codes, change, 0, false);
}

void GlyphHistory::recordStep(int code, const std::function<void()> &change, int stroke, bool painting)
{
    recordStep(std::vector<int>{code}, change, stroke, painting);
}

void GlyphHistory::recordStep(const std::vector<int> &codes, const std::function<void()> &change, int stroke,
                              bool painting)
{
    auto record = std::make_shared<StepRecord>(StepRecord{stroke, {}, {}, {}});
    for (int code : codes)
        record->glyphs.push_back({code, workspace_.glyphs[code], {}});
    // Even a change that fails half way shows.
    workspace_.bumpRevision();
    change();
    for (GlyphChange &glyph : record->glyphs) {
        glyph.after = workspace_.glyphs[glyph.code];
        if (painting)
            font::syncImage(glyph.after);
    }
    // Even a step that left the glyphs as they were moves the history away
    // from the saved state, so the font counts as modified.
    stack_.push(new GlyphStep(*this, std::move(record)));
    forgetOldestSteps();
    emit glyphsChanged();
}

void GlyphHistory::recordCharMap(const font::CharMap &map)
{
    auto record = std::make_shared<StepRecord>();
    record->stroke = 0;
    record->maps.emplace(workspace_.fontExtras.charMap, map);
    workspace_.fontExtras.charMap = map;
    workspace_.bumpRevision();
    stack_.push(new GlyphStep(*this, std::move(record)));
    forgetOldestSteps();
}

void GlyphHistory::recordKerning(const font::Kerning &kerning)
{
    auto record = std::make_shared<StepRecord>();
    record->stroke = 0;
    record->kernings.emplace(workspace_.fontExtras.kerning, kerning);
    workspace_.fontExtras.kerning = kerning;
    workspace_.bumpRevision();
    stack_.push(new GlyphStep(*this, std::move(record)));
    forgetOldestSteps();
}

void GlyphHistory::restoreKerning(const font::Kerning &kerning)
{
    workspace_.fontExtras.kerning = kerning;
    workspace_.bumpRevision();
}

void GlyphHistory::restoreCharMap(const font::CharMap &map)
{
    workspace_.fontExtras.charMap = map;
    workspace_.bumpRevision();
    if (!rebuilding_)
        emit charMapRestored();
}

void GlyphHistory::forgetOldestSteps()
{
    if (recordedBytes_ <= kByteLimit)
        return;
    // The stack cannot drop its oldest steps by itself, so the kept steps are
    // pushed again into an emptied stack: pushing redoes nothing, and stepping
    // back to the present index undoes exactly the steps that were undone.
    std::vector<std::shared_ptr<StepRecord>> steps;
    for (int i = 0; i < stack_.count(); ++i)
        steps.push_back(static_cast<const GlyphStep *>(stack_.command(i))->record());
    const int index = stack_.index();
    const int clean = stack_.cleanIndex();
    qint64 bytes = recordedBytes_;
    int first = 0;
    while (bytes > kByteLimit && first + 1 < index)
        bytes -= steps[std::size_t(first++)]->bytes();

    rebuilding_ = true;
    stack_.clear();
    for (int i = first; i < int(steps.size()); ++i) {
        if (i == clean)
            stack_.setClean();
        stack_.push(new GlyphStep(*this, steps[std::size_t(i)]));
    }
    if (clean == int(steps.size()))
        stack_.setClean();
    else if (clean < first)
        stack_.resetClean();  // the saved state is no longer in the history
    stack_.setIndex(index - first);
    rebuilding_ = false;
    followCleanState();
}

void GlyphHistory::fontSaved()
{
    stack_.setClean();
    workspace_.fontModified = false;
}

void GlyphHistory::fontReplaced(bool modified)
{
    stack_.clear();
    // Without a clean state every step counts as a change of the font.
    if (modified)
        stack_.resetClean();
    else
        stack_.setClean();
    workspace_.fontModified = modified;
    emit glyphsChanged();
}

void GlyphHistory::restore(int code, const font::tGraphChar &record)
{
    workspace_.glyphs[code] = record;
    workspace_.bumpRevision();
    if (rebuilding_)
        return;
    emit glyphRestored(code);
    emit glyphsChanged();
}

void GlyphHistory::restoreQuietly(int code, const font::tGraphChar &record)
{
    workspace_.glyphs[code] = record;
    workspace_.bumpRevision();
}

void GlyphHistory::followCleanState()
{
    if (rebuilding_)
        return;
    workspace_.fontModified = !stack_.isClean();
}

}  // namespace letterloom::project
