#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace letterloom {

// Comma-separated values as RFC 4180 has them, the way spreadsheets write
// them: records end at CR LF (a bare LF or CR does too), fields are split
// at commas, and a field in double quotes may hold commas, line breaks and
// doubled quotes ("" for one "). A quote inside an unquoted field is taken
// as it stands; a line break at the very end makes no further record.

// Reads the records of UTF-8 text one at a time, in place: a field is handed
// out as a view of the text (only a quoted field with doubled quotes is
// copied, into one buffer the reader reuses), so a table of any shape costs
// no more than its largest field. A leading byte-order mark is skipped.
class CsvReader {
public:
    explicit CsvReader(QByteArrayView utf8);

    // Walks the whole text without handing out anything and throws "Row N:
    // ..." for a quoted field that is never closed or that goes on after its
    // closing quote, so that a table is refused before any of it is used.
    void check() const;

    // Calls field(column, bytes) for every field of the next record, columns
    // counted from 0 (a blank line is one empty field); false when no record
    // is left. The bytes are valid until the next call.
    bool next(const std::function<void(qsizetype, QByteArrayView)> &field);

    // The spreadsheet's row of the record next read last: 1 for the first.
    int row() const { return row_; }

private:
    // The record that starts at at: its fields to field (when given), the
    // position after it; throws for a broken quoted field.
    qsizetype record(qsizetype at, int row, const std::function<void(qsizetype, QByteArrayView)> *field) const;

    QByteArrayView text_;
    qsizetype at_ = 0;
    int row_ = 0;
    mutable QByteArray unquoted_;
};

// The text of a field's UTF-8 bytes; a byte-order mark at its start is kept
// as the character it is.
QString csvFieldText(QByteArrayView utf8);

// Every record of text in order, a blank line as one empty field, so that
// record i is the spreadsheet's row i + 1. A leading byte-order mark is
// skipped. Throws "Row N: ..." for a quoted field that is never closed or
// that goes on after its closing quote.
std::vector<QStringList> readCsv(const QString &text);

// One record, its fields quoted where they hold a comma, a quote or a line
// break (or start with a byte-order mark), ended by CR LF.
QString csvRecord(const QStringList &fields);

}  // namespace letterloom
