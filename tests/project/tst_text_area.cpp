// The text area arithmetic: the clamps of a key release, the eight nudges
// with their bounds, and the Ctrl + mouse drag as a sequence of events.

#include "project/text_area.h"
#include "project/workspace.h"

#include <QTest>

#include <limits>

using letterloom::project::AreaSelection;
using letterloom::project::Nudge;
using letterloom::project::TextArea;
using letterloom::project::Workspace;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

Workspace workspaceWithPicture(bool pictureLoaded = true)
{
    Workspace workspace(QStringLiteral("/tmp/"));
    workspace.pictureLoaded = pictureLoaded;
    return workspace;
}

// A script of image view events: "k+" key press with Ctrl, "k" key press
// without, "u" key release, "f" the keyboard goes to another window, "p X Y"
// press with Ctrl, "P X Y" press without, "m X Y" move, "r X Y" release.
void play(AreaSelection &selection, Workspace &workspace, QSize surface, const QString &script)
{
    for (const QString &step : script.split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = step.trimmed().split(u' ');
        const QString op = parts[0];
        const QPoint at = parts.size() == 3 ? QPoint(parts[1].toInt(), parts[2].toInt()) : QPoint();
        if (op == u"k+" || op == u"k")
            selection.keyPress(op == u"k+");
        else if (op == u"u")
            selection.keyRelease(workspace, surface);
        else if (op == u"f")
            selection.keyboardLost();
        else if (op == u"p" || op == u"P")
            selection.mousePress(workspace, at, op == u"p");
        else if (op == u"m")
            selection.mouseMove(workspace, at);
        else if (op == u"r")
            selection.mouseRelease(workspace, at);
        else
            QFAIL(qPrintable(QStringLiteral("bad step ") + step));
    }
}

}  // namespace

Q_DECLARE_METATYPE(TextArea)
Q_DECLARE_METATYPE(Nudge)

class TestTextArea : public QObject {
    Q_OBJECT

private slots:
    void clampsOnKeyRelease_data();
    void clampsOnKeyRelease();
    void nudges_data();
    void nudges();
    void nudgeMarksOnlyRealChanges_data();
    void nudgeMarksOnlyRealChanges();
    void drags_data();
    void drags();
    void dragEmptiesLineTable();
};

void TestTextArea::clampsOnKeyRelease_data()
{
    QTest::addColumn<TextArea>("area");
    QTest::addColumn<QSize>("surface");
    QTest::addColumn<TextArea>("expected");

    QTest::newRow("inside stays") << TextArea{10, 20, 100, 50} << QSize(200, 100) << TextArea{10, 20, 100, 50};
    QTest::newRow("right edge pulled in") << TextArea{150, 0, 80, 10} << QSize(200, 100) << TextArea{150, 0, 50, 10};
    QTest::newRow("bottom edge pulled in") << TextArea{0, 90, 10, 30} << QSize(200, 100) << TextArea{0, 90, 10, 10};
    QTest::newRow("left cut at zero") << TextArea{-20, 0, 120, 10} << QSize(200, 100) << TextArea{0, 0, 100, 10};
    QTest::newRow("top cut at zero") << TextArea{0, -5, 10, 25} << QSize(200, 100) << TextArea{0, 0, 10, 20};
    QTest::newRow("both sides of a wide area") << TextArea{-10, 0, 300, 10} << QSize(200, 100)
                                                << TextArea{0, 0, 200, 10};
    QTest::newRow("negative extent during a drag") << TextArea{150, 90, -100, -50} << QSize(200, 100)
                                                    << TextArea{150, 90, -100, -50};
    QTest::newRow("area from a file at the limits") << TextArea{kMin, kMin, kMax, kMax} << QSize(297, 274)
                                                     << TextArea{0, 0, -1, -1};
    QTest::newRow("corner far right") << TextArea{kMax, 0, kMax, 1} << QSize(297, 274)
                                       << TextArea{kMax, 0, 297 - kMax, 1};
}

void TestTextArea::clampsOnKeyRelease()
{
    QFETCH(TextArea, area);
    QFETCH(QSize, surface);
    QFETCH(TextArea, expected);
    Workspace workspace = workspaceWithPicture();
    workspace.settings.area = area;
    AreaSelection selection;
    selection.keyPress(true);
    selection.keyRelease(workspace, surface);
    QCOMPARE(workspace.settings.area, expected);
    QVERIFY(!selection.selectionMode());
    QVERIFY(!workspace.areaChanged);
}

void TestTextArea::nudges_data()
{
    QTest::addColumn<TextArea>("area");
    QTest::addColumn<Nudge>("nudge");
    QTest::addColumn<bool>("fivePixelStep");
    QTest::addColumn<TextArea>("expected");

    // The drawing surface is 200 x 100.
    QTest::newRow("left by 5 stops at 0") << TextArea{3, 0, 10, 10} << Nudge::Left << true << TextArea{0, 0, 10, 10};
    QTest::newRow("left by 1") << TextArea{3, 0, 10, 10} << Nudge::Left << false << TextArea{2, 0, 10, 10};
    QTest::newRow("right stops at the edge, step 5") << TextArea{190, 0, 20, 10} << Nudge::Right << true
                                                     << TextArea{180, 0, 20, 10};
    QTest::newRow("right stops at the edge, step 1") << TextArea{190, 0, 20, 10} << Nudge::Right << false
                                                     << TextArea{180, 0, 20, 10};
    QTest::newRow("right inside") << TextArea{10, 0, 20, 10} << Nudge::Right << true << TextArea{15, 0, 20, 10};
    QTest::newRow("up stops at 0") << TextArea{0, 2, 10, 10} << Nudge::Up << true << TextArea{0, 0, 10, 10};
    QTest::newRow("down stops at the edge") << TextArea{0, 88, 10, 10} << Nudge::Down << true
                                            << TextArea{0, 90, 10, 10};
    QTest::newRow("down by 1") << TextArea{0, 10, 10, 10} << Nudge::Down << false << TextArea{0, 11, 10, 10};
    QTest::newRow("width grows to the edge") << TextArea{100, 0, 98, 10} << Nudge::WidthInc << true
                                             << TextArea{100, 0, 100, 10};
    QTest::newRow("width never beyond the edge") << TextArea{100, 0, 100, 10} << Nudge::WidthInc << false
                                                 << TextArea{100, 0, 100, 10};
    QTest::newRow("width shrinks to 0") << TextArea{0, 0, 3, 10} << Nudge::WidthDec << true << TextArea{0, 0, 0, 10};
    QTest::newRow("width shrinks by 1") << TextArea{0, 0, 3, 10} << Nudge::WidthDec << false << TextArea{0, 0, 2, 10};
    QTest::newRow("height grows to the edge") << TextArea{0, 50, 10, 48} << Nudge::HeightInc << true
                                              << TextArea{0, 50, 10, 50};
    QTest::newRow("height shrinks to 0") << TextArea{0, 0, 10, 3} << Nudge::HeightDec << true
                                         << TextArea{0, 0, 10, 0};
    // Areas kept in project files can hold anything; nothing wraps round.
    QTest::newRow("left at the lowest x") << TextArea{kMin, 0, 10, 10} << Nudge::Left << true
                                          << TextArea{0, 0, 10, 10};
    QTest::newRow("right at the highest x") << TextArea{kMax, 0, 10, 10} << Nudge::Right << true
                                            << TextArea{190, 0, 10, 10};
    QTest::newRow("right with the lowest width") << TextArea{0, 0, kMin, 10} << Nudge::Right << true
                                                 << TextArea{5, 0, kMin, 10};
    QTest::newRow("right with the highest width") << TextArea{0, 0, kMax, 10} << Nudge::Right << true
                                                  << TextArea{200 - kMax, 0, kMax, 10};
    QTest::newRow("down with the highest height") << TextArea{0, 0, 10, kMax} << Nudge::Down << false
                                                  << TextArea{0, 100 - kMax, 10, kMax};
    QTest::newRow("width at the highest") << TextArea{0, 0, kMax, 10} << Nudge::WidthInc << true
                                          << TextArea{0, 0, 200, 10};
    QTest::newRow("width at the lowest") << TextArea{0, 0, kMin, 10} << Nudge::WidthDec << true
                                         << TextArea{0, 0, 0, 10};
    QTest::newRow("height at the highest, x at the lowest") << TextArea{kMin, kMin, 0, kMax} << Nudge::HeightInc
                                                            << true << TextArea{kMin, kMin, 0, kMax};
}

void TestTextArea::nudges()
{
    QFETCH(TextArea, area);
    QFETCH(Nudge, nudge);
    QFETCH(bool, fivePixelStep);
    QFETCH(TextArea, expected);
    Workspace workspace = workspaceWithPicture();
    workspace.settings.area = area;
    letterloom::project::nudgeTextArea(workspace, nudge, fivePixelStep, QSize(200, 100));
    QCOMPARE(workspace.settings.area, expected);
    QCOMPARE(workspace.areaChanged, expected != area);
}

void TestTextArea::nudgeMarksOnlyRealChanges_data()
{
    QTest::addColumn<bool>("pictureLoaded");
    QTest::addColumn<TextArea>("area");
    QTest::addColumn<bool>("changed");

    QTest::newRow("no picture: nothing moves") << false << TextArea{50, 50, 10, 10} << false;
    QTest::newRow("moved") << true << TextArea{50, 50, 10, 10} << true;
    QTest::newRow("already at the bound") << true << TextArea{0, 50, 10, 10} << false;
}

void TestTextArea::nudgeMarksOnlyRealChanges()
{
    QFETCH(bool, pictureLoaded);
    QFETCH(TextArea, area);
    QFETCH(bool, changed);
    Workspace workspace = workspaceWithPicture(pictureLoaded);
    workspace.settings.area = area;
    letterloom::project::nudgeTextArea(workspace, Nudge::Left, true, QSize(200, 100));
    QCOMPARE(workspace.areaChanged, changed);
    QCOMPARE(workspace.settings.area != area, changed);
}

void TestTextArea::drags_data()
{
    QTest::addColumn<bool>("pictureLoaded");
    QTest::addColumn<QString>("script");
    QTest::addColumn<TextArea>("expected");
    QTest::addColumn<bool>("areaChanged");
    QTest::addColumn<bool>("selectionMode");
    QTest::addColumn<bool>("dragging");

    const TextArea before{7, 8, 9, 10};
    // The drawing surface is 200 x 100.
    QTest::newRow("press, move, release") << true << "k+, p 50 40, m 150 90, r 150 90" << TextArea{50, 40, 100, 50}
                                          << true << true << false;
    QTest::newRow("the reversed drag") << true << "k+, p 150 90, m 50 40, r 50 40" << TextArea{50, 40, 100, 50}
                                       << true << true << false;
    QTest::newRow("while dragging the extent is negative") << true << "k+, p 150 90, m 50 40"
                                                           << TextArea{150, 90, -100, -50} << true << true << true;
    QTest::newRow("press and release at one point") << true << "k+, p 30 20, r 30 20" << TextArea{30, 20, 0, 0}
                                                    << false << true << false;
    QTest::newRow("released right of the surface, Ctrl still held")
        << true << "k+, p 150 10, m 230 20, r 230 20" << TextArea{150, 10, 80, 10} << true << true << false;
    QTest::newRow("released right of the surface, then Ctrl up")
        << true << "k+, p 150 10, m 230 20, r 230 20, u" << TextArea{150, 10, 50, 10} << true << false << false;
    QTest::newRow("released left of the window") << true << "k+, p 100 10, m -20 20, r -20 20"
                                                 << TextArea{-20, 10, 120, 10} << true << true << false;
    QTest::newRow("released left of the window, then Ctrl up")
        << true << "k+, p 100 10, m -20 20, r -20 20, u" << TextArea{0, 10, 100, 10} << true << false << false;
    QTest::newRow("Ctrl up before the mouse: the drag goes on")
        << true << "k+, p 100 10, u, m -20 20, r -20 20" << TextArea{-20, 10, 120, 10} << true << false << false;
    QTest::newRow("Ctrl pressed again during the drag") << true << "k+, p 10 10, u, m 20 20, k+"
                                                        << TextArea{10, 10, 10, 10} << true << true << true;
    QTest::newRow("press with Ctrl again restarts the drag") << true << "k+, p 10 10, m 50 50, p 60 70"
                                                             << TextArea{60, 70, 0, 0} << true << true << true;
    QTest::newRow("press without Ctrl during a drag changes nothing")
        << true << "k+, p 10 10, m 50 50, u, P 60 70" << TextArea{10, 10, 40, 40} << true << false << true;
    QTest::newRow("no picture: nothing starts") << false << "k+, p 50 40, m 150 90, r 150 90" << before << false
                                                << true << false;
    QTest::newRow("press without Ctrl") << true << "P 50 40, m 150 90, r 150 90" << before << false << false
                                        << false;
    QTest::newRow("a key without Ctrl does not arm") << true << "k, P 50 40" << before << false << false << false;
    QTest::newRow("Ctrl held at the press is enough") << true << "k, p 50 40" << TextArea{50, 40, 0, 0} << false
                                                      << true << true;
    // Ctrl was let go while a dialog had the keyboard: the press itself
    // tells that Ctrl is up, so no drag starts and the hint goes away.
    QTest::newRow("stale selection mode after a dialog") << true << "k+, P 50 40, m 150 90, r 150 90" << before
                                                         << false << false << false;
    QTest::newRow("a dialog takes the keyboard while Ctrl is held") << true << "k+, f" << before << false << false
                                                                    << false;
    QTest::newRow("the keyboard lost during a drag: the drag goes on")
        << true << "k+, p 10 10, f, m 50 50" << TextArea{10, 10, 40, 40} << true << false << true;
    QTest::newRow("move and release outside a drag") << true << "m 10 10, r 20 20" << before << false << false
                                                     << false;
}

void TestTextArea::drags()
{
    QFETCH(bool, pictureLoaded);
    QFETCH(QString, script);
    QFETCH(TextArea, expected);
    QFETCH(bool, areaChanged);
    QFETCH(bool, selectionMode);
    QFETCH(bool, dragging);
    Workspace workspace = workspaceWithPicture(pictureLoaded);
    workspace.settings.area = TextArea{7, 8, 9, 10};
    AreaSelection selection;
    play(selection, workspace, QSize(200, 100), script);
    QCOMPARE(workspace.settings.area, expected);
    QCOMPARE(workspace.areaChanged, areaChanged);
    QCOMPARE(selection.selectionMode(), selectionMode);
    QCOMPARE(selection.dragging(), dragging);
}

void TestTextArea::dragEmptiesLineTable()
{
    Workspace workspace = workspaceWithPicture();
    workspace.lines.addEmptyLines(3);
    workspace.overlay = letterloom::raster::Raster(5, 5);
    AreaSelection selection;
    play(selection, workspace, QSize(200, 100), QStringLiteral("P 1 1"));
    QCOMPARE(workspace.lines.size(), size_t(3));
    play(selection, workspace, QSize(200, 100), QStringLiteral("p 1 1"));
    QVERIFY(workspace.lines.empty());
    QCOMPARE(workspace.overlay.size(), QSize(5, 5));
}

QTEST_GUILESS_MAIN(TestTextArea)
#include "tst_text_area.moc"
