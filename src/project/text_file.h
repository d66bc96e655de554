#pragma once

#include "font/char_map.h"

#include <QByteArray>
#include <QString>

namespace letterloom::project {

// The lines of a text file as the text input window holds them: every byte
// kept, lines separated by CR LF. A line ends at CR LF, at a bare LF (most
// editors outside Windows) or at a lone CR (old Macintosh editors); each of
// them becomes CR LF.
QByteArray readTextFile(const QString &path);

// The same through a font's character map: a UTF-8 file (one that starts
// with a byte-order mark, or holds text beyond ASCII that is valid UTF-8)
// is read as text and encoded through the map, the mark left out; any other
// file, and every file when the map is none, is taken byte for byte as above.
// Through a table, plain ASCII files are read as text too: a game's table
// rarely keeps ASCII at its own codes.
// A character the map has no code for fails the whole read with
// "Line N: “ж” (U+0436) has no code in the font's character map (...)".
QByteArray readTextFile(const QString &path, const font::CharMap &map);
QByteArray textFileBytes(const QByteArray &file, const font::CharMap &map);

// True when file is UTF-8 text in the sense above.
bool isUtf8Text(const QByteArray &file);

}  // namespace letterloom::project
