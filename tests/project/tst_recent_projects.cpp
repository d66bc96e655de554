// The list of recent projects: newest first, no repeats, ten at most, kept in
// the user's settings between runs.

#include "project/recent_projects.h"

#include <QSettings>
#include <QTest>

using letterloom::project::RecentProjects;
using letterloom::project::withRecent;

class TestRecentProjects : public QObject {
    Q_OBJECT

private slots:
    void init() { RecentProjects().clear(); }

    void withRecent_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("after");

        QStringList ten;
        for (int i = 0; i < 10; ++i)
            ten << QStringLiteral("/p/%1.llp").arg(i);
        QTest::newRow("first") << QStringList{} << "/a.llp" << QStringList{"/a.llp"};
        QTest::newRow("new on top") << QStringList{"/a.llp", "/b.llp"} << "/c.llp"
                                    << QStringList{"/c.llp", "/a.llp", "/b.llp"};
        QTest::newRow("an old one comes up") << QStringList{"/a.llp", "/b.llp", "/c.llp"} << "/c.llp"
                                             << QStringList{"/c.llp", "/a.llp", "/b.llp"};
        QTest::newRow("the top stays") << QStringList{"/a.llp", "/b.llp"} << "/a.llp"
                                       << QStringList{"/a.llp", "/b.llp"};
        QTest::newRow("the eleventh pushes the oldest out")
            << ten << "/new.llp" << (QStringList{"/new.llp"} + ten.mid(0, 9));
        QTest::newRow("a listed one among ten") << ten << "/p/9.llp"
                                                << (QStringList{"/p/9.llp"} + ten.mid(0, 9));
    }

    void withRecent()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, path);
        QFETCH(QStringList, after);
        QCOMPARE(::withRecent(before, path), after);
    }

    // Kept in the settings: a second list object, as in the next run, sees it.
    void keptBetweenRuns()
    {
        RecentProjects().add(QStringLiteral("/x/one.llp"));
        RecentProjects().add(QStringLiteral("/x/two.llp"));
        RecentProjects().add(QStringLiteral("/x/../x/one.llp"));
        QCOMPARE(RecentProjects().paths(), (QStringList{"/x/one.llp", "/x/two.llp"}));
        RecentProjects().remove(QStringLiteral("/x/two.llp"));
        QCOMPARE(RecentProjects().paths(), (QStringList{"/x/one.llp"}));
    }

    // Whatever another program or an older version left in the settings, the
    // menu gets absolute paths, no repeats, no empty names, ten at most.
    void untidySettings()
    {
        QStringList stored{QString(), QStringLiteral("/a.llp"), QStringLiteral("/a.llp")};
        for (int i = 0; i < 12; ++i)
            stored << QStringLiteral("/p/%1.llp").arg(i);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Letterloom"),
                  QStringLiteral("Letterloom"))
            .setValue(QStringLiteral("recentProjects"), stored);
        const QStringList paths = RecentProjects().paths();
        QCOMPARE(paths.size(), RecentProjects::kLimit);
        QCOMPARE(paths.first(), QStringLiteral("/a.llp"));
        QCOMPARE(paths.last(), QStringLiteral("/p/8.llp"));
    }
};

QTEST_GUILESS_MAIN(TestRecentProjects)
#include "tst_recent_projects.moc"
