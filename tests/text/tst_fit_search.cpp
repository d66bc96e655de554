#include "text/fit_search.h"

#include "support/split_mix.h"
#include "text/font_description.h"

#include <QTest>

#include <climits>

using namespace letterloom;
using namespace letterloom::text;
using letterloom::testing::describe;
using letterloom::testing::fontFrom;

namespace {

// The order of the search written out as plain loops, from its description.
std::vector<FitSetting> referenceOrder(const FitSetting &current, int floor, const font::GlyphTable &glyphs)
{
    std::vector<FitSetting> order{current};
    for (int ls = current.lineSpacing - 1; ls >= floor; --ls)
        order.push_back({ls, current.spacing});
    const int ls = std::min(current.lineSpacing, floor);
    for (int t = current.spacing.tracking - 1; t >= -1; --t)
        order.push_back({ls, {t, current.spacing.wordSpacing}});
    const int t = std::min(current.spacing.tracking, -1);
    const int space = glyphs[32].defined ? glyphs[32].width : 0;
    for (int w = current.spacing.wordSpacing - 1; w >= kMinWordSpacing && space + w >= 1; --w)
        order.push_back({ls, {t, w}});
    return order;
}

Notice fresh(const QByteArray &text, int width, int height, const FitSetting &setting,
             const font::GlyphTable &glyphs, const font::Kerning &kerning)
{
    LineTable lines;
    return LayoutText(text, width, height, setting.lineSpacing, glyphs, lines, setting.spacing, &kerning);
}

QString shown(const FitSetting &setting)
{
    return QStringLiteral("%1,%2,%3").arg(setting.lineSpacing).arg(setting.spacing.tracking).arg(setting.spacing.wordSpacing);
}

QString shown(const FitResult &result)
{
    if (!result.found)
        return QStringLiteral("none ") + (result.notice == Notice::Width ? "width" : "height");
    return shown(result.setting);
}

// A random font of a few glyphs (the space among them), kerning pairs, and
// a text of words of them, with line breaks and double spaces.
struct RandomCase {
    font::GlyphTable glyphs;
    font::Kerning kerning;
    int width = 0;
    int height = 0;
    FitSetting current;
    int floor = 0;

    explicit RandomCase(testing::SplitMix &random)
    {
        for (char c : QByteArray("abV ")) {
            glyphs.setGlyphSize(uchar(c), 1, 1);
            glyphs[uchar(c)].width = random.range(0, 7);
            glyphs[uchar(c)].defined = !random.chance(10);
        }
        std::vector<font::KerningPair> pairs;
        for (int i = random.range(0, 3); i > 0; --i)
            pairs.push_back({uchar("abV"[random.range(0, 2)]), uchar("abV"[random.range(0, 2)]), random.range(-3, 3)});
        kerning = font::Kerning(pairs);
        width = random.range(4, 70);
        height = random.range(4, 60);
        current = {random.range(0, 14), {random.range(-3, 4), random.range(-3, 4)}};
        floor = random.chance(50) ? defaultFitFloor(current.lineSpacing) : random.range(0, 16);
    }

    QByteArray text(testing::SplitMix &random) const
    {
        QByteArray out;
        for (int i = random.range(0, 30); i > 0; --i)
            out += random.chance(8) ? QByteArray("\r\n") : QByteArray(1, "abV  "[random.range(0, 4)]);
        return out;
    }
};

}  // namespace

class TestFitSearch : public QObject {
    Q_OBJECT

private slots:
    void candidates_data()
    {
        QTest::addColumn<int>("lineSpacing");
        QTest::addColumn<int>("tracking");
        QTest::addColumn<int>("wordSpacing");
        QTest::addColumn<int>("floor");  // -100: the default
        QTest::addColumn<QString>("font");
        QTest::addColumn<QStringList>("order");

        QTest::newRow("every step") << 10 << 0 << 0 << -100 << "32=3"
                                    << QStringList{"10,0,0", "9,0,0", "8,0,0", "7,0,0", "6,0,0", "6,-1,0", "6,-1,-1",
                                                   "6,-1,-2"};
        QTest::newRow("floor not below 0") << 3 << 1 << 0 << -100 << "32=1"
                                           << QStringList{"3,1,0", "2,1,0", "1,1,0", "0,1,0", "0,0,0", "0,-1,0"};
        QTest::newRow("floor above the current") << 10 << -3 << 2 << 12 << ""
                                                 << QStringList{"10,-3,2", "10,-3,1"};
        QTest::newRow("word spacing at its least") << 5 << 0 << -8 << 5 << "32=20"
                                                   << QStringList{"5,0,-8", "5,-1,-8"};
        QTest::newRow("undefined space") << 4 << -1 << 3 << 3 << "32~6"
                                         << QStringList{"4,-1,3", "3,-1,3", "3,-1,2", "3,-1,1"};
        QTest::newRow("negative spacing kept") << -2 << -1 << 0 << -100 << "32=1"
                                               << QStringList{"-2,-1,0"};
    }

    void candidates()
    {
        QFETCH(int, lineSpacing);
        QFETCH(int, tracking);
        QFETCH(int, wordSpacing);
        QFETCH(int, floor);
        QFETCH(QString, font);
        QFETCH(QStringList, order);

        const font::GlyphTable glyphs = fontFrom(font);
        const FitSetting current{lineSpacing, {tracking, wordSpacing}};
        const FitCandidates candidates(current, floor == -100 ? defaultFitFloor(lineSpacing) : floor,
                                       narrowestWordSpacing(glyphs));
        QStringList found;
        for (std::size_t i = 0; i < candidates.size(); ++i)
            found << shown(candidates[i]);
        QCOMPARE(found, order);
    }

    void defaultFloor_data()
    {
        QTest::addColumn<int>("lineSpacing");
        QTest::addColumn<int>("floor");
        QTest::newRow("10") << 10 << 6;
        QTest::newRow("4") << 4 << 0;
        QTest::newRow("2") << 2 << 0;
        QTest::newRow("-3") << -3 << -3;
        QTest::newRow("lowest") << INT_MIN << INT_MIN;
        QTest::newRow("highest") << INT_MAX << INT_MAX - 4;
    }

    void defaultFloor()
    {
        QFETCH(int, lineSpacing);
        QFETCH(int, floor);
        QCOMPARE(defaultFitFloor(lineSpacing), floor);
    }

    // Hand-counted: a letter 4 wide and a space 3 wide; a word of k letters
    // is 4k + tracking x (k - 1) wide, each word charges itself and a space.
    void search_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("lineSpacing");
        QTest::addColumn<int>("tracking");
        QTest::addColumn<int>("wordSpacing");
        QTest::addColumn<QString>("found");
        QTest::addColumn<int>("layouts");

        // L = 11 + 11 = 22 <= W - 4.
        QTest::newRow("fits as it is") << QByteArray("aa aa") << 26 << 5 << 10 << 0 << 0 << "10,0,0" << 1;
        // The third word starts line 1: (ls + 2) x 1 <= 10 from 8 on.
        QTest::newRow("line spacing") << QByteArray("aa aa aa") << 26 << 14 << 10 << 0 << 0 << "8,0,0" << 3;
        // Line 1 never fits 1 pixel; tracking -1 makes the words 7: L = 20 <= 21.
        QTest::newRow("tracking at the floor") << QByteArray("aa aa") << 25 << 5 << 10 << 0 << 0 << "6,-1,0" << 6;
        // At tracking -1, L = 20 > 19; a space of 2 gives 18.
        QTest::newRow("word spacing") << QByteArray("aa aa") << 23 << 5 << 10 << 0 << 0 << "6,-1,-1" << 7;
        // A space of 1 (the least) gives L = 16 > 14.
        QTest::newRow("nothing fits by height") << QByteArray("aa aa") << 18 << 5 << 10 << 0 << 0 << "none height"
                                                << 8;
        // 20 > 19 until tracking -1 makes the word 16: the line spacing step
        // is skipped after its first layout.
        QTest::newRow("too wide skips the line spacing") << QByteArray("aaaaa") << 23 << 5 << 10 << 0 << 0
                                                         << "6,-1,0" << 2;
        QTest::newRow("nothing fits by width") << QByteArray("aaaaa") << 19 << 50 << 10 << 0 << 0 << "none width"
                                               << 4;
        // Tracking already below -1 stays; the word spacing step follows the floor.
        QTest::newRow("low tracking kept") << QByteArray("aa aa") << 21 << 5 << 2 << -2 << 0 << "0,-2,-1" << 4;
        // A line break starts a line without the height check.
        QTest::newRow("line breaks are free") << QByteArray("aa\r\naa") << 15 << 5 << 10 << 0 << 0 << "10,0,0"
                                              << 1;
        QTest::newRow("empty text") << QByteArray() << 0 << 0 << 10 << 0 << 0 << "10,0,0" << 1;
    }

    void search()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, lineSpacing);
        QFETCH(int, tracking);
        QFETCH(int, wordSpacing);
        QFETCH(QString, found);
        QFETCH(int, layouts);

        const font::GlyphTable glyphs = fontFrom("a=4 32=3");
        const FitSetting current{lineSpacing, {tracking, wordSpacing}};
        FitSearch search(width, height, current, defaultFitFloor(lineSpacing), glyphs, nullptr);
        const FitResult result = search.first(text);
        QCOMPARE(shown(result), found);
        QCOMPARE(result.layouts, layouts);
        QCOMPARE(result.alreadyFits(), found == shown(current));
        // A second search with the table the first one left gives the same.
        QCOMPARE(shown(search.first(text)), found);
    }

    // Random fonts, kernings, areas, settings and texts: the first setting of
    // the written-out order under which a fresh LayoutText has no notice.
    void searchAgainstReference()
    {
        testing::SplitMix random(2026, 22);
        for (int round = 0; round < 400; ++round) {
            const RandomCase c(random);
            const std::vector<FitSetting> order = referenceOrder(c.current, c.floor, c.glyphs);
            FitSearch search(c.width, c.height, c.current, c.floor, c.glyphs, &c.kerning);
            QCOMPARE(search.candidates().size(), order.size());
            std::vector<QByteArray> texts;
            for (int t = 0; t < 6; ++t) {
                texts.push_back(c.text(random));
                const QByteArray &text = texts.back();
                std::size_t expected = order.size();
                for (std::size_t i = 0; i < order.size() && expected == order.size(); ++i)
                    if (fresh(text, c.width, c.height, order[i], c.glyphs, c.kerning) == Notice::None)
                        expected = i;
                const FitResult result = search.first(text);
                const QByteArray where = "round " + QByteArray::number(round) + " text '" + text.toPercentEncoding()
                                         + "' in " + QByteArray::number(c.width) + 'x' + QByteArray::number(c.height)
                                         + " from " + shown(c.current).toLatin1();
                QVERIFY2(result.found == (expected < order.size()), where.constData());
                if (result.found) {
                    QVERIFY2(result.index == expected && result.setting == order[expected], where.constData());
                    QVERIFY2(result.layouts <= std::int64_t(expected) + 1, where.constData());
                } else {
                    QVERIFY2(result.setting == order.back(), where.constData());
                    QVERIFY2(result.notice == fresh(text, c.width, c.height, order.back(), c.glyphs, c.kerning),
                             where.constData());
                }
            }
            // One setting for all: the first under which every text fits.
            std::size_t expected = order.size();
            for (std::size_t i = 0; i < order.size() && expected == order.size(); ++i)
                if (std::all_of(texts.begin(), texts.end(), [&](const QByteArray &text) {
                        return fresh(text, c.width, c.height, order[i], c.glyphs, c.kerning) == Notice::None;
                    }))
                    expected = i;
            const FitResult all = search.firstForAll(texts);
            const QByteArray where = "round " + QByteArray::number(round) + " for all";
            QVERIFY2(all.found == (expected < order.size()), where.constData());
            if (all.found)
                QVERIFY2(all.index == expected && all.setting == order[expected], where.constData());
            else
                QVERIFY2(std::none_of(order.begin(), order.end(),
                                      [&](const FitSetting &s) {
                                          return fresh(texts[all.text], c.width, c.height, s, c.glyphs, c.kerning)
                                                 == Notice::None;
                                      }),
                         where.constData());
        }
    }

    // Several texts each fitting at another step: the common one is the
    // latest of them, and a text that fits nothing is named.
    void firstForAll_data()
    {
        QTest::addColumn<QList<QByteArray>>("texts");
        QTest::addColumn<QString>("found");
        QTest::addColumn<int>("text");

        QTest::newRow("none") << QList<QByteArray>{} << "10,0,0" << 0;
        QTest::newRow("all fit as they are") << QList<QByteArray>{"aa", "a a"} << "10,0,0" << 0;
        QTest::newRow("one needs a step") << QList<QByteArray>{"aa", "aa aa"} << "8,0,0" << 0;
        QTest::newRow("latest wins") << QList<QByteArray>{"aa aa", "aa aa aa", "aa"} << "6,-1,0" << 0;
        QTest::newRow("one fits nothing") << QList<QByteArray>{"aa", "aaaaaaa", "aa aa"} << "none width" << 1;
    }

    void firstForAll()
    {
        QFETCH(QList<QByteArray>, texts);
        QFETCH(QString, found);
        QFETCH(int, text);
        // 25 x 14: "aa aa" needs line spacing 8, "aa aa aa" tracking -1 at the
        // floor, 7 letters are too wide even then.
        const font::GlyphTable glyphs = fontFrom("a=4 32=3");
        FitSearch search(25, 14, {10, {}}, 6, glyphs, nullptr);
        const FitResult result = search.firstForAll(std::vector<QByteArray>(texts.begin(), texts.end()));
        QCOMPARE(shown(result), found);
        if (!result.found)
            QCOMPARE(int(result.text), text);
    }

    // A table reused for another layout holds what a fresh one would.
    void reusedTable()
    {
        const font::GlyphTable glyphs = fontFrom("a=4 b=2 32=3");
        LineTable reused;
        LayoutText("aaaa bbb aa b\r\naaaaa bb", 30, 40, 5, glyphs, reused);
        for (const QByteArray &text : {QByteArray("b a"), QByteArray("aa\r\n\r\nbb ab"), QByteArray()}) {
            reused.reuse();
            LineTable fresh;
            QCOMPARE(LayoutText(text, 20, 40, 5, glyphs, reused), LayoutText(text, 20, 40, 5, glyphs, fresh));
            QCOMPARE(describe(reused), describe(fresh));
            QVERIFY(reused == fresh);
        }
    }

    void settingText_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("text");
        QTest::newRow("line spacing only") << "6,0,0" << "line spacing 6";
        QTest::newRow("tracking") << "6,-1,0" << "line spacing 6, tracking -1";
        QTest::newRow("all") << "6,-1,-2" << "line spacing 6, tracking -1, word spacing -2";
    }

    void settingText()
    {
        QFETCH(QString, setting);
        QFETCH(QString, text);
        const QStringList parts = setting.split(',');
        const FitSetting chosen{parts[0].toInt(), {parts[1].toInt(), parts[2].toInt()}};
        QCOMPARE(fitSettingText(chosen, {10, {}}), text);
    }
};

QTEST_GUILESS_MAIN(TestFitSearch)
#include "tst_fit_search.moc"
