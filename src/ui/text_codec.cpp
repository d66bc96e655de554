#include "ui/text_codec.h"

#include <algorithm>

namespace letterloom::ui {

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kTab = '\t';
constexpr char kSpace = ' ';
constexpr char16_t kFirstControlPicture = 0x2400;  // the picture of byte 0
constexpr char16_t kDeletePicture = 0x2421;        // the picture of byte 127
constexpr char16_t kFirstPlaceholder = 0xE000;     // a code without text, U+E000 + code

QChar pictureOf(unsigned char byte)
{
    return byte == 127 ? QChar(kDeletePicture) : QChar(char16_t(kFirstControlPicture + byte));
}

bool printable(const QString &text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 32 || c.unicode() == 127; });
}

// The editor's text of one byte (not of a CR LF pair).
QString textOf(unsigned char byte, const font::CharMap &map)
{
    if (byte == kTab || byte == kSpace)
        return QString(QChar(char16_t(byte)));
    if (byte != kCR && byte != kLF) {
        QString text = map.text(byte);
        if (!text.isEmpty() && printable(text))
            return text;
    }
    if (byte < 32 || byte == 127)
        return QString(pictureOf(byte));
    return QString(QChar(char16_t(kFirstPlaceholder + byte)));
}

bool isCrLf(const QByteArray &bytes, qsizetype at)
{
    return bytes[at] == kCR && at + 1 < bytes.size() && bytes[at + 1] == kLF;
}

bool isLineBreak(QChar c)
{
    return c.unicode() == char16_t(kLF) || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// The byte of a character that stands for itself in the editor whatever the
// map: control pictures, placeholders and raw control characters.
int ownByte(QChar c)
{
    const char16_t code = c.unicode();
    if (code >= kFirstControlPicture && code < kFirstControlPicture + 32)
        return code - kFirstControlPicture;
    if (code == kDeletePicture)
        return 127;
    if (code >= kFirstPlaceholder && code < kFirstPlaceholder + 256)
        return code - kFirstPlaceholder;
    if (code < 32)
        return code;
    return -1;
}

// Bytes with their editor text, one unit at a time; line breaks show as lineBreak.
template <typename Visit>
void forEachUnit(const QByteArray &bytes, const font::CharMap &map, QChar lineBreak, Visit &&visit)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (isCrLf(bytes, i)) {
            visit(i, QString(lineBreak), true);
            ++i;
        } else {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            visit(i, textOf(byte, map), byte == kSpace);
        }
    }
}

}  // namespace

QString bytesToEditorText(const QByteArray &bytes, const font::CharMap &map)
{
    QString text;
    text.reserve(bytes.size());
    forEachUnit(bytes, map, QChar(kLF), [&](qsizetype, const QString &unit, bool) { text += unit; });
    return text;
}

font::CharMap::Encoded editorTextToBytes(const QString &text, const font::CharMap &map)
{
    font::CharMap::Encoded encoded;
    encoded.bytes.reserve(text.size());
    const int longest = map.longestText();
    qsizetype at = 0;
    while (at < text.size()) {
        const QChar c = text[at];
        if (isLineBreak(c)) {
            encoded.bytes += "\r\n";
            ++at;
            continue;
        }
        if (c.unicode() == char16_t(kSpace) || c.unicode() == char16_t(kTab)) {
            encoded.bytes += char(c.unicode());
            ++at;
            continue;
        }
        // The longest entry first; it never reaches across a space or a line break.
        qsizetype wordEnd = at;
        while (wordEnd < text.size() && wordEnd - at < longest && !isLineBreak(text[wordEnd]) &&
               text[wordEnd].unicode() != char16_t(kSpace) && text[wordEnd].unicode() != char16_t(kTab))
            ++wordEnd;
        bool matched = false;
        for (qsizetype length = wordEnd - at; length >= 1; --length) {
            if (const std::optional<int> code = map.code(QStringView(text).sliced(at, length))) {
                encoded.bytes += char(*code);
                at += length;
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        if (const int byte = ownByte(c); byte >= 0) {
            encoded.bytes += char(byte);
            ++at;
            continue;
        }
        encoded.failedAt = at;
        return encoded;
    }
    return encoded;
}

QString refusalHint(const QString &text, qsizetype at, const font::CharMap &map)
{
    const QString character = font::describeCharacter(text, at);
    if (map.isNone())
        return QStringLiteral("%1 has no code in the font; choose a character map with Font \u203A Character Map...")
            .arg(character);
    return QStringLiteral("%1 has no code in the font's character map (%2)").arg(character, map.description());
}

const QString &TextView::show(const QByteArray &bytes, const font::CharMap &map)
{
    map_ = map;
    bytes_ = bytes;
    index();
    return text_;
}

void TextView::index()
{
    text_.clear();
    text_.reserve(bytes_.size());
    units_.clear();
    forEachUnit(bytes_, map_, QChar::ParagraphSeparator, [&](qsizetype byte, const QString &unit, bool separator) {
        units_.push_back({byte, text_.size(), separator});
        text_ += unit;
    });
    units_.push_back({bytes_.size(), text_.size(), true});
}

TextView::Edit TextView::edit(const QString &edited)
{
    const QString &old = text_;
    const qsizetype shorter = std::min(old.size(), edited.size());
    qsizetype prefix = 0;
    while (prefix < shorter && old[prefix] == edited[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && old[old.size() - 1 - suffix] == edited[edited.size() - 1 - suffix])
        ++suffix;
    Edit result;
    result.first = prefix;
    result.oldEnd = old.size() - suffix;
    result.newEnd = edited.size() - suffix;
    if (prefix == old.size() && prefix == edited.size())
        return result;

    // The units the change touches, widened to whole words.
    const auto textBefore = [](qsizetype position, const Unit &unit) { return position < unit.text; };
    std::size_t first = std::size_t(std::upper_bound(units_.begin(), units_.end(), prefix, textBefore) - units_.begin()) - 1;
    while (first > 0 && !units_[first - 1].separator)
        --first;
    std::size_t last = std::size_t(std::lower_bound(units_.begin(), units_.end(), result.oldEnd,
                                                    [](const Unit &unit, qsizetype position) {
                                                        return unit.text < position;
                                                    }) -
                                   units_.begin());
    while (last + 1 < units_.size() && !units_[last].separator)
        ++last;

    const qsizetype textStart = units_[first].text;
    const qsizetype tail = old.size() - units_[last].text;
    const QString region = edited.mid(textStart, edited.size() - tail - textStart);
    const font::CharMap::Encoded encoded = editorTextToBytes(region, map_);
    if (!encoded.ok()) {
        result.failedAt = textStart + encoded.failedAt;
        result.hint = refusalHint(edited, result.failedAt, map_);
        return result;
    }
    bytes_.replace(units_[first].byte, units_[last].byte - units_[first].byte, encoded.bytes);
    index();
    return result;
}

}  // namespace letterloom::ui
