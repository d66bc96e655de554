#pragma once

#include <QJsonObject>
#include <QStringList>

namespace letterloom {
class ExtensionKeys;
}

namespace letterloom::font {

// What a font file keeps in its extension block beyond its 256 glyphs. The
// keys of the font level are read into fields here (none yet); every other
// key stays in otherKeys exactly as read and is written back with the font,
// so a font saved by this program loses nothing a newer one stored.
struct FontExtras {
    QJsonObject otherKeys;

    bool isEmpty() const { return otherKeys.isEmpty(); }
    bool operator==(const FontExtras &other) const = default;
};

// Takes the font's keys out of a block's keys; the rest become otherKeys.
// Keys of the wrong type are dropped and named in keys.dropped().
FontExtras readFontExtras(ExtensionKeys &keys);
// The block's keys for a font's extras.
QJsonObject fontExtrasKeys(const FontExtras &extras);

}  // namespace letterloom::font
