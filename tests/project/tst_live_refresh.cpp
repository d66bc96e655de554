#include "project/live_refresh.h"
#include "project/text_areas.h"
#include "project/workspace.h"
#include "text/font_description.h"

#include <QSettings>
#include <QTest>

using namespace letterloom;
using namespace letterloom::project;

class TestLiveRefresh : public QObject {
    Q_OBJECT

private slots:
    // After each change, whether the next tick refreshes; changes between
    // two ticks make one refresh, and a tick without a change makes none.
    void ticks_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("refreshes");
        QTest::addColumn<bool>("fits");
        QTest::newRow("nothing") << "" << false << true;
        QTest::newRow("the text") << "text" << true << true;
        QTest::newRow("the colour") << "colour" << true << true;
        QTest::newRow("the alignment") << "alignment" << true << true;
        QTest::newRow("the line spacing") << "spacing" << true << true;
        QTest::newRow("the area, too narrow") << "narrow" << true << false;
        QTest::newRow("the effects") << "effects" << true << true;
        QTest::newRow("a glyph, which bumps the revision") << "glyph" << true << true;
        QTest::newRow("text and colour at once") << "text colour" << true << true;
        QTest::newRow("switched off") << "off text" << false << true;
    }

    void ticks()
    {
        QFETCH(QString, change);
        QFETCH(bool, refreshes);
        QFETCH(bool, fits);
        Workspace workspace{QString()};
        workspace.glyphs = testing::fontFrom(QStringLiteral("a=3x8 b=5x8r 32=3x8."));
        workspace.settings.area = {0, 0, 40, 30};
        QByteArray text = "ab ba";
        raster::Colour colour = raster::kBlack;
        LiveRefresh live;
        QVERIFY(!live.isOn());  // off at first
        QVERIFY(!live.tick(workspace, text, colour));
        live.setOn(true);
        QVERIFY(live.tick(workspace, text, colour));
        QCOMPARE(workspace.overlay.size(), QSize(40, 30));
        QVERIFY(!live.tick(workspace, text, colour));

        if (change.contains(u"off"))
            live.setOn(false);
        if (change.contains(u"text"))
            text = "abab";
        if (change.contains(u"colour"))
            colour = raster::kRed;
        if (change.contains(u"alignment"))
            workspace.settings.alignment = 3;
        if (change.contains(u"spacing"))
            workspace.settings.lineSpacing = 2;
        if (change.contains(u"narrow"))
            workspace.settings.area.width = 6;
        if (change.contains(u"effects"))
            workspace.effects.outline = text::OutlineEffect{};
        if (change.contains(u"glyph"))
            workspace.bumpRevision();
        const std::uint64_t before = workspace.revision();
        QCOMPARE(live.tick(workspace, text, colour), refreshes);
        QCOMPARE(workspace.revision() != before, refreshes);
        QCOMPARE(live.notice().isEmpty(), fits);
        QCOMPARE(live.notice(), fits ? QString() : text::noticeText(text::Notice::Width));
        QVERIFY(!live.tick(workspace, text, colour));
        // The first glyph (or with right alignment the last) drawn anew.
        const int row = workspace.settings.lineSpacing == 2 ? 5 : 13;
        if (refreshes && fits)
            QCOMPARE(workspace.overlay.pixel(workspace.settings.alignment == 3 ? 37 : 2, row), colour);
        // The choice is remembered for the next run.
        QCOMPARE(LiveRefresh().isOn(), !change.contains(u"off"));
        live.setOn(false);
    }

    // An area the program cannot hold is a notice, not an error every tick.
    void failureIsANotice()
    {
        Workspace workspace{QString()};
        workspace.settings.area = {0, 0, 40000, 40000};
        LiveRefresh live;
        live.setOn(true);
        QVERIFY(live.tick(workspace, "a", raster::kBlack));
        QCOMPARE(live.notice(), QStringLiteral("Text area is too large"));
        QVERIFY(!live.tick(workspace, "a", raster::kBlack));
        live.setOn(false);
    }
};

QTEST_GUILESS_MAIN(TestLiveRefresh)
#include "tst_live_refresh.moc"
