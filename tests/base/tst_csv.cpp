#include "base/csv.h"
#include "base/error.h"

#include <QTest>

using namespace letterloom;

using Records = std::vector<QStringList>;
Q_DECLARE_METATYPE(Records)

class TestCsv : public QObject {
    Q_OBJECT

private slots:
    // Records as a spreadsheet writes them; "|" separates the fields of
    // one record in the expected rows.
    void read_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("error");
        QTest::newRow("CR LF records") << "area,text\r\n1,Hello\r\n" << QStringList{"area|text", "1|Hello"} << "";
        QTest::newRow("LF and lone CR, no break at the end") << "a,b\nc,d\re" << QStringList{"a|b", "c|d", "e"} << "";
        QTest::newRow("comma inside quotes") << "1,\"Yes, sir\"" << QStringList{"1|Yes, sir"} << "";
        QTest::newRow("doubled quotes") << "\"say \"\"hi\"\"\",\"\"\"\"" << QStringList{"say \"hi\"|\""} << "";
        QTest::newRow("line breaks inside quotes kept as they are")
            << "1,\"one\r\ntwo\nthree\"\r\n2,x" << QStringList{"1|one\r\ntwo\nthree", "2|x"} << "";
        QTest::newRow("empty fields and a blank line")
            << ",,\r\n\r\n\"\"," << QStringList{"||", "", "|"} << "";
        QTest::newRow("a quote inside an unquoted field stands") << "5 \"in\",x" << QStringList{"5 \"in\"|x"} << "";
        QTest::newRow("byte-order mark skipped") << u"\uFEFFarea"_qs << QStringList{"area"} << "";
        QTest::newRow("only the first byte-order mark skipped") << u"\uFEFF\uFEFFa,\uFEFF"_qs
                                                                << QStringList{u"\uFEFFa|\uFEFF"_qs} << "";
        QTest::newRow("a long field with doubled quotes, then more")
            << "\"" + QString("ab\"\"").repeated(1000) + "\",\"\"\"\"\r\n\"\"\"x\"\"\""
            << QStringList{QString("ab\"").repeated(1000) + "|\"", "\"x\""} << "";
        QTest::newRow("nothing at all") << "" << QStringList{} << "";
        QTest::newRow("quote never closed") << "a\r\nb,\"open\r\nstill" << QStringList{}
                                            << "Row 2: a quoted field is never closed";
        QTest::newRow("quote never closed after doubled quotes") << "a,\"\"\"\"\"\r\n" << QStringList{}
                                                                 << "Row 1: a quoted field is never closed";
        QTest::newRow("text after the closing quote") << "a\r\n\"x\"y,z" << QStringList{}
                                                      << "Row 2: a quoted field goes on after its closing quote";
    }

    void read()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        QFETCH(QString, error);
        try {
            QStringList got;
            for (const QStringList &record : readCsv(text))
                got << record.join(u'|');
            QVERIFY(error.isEmpty());
            QCOMPARE(got, rows);
        } catch (const Error &failure) {
            QCOMPARE(failure.message(), error);
        }
    }

    // The reader hands out each field with its column and row; a check of
    // the whole text first hands out nothing and leaves the reader at its start.
    void readerHandsOutFields_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("fields");  // "row:column=field"
        QTest::newRow("records of several shapes")
            << QByteArray("a,b\r\n\"x\"\"y\",,z\n\r\n\"\"")
            << QStringList{"1:0=a", "1:1=b", "2:0=x\"y", "2:1=", "2:2=z", "3:0=", "4:0="};
        QTest::newRow("a byte-order mark, then a line break inside quotes")
            << QByteArray("\xEF\xBB\xBF\"1\r\n2\",\xC3\xA9")
            << QStringList{"1:0=1\r\n2", u"1:1=\u00E9"_qs};
    }

    void readerHandsOutFields()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, fields);
        CsvReader reader(text);
        reader.check();
        QStringList got;
        while (reader.next([&](qsizetype column, QByteArrayView field) {
            got << QStringLiteral("%1:%2=%3").arg(reader.row()).arg(column).arg(csvFieldText(field));
        }))
            ;
        QCOMPARE(got, fields);
    }

    // What csvRecord writes, readCsv reads back field for field.
    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << QStringList{"1", "Hello"} << "1,Hello\r\n";
        QTest::newRow("comma, quote, line break")
            << QStringList{"a,b", "say \"hi\"", "one\r\ntwo", "lone\rcr"}
            << "\"a,b\",\"say \"\"hi\"\"\",\"one\r\ntwo\",\"lone\rcr\"\r\n";
        QTest::newRow("empty last field") << QStringList{"3", ""} << "3,\r\n";
        QTest::newRow("a leading byte-order mark kept") << QStringList{u"\uFEFFa"_qs, "b"} << u"\"\uFEFFa\",b\r\n"_qs;
    }

    void roundTrip()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, written);
        QCOMPARE(csvRecord(fields), written);
        QCOMPARE(readCsv(written + written), (Records{fields, fields}));
    }
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
