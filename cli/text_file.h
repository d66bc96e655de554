#pragma once

#include <QByteArray>

#include <vector>

namespace letterloom::cli {

// One block of a text of many paragraphs.
struct Paragraph {
    int firstLine = 0;  // counted from 1
    QByteArray text;    // its lines joined with CR LF
};

// The blocks of a CR LF text separated by blank lines (lines of nothing but
// spaces, tabs and other control characters).
std::vector<Paragraph> splitParagraphs(const QByteArray &text);

}  // namespace letterloom::cli
