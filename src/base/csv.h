#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace letterloom {

// Comma-separated values as RFC 4180 has them, the way spreadsheets write
// them: records end at CR LF (a bare LF or CR does too), fields are split
// at commas, and a field in double quotes may hold commas, line breaks and
// doubled quotes ("" for one "). A quote inside an unquoted field is taken
// as it stands; a line break at the very end makes no further record.

// Every record of text in order, a blank line as one empty field, so that
// record i is the spreadsheet's row i + 1. A leading byte-order mark is
// skipped. Throws "Row N: ..." for a quoted field that is never closed or
// that goes on after its closing quote.
std::vector<QStringList> readCsv(const QString &text);

// One record, its fields quoted where they hold a comma, a quote or a line
// break (or start with a byte-order mark), ended by CR LF.
QString csvRecord(const QStringList &fields);

}  // namespace letterloom
