#include "base/byte_reader.h"
#include "base/error.h"
#include "base/file_io.h"
#include "support/full_disk.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace letterloom;

class TestError : public QObject {
    Q_OBJECT

private slots:
    void errorBoxTextAddsFullStop_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "File not found" << "File not found.";
        QTest::newRow("exclamation mark, code 33") << "Stop!" << "Stop!";
        QTest::newRow("full stop itself") << "Done." << "Done.";
        QTest::newRow("slash, code 47") << "a/" << "a/.";
        QTest::newRow("closing quote, code 34") << "File \"x\"" << "File \"x\"";
        QTest::newRow("digit") << "Error 5" << "Error 5.";
        QTest::newRow("empty") << "" << "";
    }
    void errorBoxTextAddsFullStop()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(errorBoxText(message), shown);
    }

    void readerThrowsAtTheEnd()
    {
        const QByteArray bytes("\x10\x01\x02\x03\x04\xFF", 6);
        ByteReader in(bytes);
        QCOMPARE(in.u8(), 0x10);
        QCOMPARE(in.i32(), 0x04030201);
        QVERIFY_THROWS_EXCEPTION(Error, in.i32());
        QCOMPARE(in.position(), 5);  // a failed read consumes nothing
        QCOMPARE(in.u8(), 0xFF);
        QVERIFY_THROWS_EXCEPTION(Error, in.take(1));
        QVERIFY_THROWS_EXCEPTION(Error, in.take(-1));
    }

    void negativeAndHugeLengthsAreRejected()
    {
        const QByteArray bytes(8, '\0');
        ByteReader in(bytes);
        try {
            in.require(qint64(1) << 40);
            QFAIL("no error");
        } catch (const Error &e) {
            QCOMPARE(e.message(), QStringLiteral("Read beyond end of file"));
        }
        QVERIFY_THROWS_EXCEPTION(Error, in.require(-4));
    }

    void writerIsLittleEndian()
    {
        ByteWriter out;
        out.u8(7);
        out.i32(-2);
        out.u32(0x0A0B0C0D);
        QCOMPARE(out.result(), QByteArray("\x07\xFE\xFF\xFF\xFF\x0D\x0C\x0B\x0A", 9));
    }

private:
    // What stands at a path in the folder of a test: made by its name.
    enum Node { Nothing, Regular, Folder, Pipe, Device, LinkToRegular, LinkToPipe, LinkToFolder, LinkToDevice,
                LinkToNothing, LinkToLink };

    // Makes node at name in folder; false when this machine does not allow it
    // (a device needs the right to make one).
    static bool make(const QDir &folder, const QString &name, Node node)
    {
        const QByteArray path = QFile::encodeName(folder.filePath(name));
        auto linkTo = [&](const QString &target, Node kind) {
            return (kind == Nothing || make(folder, target, kind)) && QFile::link(target, folder.filePath(name));
        };
        switch (node) {
        case Nothing:
            return true;
        case Regular:
            writeWholeFile(folder.filePath(name), "old bytes");
            return true;
        case Folder:
            return folder.mkdir(name);
        case Pipe:
            return ::mkfifo(path.constData(), 0644) == 0;
        case Device:  // the one that /dev/null is
            return ::mknod(path.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
        case LinkToRegular:
            return linkTo(name + ".target", Regular);
        case LinkToPipe:
            return linkTo(name + ".target", Pipe);
        case LinkToFolder:
            return linkTo(name + ".target", Folder);
        case LinkToDevice:
            return linkTo(name + ".target", Device);
        case LinkToNothing:
            return linkTo(name + ".target", Nothing);
        case LinkToLink:
            return linkTo(name + ".link", LinkToRegular);
        }
        return false;
    }

    // What a folder holds: each entry's name with a letter for its kind
    // (f file, d folder, p pipe, c device, l link) and a file's bytes.
    static QStringList contents(const QDir &folder)
    {
        QStringList entries;
        for (const QString &name : folder.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)) {
            struct stat status {};
            ::lstat(QFile::encodeName(folder.filePath(name)).constData(), &status);
            const char kind = S_ISLNK(status.st_mode) ? 'l' : S_ISDIR(status.st_mode) ? 'd' : S_ISFIFO(status.st_mode) ? 'p'
                              : S_ISCHR(status.st_mode) ? 'c' : 'f';
            QString entry = name + u' ' + QLatin1Char(kind);
            if (kind == 'f')
                entry += u' ' + QString::fromLatin1(readWholeFile(folder.filePath(name)));
            entries << entry;
        }
        return entries;
    }

private slots:
    void readingNeedsARegularFile_data()
    {
        QTest::addColumn<int>("node");
        QTest::addColumn<QString>("message");  // "" when the file's bytes are read
        const QString notRegular = "\"@in\" is not a regular file";
        QTest::newRow("nothing there") << int(Nothing) << "File not found";
        QTest::newRow("link to nothing") << int(LinkToNothing) << "File not found";
        QTest::newRow("regular file") << int(Regular) << "";
        QTest::newRow("link to a regular file") << int(LinkToRegular) << "";
        QTest::newRow("link to a link") << int(LinkToLink) << "";
        QTest::newRow("folder") << int(Folder) << notRegular;
        QTest::newRow("pipe") << int(Pipe) << notRegular;
        QTest::newRow("link to a pipe") << int(LinkToPipe) << notRegular;
        QTest::newRow("device") << int(Device) << notRegular;
        QTest::newRow("link to a folder") << int(LinkToFolder) << notRegular;
    }

    // Fonts, projects and pictures come from regular files; what else stands
    // there is named, never opened (a pipe would wait for a writer).
    void readingNeedsARegularFile()
    {
        QFETCH(int, node);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QDir folder(dir.path());
        if (!make(folder, "in", Node(node)))
            QSKIP("cannot make a device here");
        const QString path = folder.filePath("in");
        QString failure;
        QByteArray bytes;
        try {
            bytes = readWholeFile(path);
        } catch (const Error &e) {
            failure = e.message();
        }
        QCOMPARE(failure, QString(message).replace("@", dir.path() + "/"));
        QCOMPARE(bytes, message.isEmpty() ? QByteArray("old bytes") : QByteArray());
        QCOMPARE(isRegularFile(path), message.isEmpty());
        QVERIFY_THROWS_EXCEPTION(Error, readWholeFile(QString()));
    }

    void textInputFromAPipe_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QString>("message");
        QTest::newRow("a line") << QByteArray("a text\n") << qint64(100) << "";
        QTest::newRow("nothing") << QByteArray() << qint64(100) << "";
        QTest::newRow("more than a piece") << QByteArray(200'000, 'x') << qint64(200'000) << "";
        QTest::newRow("past the limit") << QByteArray(200'001, 'x') << qint64(200'000) << "File \"in\" is too large";
    }

    // A text may come through a pipe, read as it comes, to its size limit.
    void textInputFromAPipe()
    {
        QFETCH(QByteArray, sent);
        QFETCH(qint64, limit);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("in");
        QVERIFY(make(QDir(dir.path()), "in", Pipe));
        writeWholeFile(dir.filePath("sent"), sent);
        QProcess writer;
        writer.start("sh", {"-c", "cat \"$0\" > \"$1\"", dir.filePath("sent"), path});
        QVERIFY(writer.waitForStarted());
        QString failure;
        QByteArray bytes;
        try {
            bytes = readTextInput(path, limit);
        } catch (const Error &e) {
            failure = e.message();
        }
        writer.kill();  // still blocked when the reader stopped early
        writer.waitForFinished();
        QCOMPARE(failure, message);
        QCOMPARE(bytes, message.isEmpty() ? sent : QByteArray());
        QVERIFY_THROWS_EXCEPTION(Error, readTextInput(dir.path() + "/none"));
    }

    void specialFilesAreNeverReplaced_data()
    {
        QTest::addColumn<int>("node");
        QTest::addColumn<bool>("written");
        QTest::newRow("nothing there") << int(Nothing) << true;
        QTest::newRow("regular file") << int(Regular) << true;
        QTest::newRow("link to a regular file") << int(LinkToRegular) << true;
        QTest::newRow("link to a link to a regular file") << int(LinkToLink) << true;
        QTest::newRow("link to nothing") << int(LinkToNothing) << true;
        QTest::newRow("folder") << int(Folder) << false;
        QTest::newRow("pipe") << int(Pipe) << false;
        QTest::newRow("device") << int(Device) << false;
        QTest::newRow("link to a pipe") << int(LinkToPipe) << false;
        QTest::newRow("link to a folder") << int(LinkToFolder) << false;
        QTest::newRow("link to a device") << int(LinkToDevice) << false;
    }

    // A write replaces regular files only, and through a link the file it
    // leads to: the link stays. Anything else is refused and stays as it is.
    void specialFilesAreNeverReplaced()
    {
        QFETCH(int, node);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QDir folder(dir.path());
        if (!make(folder, "out", Node(node)))
            QSKIP("cannot make a device here");
        QStringList expected = contents(folder);
        if (written) {
            // The new bytes land in the file at the end of the links.
            const QString target = Node(node) == LinkToLink ? "out.link.target" : node == Regular || node == Nothing ? "out" : "out.target";
            expected.removeIf([&](const QString &entry) { return entry.startsWith(target + ' '); });
            expected << target + " f new";
            expected.sort();
        }
        QString failure;
        try {
            writeWholeFile(folder.filePath("out"), "new");
        } catch (const Error &e) {
            failure = e.message();
        }
        QCOMPARE(failure, written ? QString() : notRegularFileMessage(folder.filePath("out")));
        QCOMPARE(contents(folder), expected);
    }

    void failedWriteKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("keep.bin");
        writeWholeFile(path, "old bytes");
        QCOMPARE(readWholeFile(path), QByteArray("old bytes"));
        writeWholeFile(path, "new");
        QCOMPARE(readWholeFile(path), QByteArray("new"));

        // A file standing where a folder is needed: nothing can be written there,
        // and the file in the way keeps its bytes.
        QVERIFY_THROWS_EXCEPTION(Error, writeWholeFile(path + "/inner.bin", "x"));
        QCOMPARE(readWholeFile(path), QByteArray("new"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.bin"});

        // A file written in pieces whose maker fails half-way.
        QVERIFY_THROWS_EXCEPTION(Error, writeWholeFileInPieces(path, [](const WritePiece &write) {
                                     write("half of");
                                     throw Error(QStringLiteral("the pieces ran out"));
                                 }));
        QCOMPARE(readWholeFile(path), QByteArray("new"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.bin"});
        writeWholeFileInPieces(path, [](const WritePiece &write) {
            for (const char *piece : {"in ", "", "three pieces"})
                write(piece);
        });
        QCOMPARE(readWholeFile(path), QByteArray("in three pieces"));
    }

    void fullDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<qint64>("room");  // bytes free on the disk
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("fits");
        QTest::newRow("1 byte, no room") << qint64(0) << 1 << false;
        QTest::newRow("100 bytes, no room") << qint64(0) << 100 << false;
        QTest::newRow("10 KiB, no room") << qint64(0) << 10240 << false;
        QTest::newRow("12 KB in 8 KiB") << qint64(8192) << 12000 << false;
        QTest::newRow("40 KB in 8 KiB") << qint64(8192) << 40000 << false;
        QTest::newRow("5 KB in 16 KiB") << qint64(16384) << 5000 << true;
    }

    // Every write that finds no room ends with "Disk full" and the old file
    // kept, however few bytes it had.
    void fullDiskKeepsTheOldFile()
    {
        QFETCH(qint64, room);
        QFETCH(int, size);
        QFETCH(bool, fits);
        LETTERLOOM_ON_A_FULL_DISK();
        const QDir folder(QDir::temp().filePath("out"));
        QVERIFY(folder.mkpath("."));
        const QString path = folder.filePath("keep.bin");
        writeWholeFile(path, "old bytes");
        QVERIFY(testing::fillDisk(room));

        const QByteArray bytes(size, 'n');
        // Whole, and in pieces of a third.
        for (bool inPieces : {false, true}) {
            QString message;
            try {
                if (inPieces)
                    writeWholeFileInPieces(path, [&bytes](const WritePiece &write) {
                        for (qsizetype at = 0; at < bytes.size(); at += bytes.size() / 3 + 1)
                            write(bytes.mid(at, bytes.size() / 3 + 1));
                    });
                else
                    writeWholeFile(path, bytes);
            } catch (const Error &e) {
                message = e.message();
            }
            QCOMPARE(message, fits ? QString() : QStringLiteral("Disk full"));
            QCOMPARE(readWholeFile(path), fits ? bytes : QByteArray("old bytes"));
            QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     QStringList{"keep.bin"});
            if (fits)
                writeWholeFile(path, "old bytes");
        }
    }
};

QTEST_GUILESS_MAIN(TestError)
#include "tst_error.moc"
