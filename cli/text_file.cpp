#include "text_file.h"

#include <algorithm>

namespace letterloom::cli {

namespace {

bool isBlank(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return quint8(c) <= 32; });
}

}  // namespace

bool ParagraphReader::next(Paragraph &paragraph)
{
    paragraph = {};
    while (!finished_) {
        qsizetype end = text_.indexOf('\n', pos_);
        if (end < 0) {
            end = text_.size();
            finished_ = true;
        }
        QByteArrayView content(text_.constData() + pos_, end - pos_);
        pos_ = end + 1;
        ++lineNumber_;
        if (content.endsWith('\r'))
            content.chop(1);
        if (isBlank(content)) {
            if (!paragraph.text.isEmpty())
                return true;
            continue;
        }
        if (paragraph.text.isEmpty())
            paragraph.firstLine = lineNumber_;
        else
            paragraph.text += "\r\n";
        paragraph.text += content;
    }
    return !paragraph.text.isEmpty();
}

}  // namespace letterloom::cli
