#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace letterloom::cli {

// A text as the text input window holds it: every byte kept, lines separated
// by CR LF. A bare LF (a line break written by most editors outside Windows)
// becomes CR LF; CR LF pairs and lone CRs stay as they are.
QByteArray withCrLf(const QByteArray &bytes);

// The bytes of a text file, line breaks made CR LF.
QByteArray readTextFile(const QString &path);

// One block of a text of many paragraphs.
struct Paragraph {
    int firstLine = 0;  // counted from 1
    QByteArray text;    // its lines joined with CR LF
};

// The blocks of a CR LF text separated by blank lines (lines of nothing but
// spaces, tabs and other control characters).
std::vector<Paragraph> splitParagraphs(const QByteArray &text);

}  // namespace letterloom::cli
