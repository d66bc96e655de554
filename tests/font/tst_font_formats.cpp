#include "font/font_formats.h"

#include "base/error.h"
#include "base/file_io.h"
#include "font/test_glyphs.h"

#include <QTemporaryDir>
#include <QTest>

using namespace letterloom;
using namespace letterloom::font;
using namespace letterloom::font::test;

class TestFontFormats : public QObject {
    Q_OBJECT

private slots:
    void convertsByExtension_data();
    void convertsByExtension();
    void reportsFailures_data();
    void reportsFailures();
};

// Writing and reading a font by its file name picks the format from the
// extension, in any letter case; the files begin the way each format does.
void TestFontFormats::convertsByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<Pictures>("expected");
    QTest::addColumn<QStringList>("warnings");

    const Pictures colours{{65, {"r#", "#g"}}};
    const Pictures blackAndWhite{{65, {"##", "##"}}};
    const QStringList dropped{"Colours dropped, drawn in black: glyphs 65"};
    QTest::newRow("own font file") << "font.llf" << QByteArray("\0\0\0\0\0\0\0\0\0", 9) << colours << QStringList();
    QTest::newRow("own font file, capitals") << "FONT.LLF" << QByteArray("\0", 1) << colours << QStringList();
    QTest::newRow("BDF") << "font.bdf" << QByteArray("STARTFONT 2.1\n") << blackAndWhite << dropped;
    QTest::newRow("BDF, capitals") << "font.Bdf" << QByteArray("STARTFONT") << blackAndWhite << dropped;
    QTest::newRow("BMFont") << "font.fnt" << QByteArray("info face=\"font\"") << colours << QStringList();
}

void TestFontFormats::convertsByExtension()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    QFETCH(Pictures, expected);
    QFETCH(QStringList, warnings);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(name);

    QCOMPARE(writeAnyFont(path, tableOf({{65, {"r#", "#g"}}})), warnings);
    QVERIFY(readWholeFile(path).startsWith(start));
    const ImportedFont imported = readAnyFont(path);
    QCOMPARE(picturesOf(imported.glyphs), expected);
    QCOMPARE(imported.warnings, QStringList());
}

void TestFontFormats::reportsFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");  // none when empty
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown extension") << "font.txt" << QByteArray("STARTFONT 2.1\n")
                                       << "Unknown font file type \"font.txt\"";
    QTest::newRow("no extension") << "font" << QByteArray() << "Unknown font file type \"font\"";
    QTest::newRow("missing font file") << "font.llf" << QByteArray() << "File not found";
    QTest::newRow("missing BDF font") << "font.bdf" << QByteArray() << "File not found";
    QTest::newRow("missing BMFont") << "font.fnt" << QByteArray() << "File not found";
    QTest::newRow("missing BMFont page")
        << "font.fnt" << QByteArray("common lineHeight=1\npage id=0 file=\"font_0.png\"\nchars count=1\n"
                                    "char id=65 x=0 y=0 width=1 height=1 xadvance=1\n")
        << "Cannot read the BMFont page \"font_0.png\": File not found";
}

void TestFontFormats::reportsFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(name);
    if (!content.isEmpty())
        writeWholeFile(path, content);
    try {
        readAnyFont(path);
        QFAIL("the font was read");
    } catch (const Error &error) {
        QCOMPARE(error.message(), message);
    }
}

QTEST_GUILESS_MAIN(TestFontFormats)
#include "tst_font_formats.moc"
