#pragma once

#include "font/char_map.h"

#include <QByteArray>
#include <QString>

namespace letterloom::cli {

// An area's text as a cell of a spreadsheet: through the font's character
// map, or without one byte n as U+00nn; line breaks as they stand.
QString textCell(const QByteArray &bytes, const font::CharMap &map);

// The bytes of a cell's text: through the map (each word as the map
// encodes it), or without one U+00nn as byte n. Every line break (CR LF,
// LF, a lone CR) becomes CR LF. Throws "“ж” (U+0436) has no code in ..."
// for a character without a code.
QByteArray cellBytes(const QString &cell, const font::CharMap &map);

// The same text in two cells: equal after their line breaks are made alike.
bool sameCell(const QString &a, const QString &b);

}  // namespace letterloom::cli
