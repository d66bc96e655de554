#include "text/render.h"

#include "base/error.h"
#include "text/font_description.h"

#include <QTest>

#include <limits>

using namespace letterloom;
using namespace letterloom::text;
using letterloom::testing::fontFrom;
using letterloom::testing::runs;
using raster::Colour;
using raster::Raster;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// Letters 10 x 8 in black, spaces 5 wide in white.
const QString kFont = QStringLiteral("x=10x8 32=5x8.");

bool allWhite(const Raster &overlay)
{
    for (int y = 0; y < overlay.height(); ++y)
        for (int x = 0; x < overlay.width(); ++x)
            if (overlay.pixel(x, y) != raster::kWhite)
                return false;
    return true;
}

// The columns of a table of texts laid out and drawn: the font, the text,
// the area's size, the line spacing and the alignment.
void addTextColumns()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("alignment");
}

// A row of such a table: its glyphs, its text and its settings (in black).
struct TextRow {
    font::GlyphTable glyphs;
    QByteArray text;
    TextSettings settings;
};

TextRow fetchTextRow()
{
    QFETCH(QString, font);
    QFETCH(QByteArray, text);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, spacing);
    QFETCH(int, alignment);
    return {fontFrom(font), text, {width, height, spacing, std::uint8_t(alignment), raster::kBlack, {}}};
}

// A picture with a different colour at nearly every pixel, for texts drawn onto it.
Raster patterned(int width, int height)
{
    Raster picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, raster::rgb(std::uint8_t(x * 7), std::uint8_t(y * 13), std::uint8_t(x + y)));
    return picture;
}

// Draws the lines onto patterned pictures straight (DrawLinesOnto) and
// through an overlay of the area (rendered, tinted and laid on the picture
// leaving out white), with the area inside the picture and reaching over its
// top-left corner. Where DrawLinesOnto draws, both pictures must be the same;
// where it declines, it must leave the picture alone. Returns whether it drew.
bool drawsOntoThePicture(const LineTable &lines, const TextSettings &settings, const font::GlyphTable &glyphs,
                         const font::Kerning *kerning = nullptr)
{
    bool drew = false;
    for (const QPoint at : {QPoint(7, 5), QPoint(-4, -3)}) {
        const Raster picture = patterned(120, 50);
        Raster overlay;
        RenderLines(lines, settings.areaWidth, settings.areaHeight, settings.lineSpacing, settings.alignment, glyphs,
                    overlay, settings.spacing, kerning);
        TintOverlay(overlay, settings.colour);
        Raster expected = picture;
        expected.drawLeavingOut(overlay, at.x(), at.y(), raster::kWhite);
        Raster direct = picture;
        drew = DrawLinesOnto(direct, at.x(), at.y(), lines, settings, glyphs, kerning);
        if (!(direct == (drew ? expected : picture)))
            return QTest::qVerify(false, "picture", drew ? "the overlay's pixels" : "untouched", __FILE__, __LINE__);
    }
    return drew;
}

}  // namespace

class TestRender : public QObject {
    Q_OBJECT

private slots:
    void drawing_data()
    {
        addTextColumns();
        QTest::addColumn<QString>("probes");  // rows rN and columns cN
        QTest::addColumn<QString>("runs");

        const QByteArray three("xx xxx x");  // words of 20, 30 and 10
        QTest::newRow("6 x 8 letters") << "x=6x8 y=6x8r" << QByteArray("xy") << 40 << 20 << 10 << 1 << "r13 c2"
                                       << "2-7# 8-13r | 6-13#";
        QTest::newRow("baselines 14, 26, 38") << "x=6x8" << QByteArray("x\r\nx\r\nx") << 20 << 40 << 10 << 1 << "c2"
                                              << "6-13# 18-25# 30-37#";
        QTest::newRow("empty line advances the baseline") << "x=6x8" << QByteArray("x\r\n\r\nx") << 20 << 40 << 10
                                                          << 1 << "c2" << "6-13# 30-37#";
        QTest::newRow("line below H cut off") << "x=6x8" << QByteArray("x\r\nx\r\nx") << 20 << 20 << 10 << 1 << "c2"
                                              << "6-13# 18-19#";
        QTest::newRow("left") << kFont << three << 100 << 20 << 10 << 1 << "r13" << "2-21# 27-56# 62-71#";
        QTest::newRow("centre") << kFont << three << 100 << 20 << 10 << 2 << "r13" << "14-33# 39-68# 74-83#";
        QTest::newRow("right") << kFont << three << 100 << 20 << 10 << 3 << "r13" << "28-47# 53-82# 88-97#";
        QTest::newRow("justified") << kFont << three << 100 << 20 << 10 << 4 << "r13" << "2-21# 40-69# 88-97#";
        QTest::newRow("centre start truncated") << "x=10x8" << QByteArray("xx xx") << 101 << 20 << 10 << 2 << "r13"
                                                << "32-71#";
        QTest::newRow("two spaces, left") << kFont << QByteArray("x  x") << 100 << 20 << 10 << 1 << "r13"
                                          << "2-11# 22-31#";
        QTest::newRow("two spaces, centre") << kFont << QByteArray("x  x") << 100 << 20 << 10 << 2 << "r13"
                                            << "34-43# 54-63#";
        QTest::newRow("two spaces, right") << kFont << QByteArray("x  x") << 100 << 20 << 10 << 3 << "r13"
                                           << "68-77# 88-97#";
        QTest::newRow("two spaces, justified") << kFont << QByteArray("x  x") << 100 << 20 << 10 << 4 << "r13"
                                               << "2-11# 88-97#";
        QTest::newRow("right, space before CR LF") << kFont << QByteArray("xx \r\nx") << 100 << 30 << 10 << 3
                                                   << "r13 r25" << "73-92# | 88-97#";
        QTest::newRow("alignment 0 draws nothing") << kFont << three << 100 << 20 << 10 << 0 << "r13" << "";
        QTest::newRow("alignment 5 draws nothing") << kFont << three << 100 << 20 << 10 << 5 << "r13" << "";
        QTest::newRow("undefined space advances by its width") << "x=10x8 32~7x8." << QByteArray("x x") << 100 << 20
                                                               << 10 << 1 << "r13" << "2-11# 19-28#";
        QTest::newRow("image larger than the glyph") << "x=2x2/4x6 y=2x2r" << QByteArray("xy") << 20 << 20 << 10
                                                     << 1 << "c2 r12 r15" << "12-17# | 2-3# 4-5r | 2-5#";
        QTest::newRow("tall glyph cut at the top, covered below") << "T=2x12 w=2x6." << QByteArray("T\r\nw") << 10
                                                                  << 20 << 2 << 1 << "c2" << "0-3#";
        QTest::newRow("centred by widths as typed") << "A=7x8 $=1x8 6=1x8 5=1x8 B=4x8" << QByteArray("A$65B") << 100
                                                    << 20 << 10 << 2 << "r13" << "45-62#";
        QTest::newRow("words before a layout notice") << kFont << QByteArray("x xxxxxxxxxx x") << 50 << 20 << 10
                                                      << 1 << "r13" << "2-11#";

        // Positions that would wrap around in 32 bits and land inside the area.
        QTest::newRow("baseline past 32 bits") << "x=6x8" << QByteArray("x\r\nx") << 20 << 20 << kMax << 1 << "c2"
                                               << "";
        QTest::newRow("pen past 32 bits") << "x~1x8 32~4096x8." << QByteArray("x ").repeated(1048322) << 4000 << 20
                                          << 10 << 1 << "r13" << "2-2#";
    }

    void drawing()
    {
        const TextRow row = fetchTextRow();
        QFETCH(QString, probes);
        QFETCH(QString, runs);

        LineTable lines;
        Raster overlay;
        RefreshText(row.text, row.settings, row.glyphs, lines, overlay);
        for (const Colour colour : {raster::kBlack, Colour(0x1E3A5F)}) {
            TextSettings tinted = row.settings;
            tinted.colour = colour;
            drawsOntoThePicture(lines, tinted, row.glyphs);
        }
        QStringList found;
        for (const QString &probe : probes.split(' '))
            found << testing::runs(overlay, probe);
        QCOMPARE(found.join(" | "), runs);
    }

    // Tracking, word spacing and kerning move the pen; right alignment takes
    // the same steps from the right edge. Where they pull glyphs together the
    // later one lies on top and white covers nothing (W is all white).
    // Letters 10 x 8, spaces 5 (row 13).
    void spacedDrawing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("tracking");
        QTest::addColumn<int>("wordSpacing");
        QTest::addColumn<QString>("kerning");  // "AV-3": left, right, pixels
        QTest::addColumn<QString>("runs");

        QTest::newRow("left, tracking") << QByteArray("AV A") << 1 << 2 << 0 << "" << "2-11# 14-23r 29-38#";
        QTest::newRow("left, word spacing") << QByteArray("A A") << 1 << 0 << 3 << "" << "2-11# 20-29#";
        QTest::newRow("left, kerning overlaps") << QByteArray("AVA") << 1 << 0 << 0 << "AV-3 VA1"
                                                << "2-8# 9-18r 20-29#";
        QTest::newRow("left, no kerning across a space") << QByteArray("A V") << 1 << 0 << 0 << "AV-3"
                                                         << "2-11# 17-26r";
        QTest::newRow("right, tracking") << QByteArray("AV A") << 3 << 2 << 0 << "" << "61-70# 73-82r 88-97#";
        QTest::newRow("right, word spacing") << QByteArray("A A") << 3 << 0 << 3 << "" << "70-79# 88-97#";
        QTest::newRow("right, kerning") << QByteArray("AVA") << 3 << 0 << 0 << "AV-3 VA1" << "70-76# 77-86r 88-97#";
        QTest::newRow("right, both at once") << QByteArray("AV A") << 3 << 1 << 2 << "AV-4"
                                             << "64-70# 71-80r 88-97#";
        QTest::newRow("left, white kerned onto a letter") << QByteArray("AWA") << 1 << 0 << 0 << "AW-3 WA-9"
                                                          << "2-19#";
        QTest::newRow("right, white kerned onto a letter") << QByteArray("WA") << 3 << 0 << 0 << "WA-3"
                                                           << "88-97#";
        QTest::newRow("left, white over the word before") << QByteArray("A W") << 1 << 0 << -8 << ""
                                                          << "2-11#";
        QTest::newRow("centre uses the spaced width") << QByteArray("AV") << 2 << 2 << 0 << ""
                                                      << "38-47# 50-59r";
        QTest::newRow("justified: gap without word spacing") << QByteArray("A A") << 4 << 1 << 7 << ""
                                                             << "2-11# 88-97#";
    }

    void spacedDrawing()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, alignment);
        QFETCH(int, tracking);
        QFETCH(int, wordSpacing);
        QFETCH(QString, kerning);
        QFETCH(QString, runs);

        std::vector<font::KerningPair> pairs;
        for (const QString &pair : kerning.split(' ', Qt::SkipEmptyParts))
            pairs.push_back({uchar(pair[0].unicode()), uchar(pair[1].unicode()), pair.mid(2).toInt()});
        const font::Kerning table(pairs);
        LineTable lines;
        Raster overlay;
        TextSettings settings{100, 20, 10, std::uint8_t(alignment), raster::kBlack, {tracking, wordSpacing}};
        RefreshText(text, settings, fontFrom("A=10x8 V=10x8r W=10x8. 32=5x8."), lines, overlay, &table);
        QCOMPARE(testing::runs(overlay, "r13"), runs);
        QVERIFY(!drawsOntoThePicture(lines, settings, fontFrom("A=10x8 V=10x8r W=10x8. 32=5x8."), &table));
    }

    // Which texts go straight onto the picture and which need the overlay;
    // either way the picture gets the overlay's pixels (drawsOntoThePicture).
    void drawnOntoThePicture_data()
    {
        addTextColumns();
        QTest::addColumn<Colour>("colour");
        QTest::addColumn<bool>("straight");

        const QByteArray lines("xx xxx x\r\nx xx\r\n\r\nxxx");
        const Colour blue(0x1E3A5F);
        for (int alignment : {1, 2, 3, 4})
            QTest::addRow("alignment %d", alignment) << kFont << lines << 100 << 60 << 8 << alignment << blue << true;
        QTest::newRow("black") << kFont << lines << 100 << 60 << 8 << 1 << raster::kBlack << true;
        QTest::newRow("white: only the picture shows") << kFont << lines << 100 << 60 << 8 << 1 << raster::kWhite
                                                       << true;
        QTest::newRow("red and white glyphs keep their colours") << "x=10x8r y=4x8. 32=5x8" << QByteArray("xyx x")
                                                                << 100 << 20 << 2 << 1 << blue << true;
        QTest::newRow("area cut by the picture's edge") << kFont << lines << 200 << 90 << 8 << 3 << blue << true;
        QTest::newRow("lines that just touch") << kFont << lines << 100 << 60 << 6 << 1 << blue << true;
        QTest::newRow("one line at any spacing") << kFont << QByteArray("xx x") << 100 << 30 << -9 << 1 << blue
                                                 << true;
        QTest::newRow("lines closer than their glyphs") << kFont << lines << 100 << 60 << 5 << 1 << blue << false;
        QTest::newRow("negative spacing") << kFont << lines << 100 << 60 << -3 << 1 << blue << false;
        QTest::newRow("image wider than its glyph") << "x=2x2/4x6 y=2x2r" << QByteArray("xy") << 20 << 20 << 10 << 1
                                                    << blue << false;
        QTest::newRow("image wider, glyph unused") << "x=10x8 y=2x2/4x6 32=5x8." << QByteArray("x x") << 40 << 20
                                                   << 10 << 1 << blue << true;
        QTest::newRow("empty area") << kFont << lines << 0 << 60 << 8 << 1 << blue << true;
        QTest::newRow("no alignment of this program") << kFont << lines << 100 << 60 << 8 << 7 << blue << true;
    }

    void drawnOntoThePicture()
    {
        const TextRow row = fetchTextRow();
        QFETCH(Colour, colour);
        QFETCH(bool, straight);

        TextSettings settings = row.settings;
        settings.colour = colour;
        LineTable lines;
        LayoutText(row.text, settings.areaWidth, settings.areaHeight, settings.lineSpacing, row.glyphs, lines);
        QCOMPARE(drawsOntoThePicture(lines, settings, row.glyphs), straight);
    }

    void tooLargeAnAreaIsRefusedEitherWay()
    {
        Raster picture(4, 4);
        const TextSettings settings{Raster::kMaxSide + 1, 10, 2, kAlignLeft, raster::kRed, {}};
        QVERIFY_THROWS_EXCEPTION(Error, DrawLinesOnto(picture, 0, 0, LineTable(), settings, fontFrom(kFont)));
    }

    // Whatever the refresh replaces: the old overlay and the old line table.
    void overlay_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<QString>("error");

        QTest::newRow("empty text") << QByteArray() << 30 << 20 << 1 << QSize(30, 20) << 0 << "";
        QTest::newRow("alignment 0") << QByteArray("x") << 30 << 20 << 0 << QSize(30, 20) << 1 << "";
        QTest::newRow("0 x 0 area") << QByteArray("x") << 0 << 0 << 1 << QSize(0, 0) << 0 << "";
        QTest::newRow("negative width") << QByteArray("x") << -5 << 20 << 1 << QSize(0, 20) << 0 << "";
        QTest::newRow("negative height") << QByteArray("x") << 30 << -5 << 1 << QSize(30, 0) << 1 << "";
        QTest::newRow("negative width, tallest height") << QByteArray("x") << -1 << kMax << 1 << QSize(0, 0) << 0
                                                        << "";
        QTest::newRow("too large") << QByteArray("x") << 100000 << 100000 << 1 << QSize() << 1
                                   << "Text area is too large";
        QTest::newRow("one side too long") << QByteArray("x") << 32768 << 30 << 1 << QSize() << 1
                                           << "Text area is too large";
    }

    void overlay()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, alignment);
        QFETCH(QSize, size);
        QFETCH(int, lineCount);
        QFETCH(QString, error);

        LineTable lines;
        lines.addLine();
        lines.addWord("old", 30);
        lines.addEmptyLines(2);
        Raster overlay(50, 50);
        overlay.fill(raster::kBlack);
        const TextSettings settings{width, height, 10, std::uint8_t(alignment), raster::kBlack, {}};
        try {
            RefreshText(text, settings, fontFrom(kFont), lines, overlay);
            QVERIFY(error.isEmpty());
        } catch (const Error &failure) {
            QCOMPARE(failure.message(), error);
        }
        QCOMPARE(int(lines.size()), lineCount);
        if (error.isEmpty()) {
            QCOMPARE(overlay.size(), size);
            QVERIFY(allWhite(overlay));
        }
    }

    void tint_data()
    {
        QTest::addColumn<Colour>("colour");
        QTest::addColumn<Colour>("before");
        QTest::addColumn<Colour>("after");

        QTest::newRow("black becomes red") << raster::kRed << raster::kBlack << raster::kRed;
        QTest::newRow("near-black stays") << raster::kRed << Colour(0x010101) << Colour(0x010101);
        QTest::newRow("white stays") << raster::kRed << raster::kWhite << raster::kWhite;
        QTest::newRow("other glyph colours stay") << Colour(0x00FF00) << raster::kRed << raster::kRed;
        QTest::newRow("black text colour") << raster::kBlack << raster::kBlack << raster::kBlack;
        QTest::newRow("white text colour") << raster::kWhite << raster::kBlack << raster::kWhite;
    }

    void tint()
    {
        QFETCH(Colour, colour);
        QFETCH(Colour, before);
        QFETCH(Colour, after);

        Raster overlay(3, 2);
        overlay.fill(before);
        TintOverlay(overlay, colour);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                QCOMPARE(overlay.pixel(x, y), after);
    }

    void refreshTintsWhatItDrew()
    {
        LineTable lines;
        Raster overlay;
        const Notice notice =
            RefreshText("x xxxxxxxxxx", {50, 20, 10, kAlignLeft, raster::kRed, {}}, fontFrom(kFont), lines, overlay);
        QCOMPARE(notice, Notice::Width);
        QCOMPARE(runs(overlay, "r13"), QString("2-11r"));
    }
};

QTEST_GUILESS_MAIN(TestRender)
#include "tst_render.moc"
