#include "area_texts.h"

#include "base/error.h"

namespace letterloom::cli {

namespace {

QString withLineFeeds(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

}  // namespace

QString textCell(const QByteArray &bytes, const font::CharMap &map)
{
    return map.isNone() ? QString::fromLatin1(bytes) : map.decode(bytes);
}

QByteArray cellBytes(const QString &cell, const font::CharMap &map)
{
    const QString text = withLineFeeds(cell).replace(u'\n', QStringLiteral("\r\n"));
    if (map.isNone()) {
        for (qsizetype i = 0; i < text.size(); ++i)
            if (text[i].unicode() > 0xFF)
                throw Error(QStringLiteral("%1 has no code: without a character map the font's codes are "
                                           "U+0000 to U+00FF")
                                .arg(font::describeCharacter(text, i)));
        return text.toLatin1();
    }
    const font::CharMap::Encoded encoded = map.encodeText(text);
    if (!encoded.ok())
        throw Error(QStringLiteral("%1 has no code in the font's character map (%2)")
                        .arg(font::describeCharacter(text, encoded.failedAt), map.description()));
    return encoded.bytes;
}

bool sameCell(const QString &a, const QString &b)
{
    return withLineFeeds(a) == withLineFeeds(b);
}

}  // namespace letterloom::cli
