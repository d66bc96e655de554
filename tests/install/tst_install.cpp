// Letterloom installed as `make install` and `make deb` install it: the
// tree under the prefix, the installed programs at work, the desktop files
// as the desktop's own tools read them, and the Debian package's contents
// and dependencies.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace {

const QString kBuild = QStringLiteral(LETTERLOOM_BUILD_DIR);
const QString kId = QStringLiteral("local.letterloom.Letterloom");

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run run(const QString &program, const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(300000))
        return result;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString describe(const Run &run)
{
    return QStringLiteral("exit %1\n%2%3").arg(run.status).arg(run.out, run.err);
}

// The tree below the prefix that both ways of installing lay out, one entry
// a line: "path", "path (program)" for an executable, "path -> target" for a
// link. The manual comes along when the build has made one.
QStringList expectedTree()
{
    QStringList tree{
        QStringLiteral("bin/letterloom -> ../lib/letterloom/letterloom"),
        QStringLiteral("bin/letterloom-cli -> ../lib/letterloom/letterloom-cli"),
        QStringLiteral("lib/letterloom/areas.llp"),
        QStringLiteral("lib/letterloom/letterloom (program)"),
        QStringLiteral("lib/letterloom/letterloom-cli (program)"),
        QStringLiteral("lib/letterloom/outlined.llp"),
        QStringLiteral("lib/letterloom/sample.bmp"),
        QStringLiteral("lib/letterloom/sample.llf"),
        QStringLiteral("lib/letterloom/sample.llp"),
        QStringLiteral("share/applications/%1.desktop").arg(kId),
        QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(kId),
        QStringLiteral("share/man/man1/letterloom-cli.1"),
        QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kId),
        QStringLiteral("share/mime/packages/%1.xml").arg(kId),
    };
    const QDir manual(kBuild + QStringLiteral("/manual"));
    QDirIterator files(manual.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        tree << QStringLiteral("lib/letterloom/manual/") + manual.relativeFilePath(files.next());
    tree.sort();
    return tree;
}

// The same kind of list of what lies below a folder.
QStringList treeOf(const QString &root)
{
    QStringList tree;
    QDirIterator entries(root, QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        QString line = QDir(root).relativeFilePath(entry.filePath());
        if (entry.isSymLink()) {
            char target[4096];
            const ssize_t size = ::readlink(QFile::encodeName(entry.filePath()).constData(), target, sizeof target);
            line += QStringLiteral(" -> ") + QString::fromLocal8Bit(target, size < 0 ? 0 : size);
        } else if (entry.isExecutable()) {
            line += QStringLiteral(" (program)");
        }
        tree << line;
    }
    tree.sort();
    return tree;
}

// The value of one key of a desktop entry's main group.
QString desktopKey(const QString &path, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n'))
        if (line.startsWith(key + u'='))
            return line.mid(key.size() + 1);
    return {};
}

}  // namespace

class TestInstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void installedTree();
    void installedCliRendersTheSampleProject();
    void installedProgramStartsAndCloses();
    void desktopFilesPassTheirTools_data();
    void desktopFilesPassTheirTools();
    void desktopFilesAgree();
    void debianPackage();

private:
    QTemporaryDir dir_;
    QString destDir_;
    QString prefix_;  // the prefix inside DESTDIR
};

// make install: the build installed under /usr/local, into a DESTDIR.
void TestInstall::initTestCase()
{
    destDir_ = dir_.filePath(QStringLiteral("dest"));
    prefix_ = destDir_ + QStringLiteral("/usr/local");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DESTDIR"), destDir_);
    const Run install = run(QStringLiteral(LETTERLOOM_CMAKE),
                            {"--install", kBuild, "--prefix", "/usr/local", "--strip"}, environment);
    QVERIFY2(install.status == 0, qPrintable(describe(install)));
}

void TestInstall::installedTree()
{
    // Nothing outside the prefix.
    QCOMPARE(QDir(destDir_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"usr"});
    QCOMPARE(QDir(destDir_ + QStringLiteral("/usr")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"local"});
    QCOMPARE(treeOf(prefix_), expectedTree());
}

// The installed tool, started through its link, finds the sample font next to
// itself in the program directory and draws what the build's tool draws.
void TestInstall::installedCliRendersTheSampleProject()
{
    const QString installed = dir_.filePath(QStringLiteral("installed.bmp"));
    const QString built = dir_.filePath(QStringLiteral("built.bmp"));
    const Run installedRun = run(prefix_ + QStringLiteral("/bin/letterloom-cli"),
                                 {"render", prefix_ + "/lib/letterloom/sample.llp", "-o", installed});
    QVERIFY2(installedRun.status == 0 && installedRun.err.isEmpty(), qPrintable(describe(installedRun)));
    const Run builtRun = run(kBuild + QStringLiteral("/letterloom-cli"),
                             {"render", kBuild + "/sample.llp", "-o", built});
    QCOMPARE(builtRun.status, 0);

    QFile a(installed), b(built);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray picture = a.readAll();
    QVERIFY(picture.startsWith("BM"));
    QVERIFY(picture == b.readAll());
}

// The installed desktop program opens the sample project named on its command
// line as a file manager starts it, with a home of its own, and ends on the
// logout signal with status 0. The signal is sent at once; the program is
// started with it blocked, so it waits until the program handles it.
void TestInstall::installedProgramStartsAndCloses()
{
    const QString home = dir_.filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(home));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        environment.remove(QString::fromLatin1(variable));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(home);
    program.setChildProcessModifier([] {
        sigset_t blocked;
        sigemptyset(&blocked);
        sigaddset(&blocked, SIGTERM);
        sigprocmask(SIG_BLOCK, &blocked, nullptr);
    });
    program.start(prefix_ + QStringLiteral("/bin/letterloom"), {prefix_ + QStringLiteral("/lib/letterloom/sample.llp")});
    QVERIFY(program.waitForStarted());
    ::kill(pid_t(program.processId()), SIGTERM);
    const bool finished = program.waitForFinished(300000);
    if (!finished)
        program.kill();
    const QString output = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(finished, qPrintable(QStringLiteral("still running (a question open?)\n") + output));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY2(program.exitCode() == 0, qPrintable(output));
}

void TestInstall::desktopFilesPassTheirTools_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");  // below the prefix

    QTest::newRow("menu entry") << "desktop-file-validate" << QStringList{}
                                << QStringLiteral("share/applications/%1.desktop").arg(kId);
    QTest::newRow("software centre description") << "appstreamcli" << QStringList{"validate", "--no-net"}
                                                 << QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kId);
    QTest::newRow("file kinds, as XML") << "xmllint" << QStringList{"--noout"}
                                        << QStringLiteral("share/mime/packages/%1.xml").arg(kId);
}

void TestInstall::desktopFilesPassTheirTools()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    const Run check = run(tool, arguments << prefix_ + u'/' + file);
    QVERIFY2(check.status == 0, qPrintable(tool + QStringLiteral(": ") + describe(check)));
    if (tool == u"desktop-file-validate")
        QVERIFY2(check.out.isEmpty() && check.err.isEmpty(), qPrintable(describe(check)));  // no hints either
}

// The files name one another: the entry starts an installed program with the
// file it is given, its icon is installed, its file kinds are the ones the
// MIME package defines for *.llp and *.llf (as the database built from it
// says), and the description launches the entry.
void TestInstall::desktopFilesAgree()
{
    const QString entry = prefix_ + QStringLiteral("/share/applications/%1.desktop").arg(kId);
    QCOMPARE(desktopKey(entry, QStringLiteral("Exec")), QStringLiteral("letterloom %f"));
    QVERIFY(QFileInfo(prefix_ + QStringLiteral("/bin/letterloom")).isExecutable());
    QCOMPARE(desktopKey(entry, QStringLiteral("Icon")), kId);
    QVERIFY(QFile::exists(prefix_ + QStringLiteral("/share/icons/hicolor/scalable/apps/%1.svg").arg(kId)));

    const QString mime = prefix_ + QStringLiteral("/share/mime");
    const Run update = run(QStringLiteral("update-mime-database"), {mime});
    QVERIFY2(update.status == 0 && !update.err.contains(QStringLiteral("error")), qPrintable(describe(update)));
    QFile globs(mime + QStringLiteral("/globs2"));
    QVERIFY(globs.open(QIODevice::ReadOnly));
    QStringList known;
    for (const QString &line : QString::fromUtf8(globs.readAll()).split(u'\n'))
        if (!line.startsWith(u'#') && !line.isEmpty())
            known << line.section(u':', 1);
    known.sort();
    QCOMPARE(known, (QStringList{"application/x-letterloom-font:*.llf", "application/x-letterloom-project:*.llp"}));
    QCOMPARE(desktopKey(entry, QStringLiteral("MimeType")),
             QStringLiteral("application/x-letterloom-project;application/x-letterloom-font;"));

    QFile metainfo(prefix_ + QStringLiteral("/share/metainfo/%1.metainfo.xml").arg(kId));
    QVERIFY(metainfo.open(QIODevice::ReadOnly));
    const QString description = QString::fromUtf8(metainfo.readAll());
    QVERIFY(description.contains(QStringLiteral("<id>%1</id>").arg(kId)));
    QVERIFY(description.contains(QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(kId)));
}

// make deb: the same tree under /usr, with the Qt runtime packages the
// programs need as dependencies.
void TestInstall::debianPackage()
{
    const QString packages = dir_.filePath(QStringLiteral("packages"));
    const Run cpack = run(QStringLiteral(LETTERLOOM_CPACK),
                          {"-G", "DEB", "--config", kBuild + "/CPackConfig.cmake", "-B", packages});
    QVERIFY2(cpack.status == 0, qPrintable(describe(cpack)));
    const QStringList debs = QDir(packages).entryList({QStringLiteral("*.deb")});
    QVERIFY2(debs.size() == 1, qPrintable(debs.join(u' ')));
    QVERIFY(QRegularExpression(QStringLiteral(R"(^letterloom_1\.0_\w+\.deb$)")).match(debs[0]).hasMatch());
    const QString deb = packages + u'/' + debs[0];

    // "drwxr-xr-x root/root 0 2026-01-01 12:00 ./usr/bin/" per entry.
    const Run contents = run(QStringLiteral("dpkg-deb"), {"--contents", deb});
    QCOMPARE(contents.status, 0);
    QStringList tree;
    static const QRegularExpression entryLine(QStringLiteral(R"(^(\S+)\s+\S+\s+\d+\s+\S+\s+\S+\s+\./usr/(.*)$)"));
    for (const QString &line : contents.out.split(u'\n')) {
        const QRegularExpressionMatch match = entryLine.match(line);
        if (!match.hasMatch() || match.captured(1).startsWith(u'd'))
            continue;
        const QString permissions = match.captured(1);
        tree << match.captured(2) + (permissions.startsWith(u'-') && permissions.at(3) == u'x'
                                         ? QStringLiteral(" (program)") : QString());
    }
    tree.sort();
    QCOMPARE(tree, expectedTree());

    const Run depends = run(QStringLiteral("dpkg-deb"), {"--field", deb, "Depends"});
    QCOMPARE(depends.status, 0);
    QStringList names;
    for (const QString &dependency : depends.out.trimmed().split(QStringLiteral(", ")))
        names << dependency.section(u' ', 0, 0);
    for (const char *needed : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6svg6", "libc6", "libstdc++6"})
        QVERIFY2(names.contains(QLatin1String(needed)), qPrintable(QStringLiteral("%1 missing in %2").arg(QLatin1String(needed), depends.out)));
}

QTEST_GUILESS_MAIN(TestInstall)

#include "tst_install.moc"
