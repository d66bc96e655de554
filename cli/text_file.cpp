#include "text_file.h"

#include <QList>

#include <algorithm>
#include <utility>

namespace letterloom::cli {

namespace {

const QByteArray kCrLf("\r\n");

bool isBlank(const QByteArray &line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return quint8(c) <= 32; });
}

}  // namespace

std::vector<Paragraph> splitParagraphs(const QByteArray &text)
{
    std::vector<Paragraph> paragraphs;
    Paragraph current;
    int lineNumber = 0;
    for (const QByteArray &line : text.split('\n')) {
        ++lineNumber;
        const QByteArray content = line.endsWith('\r') ? line.chopped(1) : line;
        if (isBlank(content)) {
            if (!current.text.isEmpty())
                paragraphs.push_back(std::exchange(current, {}));
            continue;
        }
        if (current.text.isEmpty())
            current.firstLine = lineNumber;
        else
            current.text += kCrLf;
        current.text += content;
    }
    if (!current.text.isEmpty())
        paragraphs.push_back(current);
    return paragraphs;
}

}  // namespace letterloom::cli
