// The image view: what it shows, how Ctrl and the mouse draw the text area on
// it, the toolbar nudges, and the exported picture.

#include "project/compose_view.h"
#include "project/project_file.h"
#include "project/view_zoom.h"
#include "project/workspace.h"
#include "raster/raster.h"
#include "support/fake_prompter.h"
#include "ui/application.h"
#include "ui/graph_form.h"
#include "ui/effects_form.h"
#include "ui/main_form.h"
#include "ui/text_form.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using letterloom::project::Answer;
using letterloom::project::TextArea;
using letterloom::raster::Colour;
using letterloom::raster::kBlack;
using letterloom::raster::kRed;
using letterloom::raster::Raster;
using letterloom::testing::FakePrompter;
using letterloom::ui::Shell;
using letterloom::ui::TgraphForm;

Q_DECLARE_METATYPE(TextArea)

namespace {

constexpr Colour kGrey = 0x808080;
const QSize kPictureSize(200, 100);

// A scripted prompter that also lets a test look round while a file is chosen.
struct WatchingPrompter : FakePrompter {
    std::function<void()> whileSaving;
    std::optional<QString> chooseSaveFile(letterloom::project::FileDialog &dialog) override
    {
        if (whileSaving)
            whileSaving();
        return FakePrompter::chooseSaveFile(dialog);
    }
};

// The program with a grey picture (200 x 100 unless given) loaded, or with none.
struct Program {
    QTemporaryDir &dir;
    WatchingPrompter prompter;
    Shell shell{prompter, dir.path()};

    Program(QTemporaryDir &folder, bool withPicture, QSize size = kPictureSize)
        : dir(folder)
    {
        if (withPicture) {
            Raster picture(size.width(), size.height());
            picture.fill(kGrey);
            const QString path = dir.filePath(QStringLiteral("grey.bmp"));
            picture.writeBmpFile(path);
            prompter.chooseFile(path);
            trigger("mmLoadBitmap");
        }
        shell.show();
    }

    TgraphForm *graph() { return shell.windows().graph; }
    const Raster &viewRaster() { return graph()->viewRaster(); }
    QWidget *paintBox() { return graph()->findChild<QWidget *>(QStringLiteral("PaintBox")); }
    QTimer *timer() { return graph()->findChild<QTimer *>(QStringLiteral("Timer")); }
    letterloom::project::Workspace &workspace() { return shell.workspace(); }
    QAction *action(const char *name) { return shell.windows().main->findChild<QAction *>(QLatin1String(name)); }
    void trigger(const char *name) { action(name)->trigger(); }

    // One tick of the view's timer.
    const Raster &tick()
    {
        graph()->TimerTimer();
        return graph()->viewRaster();
    }

    // A black 2 x 2 letter A as the text, laid out at the next refresh.
    void typeA()
    {
        auto &glyphs = workspace().glyphs;
        glyphs.setGlyphSize('A', 2, 2);
        glyphs['A'].defined = 1;
        for (auto &column : glyphs['A'].pixels)
            std::fill(column.begin(), column.end(), kBlack);
        letterloom::font::syncImage(glyphs['A']);
        shell.windows().text->setBytes("A");
    }

    // The letter A laid out in the text area.
    void refreshText()
    {
        typeA();
        trigger("mmResetText");
    }

    // What the view shows when composed afresh from the workspace: at 1x
    // the scene with the hint lines in the corner shown; enlarged, each scene pixel as zoom x zoom pixels from
    // the scroll position on, and the hint lines at their screen size.
    Raster freshView(bool selectionMode)
    {
        const QSize surface = graph()->surfaceSize();
        const int zoom = graph()->zoom();
        const QPoint origin = graph()->origin();
        Raster scene(surface.width(), surface.height());
        Raster view(viewRaster().width(), viewRaster().height());
        if (!workspace().hasPicture()) {
            letterloom::project::ComposeView(workspace(), view, false);
            return view;
        }
        letterloom::project::ComposeView(workspace(), scene, false, selectionMode,
                                         zoom == 1 ? std::optional(origin) : std::nullopt);
        for (int y = 0; y < view.height(); ++y)
            for (int x = 0; x < view.width(); ++x)
                view.setPixel(x, y, scene.pixel((origin.x() + x) / zoom, (origin.y() + y) / zoom));
        if (zoom > 1)
            letterloom::project::drawHints(workspace().settings, view, selectionMode);
        return view;
    }

    // Plays image view events: "a" gives the image view the keyboard, "o"
    // gives it to the text input window, "k+" presses Ctrl, "u" lets it go,
    // "p X Y" presses the mouse with Ctrl held, "P X Y" without, "m X Y" moves
    // it, "r X Y" releases it, "n" adds a text area (Edit > New Text Area),
    // "z N" chooses N x from the Windows menu.
    void play(const QString &script)
    {
        const auto giveKeyboard = [](QWidget *window) {
            window->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), window);
        };
        for (const QString &step : script.split(u',', Qt::SkipEmptyParts)) {
            const QStringList parts = step.trimmed().split(u' ');
            const QString op = parts[0];
            const QPoint at = parts.size() == 3 ? QPoint(parts[1].toInt(), parts[2].toInt()) : QPoint();
            if (op == u"a")
                giveKeyboard(graph());
            else if (op == u"o")
                giveKeyboard(shell.windows().text);
            else if (op == u"k+")
                QTest::keyPress(graph(), Qt::Key_Control, Qt::ControlModifier);
            else if (op == u"u")
                QTest::keyRelease(graph(), Qt::Key_Control, Qt::NoModifier);
            else if (op == u"p" || op == u"P")
                QTest::mousePress(paintBox(), Qt::LeftButton, op == u"p" ? Qt::ControlModifier : Qt::NoModifier, at);
            else if (op == u"m")
                QTest::mouseMove(paintBox(), at);
            else if (op == u"r")
                QTest::mouseRelease(paintBox(), Qt::LeftButton, Qt::NoModifier, at);
            else if (op == u"n")
                trigger("mmNewArea");
            else if (op == u"z")
                trigger(qPrintable(QStringLiteral("mmZoom") + parts[1]));
        }
    }
};

// How many pixels of a colour lie in the rectangle (x, y, w, h) of a raster.
int countIn(const Raster &raster, const QRect &rect, Colour colour)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += raster.contains(x, y) && raster.pixel(x, y) == colour;
    return count;
}

// The smallest rectangle round the pixels of a colour.
QRect boundsOf(const Raster &raster, Colour colour)
{
    QRect bounds;
    for (int y = 0; y < raster.height(); ++y)
        for (int x = 0; x < raster.width(); ++x)
            if (raster.pixel(x, y) == colour)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

const QRect kFirstHint(10, 10, 190, 14);
const QRect kSecondHint(10, 24, 190, 14);

}  // namespace

class TestGraphForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void viewWithoutAPicture_data();
    void viewWithoutAPicture();
    void viewFollowsTheLoadedPicture();
    void viewShowsFrameAndHints_data();
    void viewShowsFrameAndHints();
    void widgetShowsTheViewRaster();
    void timerRunsWhileShown();
    void drawingTheArea_data();
    void drawingTheArea();
    void nudges_data();
    void nudges();
    void nudgesCarryTheShownText_data();
    void nudgesCarryTheShownText();
    void exportIsTheSameWhateverTheGuides();
    void exportKeepsTheTimer_data();
    void exportKeepsTheTimer();
    void changesShowOnTheNextTick_data();
    void changesShowOnTheNextTick();
    void ticksWithoutChangesDrawNothing();
    void switchingAreasIsNoEdit();
    void zoomKeysBelongToTheImageView_data();
    void zoomKeysBelongToTheImageView();
    void viewStaysInsideTheScreen_data();
    void viewStaysInsideTheScreen();
    void liveRefreshNoticeLine();

private:
    QTemporaryDir dir_;
};

void TestGraphForm::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

// Every case starts at 1x, whatever the one before chose.
void TestGraphForm::init()
{
    letterloom::project::storeZoom(1);
}

// Before any picture, and after opening a project that was saved without
// one, the view keeps a size the user can see (the first one, or that of the
// last picture) and shows only the centred hint.
void TestGraphForm::viewWithoutAPicture_data()
{
    QTest::addColumn<bool>("pictureFirst");
    QTest::addColumn<bool>("openProject");
    QTest::addColumn<QSize>("size");
    QTest::newRow("no picture yet") << false << false << QSize(297, 274);
    QTest::newRow("project without a picture") << false << true << QSize(297, 274);
    QTest::newRow("project without a picture, after a picture") << true << true << kPictureSize;
}

void TestGraphForm::viewWithoutAPicture()
{
    QFETCH(bool, pictureFirst);
    QFETCH(bool, openProject);
    QFETCH(QSize, size);
    Program program(dir_, pictureFirst);
    if (openProject) {
        letterloom::project::ProjectFile project;
        project.settings.area = {10, 40, 100, 50};
        project.text = "A";
        const QString path = dir_.filePath(QStringLiteral("no-picture.llp"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(letterloom::project::projectBytes(project));
        file.close();
        program.prompter.chooseFile(path);
        if (pictureFirst)
            program.prompter.answer(Answer::No);  // the loaded picture is let go
        program.trigger("mmLoadProject");
        QVERIFY(program.workspace().pictureLoaded);
    }
    program.workspace().settings.area = {10, 40, 100, 50};
    program.refreshText();
    program.play(QStringLiteral("k+"));
    const Raster &view = program.tick();

    QCOMPARE(view.size(), size);
    QCOMPARE(program.graph()->size(), size);
    // Only the centred hint: no frame, no hint lines, no text.
    const int red = countIn(view, QRect(QPoint(0, 0), size), kRed);
    QVERIFY(red > 0);
    QCOMPARE(countIn(view, QRect(QPoint(0, 0), size), kBlack), 0);
    const QSize hint = Raster::measureText(QStringLiteral("Load picture here!"));
    QVERIFY(countIn(view, QRect((size.width() - hint.width()) / 2, (size.height() - hint.height()) / 2, hint.width(),
                                hint.height()),
                    kRed) == red);

    // Closed, the view comes back through Show Image at that size.
    program.graph()->close();
    program.trigger("mmShowBitmap");
    QVERIFY(program.graph()->isVisible());
    QCOMPARE(program.graph()->size(), size);
}

void TestGraphForm::viewFollowsTheLoadedPicture()
{
    Program program(dir_, true);
    QCOMPARE(program.graph()->size(), kPictureSize);
    QCOMPARE(program.graph()->minimumSize(), kPictureSize);
    QCOMPARE(program.graph()->maximumSize(), kPictureSize);
    QCOMPARE(program.paintBox()->size(), kPictureSize);
    QCOMPARE(program.graph()->windowTitle(), QStringLiteral("Image - grey.bmp"));
    QCOMPARE(program.tick().size(), kPictureSize);
}

void TestGraphForm::viewShowsFrameAndHints_data()
{
    QTest::addColumn<bool>("showSelection");
    QTest::addColumn<bool>("showHelp");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("frame");
    QTest::addColumn<bool>("firstHint");
    QTest::addColumn<bool>("secondHint");
    QTest::addColumn<int>("zoom");

    // At 3x the frame is three screen pixels wide; the hints keep their size.
    QTest::newRow("both shown, Ctrl held, at 3x") << true << true << "z 3, k+" << true << true << true << 3;
    QTest::newRow("nothing, at 3x") << false << false << "z 3, k+" << false << false << false << 3;
    QTest::newRow("both shown") << true << true << "" << true << true << false << 1;
    QTest::newRow("both shown, Ctrl held") << true << true << "k+" << true << true << true << 1;
    QTest::newRow("Ctrl held, then let go") << true << true << "k+, u" << true << true << false << 1;
    QTest::newRow("no frame") << false << true << "k+" << false << true << true << 1;
    QTest::newRow("no hints") << true << false << "k+" << true << false << false << 1;
    QTest::newRow("nothing") << false << false << "k+" << false << false << false << 1;
    // A shortcut such as Ctrl+O opens a dialog, which takes the keyboard and
    // with it the release of Ctrl: the mode ends when the view loses the keys.
    QTest::newRow("Ctrl held in the active view") << true << true << "a, k+" << true << true << true << 1;
    QTest::newRow("Ctrl held, then another window takes the keys") << true << true << "a, k+, o" << true << true
                                                                   << false << 1;
    // Ctrl was let go while another window had the keyboard: a click without
    // Ctrl shows that the mode is over.
    QTest::newRow("click without Ctrl after a lost release") << true << true << "k+, P 150 80, r 150 80" << true
                                                             << true << false << 1;
}

void TestGraphForm::viewShowsFrameAndHints()
{
    QFETCH(bool, showSelection);
    QFETCH(bool, showHelp);
    QFETCH(QString, keys);
    QFETCH(bool, frame);
    QFETCH(bool, firstHint);
    QFETCH(bool, secondHint);
    QFETCH(int, zoom);
    Program program(dir_, true);
    if (!showSelection)
        program.trigger("tbRangeVisible");
    if (!showHelp)
        program.trigger("tbHelpVisible");
    program.workspace().settings.area = {10, 40, 100, 50};
    program.play(keys);
    const Raster &view = program.tick();

    // The frame runs along columns 10 and 109 and rows 40 and 89; each of
    // its pixels covers zoom x zoom pixels of the screen.
    const auto at = [&](QPoint p, int corner) { return view.pixel(p.x() * zoom + corner, p.y() * zoom + corner); };
    const Colour edge = frame ? kRed : kGrey;
    for (const int corner : {0, zoom - 1}) {
        for (const QPoint &p : {QPoint(10, 60), QPoint(109, 60), QPoint(50, 40), QPoint(50, 89)})
            QCOMPARE(at(p, corner), edge);
        for (const QPoint &p : {QPoint(11, 60), QPoint(108, 60), QPoint(50, 41), QPoint(50, 88), QPoint(9, 60),
                                QPoint(110, 60), QPoint(50, 90)})
            QCOMPARE(at(p, corner), kGrey);
    }
    QCOMPARE(countIn(view, kFirstHint, kRed) > 0, firstHint);
    QCOMPARE(countIn(view, kSecondHint, kRed) > 0, secondHint);
    QCOMPARE(countIn(view, QRect(0, 38, view.width(), 2), kRed), 0);
    QCOMPARE(program.workspace().settings.area, (TextArea{10, 40, 100, 50}));
}

void TestGraphForm::widgetShowsTheViewRaster()
{
    Program program(dir_, true);
    program.workspace().settings.area = {20, 30, 60, 40};
    const QImage expected = program.tick().image().convertToFormat(QImage::Format_RGB32);
    const QImage shown = program.paintBox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, expected);
}

void TestGraphForm::timerRunsWhileShown()
{
    Program program(dir_, true);
    QCOMPARE(program.timer()->interval(), 1);
    QVERIFY(program.timer()->isActive());
    program.graph()->close();
    QVERIFY(!program.timer()->isActive());
    program.trigger("mmShowBitmap");
    QVERIFY(program.timer()->isActive());
}

void TestGraphForm::drawingTheArea_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QString>("events");
    QTest::addColumn<TextArea>("area");
    QTest::addColumn<bool>("areaChanged");
    QTest::addColumn<bool>("linesEmptied");

    const TextArea before{7, 8, 9, 10};
    QTest::newRow("drag down and right") << true << "k+, p 50 40, m 150 90, r 150 90, u" << TextArea{50, 40, 100, 50}
                                         << true << true;
    QTest::newRow("the reversed drag") << true << "k+, p 150 90, m 50 40, r 50 40, u" << TextArea{50, 40, 100, 50}
                                       << true << true;
    QTest::newRow("during the reversed drag") << true << "k+, p 150 90, m 50 40" << TextArea{150, 90, -100, -50}
                                              << true << true;
    QTest::newRow("a click with Ctrl") << true << "k+, p 30 20, r 30 20" << TextArea{30, 20, 0, 0} << false << true;
    QTest::newRow("released right of the surface") << true << "k+, p 150 10, m 230 20, r 230 20"
                                                   << TextArea{150, 10, 80, 10} << true << true;
    QTest::newRow("released right, then Ctrl up") << true << "k+, p 150 10, m 230 20, r 230 20, u"
                                                  << TextArea{150, 10, 50, 10} << true << true;
    QTest::newRow("released left of the window") << true << "k+, p 100 10, m -20 20, r -20 20"
                                                 << TextArea{-20, 10, 120, 10} << true << true;
    QTest::newRow("released left, then Ctrl up") << true << "k+, p 100 10, m -20 20, r -20 20, u"
                                                 << TextArea{0, 10, 100, 10} << true << true;
    QTest::newRow("Ctrl up before the mouse") << true << "k+, p 100 10, u, m -20 20, r -20 20"
                                              << TextArea{-20, 10, 120, 10} << true << true;
    // Enlarged, the mouse draws in picture pixels.
    QTest::newRow("at 3x") << true << "z 3, k+, p 150 120, m 450 270, r 452 272, u" << TextArea{50, 40, 100, 50}
                           << true << true;
    QTest::newRow("at 2x, released right") << true << "z 2, k+, p 300 20, m 460 40, r 460 40"
                                           << TextArea{150, 10, 80, 10} << true << true;
    QTest::newRow("at 2x, released left, then Ctrl up") << true << "z 2, k+, p 200 20, m -20 40, r -21 40, u"
                                                        << TextArea{0, 10, 100, 10} << true << true;
    QTest::newRow("no picture") << false << "k+, p 50 40, m 150 90, r 150 90" << before << false << false;
    QTest::newRow("no Ctrl") << true << "P 50 40, m 150 90, r 150 90" << before << false << false;
    QTest::newRow("Ctrl let go unseen") << true << "k+, P 50 40, m 150 90, r 150 90" << before << false << false;
}

void TestGraphForm::drawingTheArea()
{
    QFETCH(bool, picture);
    QFETCH(QString, events);
    QFETCH(TextArea, area);
    QFETCH(bool, areaChanged);
    QFETCH(bool, linesEmptied);
    Program program(dir_, picture);
    program.workspace().settings.area = {7, 8, 9, 10};
    program.workspace().lines.addEmptyLines(2);
    program.workspace().overlay = Raster(3, 3);

    program.play(events);
    QCOMPARE(program.workspace().settings.area, area);
    QCOMPARE(program.workspace().areaChanged, areaChanged);
    QCOMPARE(program.workspace().lines.empty(), linesEmptied);
    // The text shown stays until the next refresh.
    QCOMPARE(program.workspace().overlay.size(), QSize(3, 3));
}

void TestGraphForm::nudges_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("fivePixels");
    QTest::addColumn<TextArea>("area");
    QTest::addColumn<TextArea>("expected");
    QTest::addColumn<int>("zoom");

    // The picture is 200 x 100. Every case runs at 1x and, with its bounds
    // in picture pixels all the same, at 4x.
    const struct {
        const char *name;
        const char *button;
        bool fivePixels;
        TextArea area;
        TextArea expected;
    } cases[] = {
        {"left by 5 at x 3", "tbRangeLeft", true, {3, 0, 10, 10}, {0, 0, 10, 10}},
        {"left by 1 at x 3", "tbRangeLeft", false, {3, 0, 10, 10}, {2, 0, 10, 10}},
        {"right at the edge, by 5", "tbRangeRight", true, {190, 0, 20, 10}, {180, 0, 20, 10}},
        {"right at the edge, by 1", "tbRangeRight", false, {190, 0, 20, 10}, {180, 0, 20, 10}},
        {"up by 5 at y 2", "tbRangeUp", true, {0, 2, 10, 10}, {0, 0, 10, 10}},
        {"down at the edge", "tbRangeDown", true, {0, 88, 10, 10}, {0, 90, 10, 10}},
        {"wider, by 5, at x 100", "tbRangeWidthInc", true, {100, 0, 98, 10}, {100, 0, 100, 10}},
        {"narrower by 5 at 3", "tbRangeWidthDec", true, {0, 0, 3, 10}, {0, 0, 0, 10}},
        {"narrower by 1", "tbRangeWidthDec", false, {0, 0, 3, 10}, {0, 0, 2, 10}},
        {"higher at the edge", "tbRangeHeightInc", false, {0, 50, 10, 50}, {0, 50, 10, 50}},
        {"lower by 5 at 3", "tbRangeHeightDec", true, {0, 0, 10, 3}, {0, 0, 10, 0}},
    };
    for (const int zoom : {1, 4})
        for (const auto &c : cases)
            QTest::addRow("%s, %dx", c.name, zoom) << true << c.button << c.fivePixels << c.area << c.expected << zoom;
    for (const char *button : {"tbRangeLeft", "tbRangeRight", "tbRangeUp", "tbRangeDown", "tbRangeWidthInc",
                               "tbRangeWidthDec", "tbRangeHeightInc", "tbRangeHeightDec"})
        QTest::addRow("%s without a picture", button) << false << button << true << TextArea{50, 50, 10, 10}
                                                      << TextArea{50, 50, 10, 10} << 1;
}

void TestGraphForm::nudges()
{
    QFETCH(bool, picture);
    QFETCH(QString, button);
    QFETCH(bool, fivePixels);
    QFETCH(TextArea, area);
    QFETCH(TextArea, expected);
    QFETCH(int, zoom);
    Program program(dir_, picture);
    program.play(QStringLiteral("z %1").arg(zoom));
    const bool moves = button == u"tbRangeLeft" || button == u"tbRangeRight" || button == u"tbRangeUp" ||
                       button == u"tbRangeDown";
    QAction *step = program.action(moves ? "tb5x1" : "tb5x2");
    QAction *otherStep = program.action(moves ? "tb5x2" : "tb5x1");
    if (!fivePixels)
        step->trigger();
    else
        otherStep->trigger();  // the other group's step plays no part
    program.workspace().settings.area = area;
    program.workspace().lines.addEmptyLines(1);

    program.trigger(button.toLatin1().constData());
    QCOMPARE(program.workspace().settings.area, expected);
    // A nudge that changed the area is a change of the project.
    QCOMPARE(program.workspace().areaChanged, expected != area);
    QCOMPARE(program.workspace().lines.size(), size_t(1));
}

void TestGraphForm::nudgesCarryTheShownText_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QPoint>("moved");

    // Both steps are 5.
    QTest::newRow("Shift Left") << "tbRangeLeft" << QPoint(-5, 0);
    QTest::newRow("Shift Right") << "tbRangeRight" << QPoint(5, 0);
    QTest::newRow("Shift Up") << "tbRangeUp" << QPoint(0, -5);
    QTest::newRow("Shift Down") << "tbRangeDown" << QPoint(0, 5);
    QTest::newRow("Increase Width") << "tbRangeWidthInc" << QPoint(0, 0);
    QTest::newRow("Decrease Height") << "tbRangeHeightDec" << QPoint(0, 0);
}

void TestGraphForm::nudgesCarryTheShownText()
{
    QFETCH(QString, button);
    QFETCH(QPoint, moved);
    Program program(dir_, true);
    program.workspace().settings.area = {50, 40, 60, 40};
    program.refreshText();
    const QRect before = boundsOf(program.tick(), kBlack);
    QCOMPARE(before.size(), QSize(2, 2));

    // The text shown follows the area's corner on the next tick, without a
    // refresh; a new size waits for the next refresh.
    program.trigger(button.toLatin1().constData());
    QCOMPARE(boundsOf(program.tick(), kBlack), before.translated(moved));
    QCOMPARE(program.workspace().overlay.size(), QSize(60, 40));
}

void TestGraphForm::exportIsTheSameWhateverTheGuides()
{
    Program program(dir_, true);
    program.workspace().settings.area = {10, 40, 100, 50};
    program.refreshText();
    program.play(QStringLiteral("k+"));

    QByteArray first;
    for (int flags = 0; flags < 4; ++flags) {
        if (bool(flags & 1) != bool(program.workspace().settings.showSelection))
            program.trigger("tbRangeVisible");
        if (bool(flags & 2) != bool(program.workspace().settings.showHelp))
            program.trigger("tbHelpVisible");
        QCOMPARE(int(program.workspace().settings.showSelection), flags & 1);
        QCOMPARE(int(program.workspace().settings.showHelp), (flags & 2) >> 1);
        QVERIFY(countIn(program.tick(), QRect(0, 0, 200, 100), kRed) > 0 || flags == 0);

        const QString path = dir_.filePath(QStringLiteral("export%1.bmp").arg(flags));
        program.prompter.chooseFile(path);
        program.trigger("mmExportBitmap");
        QCOMPARE(program.prompter.errors(), QStringList());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (flags == 0)
            first = bytes;
        QCOMPARE(bytes, first);
    }

    // Whatever the zoom, the picture keeps its size and its pixels.
    program.play(QStringLiteral("z 8"));
    program.tick();
    program.prompter.chooseFile(dir_.filePath(QStringLiteral("export-8x.bmp")));
    program.trigger("mmExportBitmap");
    QFile zoomed(dir_.filePath(QStringLiteral("export-8x.bmp")));
    QVERIFY(zoomed.open(QIODevice::ReadOnly));
    QCOMPARE(zoomed.readAll(), first);

    // The picture and the text, without frame or hints.
    const Raster exported = Raster::fromBmp(first);
    QCOMPARE(exported.size(), kPictureSize);
    QCOMPARE(countIn(exported, QRect(0, 0, 200, 100), kRed), 0);
    QCOMPARE(countIn(exported, QRect(10, 40, 100, 50), kBlack), 4);
    QCOMPARE(countIn(exported, QRect(0, 0, 200, 100), kGrey), 200 * 100 - 4);
}

void TestGraphForm::exportKeepsTheTimer_data()
{
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("failed");

    QTest::newRow("shown") << true << false;
    QTest::newRow("shown, the write fails") << true << true;
    QTest::newRow("closed") << false << false;
}

void TestGraphForm::exportKeepsTheTimer()
{
    QFETCH(bool, shown);
    QFETCH(bool, failed);
    Program program(dir_, true);
    if (!shown)
        program.graph()->close();
    const QString path = failed ? dir_.filePath(QStringLiteral("no folder/timer.bmp"))
                                : dir_.filePath(QStringLiteral("timer.bmp"));
    program.prompter.chooseFile(path);

    bool runningDuringExport = true;
    program.prompter.whileSaving = [&] { runningDuringExport = program.timer()->isActive(); };
    program.trigger("mmExportBitmap");
    QVERIFY(!runningDuringExport);
    // Afterwards it runs again, also after a failure, as long as the view is shown.
    QCOMPARE(program.timer()->isActive(), shown);
    QCOMPARE(program.prompter.errors().size(), failed ? 1 : 0);
    QCOMPARE(QFile::exists(path), !failed);
}

void TestGraphForm::changesShowOnTheNextTick_data()
{
    QTest::addColumn<QString>("before");   // events played before the first tick
    QTest::addColumn<QString>("events");   // events played after it
    QTest::addColumn<QString>("command");  // then a menu item or toolbar button, if any
    QTest::addColumn<bool>("selectionMode");

    QTest::newRow("Show Selection off") << "" << "" << "tbRangeVisible" << false;
    QTest::newRow("Show Help off") << "" << "" << "tbHelpVisible" << false;
    QTest::newRow("Shift Right") << "" << "" << "tbRangeRight" << false;
    QTest::newRow("Decrease Height") << "" << "" << "tbRangeHeightDec" << false;
    QTest::newRow("Ctrl pressed") << "" << "k+" << "" << true;
    QTest::newRow("Ctrl let go") << "k+" << "u" << "" << false;
    QTest::newRow("a drag") << "" << "k+, p 20 20, m 60 50" << "" << true;
    QTest::newRow("a drag released") << "k+, p 150 20, m 120 50" << "r 120 50" << "" << true;
    QTest::newRow("Ctrl let go after a drag past the edge") << "k+, p 150 50, m 250 90, r 250 90" << "u" << ""
                                                            << false;
    QTest::newRow("Zoom 4x") << "" << "z 4" << "" << false;
    QTest::newRow("Zoom back to 1x") << "z 6" << "z 1" << "" << false;
    QTest::newRow("Ctrl pressed at 2x") << "z 2" << "k+" << "" << true;
    QTest::newRow("Shift Right at 3x") << "z 3" << "" << "tbRangeRight" << false;
    QTest::newRow("Refresh") << "" << "" << "mmResetText" << false;
    QTest::newRow("New Text Area") << "" << "" << "mmNewArea" << false;
    QTest::newRow("Next Text Area") << "n" << "" << "mmNextArea" << false;
    QTest::newRow("Previous Text Area") << "n" << "" << "mmPreviousArea" << false;
    QTest::newRow("Delete Text Area") << "n" << "" << "mmDeleteArea" << false;
    QTest::newRow("a plain click in another area") << "n" << "P 60 50, r 60 50" << "" << false;
    QTest::newRow("Load Image") << "" << "" << "mmLoadBitmap" << false;
    QTest::newRow("New") << "" << "" << "mmNewProject" << false;
    QTest::newRow("Text Effects, outline on") << "" << "" << "cbOutline" << false;
    QTest::newRow("Live Refresh of the typed text") << "" << "" << "mmLiveRefresh" << false;
    // The export composes its own scene, without frame and hints, into the
    // view raster; the screen gets its own back.
    QTest::newRow("Image Export") << "" << "" << "mmExportBitmap" << false;
}

void TestGraphForm::changesShowOnTheNextTick()
{
    QFETCH(QString, before);
    QFETCH(QString, events);
    QFETCH(QString, command);
    QFETCH(bool, selectionMode);
    Program program(dir_, true);
    program.workspace().settings.area = {50, 40, 60, 40};
    program.refreshText();
    program.typeA();
    program.shell.windows().text->setBytes("AA");
    program.play(before);
    const Raster first = program.tick();

    if (command == u"mmLoadBitmap") {
        Raster picture(kPictureSize.width(), kPictureSize.height());
        picture.fill(0x102030);
        const QString path = dir_.filePath(QStringLiteral("other.bmp"));
        picture.writeBmpFile(path);
        program.prompter.chooseFile(path);
    } else if (command == u"mmExportBitmap") {
        program.prompter.chooseFile(dir_.filePath(QStringLiteral("shown.bmp")));
    } else if (command == u"mmNewProject" || command == u"mmDeleteArea") {
        program.prompter.answer(command == u"mmNewProject" ? Answer::No : Answer::Yes);
    }
    program.play(events);
    if (command == u"cbOutline") {
        program.trigger("mmTextEffects");
        program.shell.windows().effects->findChild<QAbstractButton *>(command)->click();
    } else if (!command.isEmpty()) {
        program.trigger(command.toLatin1().constData());
    }
    QCOMPARE(program.prompter.errors(), QStringList());

    const Raster next = program.tick();
    QCOMPARE(next, program.freshView(selectionMode));
    if (command != u"mmExportBitmap")
        QVERIFY(next != first);
    else
        QCOMPARE(next, first);
    if (command == u"mmLiveRefresh") {
        QCOMPARE(program.workspace().lines.size(), size_t(1));
        QCOMPARE(program.workspace().lines[0].words(), std::vector<QByteArray>{"AA"});
        program.trigger("mmLiveRefresh");  // off again, for the tests after this one
    }
}

// Under live refresh a text that does not fit is a red line at the foot of
// the view, and no box; Refresh still shows the box.
void TestGraphForm::liveRefreshNoticeLine()
{
    Program program(dir_, true);
    program.workspace().settings.area = {50, 40, 3, 40};
    program.typeA();
    program.trigger("mmLiveRefresh");
    QVERIFY(program.action("mmLiveRefresh")->isChecked());
    const Raster &view = program.tick();
    QVERIFY(countIn(view, QRect(0, kPictureSize.height() - 16, 200, 16), kRed) > 20);
    QCOMPARE(program.prompter.entries(QStringLiteral("notice")), QStringList());
    program.trigger("mmResetText");
    QCOMPARE(program.prompter.entries(QStringLiteral("notice")).size(), 1);
    program.shell.windows().text->setBytes("");
    QCOMPARE(countIn(program.tick(), QRect(0, kPictureSize.height() - 16, 200, 16), kRed), 0);
    program.trigger("mmLiveRefresh");
    QVERIFY(!program.action("mmLiveRefresh")->isChecked());
}

// Going to another area shows its text and caption but is no edit of the
// project; each area keeps what was typed into it.
void TestGraphForm::switchingAreasIsNoEdit()
{
    Program program(dir_, true);
    letterloom::ui::TtextForm *text = program.shell.windows().text;
    text->setBytes("first");
    program.trigger("mmNewArea");
    QCOMPARE(text->windowTitle(), QStringLiteral("Text Input Window - 2 of 2"));
    text->setBytes("second");
    program.workspace().textChanged = program.workspace().areaChanged = false;
    for (const auto &[shown, caption] : {std::pair{"first", "1 of 2"}, {"second", "2 of 2"}, {"first", "1 of 2"}}) {
        program.trigger("mmNextArea");
        QCOMPARE(text->bytes(), QByteArray(shown));
        QCOMPARE(text->windowTitle(), QStringLiteral("Text Input Window - ") + caption);
    }
    QVERIFY(!program.workspace().textChanged);
    QVERIFY(!program.workspace().areaChanged);
}

void TestGraphForm::ticksWithoutChangesDrawNothing()
{
    Program program(dir_, true);
    program.workspace().settings.area = {10, 40, 100, 50};
    const Raster first = program.tick();

    // A change that does not bump the revision stays unseen: the tick drew nothing.
    program.workspace().settings.area = {20, 30, 60, 40};
    QCOMPARE(program.tick(), first);
    program.workspace().bumpRevision();
    QCOMPARE(program.tick(), program.freshView(false));
    QVERIFY(program.viewRaster() != first);

    // Nor does an idle tick ask the window to paint.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    QTest::qWait(30);  // the paint that the last frame asked for
    program.paintBox()->installEventFilter(&counter);
    QTest::qWait(30);
    QCOMPARE(counter.paints, 0);
    program.workspace().bumpRevision();
    QTRY_VERIFY(counter.paints > 0);
}

void TestGraphForm::zoomKeysBelongToTheImageView_data()
{
    QTest::addColumn<QString>("where");  // the window that has the keyboard
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("input");  // keys, or "wheel" with its turn and whether Ctrl is held
    QTest::addColumn<int>("zoom");

    QTest::newRow("Ctrl++") << "image" << 1 << "Ctrl++" << 2;
    QTest::newRow("Ctrl+-") << "image" << 3 << "Ctrl+-" << 2;
    QTest::newRow("Ctrl+- at 1x") << "image" << 1 << "Ctrl+-" << 1;
    QTest::newRow("Ctrl++ at 8x") << "image" << 8 << "Ctrl++" << 8;
    QTest::newRow("Ctrl+0") << "image" << 6 << "Ctrl+0" << 1;
    QTest::newRow("Ctrl++ in the text input window") << "text" << 1 << "Ctrl++" << 1;
    QTest::newRow("Ctrl+0 in the main window") << "main" << 4 << "Ctrl+0" << 4;
    QTest::newRow("Ctrl+wheel up") << "image" << 2 << "wheel 120 ctrl" << 3;
    QTest::newRow("Ctrl+wheel down") << "image" << 2 << "wheel -120 ctrl" << 1;
    QTest::newRow("wheel without Ctrl") << "image" << 2 << "wheel 120" << 2;
}

void TestGraphForm::zoomKeysBelongToTheImageView()
{
    QFETCH(QString, where);
    QFETCH(int, from);
    QFETCH(QString, input);
    QFETCH(int, zoom);
    Program program(dir_, true);
    program.play(QStringLiteral("z %1").arg(from));
    QWidget *target = where == u"image" ? static_cast<QWidget *>(program.graph())
                      : where == u"text" ? program.shell.windows().text->findChild<QWidget *>(QStringLiteral("Memo"))
                                          : program.shell.windows().main;
    target->window()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), target->window());
    target->setFocus();
    const auto revision = program.workspace().revision();

    const QStringList words = input.split(u' ');
    if (words[0] == u"wheel") {
        // A wheel turn over the drawing surface reaches the window (only
        // the window system's own events are passed on to the parent).
        QWheelEvent turn(QPointF(50, 40), program.graph()->mapToGlobal(QPointF(50, 40)), QPoint(),
                         QPoint(0, words[1].toInt()), Qt::NoButton,
                         words.size() > 2 ? Qt::ControlModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(program.graph(), &turn);
    } else {
        QTest::keySequence(target, QKeySequence(input));
    }
    QCOMPARE(program.graph()->zoom(), zoom);
    if (zoom <= 3)  // larger, the view is cut to the screen
        QCOMPARE(program.graph()->size(), kPictureSize * zoom);
    // A new zoom is a change of what the window shows, and it is kept.
    QCOMPARE(program.workspace().revision() > revision, zoom != from);
    QCOMPARE(letterloom::project::storedZoom(), zoom);
    QCOMPARE(Program(dir_, false).graph()->zoom(), zoom);
    // Windows > Zoom shows it.
    auto *menu = program.shell.windows().main->findChild<QMenu *>(QStringLiteral("mmZoom"));
    emit menu->aboutToShow();
    QVERIFY(program.action(qPrintable(QStringLiteral("mmZoom%1").arg(zoom)))->isChecked());
}

// Pictures larger than the screen scroll inside a view that fits it, and the
// text area reaches their far corner.
void TestGraphForm::viewStaysInsideTheScreen_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<bool>("vertical");

    QTest::newRow("fits at 2x") << QSize(200, 100) << 2 << false << false;
    QTest::newRow("too wide") << QSize(1000, 100) << 1 << true << false;
    QTest::newRow("too high") << QSize(100, 1000) << 1 << false << true;
    QTest::newRow("larger than the screen") << QSize(2000, 1400) << 1 << true << true;
    QTest::newRow("a game screen at 8x") << QSize(320, 200) << 8 << true << true;
}

void TestGraphForm::viewStaysInsideTheScreen()
{
    QFETCH(QSize, picture);
    QFETCH(int, zoom);
    QFETCH(bool, horizontal);
    QFETCH(bool, vertical);
    Program program(dir_, true, picture);
    program.play(QStringLiteral("z %1").arg(zoom));
    TgraphForm *graph = program.graph();
    QVERIFY(graph->screen()->availableGeometry().contains(graph->frameGeometry()));

    auto *across = graph->findChild<QScrollBar *>(QStringLiteral("HorzScrollBar"));
    auto *down = graph->findChild<QScrollBar *>(QStringLiteral("VertScrollBar"));
    const QSize content = picture * zoom;
    const QSize shown = program.paintBox()->size();
    QCOMPARE(across->isVisible(), horizontal);
    QCOMPARE(down->isVisible(), vertical);
    QCOMPARE(shown.width() < content.width(), horizontal);
    QCOMPARE(shown.height() < content.height(), vertical);
    QCOMPARE(across->maximum(), content.width() - shown.width());
    QCOMPARE(down->maximum(), content.height() - shown.height());

    // Scrolled to the end, a drag to the last point shown ends on the
    // picture's last pixel, and the view shows that part.
    across->setValue(across->maximum());
    down->setValue(down->maximum());
    program.play(QStringLiteral("k+, p %1 %2, m %3 %4, r %3 %4, u")
                     .arg(shown.width() - 40).arg(shown.height() - 30).arg(shown.width() - 1).arg(shown.height() - 1));
    const TextArea area = program.workspace().settings.area;
    QCOMPARE(QPoint(area.x + area.width, area.y + area.height), QPoint(picture.width() - 1, picture.height() - 1));
    QCOMPARE(program.tick(), program.freshView(false));

    // A drag past the edge scrolls the picture along, back to its start.
    program.play(QStringLiteral("k+, p 20 20, m -30 -30"));
    QTRY_COMPARE(graph->origin(), QPoint(0, 0));
    program.play(QStringLiteral("r -30 -30, u"));
    QCOMPARE(program.workspace().settings.area.x, 0);
    QCOMPARE(program.workspace().settings.area.y, 0);
}

QTEST_MAIN(TestGraphForm)
#include "tst_graph_form.moc"
