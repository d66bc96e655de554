#include "text/layout.h"

#include "text/font_description.h"

#include <QTest>

#include <algorithm>
#include <limits>

using namespace letterloom;
using namespace letterloom::text;
using letterloom::testing::describe;
using letterloom::testing::fontFrom;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

const QString kWidthNotice = QStringLiteral("Text does not fit in the specified area by width!");
const QString kHeightNotice = QStringLiteral("Text does not fit in the specified area by height!");

// Letters 10 wide, spaces 5: the font of most layouts below.
const QString kFont = QStringLiteral("x=10 32=5");

}  // namespace

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    void layout_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("notice");

        const QString one = "[xx] 20 L25 g0";
        const QString full = "[xx] 20 L20 g0";  // fills a 24-wide area without spaces
        const QString empty = "- - L0 g0";
        QTest::newRow("three words, one line") << kFont << QByteArray("xx xxx x") << 100 << 100 << 10
                                               << QStringList{"[xx][xxx][x] 20,30,10 L75 g18"} << "";
        QTest::newRow("one word has no gap") << kFont << QByteArray("xx") << 1000 << 100 << 10 << QStringList{one} << "";
        QTest::newRow("two spaces: empty word") << kFont << QByteArray("xx  x") << 100 << 100 << 10
                                                << QStringList{"[xx][][x] 20,0,10 L45 g33"} << "";
        QTest::newRow("space before CR LF") << kFont << QByteArray("xx \r\nx") << 100 << 100 << 10
                                            << QStringList{"[xx][] 20,0 L30 g76", "[x] 10 L15 g0"} << "";
        QTest::newRow("space after CR LF") << kFont << QByteArray("xx\r\n x") << 100 << 100 << 10
                                           << QStringList{one, "[][x] 0,10 L20 g86"} << "";
        QTest::newRow("two CR LF in a row") << kFont << QByteArray("xx\r\n\r\nx") << 100 << 100 << 10
                                            << QStringList{one, "[] 0 L5 g0", "[x] 10 L15 g0"} << "";
        QTest::newRow("lone LF inside a word") << "x=10 32=5 10=3" << QByteArray("x\nx x") << 100 << 100 << 10
                                               << QStringList{"[x<10>x][x] 23,10 L43 g63"} << "";
        QTest::newRow("lone CR inside a word") << "x=10 32=5 13=4" << QByteArray("x\rx") << 100 << 100 << 10
                                               << QStringList{"[x<13>x] 24 L29 g0"} << "";
        QTest::newRow("text trimmed") << kFont << QByteArray("\t\r\n  xx \x01\r\n") << 100 << 100 << 10
                                      << QStringList{one} << "";
        QTest::newRow("word ends trimmed, inside kept") << "x=10 32=5 09=2" << QByteArray("x\t x\tx") << 100 << 100
                                                        << 10 << QStringList{"[x][x<9>x] 10,22 L42 g64"} << "";
        QTest::newRow("empty text") << kFont << QByteArray() << 100 << 100 << 10 << QStringList{} << "";
        QTest::newRow("blank text") << kFont << QByteArray(" \r\n\t ") << 100 << 100 << 10 << QStringList{} << "";
        QTest::newRow("0 x 0 area") << kFont << QByteArray("x") << 0 << 0 << 10 << QStringList{} << kWidthNotice;
        QTest::newRow("area narrower than 4, word of width 0") << kFont << QByteArray("y") << 3 << 100 << 10
                                                               << QStringList{} << kWidthNotice;
        QTest::newRow("too wide a word stops layout") << kFont << QByteArray("x xxxxxxxxxx x") << 100 << 100 << 10
                                                      << QStringList{"[x] 10 L15 g0"} << kWidthNotice;
        QTest::newRow("word of W - 4 without space width") << "x=10" << QByteArray("xx") << 24 << 100 << 10
                                                           << QStringList{full} << "";
        // A word that passes the width check but not even a fresh line: one
        // empty record for every line wrapping may still start (pitch 12,
        // H - 4 = 96: lines up to 8).
        QTest::newRow("never-fitting first word") << kFont << QByteArray("xx") << 24 << 100 << 10
                                                  << QStringList(9, empty) << kHeightNotice;
        QTest::newRow("never-fitting later word") << kFont << QByteArray("x xx") << 24 << 100 << 10
                                                  << QStringList{"[x] 10 L15 g0"} + QStringList(8, empty)
                                                  << kHeightNotice;
        QTest::newRow("never-fitting word after CR LF") << kFont << QByteArray("x\r\nxx x") << 24 << 30 << 10
                                                        << QStringList{"[x] 10 L15 g0", empty, empty}
                                                        << kHeightNotice;
        QTest::newRow("never-fitting word, no line left") << kFont << QByteArray("x xx") << 24 << 15 << 10
                                                          << QStringList{"[x] 10 L15 g0"} << kHeightNotice;
        QTest::newRow("never-fitting word, area lower than 4") << kFont << QByteArray("xx") << 24 << 3 << 10
                                                               << QStringList{empty} << kHeightNotice;
        QTest::newRow("last word wraps") << kFont << QByteArray("xx xx") << 44 << 100 << 10
                                         << QStringList{one, one} << "";
        QTest::newRow("wrapping stops at H 30") << "x=10" << QByteArray("xx xx xx xx") << 24 << 30 << 10
                                                << QStringList{full, full, full} << kHeightNotice;
        QTest::newRow("CR LF skips the height check") << "x=10" << QByteArray("xx\r\nxx\r\nxx\r\nxx") << 24 << 30
                                                      << 10 << QStringList{full, full, full, full} << "";
        QTest::newRow("undefined space with a width counts 0") << "x=10 32~7" << QByteArray("xx x") << 100 << 100
                                                               << 10 << QStringList{"[xx][x] 20,10 L30 g66"} << "";
        QTest::newRow("undefined glyph counts 0") << "x=10 y~9" << QByteArray("xyx") << 100 << 100 << 10
                                                  << QStringList{"[xyx] 20 L20 g0"} << "";
        QTest::newRow("escapes resolved after measuring") << "A=7 $=1 6=1 5=1 B=4" << QByteArray("A$65B") << 100
                                                          << 100 << 10 << QStringList{"[AAB] 14 L14 g0"} << "";

        // Values from a project file that the layout must survive.
        QTest::newRow("pitch 0, never-fitting word") << kFont << QByteArray("xx") << 24 << 1000 << -2
                                                     << QStringList{empty} << kHeightNotice;
        QTest::newRow("pitch 1, tallest area") << kFont << QByteArray("x xx") << 24 << kMax << -1
                                               << QStringList{"[x] 10 L15 g0", empty} << kHeightNotice;
        QTest::newRow("negative pitch still wraps") << "x=10" << QByteArray("xx xx xx") << 24 << 10 << -5
                                                    << QStringList{full, full, full} << "";
        QTest::newRow("pitch past 32 bits") << "x=10" << QByteArray("xx xx") << 24 << kMax << kMax
                                            << QStringList{full} << kHeightNotice;
        QTest::newRow("height check past 32 bits") << "x=10" << QByteArray("xx xx xx") << 24 << kMax << (1 << 30)
                                                   << QStringList{full, full} << kHeightNotice;
        QTest::newRow("lowest area and spacing") << "x=10" << QByteArray("xx xx") << 24 << kMin << kMin
                                                 << QStringList{full} << kHeightNotice;
        QTest::newRow("lowest area width") << kFont << QByteArray("x") << kMin << 100 << 10 << QStringList{}
                                           << kWidthNotice;
        const QByteArray huge(300000, 'w');  // 4096 x 300000: more than half the 32-bit range
        const QString hugeLine = "[300000 chars] 1228800000 L1228800000 g0";
        QTest::newRow("line widths past 32 bits") << "w=4096" << huge + ' ' + huge << kMax << kMax << 10
                                                  << QStringList{hugeLine, hugeLine} << "";
    }

    void layout()
    {
        QFETCH(QString, font);
        QFETCH(QByteArray, text);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, spacing);
        QFETCH(QStringList, lines);
        QFETCH(QString, notice);

        LineTable table;
        const Notice result = LayoutText(text, width, height, spacing, fontFrom(font), table);
        QCOMPARE(describe(table), lines);
        QCOMPARE(noticeText(result), notice);
    }

    // Never-fitting words whose empty records run into the thousands: only
    // their number is compared. Where the lines would never end, or there
    // would be more than kMaxEmptyLines, the first empty record stays alone.
    void neverFittingWordCount_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<qsizetype>("records");

        const int bound = int(kMaxEmptyLines);
        QTest::newRow("pitch 1") << QByteArray("xx") << 4 + 5000 << -1 << qsizetype(5001);
        QTest::newRow("pitch 1, after a placed word") << QByteArray("x xx") << 4 + 5000 << -1 << qsizetype(5001);
        QTest::newRow("pitch 3, rounded down") << QByteArray("xx") << 4 + 3000 + 2 << 1 << qsizetype(1001);
        QTest::newRow("as many as the bound") << QByteArray("xx") << 4 + bound - 1 << -1 << qsizetype(bound);
        QTest::newRow("one more than the bound") << QByteArray("xx") << 4 + bound << -1 << qsizetype(1);
        QTest::newRow("pitch 0 never ends") << QByteArray("xx") << kMax << -2 << qsizetype(1);
        QTest::newRow("negative pitch never ends") << QByteArray("x xx") << 1000 << -7 << qsizetype(2);
    }

    void neverFittingWordCount()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, height);
        QFETCH(int, spacing);
        QFETCH(qsizetype, records);

        LineTable table;
        QCOMPARE(LayoutText(text, 24, height, spacing, fontFrom(kFont), table), Notice::Height);
        QCOMPARE(qsizetype(table.size()), records);
        const qsizetype placed = text.contains(' ') ? 1 : 0;
        const auto empty = std::count_if(table.begin(), table.end(), [](const TextLine &line) {
            return line.wordCount() == 0 && line.lineWidth == 0 && line.gap == 0;
        });
        QCOMPARE(qsizetype(empty), records - placed);
    }

    void wordWidth_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("width");

        QTest::newRow("empty") << kFont << QByteArray() << 0;
        QTest::newRow("defined glyphs") << "x=10 y=3" << QByteArray("xyx") << 23;
        QTest::newRow("undefined glyphs count 0") << "x=10 y~3" << QByteArray("xyx") << 20;
        QTest::newRow("space defined") << kFont << QByteArray(" ") << 5;
        QTest::newRow("space undefined") << "32~7" << QByteArray(" ") << 0;
        QTest::newRow("beyond 32 bits saturates") << "w=4096" << QByteArray(600000, 'w') << kMax;
    }

    void wordWidth()
    {
        QFETCH(QString, font);
        QFETCH(QByteArray, text);
        QFETCH(int, width);
        QCOMPARE(WordWidth(text, fontFrom(font)), width);
    }

    void escapes_data()
    {
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QByteArray>("stored");

        QTest::newRow("$$") << QByteArray("$$") << QByteArray("$");
        QTest::newRow("A$65B") << QByteArray("A$65B") << QByteArray("AAB");
        QTest::newRow("$07") << QByteArray("$07") << QByteArray("\x07");
        QTest::newRow("$00") << QByteArray("$00") << QByteArray(1, '\0');
        QTest::newRow("x$5") << QByteArray("x$5") << QByteArray("x\x05");
        QTest::newRow("$5x") << QByteArray("$5x") << QByteArray("$5x");
        QTest::newRow("$$65") << QByteArray("$$65") << QByteArray("$65");
        QTest::newRow("$$$") << QByteArray("$$$") << QByteArray("$$");
        QTest::newRow("x$") << QByteArray("x$") << QByteArray("x$");
        QTest::newRow("$") << QByteArray("$") << QByteArray("$");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("escape at both ends") << QByteArray("$66x$67") << QByteArray("BxC");
        QTest::newRow("produced $ starts nothing") << QByteArray("$3665") << QByteArray("$65");
        QTest::newRow("produced space stays inside") << QByteArray("a$32b") << QByteArray("a b");
        QTest::newRow("three digits") << QByteArray("$123") << QByteArray("\x0c" "3");
    }

    void escapes()
    {
        QFETCH(QByteArray, typed);
        QFETCH(QByteArray, stored);
        QCOMPARE(ResolveEscapes(typed), stored);
    }
};

QTEST_GUILESS_MAIN(TestLayout)
#include "tst_layout.moc"
