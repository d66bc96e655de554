#include "project/text_file.h"

#include "base/file_io.h"

namespace letterloom::project {

namespace {

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

}  // namespace letterloom::project
