#include "font/font_file.h"
#include "font/zoomed_glyph.h"
#include "ui/colour_grid.h"
#include "ui/font_windows.h"
#include "ui/string_grid.h"

#include <QAction>
#include <QFrame>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <map>

using namespace letterloom;
using letterloom::testing::FontWindows;
using letterloom::testing::pixelSketch;
using letterloom::testing::rasterSketch;

namespace {

QAction *button(FontWindows &w, const QString &name)
{
    return w.draw.findChild<QAction *>(name);
}

ui::ColourGrid *gridOf(FontWindows &w)
{
    return w.draw.findChild<ui::ColourGrid *>(QStringLiteral("ColorGrid"));
}

QPoint squareCentre(ui::ColourGrid *grid, int index)
{
    return grid->squareRect(index).center();
}

// Changes the current glyph as the user would: a transform button by its
// name, a pencil dot or a paint bucket fill at its top-left pixel, the size
// dialog (3 x 1), the delete item or the new-project reset.
void changeGlyph(FontWindows &w, const QString &change)
{
    if (change == u"pencil" || change == u"bucket") {
        if (change == u"bucket")
            button(w, "drawPotting")->trigger();
        w.fontGraph.PaintBoxMouseDown(Qt::LeftButton, {}, {1, 1});
        w.fontGraph.PaintBoxMouseUp(Qt::LeftButton, {}, {1, 1});
    } else if (change == u"size") {
        w.whenSizeDialogOpens([](ui::TfontSizeForm &dialog) { dialog.setFields(3, 1); }, "btnOk");
        w.font.findChild<QAction *>(QStringLiteral("pmSetGCharSize"))->trigger();
    } else if (change == u"delete") {
        w.prompter.answer(project::Answer::Yes);
        w.font.findChild<QAction *>(QStringLiteral("pmDeleteGChar"))->trigger();
    } else if (change == u"new") {
        w.commands.resetProject();
    } else {
        button(w, change)->trigger();
    }
}

}  // namespace

class TestDrawForm : public QObject {
    Q_OBJECT
private slots:
    void window();
    void controls_data();
    void controls();
    void toolBar();
    void toolsAreGrouped();
    void swatches();
    void colourGrid_data();
    void colourGrid();
    void gridDragAndMiddleButton();
    void colourDialog();
    void transforms_data();
    void transforms();
    void sizeCommandsFitTheEditor_data();
    void sizeCommandsFitTheEditor();
    void undoAndRedo_data();
    void undoAndRedo();
    void historyKeys_data();
    void historyKeys();
    void editorCaptionFollowsTheGlyph_data();
    void editorCaptionFollowsTheGlyph();
};

void TestDrawForm::window()
{
    FontWindows w;
    QCOMPARE(w.draw.windowTitle(), QStringLiteral("Drawing Tools "));
    // The palette's 265 pixels and the two history buttons.
    QCOMPARE(w.draw.size(), QSize(265 + 2 * 23, 81));
    QCOMPARE(w.draw.pos(), QPoint(8, 411));
    QVERIFY(w.draw.isHidden());
    QVERIFY(w.draw.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void TestDrawForm::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");

    // The toolbar band runs across the top, edge lines included.
    QTest::newRow("ToolBar1") << "ToolBar1" << QRect(0, 0, 265 + 2 * 23, 29);
    QTest::newRow("colorPanel") << "colorPanel" << QRect(0, 32, 48, 48);
    QTest::newRow("ColorGrid") << "ColorGrid" << QRect(48, 32, 216, 48);
}

void TestDrawForm::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, place);

    FontWindows w;
    w.draw.show();
    auto *control = w.draw.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), &w.draw);
    QCOMPARE(control->geometry(), place);
}

void TestDrawForm::toolBar()
{
    FontWindows w;
    w.draw.show();
    auto *bar = w.draw.findChild<QToolBar *>(QStringLiteral("ToolBar1"));
    QVERIFY(bar);

    const QStringList names{"tbSpace1",        "tbGCharLeft",     "tbGCharRight",     "tbGCharUp",
                            "tbGCharDown",     "tbSpace2",        "tbGCharWidthInc",  "tbGCharWidthDec",
                            "tbGCharHeightInc", "tbGCharHeightDec", "tbSpace3",        "drawPen",
                            "drawPotting",     "tbSpace4",         "tbUndo",           "tbRedo"};
    const QStringList hints{"",         "Shift Left",     "Shift Right",    "Shift Up",        "Shift Down",
                            "",         "Increase Width", "Decrease Width", "Increase Height", "Decrease Height",
                            "",         "Pencil",         "Paint Bucket",   "",               "Undo",
                            "Redo"};
    QStringList shownNames, shownHints;
    for (QAction *action : bar->actions()) {
        shownNames << action->objectName();
        shownHints << (action->isSeparator() ? QString() : action->toolTip());
        QCOMPARE(action->isSeparator(), action->objectName().startsWith("tbSpace"));
        if (action->isSeparator())
            continue;
        // Every icon is there and draws.
        QVERIFY(!action->icon().pixmap(16, 16).isNull());
        // Every button fits in the window, between the edge lines of the band.
        const QRect place = bar->widgetForAction(action)->geometry().translated(bar->pos());
        QVERIFY2(place.right() < w.draw.width(), qPrintable(action->objectName()));
        QVERIFY2(place.top() >= 2 && place.bottom() < 29 - 2, qPrintable(action->objectName()));
        QVERIFY(bar->widgetForAction(action)->isVisible());
    }
    QCOMPARE(shownNames, names);
    QCOMPARE(shownHints, hints);
}

void TestDrawForm::toolsAreGrouped()
{
    FontWindows w;
    QAction *pen = button(w, "drawPen");
    QAction *bucket = button(w, "drawPotting");
    QVERIFY(pen->isChecked() && !bucket->isChecked());
    QCOMPARE(w.draw.tool(), ui::DrawTool::Pencil);

    bucket->trigger();
    QVERIFY(!pen->isChecked() && bucket->isChecked());
    QCOMPARE(w.draw.tool(), ui::DrawTool::PaintBucket);
    bucket->trigger();  // pressing the tool that is down keeps it down
    QCOMPARE(w.draw.tool(), ui::DrawTool::PaintBucket);
    pen->trigger();
    QVERIFY(pen->isChecked() && !bucket->isChecked());
}

void TestDrawForm::swatches()
{
    FontWindows w;
    QCOMPARE(w.draw.foregroundColour(), raster::Colour(0x000000));
    QCOMPARE(w.draw.backgroundColour(), raster::Colour(0xFFFFFF));
    auto *panel = w.draw.findChild<QFrame *>(QStringLiteral("colorPanel"));
    QWidget *fg = panel->findChild<QWidget *>(QStringLiteral("fgColor"));
    QWidget *bg = panel->findChild<QWidget *>(QStringLiteral("bgColor"));
    QCOMPARE(bg->geometry(), QRect(8, 8, 24, 24));
    QCOMPARE(fg->geometry(), QRect(18, 18, 24, 24));
    // The foreground swatch lies over the lower right of the background one.
    QCOMPARE(panel->childAt(25, 25), fg);
    QCOMPARE(panel->childAt(12, 12), bg);
    QCOMPARE(gridOf(w)->foregroundIndex(), 0);
    QCOMPARE(gridOf(w)->backgroundIndex(), 15);
}

void TestDrawForm::colourGrid_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<raster::Colour>("colour");

    const raster::Colour colours[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                        0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                        0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (int index = 0; index < 16; ++index)
        QTest::addRow("square %d", index) << index << colours[index];
}

void TestDrawForm::colourGrid()
{
    QFETCH(int, index);
    QFETCH(raster::Colour, colour);

    FontWindows w;
    ui::ColourGrid *grid = gridOf(w);
    QTest::mouseClick(grid, Qt::LeftButton, {}, squareCentre(grid, index));
    QCOMPARE(w.draw.foregroundColour(), colour);
    QCOMPARE(w.draw.backgroundColour(), raster::Colour(0xFFFFFF));
    QCOMPARE(grid->foregroundIndex(), index);

    QTest::mouseClick(grid, Qt::RightButton, {}, squareCentre(grid, 15 - index));
    QCOMPARE(w.draw.backgroundColour(), ui::ColourGrid::kColours[std::size_t(15 - index)]);
    QCOMPARE(w.draw.foregroundColour(), colour);

    // The square's own pixels show the colour.
    const QImage shown = grid->grab().toImage();
    QCOMPARE(raster::fromQRgb(shown.pixel(grid->squareRect(index).topLeft() + QPoint(2, 2))), colour);
}

void TestDrawForm::gridDragAndMiddleButton()
{
    FontWindows w;
    ui::ColourGrid *grid = gridOf(w);

    // A drag moves the selection; the swatch takes it on release.
    QTest::mousePress(grid, Qt::LeftButton, {}, squareCentre(grid, 2));
    QTest::mouseMove(grid, squareCentre(grid, 9));
    QCOMPARE(grid->foregroundIndex(), 9);
    QCOMPARE(w.draw.foregroundColour(), raster::Colour(0x000000));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, squareCentre(grid, 9));
    QCOMPARE(w.draw.foregroundColour(), raster::Colour(0x0000FF));

    // The middle button changes nothing.
    QTest::mouseClick(grid, Qt::MiddleButton, {}, squareCentre(grid, 12));
    QCOMPARE(grid->foregroundIndex(), 9);
    QCOMPARE(grid->backgroundIndex(), 15);
    QCOMPARE(w.draw.foregroundColour(), raster::Colour(0x0000FF));
    QCOMPARE(w.draw.backgroundColour(), raster::Colour(0xFFFFFF));
}

void TestDrawForm::colourDialog()
{
    FontWindows w;
    QWidget *fg = w.draw.findChild<QWidget *>(QStringLiteral("fgColor"));
    QWidget *bg = w.draw.findChild<QWidget *>(QStringLiteral("bgColor"));
    w.prompter.colours = {raster::Colour(0x123456), std::nullopt, raster::Colour(0x00AA00), std::nullopt};

    QTest::mouseDClick(fg, Qt::LeftButton);
    QCOMPARE(w.draw.foregroundColour(), raster::Colour(0x123456));
    QTest::mouseDClick(bg, Qt::LeftButton);  // cancelled
    QCOMPARE(w.draw.backgroundColour(), raster::Colour(0xFFFFFF));
    QTest::mouseDClick(bg, Qt::LeftButton);
    QCOMPARE(w.draw.backgroundColour(), raster::Colour(0x00AA00));
    QTest::mouseDClick(fg, Qt::LeftButton);  // cancelled
    QCOMPARE(w.draw.foregroundColour(), raster::Colour(0x123456));

    // The dialog starts black, then with the colour last chosen in it,
    // whichever swatch it was opened for.
    QCOMPARE(w.prompter.colourStarts,
             QList<raster::Colour>({0x000000, 0x123456, 0x123456, 0x00AA00}));

    // Only the left button's double-click opens the dialog.
    w.prompter.log.clear();
    for (QWidget *swatch : {fg, bg})
        for (Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton})
            QTest::mouseDClick(swatch, other);
    QCOMPARE(w.prompter.log, QStringList());
}

void TestDrawForm::transforms_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("left") << "tbGCharLeft" << QStringList{"g.", "#."};
    QTest::newRow("right") << "tbGCharRight" << QStringList{".r", ".b"};
    QTest::newRow("up") << "tbGCharUp" << QStringList{"b#", ".."};
    QTest::newRow("down") << "tbGCharDown" << QStringList{"..", "rg"};
    QTest::newRow("wider") << "tbGCharWidthInc" << QStringList{"rg.", "b#."};
    QTest::newRow("narrower") << "tbGCharWidthDec" << QStringList{"r", "b"};
    QTest::newRow("higher") << "tbGCharHeightInc" << QStringList{"rg", "b#", ".."};
    QTest::newRow("lower") << "tbGCharHeightDec" << QStringList{"rg"};
}

void TestDrawForm::transforms()
{
    QFETCH(QString, name);
    QFETCH(QStringList, after);

    FontWindows w;
    w.define(90, {"rg", "b#"});
    w.select(90);
    button(w, name)->trigger();

    QCOMPARE(pixelSketch(w.glyph(90)), after);
    // Text drawn with the glyph shows the change at once.
    QCOMPARE(rasterSketch(w.glyph(90).image), after);
    // The glyph now differs from the font file.
    QVERIFY(w.workspace.fontModified);
    QCOMPARE(w.glyph(90).defined, std::uint8_t(1));
}

void TestDrawForm::sizeCommandsFitTheEditor_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("client");

    // An 8 x 10 glyph at pixel size 20 fills 162 x 202.
    QTest::newRow("wider") << "tbGCharWidthInc" << QSize(182, 202);
    QTest::newRow("narrower") << "tbGCharWidthDec" << QSize(142, 202);
    QTest::newRow("higher") << "tbGCharHeightInc" << QSize(162, 222);
    QTest::newRow("lower") << "tbGCharHeightDec" << QSize(162, 182);
    QTest::newRow("shift keeps the size") << "tbGCharLeft" << QSize(162, 202);
}

void TestDrawForm::sizeCommandsFitTheEditor()
{
    QFETCH(QString, name);
    QFETCH(QSize, client);

    FontWindows w;
    w.workspace.settings.pixelSize = 20;
    w.define(90, QStringList(10, QString(8, '#')));
    w.select(90);
    w.fontGraph.fitToGlyph();
    button(w, name)->trigger();

    QCOMPARE(w.fontGraph.size(), client);
    QCOMPARE(w.fontGraph.editorRaster().size(), client);
    QVERIFY(w.fontGraph.isHidden());
}

void TestDrawForm::undoAndRedo_data()
{
    QTest::addColumn<QString>("change");
    for (const char *change : {"tbGCharLeft", "tbGCharRight", "tbGCharUp", "tbGCharDown", "tbGCharWidthInc",
                               "tbGCharWidthDec", "tbGCharHeightInc", "tbGCharHeightDec", "pencil", "bucket", "size",
                               "delete"})
        QTest::newRow(change) << QString(change);
}

void TestDrawForm::undoAndRedo()
{
    QFETCH(QString, change);

    FontWindows w;
    w.workspace.settings.pixelSize = 60;  // the editor fitted to 2 x 2 pixels is above its minimum
    w.define(65, {"rg", "b#"});
    w.glyph(65).image.setPixel(0, 0, 0x00FFFF);  // the editor has not copied the pixels yet
    w.select(65);
    const font::tGraphChar before = w.glyph(65);
    QAction *undo = button(w, "tbUndo");
    QAction *redo = button(w, "tbRedo");
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());

    changeGlyph(w, change);
    const font::tGraphChar after = w.glyph(65);
    QVERIFY(!(after == before));
    QVERIFY(undo->isEnabled() && !redo->isEnabled());
    QVERIFY(w.workspace.fontModified);

    // Undo gives back the whole record and shows it: the character table
    // selects the glyph again, and the editor fits it.
    w.select(66);
    undo->trigger();
    QVERIFY(w.glyph(65) == before);
    QVERIFY(!w.workspace.fontModified);
    QVERIFY(!undo->isEnabled() && redo->isEnabled());
    QCOMPARE(w.workspace.currentGlyph, 65);
    QCOMPARE(w.font.findChild<ui::StringGrid *>(QStringLiteral("StringGrid"))->selectedCell(), QPoint(1, 4));
    QCOMPARE(w.fontGraph.windowTitle(), ui::glyphCaption(2, 2, 65));
    QCOMPARE(w.fontGraph.size(), font::zoomedGlyphSize(before, 60));

    w.select(66);
    redo->trigger();
    font::tGraphChar redone = after;
    // What the pencil and the paint bucket painted reaches the image that
    // text is drawn from, also through redo with the editor closed.
    if (change == u"pencil" || change == u"bucket")
        font::syncImage(redone);
    QVERIFY(w.glyph(65) == redone);
    QVERIFY(w.workspace.fontModified);
    QVERIFY(undo->isEnabled() && !redo->isEnabled());
    QCOMPARE(w.workspace.currentGlyph, 65);
    QCOMPARE(w.fontGraph.windowTitle(), ui::glyphCaption(after.width, after.height, 65));
}

void TestDrawForm::historyKeys_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<int>("index");  // the place in the history afterwards, from step 1 of 2

    for (const char *window : {"font", "fontGraph", "draw"}) {
        QTest::addRow("Ctrl+Z in %s", window) << window << QKeySequence(Qt::CTRL | Qt::Key_Z) << 0;
        QTest::addRow("Ctrl+Y in %s", window) << window << QKeySequence(Qt::CTRL | Qt::Key_Y) << 2;
        QTest::addRow("Ctrl+Shift+Z in %s", window) << window << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) << 2;
    }
    QTest::newRow("Ctrl+Z elsewhere") << "other" << QKeySequence(Qt::CTRL | Qt::Key_Z) << 1;
}

void TestDrawForm::historyKeys()
{
    QFETCH(QString, window);
    QFETCH(QKeySequence, keys);
    QFETCH(int, index);

    FontWindows w;
    QWidget other;
    w.define(65, {"rg", "b#"});
    w.select(65);
    button(w, "tbGCharLeft")->trigger();
    button(w, "tbGCharLeft")->trigger();
    button(w, "tbUndo")->trigger();

    const std::map<QString, QWidget *> windows{{"font", &w.font}, {"fontGraph", &w.fontGraph}, {"draw", &w.draw}};
    for (const auto &[name, shown] : windows)
        shown->show();
    QWidget *target = windows.contains(window) ? windows.at(window) : &other;
    target->show();
    target->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(target));
    QTest::keySequence(target, keys);
    QCOMPARE(w.commands.glyphHistory().stack().index(), index);
}

// The glyph editor's caption names the current glyph's size after every
// change of it, not only when a cell is selected.
void TestDrawForm::editorCaptionFollowsTheGlyph_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("caption");
    QTest::newRow("wider") << "tbGCharWidthInc" << "3*2 - \"A\"";
    QTest::newRow("narrower") << "tbGCharWidthDec" << "1*2 - \"A\"";
    QTest::newRow("higher") << "tbGCharHeightInc" << "2*3 - \"A\"";
    QTest::newRow("lower") << "tbGCharHeightDec" << "2*1 - \"A\"";
    QTest::newRow("size dialog") << "size" << "3*1 - \"A\"";
    QTest::newRow("delete") << "delete" << "0*0 - \"A\"";
    QTest::newRow("reading a font") << "read" << "4*5 - \"A\"";
    QTest::newRow("new project") << "new" << "0*0 - \"A\"";
}

void TestDrawForm::editorCaptionFollowsTheGlyph()
{
    QFETCH(QString, change);
    QFETCH(QString, caption);
    QTemporaryDir dir;
    FontWindows w;
    w.define(65, {"rg", "b#"});
    w.select(65);
    QCOMPARE(w.fontGraph.windowTitle(), QStringLiteral("2*2 - \"A\""));
    if (change == u"read") {
        font::GlyphTable other;
        other['A'] = testing::sketchGlyph({"####", "####", "####", "####", "####"});
        const QString path = dir.filePath(QStringLiteral("other.llf"));
        font::writeFontFile(path, other);
        w.prompter.chooseFile(path);
        w.commands.openFont();
    } else {
        changeGlyph(w, change);
    }
    QCOMPARE(w.fontGraph.windowTitle(), caption);
}

QTEST_MAIN(TestDrawForm)
#include "tst_draw_form.moc"
