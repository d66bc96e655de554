#include "font/char_map.h"

#include "base/error.h"

#include <QStringDecoder>

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <iconv.h>

#include <memory>
#include <vector>

namespace letterloom::font {

namespace {

constexpr int kSpace = 32;
constexpr int kCR = 13;
constexpr int kLF = 10;

// The code pages offered: the spelling stored in fonts, and the name the
// converter library knows it by.
struct CodePage {
    const char *spelling;
    const char *converter;
};

constexpr CodePage kCodePages[] = {
    {"ISO-8859-1", "ISO-8859-1"},     {"ISO-8859-2", "ISO-8859-2"},   {"ISO-8859-3", "ISO-8859-3"},
    {"ISO-8859-4", "ISO-8859-4"},     {"ISO-8859-5", "ISO-8859-5"},   {"ISO-8859-6", "ISO-8859-6"},
    {"ISO-8859-7", "ISO-8859-7"},     {"ISO-8859-8", "ISO-8859-8"},   {"ISO-8859-9", "ISO-8859-9"},
    {"ISO-8859-10", "ISO-8859-10"},   {"ISO-8859-11", "ISO-8859-11"}, {"ISO-8859-13", "ISO-8859-13"},
    {"ISO-8859-14", "ISO-8859-14"},   {"ISO-8859-15", "ISO-8859-15"}, {"ISO-8859-16", "ISO-8859-16"},
    {"windows-1250", "windows-1250"}, {"windows-1251", "windows-1251"}, {"windows-1252", "windows-1252"},
    {"windows-1253", "windows-1253"}, {"windows-1254", "windows-1254"}, {"windows-1255", "windows-1255"},
    {"windows-1256", "windows-1256"}, {"windows-1257", "windows-1257"}, {"windows-1258", "windows-1258"},
    {"cp437", "ibm-437"},             {"cp850", "ibm-850"},           {"cp852", "ibm-852"},
    {"cp866", "ibm-866"},             {"KOI8-R", "KOI8-R"},           {"KOI8-U", "KOI8-U"},
    {"MacRoman", "macintosh"},
};

struct ConverterCloser {
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openConverter(const QByteArray &name)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name.constData(), &status));
    if (U_FAILURE(status))
        return nullptr;
    return converter;
}

// The converter library's own name of a converter: aliases share it.
QByteArray converterIdentity(const QByteArray &name)
{
    const Converter converter = openConverter(name);
    if (!converter)
        return {};
    UErrorCode status = U_ZERO_ERROR;
    const char *identity = ucnv_getName(converter.get(), &status);
    return U_SUCCESS(status) && identity ? QByteArray(identity) : QByteArray();
}

// Letters and digits only, in lower case: "ISO_8859-5" and "iso88595" match.
QString looseName(const QString &name)
{
    QString loose;
    for (const QChar c : name)
        if (c.isLetterOrNumber())
            loose += c.toLower();
    return loose;
}

const CodePage *findCodePage(const QString &spelling)
{
    const QString loose = looseName(spelling);
    if (loose.isEmpty())
        return nullptr;
    for (const CodePage &page : kCodePages)
        if (looseName(QLatin1String(page.spelling)) == loose)
            return &page;
    // An alias of the converter library ("cp1251", "latin1", "IBM866").
    for (const QChar c : spelling)
        if (c.unicode() < 32 || c.unicode() > 126)
            return nullptr;
    const QByteArray identity = converterIdentity(spelling.toLatin1());
    if (identity.isEmpty())
        return nullptr;
    static const std::vector<QByteArray> identities = [] {
        std::vector<QByteArray> list;
        for (const CodePage &page : kCodePages)
            list.push_back(converterIdentity(page.converter));
        return list;
    }();
    for (std::size_t i = 0; i < identities.size(); ++i)
        if (!identities[i].isEmpty() && identities[i] == identity)
            return &kCodePages[i];
    return nullptr;
}

// The text of every code of a code page through the C library's converter:
// the system's ICU data leaves out a few pages (ISO-8859-16 on Debian 12).
std::optional<std::array<QString, 256>> iconvTexts(const char *name)
{
    const iconv_t converter = iconv_open("UTF-8", name);
    if (converter == iconv_t(-1))
        return std::nullopt;
    std::array<QString, 256> texts;
    for (int code = 0; code < 256; ++code) {
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        char byte = char(code);
        char utf8[16];
        char *in = &byte;
        char *out = utf8;
        std::size_t inLeft = 1;
        std::size_t outLeft = sizeof utf8;
        if (iconv(converter, &in, &inLeft, &out, &outLeft) != std::size_t(-1) && inLeft == 0)
            texts[std::size_t(code)] = QString::fromUtf8(utf8, out - utf8);
    }
    iconv_close(converter);
    return texts;
}

// The text of every code of a code page; a code the page leaves unassigned
// has none.
std::array<QString, 256> codePageTexts(const CodePage &page)
{
    const Converter converter = openConverter(page.converter);
    if (!converter) {
        if (auto texts = iconvTexts(page.converter))
            return *texts;
        throw Error(QStringLiteral("The code page %1 is missing from the system").arg(QLatin1String(page.spelling)));
    }
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    std::array<QString, 256> texts;
    for (int code = 0; code < 256; ++code) {
        ucnv_resetToUnicode(converter.get());
        const char byte = char(code);
        UChar units[8];
        status = U_ZERO_ERROR;
        const int32_t length = ucnv_toUChars(converter.get(), units, 8, &byte, 1, &status);
        if (U_SUCCESS(status) && length > 0)
            texts[std::size_t(code)] = QString(reinterpret_cast<const QChar *>(units), length);
    }
    return texts;
}

QString hex2(int code)
{
    return QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool hasControlCharacter(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < 32 || c.unicode() == 127)
            return true;
    return false;
}

}  // namespace

CharMap::CharMap(NoneTag)
{
    for (int code = 0; code < 256; ++code)
        texts_[std::size_t(code)] = QChar(char16_t(code));
    index();
}

// Every font and project holds a map from the start: the map "none" is made
// once, and each new one shares its 256 texts and its index.
const CharMap &CharMap::none()
{
    static const CharMap map{NoneTag{}};
    return map;
}

CharMap::CharMap() : CharMap(none())
{
}

CharMap CharMap::fromCodePage(const QString &name)
{
    const CodePage *page = findCodePage(name);
    if (!page)
        throw Error(QStringLiteral("Unknown character map \"%1\"; known: none, %2")
                        .arg(name, codePageNames().join(QStringLiteral(", "))));
    CharMap map;
    map.kind_ = Kind::CodePage;
    map.name_ = QLatin1String(page->spelling);
    map.texts_ = codePageTexts(*page);
    map.index();
    return map;
}

CharMap CharMap::fromEntries(const std::vector<std::pair<int, QString>> &entries, const QString &name)
{
    CharMap map;
    map.kind_ = Kind::Table;
    map.name_ = name;
    map.texts_.fill(QString());
    for (const auto &[code, text] : entries) {
        if (code < 0 || code > 255 || code == kLF || code == kCR || code == kSpace || text.isEmpty() ||
            !map.texts_[std::size_t(code)].isEmpty())
            continue;
        map.texts_[std::size_t(code)] = text;
        map.order_.push_back(code);
    }
    map.texts_[kSpace] = QStringLiteral(" ");
    map.index();
    // "$" and the digits at their ASCII codes, where the table leaves both free.
    bool added = false;
    for (const int code : {0x24, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39}) {
        const QString ascii = QString(QChar(char16_t(code)));
        if (map.texts_[std::size_t(code)].isEmpty() && !map.codes_.contains(ascii)) {
            map.texts_[std::size_t(code)] = ascii;
            added = true;
        }
    }
    if (added)
        map.index();
    return map;
}

const QStringList &CharMap::codePageNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const CodePage &page : kCodePages)
            list << QLatin1String(page.spelling);
        return list;
    }();
    return names;
}

std::optional<QString> CharMap::codePageName(const QString &spelling)
{
    if (const CodePage *page = findCodePage(spelling))
        return QString::fromLatin1(page->spelling);
    return std::nullopt;
}

QString CharMap::description() const
{
    switch (kind_) {
    case Kind::None:
        return QStringLiteral("none");
    case Kind::CodePage:
        return name_;
    case Kind::Table:
        return name_.isEmpty() ? QStringLiteral("table") : QStringLiteral("table ") + name_;
    }
    return {};
}

void CharMap::index()
{
    codes_.clear();
    longest_ = 1;
    auto add = [this](int code) {
        const QString &text = texts_[std::size_t(code)];
        if (text.isEmpty() || codes_.contains(text))
            return;
        codes_.insert(text, code);
        longest_ = std::max(longest_, int(text.size()));
    };
    // A table's own entries come first, in file order, so the first of
    // several codes with one text is the one encoding takes.
    for (const int code : order_)
        add(code);
    for (int code = 0; code < 256; ++code)
        add(code);
}

std::optional<int> CharMap::code(QStringView text) const
{
    const auto found = codes_.constFind(text.toString());
    if (found == codes_.constEnd())
        return std::nullopt;
    return found.value();
}

CharMap::Encoded CharMap::encode(QStringView text) const
{
    Encoded encoded;
    encoded.bytes.reserve(text.size());
    qsizetype at = 0;
    QString piece;
    while (at < text.size()) {
        bool matched = false;
        for (qsizetype length = std::min<qsizetype>(longest_, text.size() - at); length >= 1; --length) {
            piece = text.mid(at, length).toString();
            const auto found = codes_.constFind(piece);
            if (found != codes_.constEnd()) {
                encoded.bytes += char(found.value());
                at += length;
                matched = true;
                break;
            }
        }
        if (!matched) {
            encoded.failedAt = at;
            return encoded;
        }
    }
    return encoded;
}

CharMap::Encoded CharMap::encodeText(QStringView text) const
{
    Encoded encoded;
    encoded.bytes.reserve(text.size());
    qsizetype at = 0;
    while (at < text.size()) {
        if (text[at].unicode() <= kSpace) {
            encoded.bytes += char(text[at].unicode());
            ++at;
            continue;
        }
        qsizetype end = at;
        while (end < text.size() && text[end].unicode() > kSpace)
            ++end;
        const Encoded word = encode(text.sliced(at, end - at));
        encoded.bytes += word.bytes;
        if (!word.ok()) {
            encoded.failedAt = at + word.failedAt;
            return encoded;
        }
        at = end;
    }
    return encoded;
}

QString CharMap::decode(const QByteArray &bytes, QStringView missing) const
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const QString &entry = texts_[std::size_t(static_cast<unsigned char>(byte))];
        if (entry.isEmpty())
            text += missing;
        else
            text += entry;
    }
    return text;
}

QByteArray CharMap::tableText() const
{
    if (kind_ != Kind::Table)
        return {};
    QByteArray text;
    for (const int code : order_)
        text += hex2(code).toLatin1() + '=' + texts_[std::size_t(code)].toUtf8() + '\n';
    return text;
}

bool CharMap::operator==(const CharMap &other) const
{
    return kind_ == other.kind_ && name_ == other.name_ && texts_ == other.texts_ && order_ == other.order_;
}

TableRead readTable(const QByteArray &bytes, const QString &name)
{
    if (bytes.size() > kMaxTableBytes)
        throw Error(QStringLiteral("The table is larger than %1 KB").arg(kMaxTableBytes / 1024));
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);

    std::vector<std::pair<int, QString>> entries;
    std::array<int, 256> lineOf{};
    QStringList skipped;
    int skippedCount = 0;
    auto skip = [&](int line, const QString &why) {
        if (++skippedCount <= kMaxReportedLines)
            skipped << QStringLiteral("line %1: %2").arg(line).arg(why);
    };

    int lineNumber = 0;
    while (!rest.isEmpty()) {
        ++lineNumber;
        qsizetype end = rest.indexOf('\n');
        QByteArrayView raw = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (raw.trimmed().isEmpty())
            continue;

        auto decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = decoder(raw);
        if (decoder.hasError()) {
            skip(lineNumber, QStringLiteral("not UTF-8 text"));
            continue;
        }
        if (line.startsWith(u'/') || line.startsWith(u'*')) {
            skip(lineNumber, QStringLiteral("a control code, which the program does not use"));
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            skip(lineNumber, QStringLiteral("not of the form HEX=text"));
            continue;
        }
        const QString hex = line.first(equals);
        const QString text = line.sliced(equals + 1);
        bool allHex = !hex.isEmpty();
        for (const QChar c : hex)
            allHex = allHex && isHexDigit(c);
        if (!allHex || hex.size() % 2 != 0) {
            skip(lineNumber, QStringLiteral("\"%1\" is not a code of hex digits").arg(hex.left(16)));
            continue;
        }
        if (hex.size() > 2) {
            skip(lineNumber, QStringLiteral("the code %1 is longer than one byte").arg(hex.left(16)));
            continue;
        }
        const int code = hex.toInt(nullptr, 16);
        if (text.isEmpty()) {
            skip(lineNumber, QStringLiteral("the code %1 stands for no text").arg(hex2(code)));
            continue;
        }
        if (hasControlCharacter(text)) {
            skip(lineNumber, QStringLiteral("the text of code %1 holds a control character").arg(hex2(code)));
            continue;
        }
        if (text.size() > kMaxEntryLength) {
            skip(lineNumber, QStringLiteral("the text of code %1 is longer than %2 characters")
                                 .arg(hex2(code))
                                 .arg(kMaxEntryLength));
            continue;
        }
        if (code == kLF || code == kCR) {
            skip(lineNumber, QStringLiteral("the code %1 is always a line break").arg(hex2(code)));
            continue;
        }
        if (code == kSpace) {
            if (text != QStringLiteral(" "))
                skip(lineNumber, QStringLiteral("the code 20 is always a space"));
            continue;
        }
        if (lineOf[std::size_t(code)] != 0) {
            skip(lineNumber, QStringLiteral("the code %1 was given on line %2 already")
                                 .arg(hex2(code))
                                 .arg(lineOf[std::size_t(code)]));
            continue;
        }
        lineOf[std::size_t(code)] = lineNumber;
        entries.emplace_back(code, text);
    }
    if (skippedCount > kMaxReportedLines)
        skipped << QStringLiteral("%1 more lines left out").arg(skippedCount - kMaxReportedLines);
    if (entries.empty())
        throw Error(QStringLiteral("The table has no entry of the form HEX=text"));
    return {CharMap::fromEntries(entries, name), skipped};
}

QString describeCharacter(QStringView text, qsizetype at)
{
    if (at < 0 || at >= text.size())
        return {};
    char32_t point = text[at].unicode();
    qsizetype length = 1;
    if (text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
        point = QChar::surrogateToUcs4(text[at], text[at + 1]);
        length = 2;
    }
    const QString hex = QStringLiteral("%1").arg(uint(point), 4, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("\u201C%1\u201D (U+%2)").arg(text.mid(at, length).toString(), hex);
}

}  // namespace letterloom::font
