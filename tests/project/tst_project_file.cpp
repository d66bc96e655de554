#include "base/byte_reader.h"
#include "base/error.h"
#include "base/extension_block.h"
#include "base/file_io.h"
#include "project/project_file.h"
#include "support/run_length_bmp.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace letterloom;
using namespace letterloom::project;
using testing::oneColourRuns;
using testing::runLengthBmp;

namespace {

QByteArray hex(const char *digits)
{
    return QByteArray::fromHex(digits);
}

// A project with the start-up settings, no font path, no text and no picture.
const QByteArray kEmptyProject = hex("10 01 01 00000000 00000000 00000000 00000000 01"
                                     "14000000 0a000000 08000000 08000000 00000000 00000000 00000000");

QByteArray withInt(QByteArray bytes, int offset, std::int32_t value)
{
    ByteWriter field;
    field.i32(value);
    return bytes.replace(offset, 4, field.result());
}

void expectError(const std::function<void()> &action, const QString &message)
{
    try {
        action();
        QFAIL("no error");
    } catch (const Error &error) {
        QCOMPARE(error.message(), message);
    }
}

}  // namespace

class TestProjectFile : public QObject {
    Q_OBJECT

private slots:
    void layout_data()
    {
        QTest::addColumn<ProjectFile>("project");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("empty project, 48 bytes") << ProjectFile{} << kEmptyProject;

        ProjectFile full;
        full.settings = {0, 1, {10, 20, -100, 50}, 7, 12, -3, 6, 9};
        full.storedFontPath = "fonts/a.llf";
        full.text = "A\r\nB";
        full.pictureBmp = "BM\x01\xFE";
        ProjectFile extended;
        extended.extensions.keys = QJsonObject{{"later", QJsonObject{{"n", 2}}}};
        QTest::newRow("extension block after the picture")
            << extended << kEmptyProject + QByteArray("LLX1\x11\x00\x00\x00{\"later\":{\"n\":2}}", 25);

        QTest::newRow("every field")
            << full
            << hex("10 00 01 0a000000 14000000 9cffffff 32000000 07 0c000000 fdffffff 06000000 09000000"
                   "0b000000") + "fonts/a.llf" + hex("04000000") + "A\r\nB" + hex("04000000 424d01fe");
    }

    void layout()
    {
        QFETCH(ProjectFile, project);
        QFETCH(QByteArray, bytes);
        QCOMPARE(projectBytes(project), bytes);
        QCOMPARE(parseProject(bytes), project);
    }

    void rejected_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QString beyond = QStringLiteral("Read beyond end of file");
        QTest::newRow("empty file") << QByteArray() << beyond;
        QTest::newRow("format byte 15") << hex("0f") + kEmptyProject.mid(1) << QStringLiteral("Not a Letterloom project file");
        QTest::newRow("settings cut short") << kEmptyProject.left(30) << beyond;
        QTest::newRow("negative path length") << withInt(kEmptyProject, 36, -1) << beyond;
        QTest::newRow("path past the end") << withInt(kEmptyProject, 36, 5) << beyond;
        QTest::newRow("negative text length") << withInt(kEmptyProject, 40, -2147483647 - 1) << beyond;
        QTest::newRow("huge picture length") << withInt(kEmptyProject, 44, 2147483647) << beyond;
        QTest::newRow("picture cut short") << withInt(kEmptyProject, 44, 1) << beyond;
    }

    void rejected()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        expectError([&] { parseProject(bytes); }, message);
    }

    // The described part opens whatever follows it; the project's extras
    // come with notices about what was left out.
    void extras_data()
    {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<QByteArray>("otherKeys");
        QTest::addColumn<QStringList>("notices");
        QTest::newRow("none") << QByteArray() << QByteArray("{}") << QStringList();
        QTest::newRow("bytes that are no block") << QByteArray("LLX") << QByteArray("{}") << QStringList();
        QTest::newRow("keys of a later version")
            << extensionBlockBytes(QJsonDocument::fromJson(R"({"layers":[{"x":1}]})").object())
            << QByteArray(R"({"layers":[{"x":1}]})") << QStringList();
        QTest::newRow("bad JSON") << QByteArray("LLX1\x02\x00\x00\x00{,", 10) << QByteArray("{}")
                                  << QStringList{"The extras stored at the end of \"p.llp\" are damaged and were "
                                                 "left out: its JSON is not valid (unterminated object at byte 2)."};
    }

    void extras()
    {
        QFETCH(QByteArray, tail);
        QFETCH(QByteArray, otherKeys);
        QFETCH(QStringList, notices);
        const ProjectFile file = parseProject(kEmptyProject + tail);
        QCOMPARE(file.settings, ProjectSettings());
        QStringList shown;
        const ProjectExtras extras = extrasOf(file, QStringLiteral("p.llp"), shown);
        QCOMPARE(shown, notices);
        QCOMPARE(extras.otherKeys, QJsonDocument::fromJson(otherKeys).object());
        // Written back, only a sound block with keys follows the picture.
        const QByteArray written = projectBytes({{}, {}, {}, {}, {projectExtrasKeys(extras), {}}});
        QCOMPARE(written, kEmptyProject + extensionBlockBytes(extras.otherKeys));
    }

    // The first area's colour and effects: read, checked member by member and
    // written back in their one spelling.
    void look_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QStringList>("dropped");
        const QByteArray all = R"({"effects":{"outline":{"colour":"FFFFFF","shape":"round","size":8},)"
                               R"("plate":{"colour":"000000","padding":32},)"
                               R"("shadow":{"colour":"404040","dx":-16,"dy":16}},"textColour":"1E3A5F"})";
        QTest::newRow("colour and every effect") << all << all << QStringList();
        QTest::newRow("lower-case digits") << QByteArray(R"({"textColour":"ff00aa"})")
                                           << QByteArray(R"({"textColour":"FF00AA"})") << QStringList();
        QTest::newRow("black is not written") << QByteArray(R"({"textColour":"000000"})") << QByteArray("{}")
                                              << QStringList();
        QTest::newRow("missing members take their defaults")
            << QByteArray(R"({"effects":{"outline":{},"plate":{},"shadow":{}}})")
            << QByteArray(R"({"effects":{"outline":{"colour":"000000","shape":"square","size":1},)"
                          R"("plate":{"colour":"000000","padding":0},"shadow":{"colour":"000000","dx":0,"dy":0}}})")
            << QStringList();
        QTest::newRow("outline of 0 is off") << QByteArray(R"({"effects":{"outline":{"size":0}}})")
                                             << QByteArray("{}") << QStringList();
        QTest::newRow("colour by name") << QByteArray(R"({"textColour":"red"})") << QByteArray("{}")
                                        << QStringList{"textColour"};
        QTest::newRow("colour as a number") << QByteArray(R"({"textColour":255})") << QByteArray("{}")
                                            << QStringList{"textColour"};
        QTest::newRow("outline of 9, shadow kept")
            << QByteArray(R"({"effects":{"outline":{"size":9},"shadow":{"dx":1}}})")
            << QByteArray(R"({"effects":{"shadow":{"colour":"000000","dx":1,"dy":0}}})")
            << QStringList{"effects.outline"};
        QTest::newRow("unknown shape") << QByteArray(R"({"effects":{"outline":{"shape":"star"}}})")
                                       << QByteArray("{}") << QStringList{"effects.outline"};
        QTest::newRow("shadow of 1.5, plate of 33, bad plate colour")
            << QByteArray(R"({"effects":{"plate":{"padding":33,"colour":"12345"},"shadow":{"dx":1.5}}})")
            << QByteArray("{}") << QStringList{"effects.shadow", "effects.plate"};
        QTest::newRow("effects not an object") << QByteArray(R"({"effects":[1]})") << QByteArray("{}")
                                               << QStringList{"effects"};
        QTest::newRow("spacing at its ends") << QByteArray(R"({"spacing":{"tracking":-8,"wordSpacing":16}})")
                                             << QByteArray(R"({"spacing":{"tracking":-8,"wordSpacing":16}})")
                                             << QStringList();
        QTest::newRow("spacing of 0 is not written") << QByteArray(R"({"spacing":{"tracking":0,"wordSpacing":0}})")
                                                     << QByteArray("{}") << QStringList();
        QTest::newRow("tracking of 17 drops the spacing") << QByteArray(R"({"spacing":{"tracking":17}})")
                                                          << QByteArray("{}") << QStringList{"spacing"};
        QTest::newRow("word spacing of -9, half a pixel")
            << QByteArray(R"({"spacing":{"wordSpacing":-9}})") << QByteArray("{}") << QStringList{"spacing"};
        QTest::newRow("spacing not an object") << QByteArray(R"({"spacing":3})") << QByteArray("{}")
                                               << QStringList{"spacing"};
    }

    void look()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QByteArray, written);
        QFETCH(QStringList, dropped);
        const QByteArray bytes = kEmptyProject + extensionBlockBytes(QJsonDocument::fromJson(keys).object());
        QStringList notices;
        const ProjectExtras extras = extrasOf(parseProject(bytes), QStringLiteral("p.llp"), notices);
        QCOMPARE(notices, dropped.isEmpty() ? QStringList() : QStringList{droppedKeysNotice("p.llp", dropped)});
        QCOMPARE(QJsonDocument(projectExtrasKeys(extras)).toJson(QJsonDocument::Compact), written);
        QVERIFY(extras.otherKeys.isEmpty());
    }

    void fontPath_data()
    {
        QTest::addColumn<QString>("fontPath");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("in the program folder") << "/prog/a.llf" << QByteArray("a.llf") << "/prog/a.llf";
        QTest::newRow("below it") << "/prog/fonts/a.llf" << QByteArray("fonts/a.llf") << "/prog/fonts/a.llf";
        QTest::newRow("outside it") << "/other/a.llf" << QByteArray("/other/a.llf") << "/other/a.llf";
        QTest::newRow("case differs") << "/Prog/a.llf" << QByteArray("/Prog/a.llf") << "/Prog/a.llf";
        QTest::newRow("sibling with the same start") << "/program/a.llf" << QByteArray("/program/a.llf")
                                                     << "/program/a.llf";
        QTest::newRow("no font file") << "" << QByteArray() << "/prog/";
        QTest::newRow("non-ASCII name") << QStringLiteral("/prog/schrift-\u00e4.llf")
                                        << QByteArray("schrift-\xc3\xa4.llf")
                                        << QStringLiteral("/prog/schrift-\u00e4.llf");
    }

    void fontPath()
    {
        QFETCH(QString, fontPath);
        QFETCH(QByteArray, stored);
        QFETCH(QString, readBack);
        QCOMPARE(storedFontPath(fontPath, QStringLiteral("/prog/")), stored);
        QCOMPARE(resolveFontPath(stored, QStringLiteral("/prog/")), readBack);
    }

    void embeddedPicture_data()
    {
        QTest::addColumn<QByteArray>("bmp");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<raster::Colour>("topLeft");
        QTest::addColumn<QString>("message");  // empty when the picture is accepted
        raster::Raster picture(3, 2);
        picture.setPixel(0, 0, 0x123456);
        QTest::newRow("our own picture") << picture.toBmp() << QSize(3, 2) << raster::Colour(0x123456) << QString();
        QTest::newRow("no picture") << QByteArray() << QSize(0, 0) << raster::kWhite << QString();
        QTest::newRow("small run-length picture")
            << runLengthBmp(16, 1, hex("1000 0001")) << QSize(16, 1) << raster::kRed << QString();
        // Pictures of many pixels a stored byte, which Load Image takes.
        for (const QSize size : {QSize(128, 128), QSize(256, 256), QSize(1000, 1000)})
            QTest::newRow(qPrintable(QStringLiteral("one-colour run-length picture of %1 x %2").arg(size.width()).arg(size.height())))
                << runLengthBmp(size.width(), size.height(), oneColourRuns(size.width(), size.height())) << size
                << raster::kWhite << QString();
        QTest::newRow("run-length picture that leaves 1 Mi pixels out")
            << runLengthBmp(1024, 1024, hex("0001")) << QSize(1024, 1024) << raster::kRed << QString();
        QTest::newRow("run-length picture that leaves 1 Mi + 1024 pixels out")
            << runLengthBmp(1024, 1025, hex("0001")) << QSize() << raster::kWhite
            << QStringLiteral("Bitmap image is not valid");
        QTest::newRow("run-length picture that sets half its pixels")
            << runLengthBmp(4000, 1000, oneColourRuns(4000, 500)) << QSize(4000, 1000)
            << raster::kRed << QString();
        QTest::newRow("run-length picture of 4000 x 4000 in 64 bytes")
            << runLengthBmp(4000, 4000, hex("0001")) << QSize() << raster::kWhite
            << QStringLiteral("Bitmap image is not valid");
        QTest::newRow("not a picture") << QByteArray("BMnonsense, not a picture at all") << QSize()
                                       << raster::kWhite << QStringLiteral("Bitmap image is not valid");
    }

    void embeddedPicture()
    {
        QFETCH(QByteArray, bmp);
        QFETCH(QSize, size);
        QFETCH(raster::Colour, topLeft);
        QFETCH(QString, message);
        if (!message.isEmpty()) {
            expectError([&] { project::embeddedPicture(bmp); }, message);
            return;
        }
        const raster::Raster picture = project::embeddedPicture(bmp);
        QCOMPARE(picture.size(), size);
        QCOMPARE(picture.pixel(0, 0), topLeft);
    }

    void readProjectFile_data()
    {
        QTest::addColumn<std::int32_t>("width");
        QTest::addColumn<std::int32_t>("height");
        QTest::addColumn<QString>("message");
        QTest::newRow("wide area") << 30000 << 2 << QString();
        QTest::newRow("wide area without pixels") << 40000 << 0 << QString();
        QTest::newRow("area beyond any picture") << 40000 << 1 << QStringLiteral("Text area is too large");
    }

    void readProjectFile()
    {
        QFETCH(std::int32_t, width);
        QFETCH(std::int32_t, height);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.llp"));
        writeWholeFile(path, withInt(withInt(kEmptyProject, 11, width), 15, height));
        if (!message.isEmpty()) {
            expectError([&] { project::readProjectFile(path, dir.path() + u'/'); }, message);
            return;
        }
        const OpenedProject opened = project::readProjectFile(path, dir.path() + u'/');
        QCOMPARE(opened.settings.area, (TextArea{0, 0, width, height}));
        QCOMPARE(opened.fontPath, dir.path() + u'/');
        QVERIFY(opened.picture.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProjectFile)
#include "tst_project_file.moc"
