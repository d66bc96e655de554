#include "text/layout.h"
#include "text/overflow.h"

#include "text/font_description.h"

#include <QRandomGenerator>
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

// A layout with tracking, word spacing and kerning written out the long way,
// word by word, to hold the program's line tables against.
struct Reference {
    const font::GlyphTable &glyphs;
    std::int64_t width, height, pitch;
    Spacing spacing;
    const font::Kerning &kerning;

    static bool blank(char c) { return uchar(c) <= 32; }

    static QByteArray resolve(const QByteArray &typed)
    {
        QByteArray out;
        qsizetype i = 0;
        while (i < typed.size()) {
            const bool notLast = i + 1 < typed.size();
            if (typed[i] == '$' && notLast && typed[i + 1] == '$') {
                out += '$';
                i += 2;
                continue;
            }
            if (typed[i] == '$' && notLast) {
                const QByteArray digits = typed.mid(i + 1, 2);
                if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                    out += char(digits.toInt());
                    i += 1 + digits.size();
                    continue;
                }
            }
            out += typed[i++];
        }
        return out;
    }

    std::int64_t wordWidth(const QByteArray &typed, const QByteArray &resolved) const
    {
        std::int64_t w = 0;
        for (char c : typed)
            if (glyphs[uchar(c)].defined)
                w += glyphs[uchar(c)].width;
        for (qsizetype i = 1; i < resolved.size(); ++i)
            w += spacing.tracking + kerning.amount(uchar(resolved[i - 1]), uchar(resolved[i]));
        return w;
    }

    // One line as the reference keeps it while it grows.
    struct Line {
        std::vector<QByteArray> words;
        std::vector<std::int64_t> widths;
        std::int64_t lineWidth = 0, gap = 0;
    };

    Notice run(const QByteArray &text, LineTable &table) const
    {
        std::vector<Line> lines;
        const Notice notice = layOut(text, lines);
        for (const Line &line : lines) {
            table.addLine();
            for (std::size_t i = 0; i < line.words.size(); ++i)
                table.addWord(line.words[i], std::int32_t(line.widths[i]));
            table.setLineSums(std::int32_t(line.lineWidth), std::int32_t(line.gap));
        }
        return notice;
    }

    Notice layOut(QByteArray text, std::vector<Line> &lines) const
    {
        while (!text.isEmpty() && blank(text.front()))
            text.remove(0, 1);
        while (!text.isEmpty() && blank(text.back()))
            text.chop(1);
        // Words, each followed by whether a line break comes after it.
        std::vector<std::pair<QByteArray, bool>> words;
        QByteArray word;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == ' ') {
                words.push_back({word, false});
                word.clear();
            } else if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                words.push_back({word, true});
                word.clear();
                ++i;
            } else {
                word += text[i];
            }
        }
        if (!text.isEmpty())
            words.push_back({word, false});

        const std::int64_t space = (glyphs[32].defined ? glyphs[32].width : 0) + spacing.wordSpacing;
        std::int64_t line = 0;
        for (auto [typed, breakAfter] : words) {
            while (!typed.isEmpty() && blank(typed.front()))
                typed.remove(0, 1);
            while (!typed.isEmpty() && blank(typed.back()))
                typed.chop(1);
            const QByteArray resolved = resolve(typed);
            const std::int64_t w = wordWidth(typed, resolved);
            if (w > width - 4)
                return Notice::Width;
            for (;;) {
                if (std::int64_t(lines.size()) <= line)
                    lines.emplace_back();
                Line &record = lines.back();
                std::int64_t sum = w, lineWidth = w + space;
                for (std::int64_t other : record.widths) {
                    sum += other;
                    lineWidth += other + space;
                }
                if (lineWidth <= width - 4) {
                    record.gap = record.words.empty() ? 0 : (width - 4 - sum) / std::int64_t(record.words.size());
                    record.words.push_back(resolved);
                    record.widths.push_back(w);
                    record.lineWidth = lineWidth;
                    break;
                }
                if (record.words.empty()) {
                    // Never fits: an empty record for every line still allowed.
                    if (pitch > 0 && height - 4 >= 0)
                        while (pitch * std::int64_t(lines.size()) <= height - 4)
                            lines.emplace_back();
                    return Notice::Height;
                }
                ++line;
                if (pitch * line > height - 4)
                    return Notice::Height;
            }
            if (breakAfter)
                ++line;
        }
        return Notice::None;
    }
};

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

    // Random texts of words, escapes, double spaces and line breaks against
    // the reference above, with tracking, word spacing and kerning or without
    // (words then go into the table as typed and are resolved there). Texts
    // of 256 bytes and more are measured through a table of the glyphs'
    // widths, shorter ones straight from the glyphs; blanks of any width stay
    // inside a word or are trimmed from its ends.
    void layoutAgainstReference_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("rounds");
        QTest::addColumn<int>("longest");  // characters of a text
        QTest::addColumn<int>("room");     // the widest and highest area
        QTest::addColumn<QByteArray>("letters");
        QTest::addColumn<bool>("spaced");  // tracking, word spacing and kerning drawn at random
        const QByteArray blanks("xyAV$65 \t\r\n\x01");
        QTest::newRow("short texts, spaced") << 0x5eedu << 3000 << 40 << 80 << QByteArray("xyAV$65 ") << true;
        QTest::newRow("short texts with blanks, plain") << 0xb1a4u << 3000 << 40 << 80 << blanks << false;
        QTest::newRow("long texts, spaced") << 0x10a9u << 300 << 1500 << 600 << blanks << true;
        QTest::newRow("long texts, plain") << 0x9a1eu << 300 << 1500 << 600 << blanks << false;
    }

    void layoutAgainstReference()
    {
        QFETCH(quint32, seed);
        QFETCH(int, rounds);
        QFETCH(int, longest);
        QFETCH(int, room);
        QFETCH(QByteArray, letters);
        QFETCH(bool, spaced);
        QRandomGenerator random(seed);
        for (int round = 0; round < rounds; ++round) {
            font::GlyphTable glyphs;
            for (char c : letters) {
                glyphs.setGlyphSize(uchar(c), 1, 1);
                glyphs[uchar(c)].width = random.bounded(0, 9);
                glyphs[uchar(c)].defined = random.bounded(5) != 0;
            }
            std::vector<font::KerningPair> pairs;
            Spacing spacing;
            if (spaced) {
                for (int i = random.bounded(6); i > 0; --i)
                    pairs.push_back({uchar(letters[random.bounded(letters.size())]),
                                     uchar(letters[random.bounded(letters.size())]), random.bounded(-6, 7)});
                spacing = {random.bounded(kMinTracking, kMaxTracking + 1),
                           random.bounded(kMinWordSpacing, kMaxWordSpacing + 1)};
            }
            const font::Kerning kerning(pairs);
            QByteArray text;
            for (int i = random.bounded(longest); i > 0; --i)
                text += random.bounded(12) == 0 ? QByteArray("\r\n") : QByteArray(1, letters[random.bounded(letters.size())]);
            const int width = random.bounded(0, room);
            const int height = random.bounded(0, room);
            const int lineSpacing = random.bounded(-3, 12);

            LineTable expected;
            const Notice expectedNotice =
                Reference{glyphs, width, height, lineSpacing + 2, spacing, kerning}.run(text, expected);
            LineTable table;
            const Notice notice = LayoutText(text, width, height, lineSpacing, glyphs, table, spacing, &kerning);
            const QByteArray where = "text '" + text.toPercentEncoding() + "' in " + QByteArray::number(width) + 'x'
                                     + QByteArray::number(height) + " tracking " + QByteArray::number(spacing.tracking)
                                     + " word spacing " + QByteArray::number(spacing.wordSpacing);
            QVERIFY2(describe(table) == describe(expected) && notice == expectedNotice, where.constData());
        }
    }

    // Hand-counted cases of the same: one definition, each part on its own.
    void spacedLayout_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("tracking");
        QTest::addColumn<int>("wordSpacing");
        QTest::addColumn<QString>("kerning");  // "AV-3": left, right, pixels
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("notice");

        QTest::newRow("all 0 as without") << QByteArray("xx x") << 0 << 0 << "" << 100
                                          << QStringList{"[xx][x] 20,10 L40 g66"} << "";
        QTest::newRow("tracking between letters") << QByteArray("xxx x") << 2 << 0 << "" << 100
                                                  << QStringList{"[xxx][x] 34,10 L54 g52"} << "";
        QTest::newRow("negative tracking") << QByteArray("xxx") << -8 << 0 << "" << 100
                                           << QStringList{"[xxx] 14 L19 g0"} << "";
        QTest::newRow("word spacing in L, not S") << QByteArray("xx x") << 0 << 3 << "" << 100
                                                  << QStringList{"[xx][x] 20,10 L46 g66"} << "";
        QTest::newRow("space narrower than 0") << QByteArray("x x") << 0 << -8 << "" << 100
                                               << QStringList{"[x][x] 10,10 L14 g76"} << "";
        QTest::newRow("kerning inside a word") << QByteArray("AVA") << 0 << 0 << "AV-3 VA-2" << 100
                                               << QStringList{"[AVA] 25 L30 g0"} << "";
        QTest::newRow("no kerning across a space") << QByteArray("A V") << 0 << 0 << "AV-3" << 100
                                                   << QStringList{"[A][V] 10,10 L30 g76"} << "";
        QTest::newRow("no kerning across a line break") << QByteArray("A\r\nV") << 0 << 0 << "AV-3" << 100
                                                        << QStringList{"[A] 10 L15 g0", "[V] 10 L15 g0"} << "";
        QTest::newRow("tracking counts resolved characters") << QByteArray("A$86") << 1 << 0 << "AV-3" << 100
                                                             << QStringList{"[AV] 11 L16 g0"} << "";
        QTest::newRow("empty word adds nothing") << QByteArray("x  x") << 4 << 0 << "" << 100
                                                 << QStringList{"[x][][x] 10,0,10 L35 g38"} << "";
        QTest::newRow("tracking wraps the line") << QByteArray("xx xx") << 1 << 0 << "" << 49
                                                 << QStringList{"[xx] 21 L26 g0", "[xx] 21 L26 g0"} << "";
        QTest::newRow("tracking makes a word too wide") << QByteArray("xx") << 1 << 0 << "" << 24 << QStringList{}
                                                        << kWidthNotice;
        QTest::newRow("kerning lets a word fit") << QByteArray("AV") << 0 << 0 << "AV-1" << 28
                                                 << QStringList{"[AV] 19 L24 g0"} << "";
    }

    void spacedLayout()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, tracking);
        QFETCH(int, wordSpacing);
        QFETCH(QString, kerning);
        QFETCH(int, width);
        QFETCH(QStringList, lines);
        QFETCH(QString, notice);

        std::vector<font::KerningPair> pairs;
        for (const QString &pair : kerning.split(' ', Qt::SkipEmptyParts))
            pairs.push_back({uchar(pair[0].unicode()), uchar(pair[1].unicode()), pair.mid(2).toInt()});
        const font::Kerning table(pairs);
        LineTable found;
        const Notice result = LayoutText(text, width, 100, 10, fontFrom("x=10 A=10 V=10 $=1 8=1 6=1 32=5"), found,
                                         {tracking, wordSpacing}, &table);
        QCOMPARE(describe(found), lines);
        QCOMPARE(noticeText(result), notice);
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

    // How far a text misses its area: the word that stopped the layout and
    // the pixels or the lines by which it does not fit.
    void overflow_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<qint64>("line");
        QTest::addColumn<qint64>("pixels");
        QTest::addColumn<qint64>("lines");
        QTest::addColumn<QString>("says");

        const QString tens = QStringLiteral("x=10");  // no space width: 2 letters fill a 24-wide area
        QTest::newRow("everything fits") << kFont << QByteArray("xx xxx x") << 100 << 100 << 10 << QByteArray()
                                         << qint64(-1) << qint64(0) << qint64(0) << "";
        QTest::newRow("too wide: width plus space past W - 4")
            << kFont << QByteArray("x xxxxxxxxxx x") << 100 << 100 << 10 << QByteArray("xxxxxxxxxx") << qint64(1)
            << qint64(9) << qint64(0) << "9 px too wide";
        QTest::newRow("0 x 0 area") << kFont << QByteArray("x") << 0 << 0 << 10 << QByteArray("x") << qint64(0)
                                    << qint64(19) << qint64(0) << "19 px too wide";
        QTest::newRow("never-fitting first word") << kFont << QByteArray("xx") << 24 << 100 << 10 << QByteArray("xx")
                                                  << qint64(0) << qint64(5) << qint64(0) << "5 px too wide";
        QTest::newRow("never-fitting later word") << kFont << QByteArray("x xx x") << 24 << 100 << 10
                                                  << QByteArray("xx") << qint64(1) << qint64(5) << qint64(0)
                                                  << "5 px too wide";
        QTest::newRow("never-fitting word, no line left") << kFont << QByteArray("x xx") << 24 << 15 << 10
                                                          << QByteArray("xx") << qint64(1) << qint64(5) << qint64(0)
                                                          << "5 px too wide";
        QTest::newRow("one line too many") << tens << QByteArray("xx xx xx xx") << 24 << 30 << 10 << QByteArray("xx")
                                           << qint64(3) << qint64(0) << qint64(1) << "1 line too many";
        QTest::newRow("three lines too many") << tens << QByteArray("xx xx xx xx xx xx") << 24 << 30 << 10
                                              << QByteArray("xx") << qint64(3) << qint64(0) << qint64(3)
                                              << "3 lines too many";
        QTest::newRow("CR LF in the rest starts a line") << tens << QByteArray("xx xx xx xx\r\nxx") << 24 << 30 << 10
                                                         << QByteArray("xx") << qint64(3) << qint64(0) << qint64(2)
                                                         << "2 lines too many";
        QTest::newRow("lines past the area by CR LF count") << tens << QByteArray("xx\r\nxx\r\nxx\r\nxx xx xx") << 24
                                                            << 30 << 10 << QByteArray("xx") << qint64(4) << qint64(0)
                                                            << qint64(3) << "3 lines too many";
        QTest::newRow("the rest stops at a too wide word") << tens << QByteArray("xx xx xx xx xx xxxxx xx") << 24 << 30
                                                           << 10 << QByteArray("xx") << qint64(3) << qint64(0)
                                                           << qint64(2) << "2 lines too many";
        QTest::newRow("escapes resolved in the word") << "A=7 $=1 6=1 5=1 B=4 32=2" << QByteArray("A A$65B") << 20
                                                      << 10 << 10 << QByteArray("AAB") << qint64(1) << qint64(0)
                                                      << qint64(1) << "1 line too many";
        QTest::newRow("pitch past 32 bits") << tens << QByteArray("xx xx") << 24 << kMax << kMax << QByteArray("xx")
                                            << qint64(1) << qint64(0) << qint64(1) << "1 line too many";
        QTest::newRow("lowest area and spacing") << tens << QByteArray("xx xx xx") << 24 << kMin << kMin
                                                 << QByteArray("xx") << qint64(1) << qint64(0) << qint64(2)
                                                 << "2 lines too many";
    }

    void overflow()
    {
        QFETCH(QString, font);
        QFETCH(QByteArray, text);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, spacing);
        QFETCH(QByteArray, word);
        QFETCH(qint64, line);
        QFETCH(qint64, pixels);
        QFETCH(qint64, lines);
        QFETCH(QString, says);

        const font::GlyphTable glyphs = fontFrom(font);
        LineTable table;
        const Notice notice = LayoutText(text, width, height, spacing, glyphs, table);
        const LineTable before = table;
        const Overflow result = MeasureOverflow(text, notice, table, width, height, spacing, glyphs);
        QCOMPARE(result.word, word);
        QCOMPARE(result.line, line);
        QCOMPARE(result.pixels, pixels);
        QCOMPARE(result.lines, lines);
        QCOMPARE(overflowText(result), says);
        QCOMPARE(table, before);
    }

    // Tracking and word spacing count in the overflow as in the layout.
    void overflowWithSpacing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("tracking");
        QTest::addColumn<int>("wordSpacing");
        QTest::addColumn<QString>("says");
        QTest::newRow("tracking widens the word") << QByteArray("x xxxxxxxx") << 100 << 2 << 0 << "3 px too wide";
        QTest::newRow("narrower tracking lets it fit") << QByteArray("x xxxxxxxx") << 100 << -1 << 0 << "";
        QTest::newRow("word spacing widens the space") << QByteArray("x xxxxxxxx") << 100 << 0 << 12 << "1 px too wide";
        QTest::newRow("word spacing costs lines") << QByteArray("x x x x") << 40 << 0 << 8 << "1 line too many";
    }

    void overflowWithSpacing()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, width);
        QFETCH(int, tracking);
        QFETCH(int, wordSpacing);
        QFETCH(QString, says);
        const font::GlyphTable glyphs = fontFrom(kFont);
        const Spacing spacing{tracking, wordSpacing};
        LineTable table;
        const Notice notice = LayoutText(text, width, 30, 10, glyphs, table, spacing);
        QCOMPARE(overflowText(MeasureOverflow(text, notice, table, width, 30, 10, glyphs, spacing)), says);
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
