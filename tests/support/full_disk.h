#pragma once

// Writing on a full disk. LETTERLOOM_ON_A_FULL_DISK() runs the current test
// function (and data row) again in a child process whose temporary folder is a
// small tmpfs, mounted in a private mount namespace (unshare -rm) so that
// nothing stays mounted once the child ends; the child fills it with
// fillDisk(). Where such a namespace is not allowed the test is skipped.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace letterloom::testing {

inline constexpr char kOnSmallDisk[] = "LETTERLOOM_ON_SMALL_DISK";

struct SmallDiskRun {
    QString skipped;  // why it could not run, when it could not
    bool passed = false;
    QByteArray output;
};

inline SmallDiskRun rerunOnSmallDisk()
{
    SmallDiskRun run;
    QTemporaryDir mountPoint;
    const QString mount = QStringLiteral("mount -t tmpfs -o size=1m letterloom-test \"$TMPDIR\"");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), mountPoint.path());
    QProcess probe;
    probe.setProcessEnvironment(environment);
    probe.start(QStringLiteral("unshare"), {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"), mount});
    if (!probe.waitForFinished(-1) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
        run.skipped = QStringLiteral("no tmpfs in a private mount namespace here (unshare -rm): ")
                      + QString::fromLocal8Bit(probe.readAllStandardError()).trimmed() + probe.errorString();
        return run;
    }
    QString test = QString::fromLatin1(QTest::currentTestFunction());
    if (QTest::currentDataTag())
        test += u':' + QString::fromUtf8(QTest::currentDataTag());
    environment.insert(QString::fromLatin1(kOnSmallDisk), QStringLiteral("1"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("unshare"), {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"),
                                            mount + QStringLiteral(" && exec \"$@\""), QStringLiteral("sh"),
                                            QCoreApplication::applicationFilePath(), test});
    child.waitForFinished(-1);
    run.passed = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    run.output = child.readAll();
    return run;
}

// Fills the file system of the temporary folder until only `room` bytes (a
// multiple of 4096) are free; false when it could not.
inline bool fillDisk(qint64 room = 0)
{
    const QByteArray path = QFile::encodeName(QDir::temp().filePath(QStringLiteral("filler")));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    static const char block[4096] = {};
    qint64 size = 0;
    for (ssize_t written; (written = ::write(fd, block, sizeof block)) > 0;)
        size += written;
    const bool full = errno == ENOSPC && size >= room && ::ftruncate(fd, size - room) == 0;
    ::close(fd);
    return full;
}

}  // namespace letterloom::testing

#define LETTERLOOM_ON_A_FULL_DISK()                                                                   \
    do {                                                                                              \
        if (!qEnvironmentVariableIsSet(letterloom::testing::kOnSmallDisk)) {                          \
            const letterloom::testing::SmallDiskRun smallDiskRun = letterloom::testing::rerunOnSmallDisk(); \
            if (!smallDiskRun.skipped.isEmpty())                                                      \
                QSKIP(qPrintable(smallDiskRun.skipped));                                              \
            QVERIFY2(smallDiskRun.passed, smallDiskRun.output.constData());                          \
            return;                                                                                   \
        }                                                                                             \
    } while (false)
