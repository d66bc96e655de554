#include "base/byte_reader.h"
#include "base/error.h"
#include "base/file_io.h"
#include "support/full_disk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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

    void missingFileAndFolderAreNotFound()
    {
        QTemporaryDir dir;
        for (const QString &path : {dir.filePath("nothing.llf"), dir.path(), QString()}) {
            try {
                readWholeFile(path);
                QFAIL("no error");
            } catch (const Error &e) {
                QCOMPARE(e.message(), QStringLiteral("File not found"));
            }
        }
        QVERIFY(!isRegularFile(dir.path()));
        QVERIFY(!isRegularFile(QStringLiteral("/dev/null")));
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
        QString message;
        try {
            writeWholeFile(path, bytes);
        } catch (const Error &e) {
            message = e.message();
        }
        QCOMPARE(message, fits ? QString() : QStringLiteral("Disk full"));
        QCOMPARE(readWholeFile(path), fits ? bytes : QByteArray("old bytes"));
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"keep.bin"});
    }
};

QTEST_GUILESS_MAIN(TestError)
#include "tst_error.moc"
