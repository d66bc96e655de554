#include "project/glyph_history.h"

#include "project/workspace.h"

#include <QUndoCommand>

#include <memory>
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

// What one step records: one glyph's record before and after a change.
struct StepRecord {
    int code;
    int stroke;
    font::tGraphChar before;
    font::tGraphChar after;

    qint64 bytes() const { return bytesOf(before) + bytesOf(after); }
};

// One change of one glyph. The change has already been made when the step is
// pushed, so the first redo does nothing.
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
        if (history_.rebuilding() || dab.stroke != record_->stroke || dab.code != record_->code)
            return false;
        history_.countBytes(-record_->bytes());
        record_->after = dab.after;
        history_.countBytes(record_->bytes());
        return true;
    }

    void undo() override { history_.restore(record_->code, record_->before); }

    void redo() override
    {
        if (std::exchange(pushed_, false))
            return;
        history_.restore(record_->code, record_->after);
    }

private:
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

void GlyphHistory::recordStep(int code, const std::function<void()> &change, int stroke, bool painting)
{
    font::tGraphChar before = workspace_.glyphs[code];
    // Even a change that fails half way shows.
    workspace_.bumpRevision();
    change();
    font::tGraphChar after = workspace_.glyphs[code];
    if (painting)
        font::syncImage(after);
    // Even a step that left the glyph as it was moves the history away from
    // the saved state, so the font counts as modified.
    stack_.push(new GlyphStep(*this, std::make_shared<StepRecord>(
                                         StepRecord{code, stroke, std::move(before), std::move(after)})));
    forgetOldestSteps();
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
}

void GlyphHistory::restore(int code, const font::tGraphChar &record)
{
    workspace_.glyphs[code] = record;
    workspace_.bumpRevision();
    if (!rebuilding_)
        emit glyphRestored(code);
}

void GlyphHistory::followCleanState()
{
    if (rebuilding_)
        return;
    workspace_.fontModified = !stack_.isClean();
}

}  // namespace letterloom::project
