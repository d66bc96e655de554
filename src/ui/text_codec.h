#pragma once

#include <QByteArray>
#include <QString>

namespace letterloom::ui {

// The text input window shows the project's text, which is bytes: byte n is
// the glyph of code n. The editor holds Unicode, so the bytes are shown as
// Latin-1 (byte n as U+00nn) and read back the same way, with every byte
// surviving the trip:
// - the pair CR LF is a line break of the editor;
// - tab is a tab;
// - every other control byte, a lone CR or LF included, is shown as its
//   Unicode control picture (U+2400 + n, and U+2421 for 127), so that the
//   editor neither drops it nor turns it into a line break.
// Soft wraps are only a matter of display and never reach the bytes.
QString bytesToEditorText(const QByteArray &bytes);

// The editor's text back as bytes: line and paragraph separators become CR LF,
// control pictures their bytes, and a character that Latin-1 cannot hold "?".
QByteArray editorTextToBytes(const QString &text);

}  // namespace letterloom::ui
