#pragma once

#include <QByteArray>


namespace letterloom::cli {

// One block of a text of many paragraphs.
struct Paragraph {
    int firstLine = 0;  // counted from 1
    QByteArray text;    // its lines joined with CR LF
};

// The blocks of a CR LF text separated by blank lines (lines of nothing but
// spaces, tabs and other control characters), one at a time, so that only
// one paragraph is held besides the text. Lines end at LF, a CR before it
// left out.
class ParagraphReader {
public:
    explicit ParagraphReader(const QByteArray &text) : text_(text) {}
    // The next paragraph; false after the last.
    bool next(Paragraph &paragraph);

private:
    const QByteArray &text_;
    qsizetype pos_ = 0;
    int lineNumber_ = 0;
    bool finished_ = false;
};

}  // namespace letterloom::cli
