#pragma once

#include "font/char_map.h"
#include "font/glyph_table.h"
#include "font/kerning.h"

#include <QObject>
#include <QUndoStack>

#include <functional>
#include <vector>

namespace letterloom::project {

struct Workspace;

// The undo history of the glyph table. Every change of a glyph is recorded
// as one step that keeps the glyph's whole record (flag, size, pixels and
// image) as it was before and after, so undoing and redoing give back exactly
// what the user saw. The history also keeps fontModified: the font counts as
// modified whenever the history stands anywhere but at the state that was
// last read from or written to the font file.
class GlyphHistory : public QObject {
    Q_OBJECT
public:
    // Older steps are forgotten, so a long session keeps a bounded history:
    // at most this many steps, and at most this many bytes of recorded glyphs
    // (glyphs can be 4096 pixels a side, so counting steps alone would not
    // bound it). The newest step is kept whatever its size.
    static constexpr int kUndoLimit = 200;
    static constexpr qint64 kByteLimit = qint64(256) << 20;

    explicit GlyphHistory(Workspace &workspace, QObject *parent = nullptr);

    QUndoStack &stack() { return stack_; }
    // The bytes the recorded steps hold.
    qint64 recordedBytes() const { return recordedBytes_; }
    void undo() { stack_.undo(); }
    void redo() { stack_.redo(); }

    // Runs change, which alters glyph `code` in place, and records it as one
    // step. The font becomes modified.
    void record(int code, const std::function<void()> &change);

    // The same for a change of pixels alone (the paint bucket), which the
    // glyph editor's next tick copies into the image: the step records the
    // glyph as that tick leaves it, so redo gives back pixels and image
    // together, the editor shown or not.
    void recordPainting(int code, const std::function<void()> &change);
    // Runs change, which alters the glyphs of codes in place (an import into
    // the open font), and records it as one step: one undo takes back all of
    // them. The font becomes modified.
    void recordGlyphs(const std::vector<int> &codes, const std::function<void()> &change);

    // A pencil stroke: the dabs recorded from beginStroke to endStroke make a
    // single step, so one undo takes back the whole stroke from press to
    // release. A dab outside a stroke is a step of its own. Dabs change pixels
    // alone and are recorded as recordPainting records its changes.
    void beginStroke();
    void endStroke();
    void recordDab(int code, const std::function<void()> &change);

    // Gives the font another character map, as one step. The font becomes
    // modified; the glyphs stay where they are.
    void recordCharMap(const font::CharMap &map);
    // Gives the font other kerning pairs, as one step; the font becomes modified.
    void recordKerning(const font::Kerning &kerning);

    // The glyph table now equals its font file (just read or written): the
    // present state is the saved one.
    void fontSaved();
    // The glyph table was replaced or emptied wholesale: nothing is left to
    // undo or redo. `modified` tells whether the new table differs from the
    // font file (a glyph table kept unsaved stays modified).
    void fontReplaced(bool modified);

    // Puts a recorded glyph record back; used by the steps. A step of several
    // glyphs puts them back quietly and then says so once.
    void restore(int code, const font::tGraphChar &record);
    void restoreQuietly(int code, const font::tGraphChar &record);
    void restoreCharMap(const font::CharMap &map);
    void restoreKerning(const font::Kerning &kerning);

    // Kept up to date by the steps themselves as they are made, merged and deleted.
    void countBytes(qint64 bytes) { recordedBytes_ += bytes; }
    // True while the kept steps are pushed again; they must not merge then.
    bool rebuilding() const { return rebuilding_; }

signals:
    // A glyph came back through undo or redo, so that it can be shown.
    void glyphRestored(int code);
    // Several glyphs came back at once (a step of recordGlyphs).
    void glyphsRestored();
    // A glyph was changed, put back, or the whole table replaced: what
    // names a glyph's size (the glyph editor's caption) follows.
    void glyphsChanged();
    // The character map came back through undo or redo.
    void charMapRestored();

private:
    void recordStep(int code, const std::function<void()> &change, int stroke, bool painting);
    void recordStep(const std::vector<int> &codes, const std::function<void()> &change, int stroke, bool painting);
    void followCleanState();
    // Forgets the oldest steps until the history is within kByteLimit.
    void forgetOldestSteps();

    Workspace &workspace_;
    qint64 recordedBytes_ = 0;  // declared before the stack, whose steps count it down
    bool rebuilding_ = false;   // forgetOldestSteps is replaying the kept steps
    QUndoStack stack_;
    int stroke_ = 0;       // the number of the stroke in progress, 0 between strokes
    int lastStroke_ = 0;   // numbers every stroke apart
};

}  // namespace letterloom::project
