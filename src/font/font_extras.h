#pragma once

#include "font/char_map.h"
#include "font/kerning.h"

#include <QJsonObject>
#include <QStringList>

namespace letterloom {
class ExtensionKeys;
}

namespace letterloom::font {

// What a font file keeps in its extension block beyond its 256 glyphs. The
// keys of the font level are read into fields here; every other key stays in
// otherKeys exactly as read and is written back with the font, so a font
// saved by this program loses nothing a newer one stored.
//
// charMap: which text each code stands for, as {"name": "windows-1251"} for
// a code page (any alias is read, the stored spelling written) or
// {"name": "game.tbl", "table": "41=A\nE0=th\n"} for a table. None writes
// no key.
//
// kerning: the font's kerning pairs as [[left, right, pixels], ...], codes of
// the font (0..255, never through the character map) sorted by left then
// right code, pixels -64..64 and never 0. No pairs write no key. A pair that
// is not three whole numbers in range, or repeats an earlier pair's codes,
// is dropped and named (kerning[i]); a list longer than 65536 pairs (more
// than there are pairs of codes) is dropped whole.
struct FontExtras {
    QJsonObject otherKeys;
    CharMap charMap;
    Kerning kerning;

    bool isEmpty() const { return charMap.isNone() && kerning.isEmpty() && otherKeys.isEmpty(); }
    bool operator==(const FontExtras &other) const = default;
};

// Takes the font's keys out of a block's keys; the rest become otherKeys.
// Keys of the wrong type are dropped and named in keys.dropped().
FontExtras readFontExtras(ExtensionKeys &keys);
// The block's keys for a font's extras.
QJsonObject fontExtrasKeys(const FontExtras &extras);

}  // namespace letterloom::font
