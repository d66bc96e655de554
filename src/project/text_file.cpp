#include "project/text_file.h"

#include "base/file_io.h"

namespace letterloom::project {

namespace {

QByteArray withCrLf(const QByteArray &bytes)
{
    QByteArray text;
    text.reserve(bytes.size() + bytes.count('\n'));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            text += '\r';
        text += bytes[i];
    }
    return text;
}

}  // namespace

QByteArray readTextFile(const QString &path)
{
    return withCrLf(readWholeFile(path));
}

}  // namespace letterloom::project
