#include "text/decimal.h"

#include <QTest>

using namespace letterloom::text;

class TestDecimal : public QObject {
    Q_OBJECT

private slots:
    void digits_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("allDigits");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << QByteArray() << false << 0;
        QTest::newRow("0") << QByteArray("0") << true << 0;
        QTest::newRow("00") << QByteArray("00") << true << 0;
        QTest::newRow("07") << QByteArray("07") << true << 7;
        QTest::newRow("99") << QByteArray("99") << true << 99;
        QTest::newRow("2147483647") << QByteArray("2147483647") << true << 2147483647;
        QTest::newRow("2147483648") << QByteArray("2147483648") << true << 2147483647;
        QTest::newRow("many digits") << QByteArray(40, '9') << true << 2147483647;
        QTest::newRow("leading zeros") << QByteArray("0000000000000000000012") << true << 12;
        QTest::newRow("12a") << QByteArray("12a") << false << 0;
        QTest::newRow("blank before") << QByteArray(" 12") << false << 0;
        QTest::newRow("blank after") << QByteArray("12 ") << false << 0;
        QTest::newRow("+5") << QByteArray("+5") << false << 0;
        QTest::newRow("-5") << QByteArray("-5") << false << 0;
        QTest::newRow("1.5") << QByteArray("1.5") << false << 0;
        QTest::newRow("byte 0xB2") << QByteArray("1\xB2") << false << 0;
    }
    void digits()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, allDigits);
        QFETCH(int, value);
        QCOMPARE(IsAllDigits(text), allDigits);
        QCOMPARE(DigitsToInt(text), value);
    }

    void choose()
    {
        QCOMPARE(Choose(true, 5, 1), 5);
        QCOMPARE(Choose(false, 5, 1), 1);
        QCOMPARE(Choose(true, QByteArray("0"), QByteArray("")), QByteArray("0"));
    }
};

QTEST_GUILESS_MAIN(TestDecimal)
#include "tst_decimal.moc"
