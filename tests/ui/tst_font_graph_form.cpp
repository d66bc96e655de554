#include "font/zoomed_glyph.h"
#include "ui/font_windows.h"

#include <QFrame>
#include <QMouseEvent>
#include <QTest>

using namespace letterloom;
using letterloom::testing::FontWindows;
using letterloom::testing::pixelSketch;
using letterloom::testing::rasterSketch;

namespace {

// One step of a mouse gesture on the paint box: a press or a release of one
// button, or a move with the buttons held then (none for a mere hover).
struct Step {
    char kind;  // 'p' press, 'm' move, 'r' release
    Qt::MouseButtons buttons;
    QPoint at;
};

QWidget *paintBoxOf(ui::TfontGraphForm &editor)
{
    return editor.findChild<QWidget *>(QStringLiteral("PaintBox"));
}

void play(ui::TfontGraphForm &editor, const QList<Step> &steps)
{
    QWidget *box = paintBoxOf(editor);
    for (const Step &step : steps) {
        const auto button = Qt::MouseButton(step.buttons.toInt());
        const QEvent::Type type = step.kind == 'p'   ? QEvent::MouseButtonPress
                                  : step.kind == 'r' ? QEvent::MouseButtonRelease
                                                     : QEvent::MouseMove;
        QMouseEvent event(type, step.at, box->mapToGlobal(step.at), type == QEvent::MouseMove ? Qt::NoButton : button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : step.buttons, Qt::NoModifier);
        QApplication::sendEvent(box, &event);
    }
}

// Opens the editor on glyph 65, sketched, at pixel size 5, with red in the
// foreground swatch and green in the background one.
void paintOn(FontWindows &w, const QStringList &glyph)
{
    w.define(65, glyph);
    w.select(65);
    w.workspace.settings.pixelSize = 5;
    w.fontGraph.fitToGlyph();
    w.prompter.colours = {raster::Colour(0x0000FF), raster::Colour(0x00FF00)};
    w.draw.fgColorDblClick();
    w.draw.bgColorDblClick();
}

// The left part of a raster that is width wide and height high.
QStringList corner(const raster::Raster &picture, int width, int height)
{
    QStringList rows;
    for (const QString &row : rasterSketch(picture).mid(0, height))
        rows << row.left(width);
    return rows;
}

}  // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TestFontGraphForm : public QObject {
    Q_OBJECT
private slots:
    void window();
    void timerRunsWhileShown();
    void fitToGlyph_data();
    void fitToGlyph();
    void repaint();
    void tickCopiesPixelsIntoImage();
    void pencil_data();
    void pencil();
    void pencilOnItsOwnColour_data();
    void pencilOnItsOwnColour();
    void pencilStrokesAreSteps_data();
    void pencilStrokesAreSteps();
    void paintBucket_data();
    void paintBucket();
    void undefinedGlyph();
    void pixelSizeBelowOne_data();
    void pixelSizeBelowOne();
    void changesShowOnTheNextTick_data();
    void changesShowOnTheNextTick();
    void changesWhileHiddenShowWhenShown();
};

void TestFontGraphForm::window()
{
    FontWindows w;
    QCOMPARE(w.fontGraph.windowTitle(), QStringLiteral("Character"));
    // Centred under the 378 pixels wide character table at left 8.
    QCOMPARE(w.fontGraph.pos(), QPoint(8 + (378 - 100) / 2, 534));
    QCOMPARE(w.fontGraph.minimumSize(), QSize(100, 100));
    QVERIFY(w.fontGraph.isHidden());
    QVERIFY(w.fontGraph.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(w.fontGraph.findChild<QFrame *>(QStringLiteral("Bevel")));
    QCOMPARE(paintBoxOf(w.fontGraph)->geometry(), w.fontGraph.rect());
}

void TestFontGraphForm::timerRunsWhileShown()
{
    FontWindows w;
    auto *timer = w.fontGraph.findChild<QTimer *>(QStringLiteral("Timer"));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 1);
    QVERIFY(!timer->isActive());
    w.fontGraph.show();
    QVERIFY(timer->isActive());
    w.fontGraph.hide();
    QVERIFY(!timer->isActive());
}

void TestFontGraphForm::fitToGlyph_data()
{
    QTest::addColumn<QSize>("glyph");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<QSize>("client");

    QTest::newRow("8 x 10 at 20") << QSize(8, 10) << 20 << QSize(162, 202);
    QTest::newRow("small glyph keeps the minimum") << QSize(2, 2) << 5 << QSize(100, 100);
    QTest::newRow("one side below the minimum") << QSize(1, 3) << 40 << QSize(100, 122);
    QTest::newRow("pixel size 0") << QSize(4, 4) << 0 << QSize(100, 100);
    QTest::newRow("negative pixel size") << QSize(4, 4) << -30 << QSize(100, 100);
    // A huge typed pixel size stops at the largest canvas.
    QTest::newRow("huge pixel size") << QSize(100, 1) << 1000 << QSize(8192, 1002);
}

void TestFontGraphForm::fitToGlyph()
{
    QFETCH(QSize, glyph);
    QFETCH(int, pixelSize);
    QFETCH(QSize, client);

    FontWindows w;
    w.define(65, QStringList(glyph.height(), QString(glyph.width(), '.')));
    w.select(65);
    w.workspace.settings.pixelSize = pixelSize;
    w.fontGraph.fitToGlyph();

    QCOMPARE(w.fontGraph.size(), client);
    QCOMPARE(paintBoxOf(w.fontGraph)->size(), client);
    QCOMPARE(w.fontGraph.editorRaster().size(), client);
    QVERIFY(w.prompter.errors().isEmpty());
}

void TestFontGraphForm::repaint()
{
    FontWindows w;
    w.define(65, {"gb", "y."});
    w.select(65);
    w.workspace.settings.pixelSize = 5;
    w.fontGraph.fitToGlyph();
    w.fontGraph.TimerTimer();

    const raster::Raster &editor = w.fontGraph.editorRaster();
    QCOMPARE(editor.size(), QSize(100, 100));
    const QStringList expected{
        "rrrrrrrrrrrr..",
        "rgggg#bbbbbr..",
        "rgggg#bbbbbr..",
        "rgggg#bbbbbr..",
        "rgggg#bbbbbr..",
        "r##########r..",
        "ryyyy#.....r..",
        "ryyyy#.....r..",
        "ryyyy#.....r..",
        "ryyyy#.....r..",
        "ryyyy#.....r..",
        "rrrrrrrrrrrr..",
        "..............",
    };
    QCOMPARE(corner(editor, 14, 13), expected);
    // Outside the border everything is white.
    const QStringList sketch = rasterSketch(editor);
    for (int y = 12; y < 100; ++y)
        QCOMPARE(sketch[y], QString(100, '.'));
    for (int y = 0; y < 12; ++y)
        QCOMPARE(sketch[y].mid(12), QString(88, '.'));
}

void TestFontGraphForm::tickCopiesPixelsIntoImage()
{
    FontWindows w;
    w.define(65, {"..", ".."});
    w.select(65);
    w.current().pixels[1][0] = 0x0000FF;
    QCOMPARE(rasterSketch(w.current().image), QStringList({"..", ".."}));

    // The shown editor's timer copies the pixels into the image.
    w.fontGraph.show();
    QTRY_COMPARE(rasterSketch(w.current().image), QStringList({".r", ".."}));
    w.fontGraph.hide();
    w.current().pixels[0][1] = 0x0000FF;
    QTest::qWait(20);
    QCOMPARE(rasterSketch(w.current().image), QStringList({".r", ".."}));
}

void TestFontGraphForm::pencil_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QStringList>("after");

    const Qt::MouseButtons L = Qt::LeftButton, R = Qt::RightButton, M = Qt::MiddleButton;
    // A 3 x 2 glyph of black pixels at pixel size 5; the swatches hold red
    // (foreground) and green (background).
    QTest::newRow("left click") << QList<Step>{{'p', L, {7, 7}}, {'r', L, {7, 7}}} << QStringList{"###", "#r#"};
    QTest::newRow("right click") << QList<Step>{{'p', R, {7, 7}}, {'r', R, {7, 7}}} << QStringList{"###", "#g#"};
    QTest::newRow("middle click erases") << QList<Step>{{'p', M, {7, 7}}, {'r', M, {7, 7}}}
                                         << QStringList{"###", "#.#"};
    QTest::newRow("drag") << QList<Step>{{'p', L, {1, 1}}, {'m', L, {6, 1}}, {'m', L, {12, 8}}, {'r', L, {12, 8}}}
                          << QStringList{"rr#", "##r"};
    QTest::newRow("grid line belongs to the right") << QList<Step>{{'p', L, {5, 9}}, {'r', L, {5, 9}}}
                                                    << QStringList{"###", "#r#"};
    QTest::newRow("last pixel column of the last square") << QList<Step>{{'p', L, {14, 0}}, {'r', L, {14, 0}}}
                                                          << QStringList{"##r", "###"};
    QTest::newRow("x at width times size misses") << QList<Step>{{'p', L, {15, 0}}, {'r', L, {15, 0}}}
                                                  << QStringList{"###", "###"};
    QTest::newRow("right border misses") << QList<Step>{{'p', L, {16, 4}}, {'r', L, {16, 4}}}
                                         << QStringList{"###", "###"};
    QTest::newRow("left drag leaves by less than the size")
        << QList<Step>{{'p', L, {12, 7}}, {'m', L, {-4, 7}}, {'r', L, {-4, 7}}} << QStringList{"###", "r#r"};
    QTest::newRow("left drag leaves by the size")
        << QList<Step>{{'p', L, {12, 7}}, {'m', L, {-5, 7}}, {'m', L, {-9, 2}}, {'r', L, {-9, 2}}}
        << QStringList{"###", "##r"};
    QTest::newRow("left drag above") << QList<Step>{{'p', L, {2, 7}}, {'m', L, {7, -3}}, {'r', L, {7, -3}}}
                                     << QStringList{"#r#", "r##"};
    // Only the left button keeps the mouse beyond the paint box.
    QTest::newRow("right drag outside paints nothing")
        << QList<Step>{{'p', R, {12, 7}}, {'m', R, {-4, 7}}, {'r', R, {-4, 7}}} << QStringList{"###", "##g"};
    QTest::newRow("moves after the release do not paint")
        << QList<Step>{{'p', L, {1, 1}}, {'r', L, {1, 1}}, {'m', L, {6, 6}}} << QStringList{"r##", "###"};
    QTest::newRow("second button takes over")
        << QList<Step>{{'p', L, {1, 1}}, {'p', R, {6, 1}}, {'m', L | R, {12, 1}}, {'r', R, {12, 1}}}
        << QStringList{"rgg", "###"};
    // A release that never arrived: the next move without a button ends the
    // stroke, and later moves paint nothing until a new press.
    QTest::newRow("lost release")
        << QList<Step>{{'p', L, {1, 1}}, {'m', Qt::NoButton, {6, 1}}, {'m', L, {12, 1}}}
        << QStringList{"r##", "###"};
}

void TestFontGraphForm::pencil()
{
    QFETCH(QList<Step>, steps);
    QFETCH(QStringList, after);

    FontWindows w;
    paintOn(w, {"###", "###"});

    play(w.fontGraph, steps);

    QCOMPARE(pixelSketch(w.current()), after);
    QCOMPARE(w.workspace.fontModified, after != QStringList({"###", "###"}));
}

void TestFontGraphForm::pencilOnItsOwnColour_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QPoint>("at");

    // Red, green and white pixels under the left, right and middle buttons.
    QTest::newRow("left") << int(Qt::LeftButton) << QPoint(2, 2);
    QTest::newRow("right") << int(Qt::RightButton) << QPoint(7, 2);
    QTest::newRow("middle") << int(Qt::MiddleButton) << QPoint(12, 2);
}

void TestFontGraphForm::pencilOnItsOwnColour()
{
    QFETCH(int, button);
    QFETCH(QPoint, at);

    FontWindows w;
    paintOn(w, {"rg."});
    const auto pressed = Qt::MouseButtons(button);
    play(w.fontGraph, {{'p', pressed, at}, {'r', pressed, at}});

    // The pixel keeps its colour, yet the pencil has touched the font.
    QCOMPARE(pixelSketch(w.current()), QStringList({"rg."}));
    QVERIFY(w.workspace.fontModified);
}

void TestFontGraphForm::pencilStrokesAreSteps_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<int>("count");  // steps in the history

    const auto L = Qt::MouseButtons(Qt::LeftButton);
    const auto R = Qt::MouseButtons(Qt::RightButton);
    // From press to release over all six pixels and back.
    QList<Step> drag{{'p', L, {1, 1}}};
    for (const QPoint at : {QPoint(6, 1), {12, 1}, {12, 6}, {6, 6}, {1, 6}, {6, 1}, {12, 6}})
        drag << Step{'m', L, at};
    drag << Step{'r', L, {12, 6}};
    QTest::newRow("one stroke") << drag << 1;
    QTest::newRow("two strokes") << QList<Step>{{'p', L, {1, 1}}, {'r', L, {1, 1}}, {'p', L, {6, 1}}, {'r', L, {6, 1}}}
                                 << 2;
    QTest::newRow("second button starts a stroke")
        << QList<Step>{{'p', L, {1, 1}}, {'p', R, {6, 1}}, {'m', L | R, {12, 1}}, {'r', R, {12, 1}}} << 2;
    QTest::newRow("lost release ends the stroke")
        << QList<Step>{{'p', L, {1, 1}}, {'m', Qt::NoButton, {6, 1}}, {'p', L, {12, 1}}, {'r', L, {12, 1}}} << 2;
    QTest::newRow("a stroke that misses is none") << QList<Step>{{'p', L, {20, 1}}, {'r', L, {20, 1}}} << 0;
}

void TestFontGraphForm::pencilStrokesAreSteps()
{
    QFETCH(QList<Step>, steps);
    QFETCH(int, count);

    FontWindows w;
    paintOn(w, {"###", "###"});
    const font::tGraphChar before = w.current();

    play(w.fontGraph, steps);
    QUndoStack &history = w.commands.glyphHistory().stack();
    QCOMPARE(history.count(), count);
    for (int n = 0; n < count; ++n)
        history.undo();
    QVERIFY(w.current() == before);
}

void TestFontGraphForm::paintBucket_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("button");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("modified");

    QTest::newRow("left") << QStringList{"..#", "#.."} << int(Qt::LeftButton) << QPoint(2, 2)
                          << QStringList{"rr#", "#rr"} << true;
    QTest::newRow("right") << QStringList{"..#", "#.."} << int(Qt::RightButton) << QPoint(12, 7)
                           << QStringList{"gg#", "#gg"} << true;
    QTest::newRow("middle fills white") << QStringList{"##.", "#.#"} << int(Qt::MiddleButton) << QPoint(0, 0)
                                        << QStringList{"...", "..#"} << true;
    QTest::newRow("no diagonals") << QStringList{"#.#", ".#."} << int(Qt::LeftButton) << QPoint(0, 0)
                                  << QStringList{"r.#", ".#."} << true;
    // Nothing changes, but the font counts as modified all the same.
    QTest::newRow("colour already there") << QStringList{"rr", "r#"} << int(Qt::LeftButton) << QPoint(2, 2)
                                          << QStringList{"rr", "r#"} << true;
    QTest::newRow("miss") << QStringList{"..", ".."} << int(Qt::LeftButton) << QPoint(10, 2)
                          << QStringList{"..", ".."} << false;
}

void TestFontGraphForm::paintBucket()
{
    QFETCH(QStringList, before);
    QFETCH(int, button);
    QFETCH(QPoint, at);
    QFETCH(QStringList, after);
    QFETCH(bool, modified);

    FontWindows w;
    paintOn(w, before);
    w.draw.findChild<QAction *>(QStringLiteral("drawPotting"))->trigger();

    const auto pressed = Qt::MouseButtons(button);
    play(w.fontGraph, {{'p', pressed, at}, {'m', pressed, at + QPoint(5, 0)}, {'r', pressed, at}});

    QCOMPARE(pixelSketch(w.current()), after);
    QCOMPARE(w.workspace.fontModified, modified);
    // The image follows at the next tick.
    QCOMPARE(rasterSketch(w.current().image), before);
    w.fontGraph.TimerTimer();
    QCOMPARE(rasterSketch(w.current().image), after);
}

void TestFontGraphForm::undefinedGlyph()
{
    FontWindows w;
    w.select(66);
    w.fontGraph.TimerTimer();
    QCOMPARE(corner(w.fontGraph.editorRaster(), 4, 3), QStringList({"rr..", "rr..", "...."}));

    for (const char *tool : {"drawPen", "drawPotting"}) {
        w.draw.findChild<QAction *>(QLatin1String(tool))->trigger();
        play(w.fontGraph, {{'p', Qt::LeftButton, {0, 0}}, {'m', Qt::LeftButton, {1, 1}}, {'r', Qt::LeftButton, {1, 1}}});
    }
    QVERIFY(!w.workspace.fontModified);
    QVERIFY(w.glyph(66).pixels.empty());
}

void TestFontGraphForm::pixelSizeBelowOne_data()
{
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QPoint>("at");

    QTest::newRow("0, pencil") << 0 << "drawPen" << QPoint(3, 3);
    QTest::newRow("0, paint bucket") << 0 << "drawPotting" << QPoint(3, 3);
    QTest::newRow("negative, pencil, left and above") << -5 << "drawPen" << QPoint(-7, -7);
    QTest::newRow("negative, paint bucket, left and above") << -5 << "drawPotting" << QPoint(-7, -7);
}

void TestFontGraphForm::pixelSizeBelowOne()
{
    QFETCH(int, pixelSize);
    QFETCH(QString, tool);
    QFETCH(QPoint, at);

    FontWindows w;
    w.define(65, {"..", ".."});
    w.select(65);
    w.workspace.settings.pixelSize = pixelSize;
    w.draw.findChild<QAction *>(tool)->trigger();
    play(w.fontGraph, {{'p', Qt::LeftButton, at}, {'m', Qt::LeftButton, at + QPoint(1, 1)}, {'r', Qt::LeftButton, at}});

    QCOMPARE(pixelSketch(w.current()), QStringList({"..", ".."}));
    QVERIFY(!w.workspace.fontModified);
    QVERIFY(w.prompter.errors().isEmpty());
    // Only the red corner is drawn.
    w.fontGraph.TimerTimer();
    QCOMPARE(corner(w.fontGraph.editorRaster(), 3, 3), QStringList({"rr.", "rr.", "..."}));
}

void TestFontGraphForm::changesShowOnTheNextTick_data()
{
    QTest::addColumn<QString>("change");

    QTest::newRow("pencil dab") << "pencil";
    QTest::newRow("paint bucket") << "bucket";
    QTest::newRow("Shift Right of the drawing tools") << "shift";
    QTest::newRow("Increase Width of the drawing tools") << "wider";
    QTest::newRow("undo") << "undo";
    QTest::newRow("another glyph selected") << "select";
    QTest::newRow("glyph deleted") << "delete";
}

void TestFontGraphForm::changesShowOnTheNextTick()
{
    QFETCH(QString, change);
    FontWindows w;
    w.define(66, {"r.", ".g"});
    paintOn(w, {"#..", "..#"});
    play(w.fontGraph, {{'p', Qt::LeftButton, {1, 1}}, {'r', Qt::LeftButton, {1, 1}}});
    w.fontGraph.TimerTimer();
    const raster::Raster first = w.fontGraph.editorRaster();

    if (change == u"pencil") {
        play(w.fontGraph, {{'p', Qt::RightButton, {7, 7}}, {'r', Qt::RightButton, {7, 7}}});
    } else if (change == u"bucket") {
        w.draw.findChild<QAction *>(QStringLiteral("drawPotting"))->trigger();
        play(w.fontGraph, {{'p', Qt::LeftButton, {7, 2}}, {'r', Qt::LeftButton, {7, 2}}});
    } else if (change == u"shift") {
        w.draw.tbGCharRightClick();
    } else if (change == u"wider") {
        w.draw.tbGCharWidthIncClick();
    } else if (change == u"undo") {
        w.commands.glyphHistory().undo();
    } else if (change == u"select") {
        w.select(66);
    } else if (change == u"delete") {
        w.prompter.answer(project::Answer::Yes);
        w.font.pmDeleteGCharClick();
    }
    QCOMPARE(w.prompter.errors(), QStringList());

    // The next tick draws the glyph as it is now and brings its image up to date.
    w.fontGraph.TimerTimer();
    font::tGraphChar glyph = w.current();
    raster::Raster expected(w.fontGraph.editorRaster().width(), w.fontGraph.editorRaster().height());
    font::drawZoomedGlyph(expected, glyph, w.workspace.settings.pixelSize);
    QCOMPARE(w.fontGraph.editorRaster(), expected);
    QVERIFY(w.fontGraph.editorRaster() != first);
    QCOMPARE(w.current().image, glyph.image);
}

void TestFontGraphForm::changesWhileHiddenShowWhenShown()
{
    FontWindows w;
    paintOn(w, {"..", ".."});
    w.fontGraph.show();
    w.fontGraph.TimerTimer();
    w.fontGraph.hide();

    // Painted while hidden, unseen by the editor's timer, which stands still.
    w.commands.glyphHistory().record(65, [&] { w.current().pixels[1][0] = 0x0000FF; });
    w.fontGraph.TimerTimer();
    w.fontGraph.show();
    QTRY_COMPARE(rasterSketch(w.current().image), QStringList({".r", ".."}));
    QCOMPARE(corner(w.fontGraph.editorRaster(), 12, 2), QStringList({"rrrrrrrrrrrr", "r....#rrrrrr"}));
}

QTEST_MAIN(TestFontGraphForm)
#include "tst_font_graph_form.moc"
