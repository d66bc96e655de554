#include "text/layout.h"

#include "support/sanitized.h"
#include "text/font_description.h"

#include <QTest>

#include <limits>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace letterloom;
using namespace letterloom::text;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// count words of `letters` x (2 pixels), perLine to a line: every 13th has an
// escape ("$66", 3 pixels as typed, "B" in the table), every 17th but the
// last is empty.
struct Words {
    QByteArray text;
    std::vector<std::pair<QByteArray, std::int32_t>> stored;
    Words(int count, int letters, int perLine)
    {
        for (int i = 0; i < count; ++i) {
            const QByteArray rest(letters - 1, 'x');
            if (i > 0)
                text += i % perLine == 0 ? "\r\n" : " ";
            if (i % 17 == 16 && i + 1 < count)
                stored.push_back({});
            else if (i % 13 == 6)
                stored.push_back({"B" + rest, 3 + 2 * (letters - 1)}), text += "$66" + rest;
            else
                stored.push_back({'x' + rest, 2 * letters}), text += 'x' + rest;
        }
    }
};

std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

std::size_t addressSpaceInUse()
{
    std::size_t pages = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%zu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    return pages * std::size_t(sysconf(_SC_PAGESIZE));
}

}  // namespace

class TestLineTable : public QObject {
    Q_OBJECT

private slots:
    // Tables on either side of the sizes where a buffer of words (8 bytes
    // each), of their bytes or of lines (12 bytes each) passes a large page,
    // laid out into a fresh table, one emptied by reuse() or by clear(): the
    // same words and widths, and the same table as one grown word by word.
    void sameAcrossBufferSizes_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("letters");
        QTest::addColumn<int>("perLine");
        QTest::addColumn<QString>("before");  // what the table held: "", "reused"/"cleared" + "longer"/"shorter"
        const struct { const char *name; int count, letters, perLine; } sizes[] = {
            {"empty", 0, 1, 1},
            {"a few words", 5, 3, 2},
            {"words one short of a large page", 262143, 1, 1000},
            {"words of a large page", 262144, 1, 1000},
            {"words one past a large page", 262145, 1, 1000},
            {"bytes past a large page", 600000, 4, 700},
            {"lines past a large page", 200000, 1, 1},
        };
        for (const auto &size : sizes)
            for (const char *before : {"", "reused longer", "reused shorter", "cleared longer"})
                QTest::addRow("%s, %s", size.name, *before ? before : "fresh")
                    << size.count << size.letters << size.perLine << QString(before);
    }
    void sameAcrossBufferSizes()
    {
        QFETCH(int, count);
        QFETCH(int, letters);
        QFETCH(int, perLine);
        QFETCH(QString, before);
        const font::GlyphTable glyphs = testing::fontFrom("x=2 B=3 $=1 6=1 32=1");
        const Words words(count, letters, perLine);
        LineTable table;
        if (!before.isEmpty()) {
            const Words other(before.endsWith("longer") ? count + 50000 : count / 2, letters + 1, perLine);
            const std::size_t heap = heapInUse();
            QCOMPARE(LayoutText(other.text, kMax, kMax, 0, glyphs, table), Notice::None);
            if (before.startsWith("reused")) {
                table.reuse();
            } else {
                table.clear();  // and the memory goes with it
                QVERIFY(heapInUse() <= heap + 4096);
            }
        }
        QCOMPARE(LayoutText(words.text, kMax, kMax, 0, glyphs, table), Notice::None);

        LineTable grown;
        std::size_t next = 0;
        bool stored = table.size() == std::size_t(count + perLine - 1) / std::size_t(perLine);
        for (const TextLine &line : table) {
            grown.addLine();
            for (qsizetype w = 0; w < line.wordCount(); ++w, ++next) {
                stored = stored && next < words.stored.size() && line.word(w) == words.stored[next].first
                         && line.wordWidth(w) == words.stored[next].second;
                grown.addWord(line.word(w), line.wordWidth(w));
            }
            grown.setLineSums(line.lineWidth, line.gap);
        }
        QVERIFY(stored && next == words.stored.size());
        QVERIFY(table == grown);
    }

    // 40 million empty words in an area of a few lines, in an address space
    // with no room for the 320 MB their records would take: the layout
    // still runs and places what a short text of the same start places.
    void layoutWithoutRoomForEveryWord()
    {
#ifdef LETTERLOOM_SANITIZED
        QSKIP("The sanitizers reserve terabytes of address space: no limit on it can be set here");
#endif
        const font::GlyphTable glyphs = testing::fontFrom("x=2 32=1");
        const QByteArray text = 'x' + QByteArray(40000000, ' ') + 'x';
        LineTable expected, table;
        const Notice notice = LayoutText('x' + QByteArray(1000, ' ') + 'x', 24, 30, 0, glyphs, expected);
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_AS, &limit), 0);
        const rlim_t before = limit.rlim_cur;
        limit.rlim_cur = addressSpaceInUse() + (rlim_t(64) << 20);
        QCOMPARE(setrlimit(RLIMIT_AS, &limit), 0);
        const Notice got = LayoutText(text, 24, 30, 0, glyphs, table);
        limit.rlim_cur = before;
        QCOMPARE(setrlimit(RLIMIT_AS, &limit), 0);
        QCOMPARE(got, notice);
        QCOMPARE(table.size(), std::size_t(14));
        QVERIFY(table == expected);
    }
};

QTEST_GUILESS_MAIN(TestLineTable)
#include "tst_line_table.moc"
