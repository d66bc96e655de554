#include "support/sanitized.h"
#include "text/font_description.h"
#include "text/layout.h"

#include <QTest>

#include <limits>
#include <malloc.h>

using namespace letterloom::text;

namespace {

// count words of `letters` x (2 pixels each), perLine to a line; every 13th
// is typed "$66x..." (3 pixels for the escape) and kept as "Bx...", every
// 17th but the last is empty. Returns the text and appends the words kept.
QByteArray wordsText(int count, int letters, int perLine, std::vector<std::pair<QByteArray, int>> &kept)
{
    QByteArray text;
    const QByteArray rest(letters - 1, 'x');
    for (int i = 0; i < count; ++i) {
        text += i == 0 ? "" : i % perLine == 0 ? "\r\n" : " ";
        const bool empty = i % 17 == 16 && i + 1 < count, escape = !empty && i % 13 == 6;
        text += empty ? "" : escape ? "$66" + rest : 'x' + rest;
        kept.push_back({empty ? "" : (escape ? 'B' : 'x') + rest, empty ? 0 : 2 * letters + escape});
    }
    return text;
}

}  // namespace

class TestLineTable : public QObject {
    Q_OBJECT

private slots:
    // Tables on either side of the sizes where the buffer of words (8 bytes
    // each), of their bytes or of lines (12 bytes each) reaches a large page,
    // laid out into a fresh table or one emptied by reuse() or clear() (which
    // gives the memory back): the words and widths typed, and the same table
    // as one grown word by word.
    void sameAcrossBufferSizes_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("letters");
        QTest::addColumn<int>("perLine");
        QTest::addColumn<QString>("before");  // "fresh", or "reused"/"cleared" after a longer/shorter text
        const struct { const char *name; int count, letters, perLine; } sizes[] = {
            {"empty", 0, 1, 1}, {"a few words", 5, 3, 2}, {"words one short of a large page", 262143, 1, 1000},
            {"words of a large page", 262144, 1, 1000}, {"words one past a large page", 262145, 1, 1000},
            {"bytes past a large page", 600000, 4, 700}, {"lines past a large page", 200000, 1, 1}};
        for (const auto &size : sizes)
            for (const char *before : {"fresh", "reused longer", "reused shorter", "cleared longer"})
                QTest::addRow("%s, %s", size.name, before) << size.count << size.letters << size.perLine << before;
    }
    void sameAcrossBufferSizes()
    {
        QFETCH(int, count);
        QFETCH(int, letters);
        QFETCH(int, perLine);
        QFETCH(QString, before);
        const letterloom::font::GlyphTable glyphs = letterloom::testing::fontFrom("x=2 B=3 $=1 6=1 32=1");
        std::vector<std::pair<QByteArray, int>> kept, other;
        const QByteArray text = wordsText(count, letters, perLine, kept);
        const QByteArray otherText = wordsText(before.endsWith("longer") ? count + 50000 : count / 2, 2, 7, other);
        constexpr int kMax = std::numeric_limits<int>::max();
        const auto heapInUse = [] { return mallinfo2().uordblks + mallinfo2().hblkhd; };
        const std::size_t heap = heapInUse();
        LineTable table;
        if (before != "fresh")
            LayoutText(otherText, kMax, kMax, 0, glyphs, table);
        before.startsWith("reused") ? table.reuse() : table.clear();
        QVERIFY(before.startsWith("reused") || heapInUse() <= heap + 4096);
        QCOMPARE(LayoutText(text, kMax, kMax, 0, glyphs, table), Notice::None);

        LineTable grown;
        std::size_t next = 0;
        bool same = table.size() == std::size_t(count + perLine - 1) / std::size_t(perLine);
        for (const TextLine &line : table) {
            grown.addLine();
            for (qsizetype w = 0; w < line.wordCount(); ++w, ++next) {
                same = same && next < kept.size() && line.word(w) == kept[next].first
                       && line.wordWidth(w) == kept[next].second;
                grown.addWord(line.word(w), line.wordWidth(w));
            }
            grown.setLineSums(line.lineWidth, line.gap);
        }
        QVERIFY(same && next == kept.size());
        QVERIFY(table == grown);

#ifndef LETTERLOOM_SANITIZED  // which stops a program that asks for more memory than there is
        LineTable unreserved;    // room the memory cannot give is no failure: the table grows as before
        unreserved.reserve(std::size_t(1) << 56, 1);
        QVERIFY(LayoutText(text, kMax, kMax, 0, glyphs, unreserved) == Notice::None && unreserved == table);
#endif
    }
};

QTEST_GUILESS_MAIN(TestLineTable)
#include "tst_line_table.moc"
