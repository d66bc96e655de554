#include "project/compose_view.h"

#include "project/text_areas.h"
#include "text/font_description.h"

#include <QTest>

using namespace letterloom;
using namespace letterloom::project;
using raster::Colour;
using raster::Raster;

namespace {

constexpr Colour kGrey = 0xC0C0C0;

// A workspace with a grey 300 x 120 picture, both guides off and no text.
Workspace sceneWith(TextArea area)
{
    Workspace workspace{QString()};
    workspace.pictureLoaded = true;
    workspace.picture = Raster(300, 120);
    workspace.picture.fill(kGrey);
    workspace.settings.area = area;
    workspace.settings.showHelp = 0;
    workspace.settings.showSelection = 0;
    return workspace;
}

Raster compose(const Workspace &workspace, bool exporting, bool selectionMode = false)
{
    Raster view(workspace.picture.width(), workspace.picture.height());
    ComposeView(workspace, view, exporting, selectionMode);
    return view;
}

// True when some pixel of rows top .. bottom - 1 is red.
bool redInRows(const Raster &view, int top, int bottom)
{
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < view.width(); ++x)
            if (view.pixel(x, y) == raster::kRed)
                return true;
    return false;
}

// The smallest rectangle holding every red pixel; empty without any.
QRect redBox(const Raster &view)
{
    QRect box;
    for (int y = 0; y < view.height(); ++y)
        for (int x = 0; x < view.width(); ++x)
            if (view.pixel(x, y) == raster::kRed)
                box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

Q_DECLARE_METATYPE(std::vector<letterloom::project::AreaText>)

class TestComposeView : public QObject {
    Q_OBJECT

private slots:
    void frame_data()
    {
        QTest::addColumn<TextArea>("area");
        QTest::newRow("drawn down and right") << TextArea{10, 20, 100, 50};
        QTest::newRow("drawn up and left") << TextArea{110, 70, -100, -50};
    }

    void frame()
    {
        QFETCH(TextArea, area);
        Workspace workspace = sceneWith(area);
        workspace.settings.showSelection = 1;
        const Raster view = compose(workspace, false);
        for (int y = 0; y < view.height(); ++y) {
            for (int x = 0; x < view.width(); ++x) {
                const bool inside = x >= 10 && x <= 109 && y >= 20 && y <= 69;
                const bool edge = inside && (x == 10 || x == 109 || y == 20 || y == 69);
                QCOMPARE(view.pixel(x, y), edge ? raster::kRed : kGrey);
            }
        }
    }

    void guides_data()
    {
        QTest::addColumn<bool>("showSelection");
        QTest::addColumn<bool>("showHelp");
        QTest::addColumn<bool>("exporting");
        QTest::addColumn<bool>("selectionMode");
        QTest::addColumn<bool>("frame");
        QTest::addColumn<bool>("hint");
        QTest::addColumn<bool>("modeHint");
        QTest::newRow("screen") << true << true << false << false << true << true << false;
        QTest::newRow("screen, Ctrl held") << true << true << false << true << true << true << true;
        QTest::newRow("screen, no frame") << false << true << false << true << false << true << true;
        QTest::newRow("screen, no help") << true << false << false << true << true << false << false;
        QTest::newRow("export, both shown") << true << true << true << true << false << false << false;
        QTest::newRow("export, frame shown") << true << false << true << true << false << false << false;
        QTest::newRow("export, help shown") << false << true << true << true << false << false << false;
        QTest::newRow("export, none shown") << false << false << true << true << false << false << false;
    }

    void guides()
    {
        QFETCH(bool, showSelection);
        QFETCH(bool, showHelp);
        QFETCH(bool, exporting);
        QFETCH(bool, selectionMode);
        QFETCH(bool, frame);
        QFETCH(bool, hint);
        QFETCH(bool, modeHint);
        Workspace workspace = sceneWith({60, 60, 100, 30});
        workspace.settings.showSelection = showSelection;
        workspace.settings.showHelp = showHelp;
        const Raster view = compose(workspace, exporting, selectionMode);
        QCOMPARE(redInRows(view, 60, 90), frame);
        QCOMPARE(redInRows(view, 10, 24), hint);
        QCOMPARE(redInRows(view, 24, 38), modeHint);
        if (exporting)
            QCOMPARE(view, workspace.picture);
    }

    // No picture yet, or a project that was saved without one: only the hint.
    void hintWithoutPicture_data()
    {
        QTest::addColumn<bool>("exporting");
        QTest::addColumn<bool>("pictureLoaded");
        QTest::newRow("screen") << false << false;
        QTest::newRow("export") << true << false;
        QTest::newRow("screen, project without a picture") << false << true;
        QTest::newRow("export, project without a picture") << true << true;
    }

    void hintWithoutPicture()
    {
        QFETCH(bool, exporting);
        QFETCH(bool, pictureLoaded);
        Workspace workspace{QString()};
        workspace.pictureLoaded = pictureLoaded;
        workspace.settings.area = {0, 0, 297, 274};
        workspace.overlay = Raster(297, 274);  // as a refresh leaves it: black text
        workspace.overlay.fill(raster::kBlack);
        Raster view(297, 274);
        ComposeView(workspace, view, exporting, true);

        const QSize extent = Raster::measureText(QStringLiteral("Load picture here!"));
        const QRect box((297 - extent.width()) / 2, (274 - extent.height()) / 2, extent.width(), extent.height());
        int red = 0;
        for (int y = 0; y < view.height(); ++y) {
            for (int x = 0; x < view.width(); ++x) {
                const Colour colour = view.pixel(x, y);
                if (colour == raster::kWhite)
                    continue;
                QCOMPARE(colour, raster::kRed);
                QVERIFY(box.contains(x, y));
                ++red;
            }
        }
        QVERIFY(red > 20);
    }

    // A text that does not fit: its first word not placed shows in red on the
    // screen where it would have gone, never in the export, and the status
    // line says by how much. Letters 10 x 8, spaces 5, a line pitch of 12.
    void overflowMarker_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QRect>("marker");  // in the view; the area's corner is (20, 10)
        QTest::addColumn<QString>("status");
        const QByteArray ten("x x x x x x x x x x");  // three a line, a fourth line for three
        QTest::newRow("it fits") << QByteArray("x x") << 60 << 30 << 1 << QRect() << "";
        QTest::newRow("too wide: on a line of its own, past the right edge")
            << QByteArray("x xxxxxxx") << 60 << 60 << 1 << QRect(22, 28, 70, 8) << "19 px too wide";
        QTest::newRow("too many lines: below the frame") << ten << 60 << 30 << 1 << QRect(22, 52, 10, 8)
                                                         << "1 line too many";
        QTest::newRow("centred") << ten << 60 << 30 << 2 << QRect(44, 52, 10, 8) << "1 line too many";
        QTest::newRow("right-aligned") << ten << 60 << 30 << 3 << QRect(68, 52, 10, 8) << "1 line too many";
        QTest::newRow("never fitting: on its first empty line") << QByteArray("x xxxxx") << 58 << 30 << 1
                                                                << QRect(22, 28, 50, 8) << "1 px too wide";
    }

    void overflowMarker()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, alignment);
        QFETCH(QRect, marker);
        QFETCH(QString, status);
        Workspace workspace = sceneWith({20, 10, width, height});
        workspace.glyphs = testing::fontFrom("x=10x8 32=5x8.");
        workspace.settings.alignment = std::uint8_t(alignment);
        refreshText(workspace, text, raster::kBlack);
        QCOMPARE(redBox(compose(workspace, false)), marker);
        QCOMPARE(redBox(compose(workspace, true)), QRect());
        QCOMPARE(overflowStatus(workspace), status);
    }

    // The overlay is white where there is no text; a glyph pixel in its
    // bottom-left corner must not turn the text area into a white box.
    void overlayKeepsTextWhateverItsCorner_data()
    {
        QTest::addColumn<Colour>("corner");
        QTest::newRow("glyph pixel in the corner") << raster::kBlack;
        QTest::newRow("white corner") << raster::kWhite;
    }

    void overlayKeepsTextWhateverItsCorner()
    {
        QFETCH(Colour, corner);
        Workspace workspace = sceneWith({40, 30, 20, 10});
        workspace.overlay = Raster(20, 10);
        workspace.overlay.setPixel(0, 9, corner);
        workspace.overlay.setPixel(5, 5, raster::kBlack);
        workspace.overlay.setPixel(6, 5, raster::kRed);
        for (bool exporting : {false, true}) {
            const Raster view = compose(workspace, exporting);
            QCOMPARE(view.pixel(40, 39), corner == raster::kWhite ? kGrey : corner);
            QCOMPARE(view.pixel(45, 35), raster::kBlack);
            QCOMPARE(view.pixel(46, 35), raster::kRed);
            QCOMPARE(view.pixel(50, 32), kGrey);  // white overlay pixels let the picture through
        }
    }

    // The export drawn onto the picture itself is the export composed into a
    // view, byte for byte as a BMP file (the resolution the view's, not the
    // picture's): over other areas, effects past the frame and off the
    // picture, guides that are on and texts that do not fit. Letters 10 x 8,
    // spaces 5.
    void exportOntoPicture_data()
    {
        QTest::addColumn<std::vector<AreaText>>("areas");
        QTest::addColumn<bool>("guides");
        QTest::addColumn<int>("dotsPerMeter");  // of the picture; 0 leaves a new raster's
        const auto area = [](TextArea rect, const char *text, int alignment = 1) {
            AreaText values;
            values.rect = rect;
            values.text = text;
            values.alignment = std::uint8_t(alignment);
            values.lineSpacing = 2;
            return values;
        };
        AreaText outlined = area({250, 100, 60, 30}, "x x x x");  // past the picture's corner
        outlined.effects.outline = text::OutlineEffect{3, text::OutlineShape::Round, 0x00FF00};
        outlined.colour = 0x123456;
        AreaText shadowed = area({-8, -4, 80, 40}, "xx x x", 4);
        shadowed.effects.shadow = text::ShadowEffect{3, -2, 0x0000FF};
        shadowed.effects.plate = text::PlateEffect{2, 0xFFFF00};
        QTest::newRow("one area that fits") << std::vector{area({20, 10, 60, 30}, "x x x")} << false << 0;
        QTest::newRow("guides on, a resolution of its own")
            << std::vector{area({20, 10, 60, 30}, "x x x")} << true << 3937;
        QTest::newRow("too wide: no marker") << std::vector{area({20, 10, 60, 60}, "x xxxxxxx")} << true << 0;
        QTest::newRow("too many lines: no marker")
            << std::vector{area({20, 10, 60, 30}, "x x x x x x x x x x", 3)} << true << 2000;
        QTest::newRow("overlapping areas with effects, off the picture")
            << std::vector{area({0, 0, 300, 120}, "x x x x x x x x x x x x x x x x x x", 2), outlined, shadowed}
            << true << 3937;
    }

    void exportOntoPicture()
    {
        QFETCH(std::vector<AreaText>, areas);
        QFETCH(bool, guides);
        QFETCH(int, dotsPerMeter);
        Workspace workspace = sceneWith(areas.front().rect);
        if (dotsPerMeter) {
            QImage image = workspace.picture.image();
            image.setDotsPerMeterX(dotsPerMeter);
            image.setDotsPerMeterY(dotsPerMeter);
            workspace.picture = Raster(image);
        }
        workspace.settings.showHelp = guides;
        workspace.settings.showSelection = guides;
        workspace.glyphs = testing::fontFrom("x=10x8 32=5x8.");
        const QByteArray first = setWorkspaceAreas(workspace, areas);
        const std::vector<text::Notice> notices = refreshAreas(workspace, first, workspace.textColour);
        const QByteArray bare = Raster(workspace.picture.image().copy()).bmpFileBytes();
        const QByteArray composed = compose(workspace, true).bmpFileBytes();
        QCOMPARE(ExportOntoPicture(workspace, first, workspace.textColour), notices);
        QCOMPARE(workspace.picture.bmpFileBytes(), composed);
        QVERIFY(composed.mid(54) != bare.mid(54));  // the texts really are drawn
    }
};

QTEST_MAIN(TestComposeView)
#include "tst_compose_view.moc"
