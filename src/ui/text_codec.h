#pragma once

#include "font/char_map.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace letterloom::ui {

// The text input window shows the project's text, which is bytes: byte n is
// the glyph of code n. The editor holds Unicode, so it shows each byte as the
// text the font's character map gives it (with no map, byte n as U+00nn),
// with every byte surviving the trip:
// - the pair CR LF is a line break of the editor, and the space a space;
// - tab is a tab;
// - every other control byte, a lone CR or LF included, is shown as its
//   Unicode control picture (U+2400 + n, and U+2421 for 127), so that the
//   editor neither drops it nor turns it into a line break; a map may give a
//   code below 32 a printable text of its own, which is shown instead;
// - a code the map gives no text is shown as U+E000 + n (a private-use
//   character), so that it too survives an edit of its word.
// Soft wraps are only a matter of display and never reach the bytes.
QString bytesToEditorText(const QByteArray &bytes, const font::CharMap &map = {});

// The editor's text back as bytes: line and paragraph separators become CR LF,
// control pictures and private-use placeholders their bytes, everything else
// goes through the map word by word. Where a character has no code, failedAt
// is its place in text and the bytes end before it.
font::CharMap::Encoded editorTextToBytes(const QString &text, const font::CharMap &map = {});

// The hint for a character that the map has no code for.
QString refusalHint(const QString &text, qsizetype at, const font::CharMap &map);

// The text's bytes as the editor shows them, kept in step with the editor so
// that bytes nobody edited never change: an edit re-encodes only the words it
// touches (from the space or line break before it to the one after it), and
// an edit that would need a character the map has no code for is refused.
class TextView {
public:
    // An empty text with no map.
    TextView() { index(); }

    // Shows bytes through map; returns the editor's text.
    const QString &show(const QByteArray &bytes, const font::CharMap &map);
    // The same bytes through another map.
    const QString &remap(const font::CharMap &map) { return show(bytes_, map); }

    const QByteArray &bytes() const { return bytes_; }
    const QString &text() const { return text_; }

    // The editor's text has become edited. When every touched word encodes,
    // the bytes follow and the result has no hint; otherwise nothing changes
    // and the result says where the character is that has no code (in
    // edited) and names it. first/oldEnd/newEnd give the edited range: the
    // editor's text from first to oldEnd was replaced by edited's from first
    // to newEnd.
    struct Edit {
        QString hint;  // empty when the edit went through
        qsizetype first = 0;
        qsizetype oldEnd = 0;
        qsizetype newEnd = 0;
        qsizetype failedAt = -1;
    };
    Edit edit(const QString &edited);

private:
    // One byte, or one CR LF pair, and the editor text it shows as.
    struct Unit {
        qsizetype byte = 0;  // where its bytes start
        qsizetype text = 0;  // where its text starts in text_
        bool separator = false;  // a space or a line break: words end here
    };
    void index();

    font::CharMap map_;
    QByteArray bytes_;
    QString text_;
    std::vector<Unit> units_;  // in order, plus one past the end
};

}  // namespace letterloom::ui
