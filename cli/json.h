#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace letterloom::cli {

// Pieces of JSON text, written by hand so that object keys keep the order
// in which the tool documents them.

// A JSON string of 8-bit characters: byte n becomes the character U+00n, so
// the text's codes read back exactly whatever the code page.
QByteArray jsonBytes(const QByteArray &bytes);
// The same string appended to out.
void appendJsonBytes(QByteArray &out, QByteArrayView bytes);
// A JSON string of text.
QByteArray jsonText(const QString &text);

// "[a, b, c]" from count items, item(i) writing item i; separator goes
// between two items.
QByteArray jsonList(qsizetype count, const std::function<QByteArray(qsizetype)> &item,
                    const QByteArray &separator = ", ");

}  // namespace letterloom::cli
