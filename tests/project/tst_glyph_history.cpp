#include "base/file_io.h"
#include "font/font_file.h"
#include "font/glyph_sketch.h"
#include "project/project_commands.h"
#include "support/fake_effects.h"
#include "support/fake_prompter.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace letterloom;
using namespace letterloom::project;
using letterloom::testing::FakeEffects;
using letterloom::testing::FakePrompter;

namespace {

// A font on disk, the same font loaded, and a project whose font is gone.
struct Fixture {
    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    FakePrompter prompter;
    FakeEffects effects;
    ProjectCommands commands{workspace, prompter, effects};
    GlyphHistory &history = commands.glyphHistory();
    int painted = 0;

    Fixture()
    {
        workspace.glyphs['A'] = testing::sketchGlyph({"....", "...."});
        workspace.fontPath = path("font.llf");
        font::writeFontFile(workspace.fontPath, workspace.glyphs);
        ProjectFile project;
        project.storedFontPath = path("gone.llf").toUtf8();
        writeWholeFile(path("gone.llp"), projectBytes(project));
    }

    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }

    // Each step draws glyph A anew, one pixel wider than the step before.
    void step()
    {
        const QString row(++painted, u'#');
        history.record('A', [&] { workspace.glyphs['A'] = testing::sketchGlyph({row}); });
    }

    // A command that may replace the font lets the modified font go.
    void run(const QString &action)
    {
        if (workspace.fontModified && (action == u"read" || action == u"new" || action == u"missing"))
            prompter.answer(Answer::No);
        if (action == u"read")
            prompter.chooseFile(path("font.llf"));
        if (action == u"missing")
            prompter.chooseFile(path("gone.llp"));

        if (action == u"step")
            step();
        else if (action == u"undo")
            history.undo();
        else if (action == u"redo")
            history.redo();
        else if (action == u"save")
            commands.saveCurrentFont();
        else if (action == u"read")
            commands.openFont();
        else if (action == u"new")
            commands.newProject();
        else if (action == u"missing")
            commands.openProject();
    }
};

}  // namespace

class TestGlyphHistory : public QObject {
    Q_OBJECT
private slots:
    void modifiedFollowsTheSavedState_data();
    void modifiedFollowsTheSavedState();
    void historyIsBounded();
    void largeGlyphsKeepTheHistoryWithinItsBytes_data();
    void largeGlyphsKeepTheHistoryWithinItsBytes();
    void redoOfPaintingKeepsTheImageInStep_data();
    void redoOfPaintingKeepsTheImageInStep();
    void severalGlyphsMakeOneStep();
};

// An import into the open font changes many glyphs at once: one undo takes
// back all of them, and the windows hear of it once.
void TestGlyphHistory::severalGlyphsMakeOneStep()
{
    Fixture f;
    const font::GlyphTable before = f.workspace.glyphs;
    QSignalSpy one(&f.history, &GlyphHistory::glyphRestored), several(&f.history, &GlyphHistory::glyphsRestored);
    f.history.recordGlyphs({'A', 'B', 'C'}, [&] {
        for (int code : {'A', 'B', 'C'})
            f.workspace.glyphs[code] = testing::sketchGlyph({"#", "#"});
    });
    const font::GlyphTable after = f.workspace.glyphs;
    QCOMPARE(f.history.stack().count(), 1);
    QVERIFY(f.workspace.fontModified);
    // What the step holds counts towards the history's bytes: glyph A of
    // 4 x 2 before, three glyphs of 1 x 2 after, each as pixels and image.
    const qint64 column = sizeof(std::vector<font::Colour>);
    QCOMPARE(f.history.recordedBytes(), (4 * 2 * 8 + 4 * column) + 3 * (1 * 2 * 8 + column));

    // A pencil stroke on one of them is a step of its own.
    f.history.beginStroke();
    f.history.recordDab('A', [&] { f.workspace.glyphs['A'].pixels[0][0] = raster::kRed; });
    f.history.endStroke();
    QCOMPARE(f.history.stack().count(), 2);

    f.history.undo();
    f.history.undo();
    QVERIFY(f.workspace.glyphs == before);
    QVERIFY(!f.workspace.fontModified);
    QCOMPARE(several.count(), 1);
    QCOMPARE(one.count(), 1);  // the stroke's
    f.history.redo();
    QVERIFY(f.workspace.glyphs == after);
    QCOMPARE(several.count(), 2);
}

void TestGlyphHistory::modifiedFollowsTheSavedState_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("modified");  // fontModified after each action
    QTest::addColumn<QPoint>("steps");      // (steps to undo, steps kept) at the end

    QTest::newRow("undo back to the file") << "step step undo undo redo" << "11101" << QPoint(1, 2);
    QTest::newRow("undo past the save and redo back")
        << "step save step undo undo redo redo" << "1010101" << QPoint(2, 2);
    QTest::newRow("saving an undone state") << "step step save undo save redo" << "110101" << QPoint(2, 2);
    // The saved state was undone and replaced: no state left equals the file.
    QTest::newRow("step after undoing past the save") << "step save undo step undo redo" << "101111" << QPoint(1, 1);
    QTest::newRow("reading the font empties it") << "step step read undo" << "1100" << QPoint(0, 0);
    QTest::newRow("New empties it") << "step new undo redo" << "1000" << QPoint(0, 0);
    // A missing project font empties the glyph table but keeps the flag.
    QTest::newRow("missing font, modified") << "step missing undo" << "111" << QPoint(0, 0);
    QTest::newRow("missing font, unmodified") << "step undo missing step undo" << "10010" << QPoint(0, 1);
}

void TestGlyphHistory::modifiedFollowsTheSavedState()
{
    QFETCH(QString, actions);
    QFETCH(QString, modified);
    QFETCH(QPoint, steps);

    Fixture f;
    QString shown;
    for (const QString &action : actions.split(u' ')) {
        f.run(action);
        shown += f.workspace.fontModified ? u'1' : u'0';
    }
    QCOMPARE(shown, modified);
    QCOMPARE(QPoint(f.history.stack().index(), f.history.stack().count()), steps);
    QVERIFY(f.prompter.errors().isEmpty());
}

void TestGlyphHistory::historyIsBounded()
{
    Fixture f;
    font::tGraphChar &glyph = f.workspace.glyphs['A'];
    for (int n = 1; n <= GlyphHistory::kUndoLimit + 50; ++n)
        f.history.record('A', [&] { glyph.pixels[0][0] = raster::Colour(n); });
    QCOMPARE(f.history.stack().count(), GlyphHistory::kUndoLimit);

    while (f.history.stack().canUndo())
        f.history.undo();
    // The oldest 50 steps are forgotten, and with them the saved state.
    QCOMPARE(glyph.pixels[0][0], raster::Colour(50));
    QVERIFY(f.workspace.fontModified);
}

void TestGlyphHistory::largeGlyphsKeepTheHistoryWithinItsBytes_data()
{
    QTest::addColumn<int>("savedAt");  // the step after which the font is saved
    QTest::addColumn<int>("undone");   // steps undone before the last one is made
    QTest::addColumn<bool>("cleanAtSave");

    QTest::newRow("saved late, reached again by undo") << 22 << 0 << true;
    QTest::newRow("saved early, forgotten") << 1 << 0 << false;
    QTest::newRow("steps undone before the last") << 20 << 3 << true;
}

void TestGlyphHistory::largeGlyphsKeepTheHistoryWithinItsBytes()
{
    QFETCH(int, savedAt);
    QFETCH(int, undone);
    QFETCH(bool, cleanAtSave);

    // Every step of a 1024 x 1024 glyph records 16 MiB: counting steps alone
    // would let 200 of them hold 3 GiB.
    Fixture f;
    f.workspace.glyphs.setGlyphSize('A', 1024, 1024);
    font::tGraphChar &glyph = f.workspace.glyphs['A'];
    constexpr int kSteps = 25;
    for (int n = 1; n <= kSteps; ++n) {
        if (n == kSteps)
            for (int i = 0; i < undone; ++i)
                f.history.undo();
        f.history.record('A', [&] { glyph.pixels[5][7] = raster::Colour(n); });
        if (n == savedAt)
            f.commands.saveCurrentFont();
        QVERIFY(f.history.recordedBytes() <= GlyphHistory::kByteLimit);
    }
    const int kept = f.history.stack().count();
    QVERIFY(kept > 1 && kept < kSteps - undone);
    QCOMPARE(f.history.stack().index(), kept);
    QVERIFY(f.workspace.fontModified);

    // What is kept undoes and redoes exactly, the saved state included while
    // the history still reaches it. Step n drew n; the steps undone before the
    // last one are gone.
    for (int i = 1; i <= kept; ++i) {
        f.history.undo();
        const int drawn = kSteps - undone - i;
        QCOMPARE(glyph.pixels[5][7], raster::Colour(drawn));
        QCOMPARE(f.workspace.fontModified, !(cleanAtSave && drawn == savedAt));
    }
    QVERIFY(!f.history.stack().canUndo());
    for (int i = 0; i < kept; ++i)
        f.history.redo();
    QCOMPARE(glyph.pixels[5][7], raster::Colour(kSteps));
    QVERIFY(f.workspace.fontModified);
}

// A change of pixels alone is redone with the image that the glyph editor's
// tick would have given it; other changes are redone exactly as recorded.
void TestGlyphHistory::redoOfPaintingKeepsTheImageInStep_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("redoneImage");
    QTest::newRow("paint bucket") << "painting" << QStringList{"##..", "#..."};
    QTest::newRow("pencil dab") << "dab" << QStringList{"##..", "#..."};
    QTest::newRow("other change") << "record" << QStringList{"....", "...."};
}

void TestGlyphHistory::redoOfPaintingKeepsTheImageInStep()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, redoneImage);
    Fixture f;
    font::tGraphChar &glyph = f.workspace.glyphs['A'];
    const auto paint = [&] {
        glyph.pixels[0][0] = raster::kBlack;
        glyph.pixels[1][0] = raster::kBlack;
        glyph.pixels[0][1] = raster::kBlack;
    };
    if (kind == u"painting") {
        f.history.recordPainting('A', paint);
    } else if (kind == u"dab") {
        f.history.beginStroke();
        f.history.recordDab('A', paint);
        f.history.endStroke();
    } else {
        f.history.record('A', paint);
    }
    QCOMPARE(testing::rasterSketch(glyph.image), QStringList({"....", "...."}));  // until the editor's tick

    f.history.undo();
    f.history.redo();
    QCOMPARE(testing::pixelSketch(glyph), QStringList({"##..", "#..."}));
    QCOMPARE(testing::rasterSketch(glyph.image), redoneImage);
}

QTEST_GUILESS_MAIN(TestGlyphHistory)
#include "tst_glyph_history.moc"
