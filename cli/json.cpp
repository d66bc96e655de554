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

void appendJsonBytes(QByteArray &out, QByteArrayView bytes)
{
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        if (code == '"' || code == '\\') {
            out += '\\';
            out += c;
        } else if (code < 0x20 || code == 0x7F) {
            const char escape[] = {'\\', 'u', '0', '0', kHex[code >> 4], kHex[code & 15]};
            out.append(escape, sizeof escape);
        } else if (code < 0x80) {
            out += c;
        } else {  // U+0080 to U+00FF in UTF-8
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        }
    }
    out += '"';
}

QByteArray jsonBytes(const QByteArray &bytes)
{
    QByteArray out;
    appendJsonBytes(out, bytes);
    return out;
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
