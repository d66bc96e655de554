#include "base/csv.h"

#include "base/error.h"

#include <QStringDecoder>

#include <utility>

namespace letterloom {

namespace {

bool endsField(char c)
{
    return c == ',' || c == '\r' || c == '\n';
}

}  // namespace

CsvReader::CsvReader(QByteArrayView utf8) : text_(utf8)
{
    if (text_.startsWith("\xEF\xBB\xBF"))
        text_ = text_.sliced(3);
}

qsizetype CsvReader::record(qsizetype i, int row,
                            const std::function<void(qsizetype, QByteArrayView)> *field) const
{
    const qsizetype end = text_.size();
    for (qsizetype column = 0;; ++column) {
        if (i < end && text_[i] == '"') {
            const qsizetype start = ++i;
            bool doubled = false;
            for (;;) {
                const qsizetype quote = text_.sliced(i).indexOf('"');
                if (quote < 0)
                    throw Error(QStringLiteral("Row %1: a quoted field is never closed").arg(row));
                i += quote;
                if (i + 1 < end && text_[i + 1] == '"') {
                    doubled = true;
                    i += 2;
                    continue;
                }
                break;
            }
            if (field && !doubled) {
                (*field)(column, text_.sliced(start, i - start));
            } else if (field) {
                unquoted_.clear();
                unquoted_.reserve(i - start);
                for (qsizetype j = start; j < i; ++j) {
                    unquoted_ += text_[j];
                    j += text_[j] == '"';  // the second of a pair
                }
                (*field)(column, unquoted_);
            }
            ++i;
            if (i < end && !endsField(text_[i]))
                throw Error(QStringLiteral("Row %1: a quoted field goes on after its closing quote").arg(row));
        } else {
            const qsizetype start = i;
            while (i < end && !endsField(text_[i]))
                ++i;
            if (field)
                (*field)(column, text_.sliced(start, i - start));
        }
        if (i < end && text_[i] == ',') {
            ++i;
            continue;
        }
        // The end of a record: CR LF, LF, CR or the end of the text.
        if (i < end && text_[i] == '\r') {
            ++i;
            if (i < end && text_[i] == '\n')
                ++i;
        } else if (i < end && text_[i] == '\n') {
            ++i;
        }
        return i;
    }
}

void CsvReader::check() const
{
    for (qsizetype at = at_, row = row_ + 1; at < text_.size(); ++row)
        at = record(at, int(row), nullptr);
}

bool CsvReader::next(const std::function<void(qsizetype, QByteArrayView)> &field)
{
    if (at_ >= text_.size())
        return false;
    ++row_;
    at_ = record(at_, row_, &field);
    return true;
}

QString csvFieldText(QByteArrayView utf8)
{
    if (!utf8.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(utf8);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder(utf8);
}

std::vector<QStringList> readCsv(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    CsvReader reader(utf8);
    reader.check();
    std::vector<QStringList> records;
    QStringList record;
    while (reader.next([&record](qsizetype, QByteArrayView field) { record << csvFieldText(field); }))
        records.push_back(std::exchange(record, {}));
    return records;
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
