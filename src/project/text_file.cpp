#include "project/text_file.h"

#include "base/error.h"
#include "base/file_io.h"

#include <QStringDecoder>

#include <algorithm>

namespace letterloom::project {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

QByteArray withCrLf(const QByteArray &bytes)
{
    QByteArray text;
    text.reserve(bytes.size() + bytes.count('\n') + bytes.count('\r'));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char byte = bytes[i];
        if (byte == '\r' || byte == '\n') {
            text += "\r\n";
            // A CR LF pair is one line end.
            if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            text += byte;
        }
    }
    return text;
}

}  // namespace

QByteArray readTextFile(const QString &path)
{
    return withCrLf(readWholeFile(path));
}

bool isUtf8Text(const QByteArray &file)
{
    if (file.startsWith(kByteOrderMark))
        return true;
    if (std::all_of(file.begin(), file.end(), [](char c) { return quint8(c) < 0x80; }))
        return false;
    auto decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(file);
    return !decoder.hasError();
}

QByteArray textFileBytes(const QByteArray &file, const font::CharMap &map)
{
    const bool asText = map.kind() == font::CharMap::Kind::Table
                            ? file.startsWith(kByteOrderMark) || file.isValidUtf8()
                            : isUtf8Text(file);
    if (map.isNone() || !asText)
        return withCrLf(file);
    auto decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(file.startsWith(kByteOrderMark) ? file.sliced(3) : file);
    if (decoder.hasError())
        throw Error(QStringLiteral("The text file is not valid UTF-8"));
    const font::CharMap::Encoded encoded = map.encodeText(text);
    if (!encoded.ok()) {
        const qsizetype line = QStringView(text).first(encoded.failedAt).count(u'\n') + 1;
        throw Error(QStringLiteral("Line %1: %2 has no code in the font's character map (%3)")
                        .arg(line)
                        .arg(font::describeCharacter(text, encoded.failedAt), map.description()));
    }
    return withCrLf(encoded.bytes);
}

QByteArray readTextFile(const QString &path, const font::CharMap &map)
{
    return textFileBytes(readWholeFile(path), map);
}

}  // namespace letterloom::project
