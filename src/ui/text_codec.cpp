#include "ui/text_codec.h"

namespace letterloom::ui {

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kTab = '\t';
constexpr char16_t kFirstControlPicture = 0x2400;  // the picture of byte 0
constexpr char16_t kDeletePicture = 0x2421;        // the picture of byte 127

QChar pictureOf(unsigned char byte)
{
    return byte == 127 ? QChar(kDeletePicture) : QChar(char16_t(kFirstControlPicture + byte));
}

bool isShownAsPicture(unsigned char byte)
{
    return (byte < 32 && byte != kTab) || byte == 127;
}

}  // namespace

QString bytesToEditorText(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == kCR && i + 1 < bytes.size() && bytes[i + 1] == kLF) {
            text += QChar(kLF);
            ++i;
        } else if (isShownAsPicture(byte)) {
            text += pictureOf(byte);
        } else {
            text += QChar(char16_t(byte));
        }
    }
    return text;
}

QByteArray editorTextToBytes(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t code = c.unicode();
        if (code == kLF || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            bytes += "\r\n";
        else if (code >= kFirstControlPicture && code < kFirstControlPicture + 32)
            bytes += char(code - kFirstControlPicture);
        else if (code == kDeletePicture)
            bytes += char(127);
        else if (code < 256)
            bytes += char(code);
        else {
            // One "?" per character, also for one written as a surrogate pair.
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            bytes += '?';
        }
    }
    return bytes;
}

}  // namespace letterloom::ui
