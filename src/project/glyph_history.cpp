#include "project/glyph_history.h"

#include "project/workspace.h"

#include <QUndoCommand>

#include <utility>

namespace letterloom::project {

namespace {

// The step id of pencil strokes: only steps with this id merge.
constexpr int kStrokeStep = 1;

// One change of one glyph: its record before and after. The change has
// already been made when the step is pushed, so the first redo does nothing.
class GlyphStep : public QUndoCommand {
public:
    GlyphStep(GlyphHistory &history, int code, font::tGraphChar before, font::tGraphChar after, int stroke)
        : history_(history), code_(code), stroke_(stroke), before_(std::move(before)), after_(std::move(after))
    {
    }

    int id() const override { return stroke_ != 0 ? kStrokeStep : -1; }

    // A later dab of the same stroke on the same glyph extends this step.
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *dab = static_cast<const GlyphStep *>(other);
        if (dab->stroke_ != stroke_ || dab->code_ != code_)
            return false;
        after_ = dab->after_;
        return true;
    }

    void undo() override { history_.restore(code_, before_); }

    void redo() override
    {
        if (std::exchange(pushed_, false))
            return;
        history_.restore(code_, after_);
    }

private:
    GlyphHistory &history_;
    int code_;
    int stroke_;
    bool pushed_ = true;
    font::tGraphChar before_;
    font::tGraphChar after_;
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
    recordStep(code, change, 0);
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
    recordStep(code, change, stroke_);
}

void GlyphHistory::recordStep(int code, const std::function<void()> &change, int stroke)
{
    font::tGraphChar before = workspace_.glyphs[code];
    change();
    // Even a step that left the glyph as it was moves the history away from
    // the saved state, so the font counts as modified.
    stack_.push(new GlyphStep(*this, code, std::move(before), workspace_.glyphs[code], stroke));
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
    emit glyphRestored(code);
}

void GlyphHistory::followCleanState()
{
    workspace_.fontModified = !stack_.isClean();
}

}  // namespace letterloom::project
