#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace letterloom::font {

// A font's character map: which text each of the 256 glyph codes stands for.
//
// - none: code n is the character U+00nn (Latin-1), the program's own order;
// - a code page: one of codePageNames(), taken from the system's converter
//   library (ICU), never from a table of our own;
// - a table: the lines "HEX=text" of a .tbl file, where one code may stand
//   for several characters ("E0=th").
//
// How to use it:
//
//   CharMap map = CharMap::fromCodePage("cp1251");    // any spelling: windows-1251
//   map.text(0xE0)                  // "а"; empty for a code without text
//   map.code(u"я")                  // 0xFF; nullopt for text no code stands for
//   map.encode(u"Привет")           // the bytes, longest entry first
//   map.encodeText(u"Да, нет\r\n")   // a text: spaces and controls as they are
//   map.decode(bytes)               // the text of bytes, U+FFFD for codes without text
//
//   TableRead read = readTable(fileBytes);            // throws letterloom::Error
//   read.map; read.skipped;                           // the map and the lines left out
//
// The space (code 32) and the line break codes 13 and 10 keep their roles in
// layout whatever a table says: entries for them are left out, and 32 is
// always " ". A table that gives "$" or a digit no code of its own gets them
// at their ASCII codes, so that the text's "$" escapes can always be typed.
// Several codes may stand for the same text; encoding takes the first of them
// (in table order; the lowest code for a code page), and decoding shows each
// as its text, so a caller that must keep bytes keeps them itself.
//
// Maps are values: copy and compare them freely.
class CharMap {
public:
    enum class Kind { None, CodePage, Table };

    // The map "none".
    CharMap();

    // Throws "Unknown character map \"NAME\"; known: ..." for a name that is
    // neither one of codePageNames() nor an alias of one (letter case, dashes,
    // underscores and spaces do not count).
    static CharMap fromCodePage(const QString &name);

    // A table of entries (code, text) in their order, as readTable makes it:
    // entries for 10, 13 and 32, empty texts and repeated codes are left out.
    static CharMap fromEntries(const std::vector<std::pair<int, QString>> &entries, const QString &name = {});

    // The code pages offered, under the spellings that font files store.
    static const QStringList &codePageNames();
    // The stored spelling of a code page name or alias, or nullopt.
    static std::optional<QString> codePageName(const QString &spelling);

    Kind kind() const { return kind_; }
    bool isNone() const { return kind_ == Kind::None; }
    // The code page's stored spelling; for a table the name it was given
    // (the file's name, may be empty); empty for none.
    QString name() const { return name_; }
    // For people: "none", "windows-1251", "table greek.tbl".
    QString description() const;

    // The text of one code; empty when the code stands for nothing.
    QString text(int code) const { return texts_[std::size_t(code & 0xFF)]; }
    // The code that stands for exactly this text (the first one, when several do).
    std::optional<int> code(QStringView text) const;
    // The longest text any code stands for, in UTF-16 units.
    int longestText() const { return longest_; }

    // Encodes text greedily, the longest entry first at each place.
    struct Encoded {
        QByteArray bytes;
        qsizetype failedAt = -1;  // where the first character without a code starts; -1 when all went
        bool ok() const { return failedAt < 0; }
    };
    Encoded encode(QStringView text) const;

    // Encodes a whole text: the space and the control characters (line breaks,
    // tabs) are their own bytes, and the words between them are encoded as
    // encode() does, so that no entry reaches across a space.
    Encoded encodeText(QStringView text) const;

    // Every code's text in turn; a code without text gives `missing`.
    QString decode(const QByteArray &bytes, QStringView missing = u"\uFFFD") const;

    // A table's entries as the lines "HEX=text\n" that readTable reads back
    // to the same map (the form in which fonts keep a table); empty otherwise.
    QByteArray tableText() const;

    bool operator==(const CharMap &other) const;

private:
    struct NoneTag {};
    explicit CharMap(NoneTag);
    static const CharMap &none();
    void index();

    Kind kind_ = Kind::None;
    QString name_;
    std::array<QString, 256> texts_;
    std::vector<int> order_;           // a table's codes in file order
    QHash<QString, int> codes_;        // text -> first code
    int longest_ = 1;
};

// The most bytes a table file may have, and the most characters one entry
// may stand for. A bigger file is refused; a longer entry is left out.
inline constexpr qsizetype kMaxTableBytes = 1 << 20;
inline constexpr int kMaxEntryLength = 64;
// How many left-out lines a read names one by one.
inline constexpr int kMaxReportedLines = 20;

// Reads a .tbl table: lines "HEX=text" with one-byte codes (two hex digits)
// and the text in UTF-8, line ends LF or CR LF, an optional byte-order mark.
// Lines with longer codes, control codes ("/FF=..." and "*FE"), malformed
// lines and repeated codes are left out and named in `skipped` ("line 4: ..."),
// the first kMaxReportedLines of them, then how many more. Blank lines are
// passed over. Throws, and gives nothing, when the file is larger than
// kMaxTableBytes or no entry remains.
struct TableRead {
    CharMap map;
    QStringList skipped;
};
TableRead readTable(const QByteArray &bytes, const QString &name = {});

// A character for messages: “ж” (U+0436). at indexes text; a surrogate
// pair counts as one character.
QString describeCharacter(QStringView text, qsizetype at);

}  // namespace letterloom::font
