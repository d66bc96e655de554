#pragma once

#include "font/font_extras.h"
#include "font/glyph_table.h"

#include <QByteArray>
#include <QString>

namespace letterloom::font {

// A font file is 256 glyph records, codes 0 to 255, with no header: a flag
// byte, the width and the height (little-endian signed 32-bit), then
// 4 x width x height bytes of colours column by column (x outer, y inner).
// An extension block (base/extension_block.h) may follow the last record;
// any other bytes after it are ignored.

// The largest font file read or written: the 256 records of a font of
// kMaxFontPixels (what any import may hold) with 16 MiB to spare for its
// extension block and for glyphs grown by editing. A font beyond it is refused
// when saved ("The font is too large to be saved"), never written unreadable.
inline constexpr qint64 kMaxFontFileSize = 9 * GlyphTable::kSize + 4 * kMaxFontPixels + (qint64(16) << 20);

// Parses a whole font into a fresh table; the caller replaces its own table
// only when this returns, so a bad file changes nothing. Throws
// "Read beyond end of file" for a file that ends early and
// "Invalid glyph size in font file" for a negative or oversized glyph.
// The glyphs alone; the extension block is not looked at.
GlyphTable parseFont(const QByteArray &bytes);
// The 256 records alone, without an extension block.
QByteArray fontBytes(const GlyphTable &glyphs);

// A font file as a whole: its glyphs, its extras, and the notices about a
// damaged extension block or dropped keys, for the user (the glyphs are read
// whatever the block holds).
struct FontFile {
    GlyphTable glyphs;
    FontExtras extras;
    QStringList notices;
};

// Throws what parseFont throws; fileName only names the file in the notices.
FontFile parseFontFile(const QByteArray &bytes, const QString &fileName = {});
// The records followed by the extension block of the extras (none when empty).
QByteArray fontFileBytes(const GlyphTable &glyphs, const FontExtras &extras);

// A font file as its bytes: the 256 records checked as parseFont checks
// them but left where they lie, and the extras and notices parseFontFile
// gives. Copying a font from one file of this kind to another needs no glyph
// table: the records are written as they were read, which is what
// fontFileBytes makes of the glyphs they hold.
struct FontRecords {
    QByteArray bytes;           // the whole file
    qsizetype recordsSize = 0;  // the records' bytes at its start
    FontExtras extras;
    QStringList notices;
};

// Throws what parseFontFile throws.
FontRecords parseFontRecords(QByteArray bytes, const QString &fileName = {});
// The records followed by the extension block of font.extras: the bytes of
// fontFileBytes for the glyphs of the records and those extras. Throws "The
// font is too large to be saved" as writeFontFile does.
QByteArray fontRecordsFileBytes(FontRecords font);

GlyphTable readFontFile(const QString &path);
FontFile loadFontFile(const QString &path);
// Writes all or nothing: a failed write leaves the old file as it was.
void writeFontFile(const QString &path, const GlyphTable &glyphs, const FontExtras &extras = {});
// The same for records as loaded: all or nothing.
FontRecords loadFontRecords(const QString &path);
void writeFontRecords(const QString &path, FontRecords font);

}  // namespace letterloom::font
