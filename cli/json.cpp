#include "json.h"

namespace letterloom::cli {

QByteArray jsonText(const QString &text)
{
    QString out(u'"');
    for (const QChar character : text) {
        const char16_t code = character.unicode();
        if (code == u'"' || code == u'\\')
            out += u'\\';
        if (code < 0x20 || code == 0x7F)
            out += QStringLiteral("\\u%1").arg(int(code), 4, 16, QLatin1Char('0'));
        else
            out += character;
    }
    out += u'"';
    return out.toUtf8();
}

QByteArray jsonBytes(const QByteArray &bytes)
{
    return jsonText(QString::fromLatin1(bytes));
}

QByteArray jsonList(qsizetype count, const std::function<QByteArray(qsizetype)> &item,
                    const QByteArray &separator)
{
    QByteArray out("[");
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0)
            out += separator;
        out += item(i);
    }
    return out + ']';
}

}  // namespace letterloom::cli
