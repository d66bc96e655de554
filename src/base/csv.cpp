#include "base/csv.h"

#include "base/error.h"

namespace letterloom {

std::vector<QStringList> readCsv(const QString &text)
{
    std::vector<QStringList> records;
    QStringList record;
    QString field;
    qsizetype i = text.startsWith(u'\uFEFF') ? 1 : 0;
    const qsizetype end = text.size();
    if (i == end)
        return records;
    const auto row = [&records] { return int(records.size()) + 1; };
    for (;;) {
        if (i < end && text[i] == u'"') {
            const int startRow = row();
            ++i;
            for (;;) {
                if (i == end)
                    throw Error(QStringLiteral("Row %1: a quoted field is never closed").arg(startRow));
                if (text[i] == u'"') {
                    if (i + 1 < end && text[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            if (i < end && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n')
                throw Error(QStringLiteral("Row %1: a quoted field goes on after its closing quote").arg(startRow));
        } else {
            while (i < end && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n')
                field += text[i++];
        }
        record << field;
        field.clear();
        if (i < end && text[i] == u',') {
            ++i;
            continue;
        }
        // The end of a record: CR LF, LF, CR or the end of the text.
        records.push_back(record);
        record.clear();
        if (i < end && text[i] == u'\r') {
            ++i;
            if (i < end && text[i] == u'\n')
                ++i;
        } else if (i < end && text[i] == u'\n') {
            ++i;
        }
        if (i >= end)
            return records;
    }
}

QString csvRecord(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &field : fields) {
        // A leading byte-order mark is quoted too, or a reader would skip it.
        if (field.contains(u',') || field.contains(u'"') || field.contains(u'\r') || field.contains(u'\n')
            || field.startsWith(u'\uFEFF'))
            quoted << u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"';
        else
            quoted << field;
    }
    return quoted.join(u',') + QStringLiteral("\r\n");
}

}  // namespace letterloom
