// Fonts and pictures made by other tools: BDF, BMFont and PSF fonts through
// Open Font, PNG pictures through Load Image and Image Export, fonts drawn as
// picture grids through Import from Picture and Export Picture Grid.

#include "base/error.h"
#include "base/file_io.h"
#include "font/bmfont.h"
#include "font/font_file.h"
#include "font/glyph_sketch.h"
#include "font/psf_font.h"
#include "project/project_commands.h"
#include "project/project_file.h"
#include "support/fake_effects.h"
#include "support/fake_prompter.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

using namespace letterloom;
using namespace letterloom::project;
using letterloom::testing::FakeEffects;
using letterloom::testing::FakePrompter;

namespace {

// A font of two glyphs the way other tools write BDF files: "A" 3 x 2 above a
// descent of 1, and an unencoded glyph that the program has no place for.
const QByteArray kBdf = "STARTFONT 2.1\n"
                        "FONT -misc-tiny-medium-r-normal--3-30-75-75-c-40-iso8859-1\n"
                        "SIZE 3 75 75\n"
                        "FONTBOUNDINGBOX 3 3 0 -1\n"
                        "STARTPROPERTIES 2\nFONT_ASCENT 2\nFONT_DESCENT 1\nENDPROPERTIES\n"
                        "CHARS 2\n"
                        "STARTCHAR A\nENCODING 65\nSWIDTH 1000 0\nDWIDTH 4 0\nBBX 3 2 0 0\nBITMAP\nA0\n40\nENDCHAR\n"
                        "STARTCHAR extra\nENCODING -1\nSWIDTH 1000 0\nDWIDTH 4 0\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n"
                        "ENDFONT\n";

// A BDF font named as given (an XLFD name, or properties CHARSET_...), glyph
// i at ENCODING codes[i] and i + 1 pixels wide, so that the width tells which
// glyph landed where.
QByteArray bdfWith(const QByteArray &name, const QList<int> &codes)
{
    const bool properties = name.startsWith("CHARSET");
    QByteArray bdf = "STARTFONT 2.1\n" + (properties ? QByteArray() : "FONT " + name + '\n')
                     + "FONTBOUNDINGBOX 8 1 0 0\nSTARTPROPERTIES 2\nFONT_ASCENT 1\nFONT_DESCENT 0\n"
                     + (properties ? name : QByteArray()) + "ENDPROPERTIES\nCHARS "
                     + QByteArray::number(codes.size()) + '\n';
    for (qsizetype i = 0; i < codes.size(); ++i)
        bdf += "STARTCHAR g\nENCODING " + QByteArray::number(codes[i]) + "\nDWIDTH " + QByteArray::number(i + 1)
               + " 0\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n";
    return bdf + "ENDFONT\n";
}

using Widths = QMap<int, int>;  // code -> width of the glyph there

Widths widthsOf(const font::GlyphTable &glyphs)
{
    Widths widths;
    for (int code = 0; code < font::GlyphTable::kSize; ++code)
        if (glyphs[code].defined)
            widths[code] = glyphs[code].width;
    return widths;
}

// A sheet of three 2 x 2 cells, A and C drawn in black, B empty.
QImage gridSheet()
{
    QImage sheet(6, 2, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    sheet.setPixel(1, 0, qRgb(0, 0, 0));
    sheet.setPixel(1, 1, qRgb(0, 0, 0));
    sheet.setPixel(4, 0, qRgb(0, 0, 0));
    sheet.setPixel(4, 1, qRgb(0, 0, 0));
    return sheet;
}

font::GridImportSettings cellsFrom65()
{
    font::GridImportSettings settings;
    settings.grid.cellWidth = settings.grid.cellHeight = 2;
    settings.codes = font::consecutiveCodes(65);
    return settings;
}

class ForeignFiles : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dir_.emplace();
        workspace_.emplace(dir_->path());
        prompter_.emplace();
        effects_.emplace();
        commands_.emplace(*workspace_, *prompter_, *effects_);
    }

    void openFontOffersTheOtherFormats()
    {
        prompter_->cancelFile();
        commands_->openFont();
        QCOMPARE(prompter_->log, QStringList{"open: Font Letterloom (*.llf)|*.llf"
                                             "|BDF font (*.bdf)|*.bdf|BMFont (*.fnt)|*.fnt"
                                             "|PSF console font (*.psf *.psfu *.psf.gz *.psfu.gz)"
                                             "|*.psf;*.psfu;*.psf.gz;*.psfu.gz"});
    }

    void bdfFontIsImportedWithoutAFontFile()
    {
        const QString path = dir_->filePath("tiny.bdf");
        writeWholeFile(path, kBdf);
        prompter_->chooseFile(path);
        commands_->openFont();

        const font::tGraphChar &a = workspace_->glyphs[65];
        QCOMPARE(a.defined, 1);
        QCOMPARE(QSize(a.width, a.height), QSize(4, 3));
        QCOMPARE(a.pixels[0][0], raster::kBlack);
        QCOMPARE(a.pixels[1][0], raster::kWhite);
        QCOMPARE(a.pixels[1][1], raster::kBlack);
        QCOMPARE(a.image.pixel(2, 0), raster::kBlack);
        QVERIFY(workspace_->fontPath.isEmpty());
        QVERIFY(workspace_->fontModified);
        QCOMPARE(effects_->fontTableCaption, QStringLiteral("Character Table - tiny.bdf"));
        QVERIFY(effects_->fontTableVisible);
        QCOMPARE(prompter_->entries("notice").size(), 1);  // the glyph without a code was skipped

        // Saving asks for a font file of the program's own, named after the import.
        prompter_->chooseFile(dir_->filePath("tiny.llf"));
        QVERIFY(commands_->saveCurrentFont());
        QCOMPARE(prompter_->dialogs.last().fileName, QStringLiteral("tiny.llf"));
        QCOMPARE(workspace_->fontPath, dir_->filePath("tiny.llf"));
        QVERIFY(!workspace_->fontModified);
        QCOMPARE(font::readFontFile(workspace_->fontPath)[65].pixels, a.pixels);
    }

    void bmFontKeepsItsColours()
    {
        font::GlyphTable glyphs;
        glyphs.setGlyphSize(66, 2, 2);
        glyphs.clearOutside(66, 0, 0);
        glyphs[66].defined = 1;
        glyphs[66].pixels[1][0] = 0x00FF00;
        glyphs[66].pixels[0][1] = 0x123456;
        font::syncImage(glyphs[66]);
        const QString path = dir_->filePath("colours.fnt");
        font::writeBmFontFile(path, glyphs);

        prompter_->chooseFile(path);
        prompter_->chooseItem(0);  // ids are Unicode characters: placed through map none
        commands_->openFont();
        QCOMPARE(workspace_->glyphs[66].pixels, glyphs[66].pixels);
        QCOMPARE(effects_->fontTableCaption, QStringLiteral("Character Table - colours.fnt"));
        QVERIFY(prompter_->entries("notice").isEmpty());
    }

    void brokenImportChangesNothing()
    {
        workspace_->glyphs.setGlyphSize(1, 2, 2);
        const font::GlyphTable before = workspace_->glyphs;
        workspace_->fontPath = dir_->filePath("kept.llf");
        const QString path = dir_->filePath("broken.bdf");
        writeWholeFile(path, kBdf.left(200));
        prompter_->chooseFile(path);
        QVERIFY_THROWS_EXCEPTION(Error, commands_->openFont());
        QVERIFY(workspace_->glyphs == before);
        QCOMPARE(workspace_->fontPath, dir_->filePath("kept.llf"));
        QVERIFY(!workspace_->fontModified);
    }

    void psfFontIsImportedWithoutAFontFile()
    {
        font::GlyphTable glyphs;
        glyphs['A'] = testing::sketchGlyph({"#.#", ".#."});
        const QString path = dir_->filePath("console.psfu.gz");
        QVERIFY(font::writePsfFile(path, glyphs).isEmpty());
        workspace_->fontPath = dir_->filePath("old.llf");
        prompter_->chooseFile(path);
        prompter_->chooseItem(0);
        commands_->openFont();
        QVERIFY(workspace_->glyphs == glyphs);
        QVERIFY(workspace_->fontPath.isEmpty());
        QVERIFY(workspace_->fontModified);
        QCOMPARE(effects_->fontTableCaption, QStringLiteral("Character Table - console.psfu.gz"));
    }

    // Fonts of Unicode characters ask through which map to place them: П р и
    // (U+041F, U+0440, U+0438) land at the codes of the chosen code page and
    // the font takes the map; fonts in the registry of a code page bring it
    // without a question.
    void unicodeFontAsksForItsMap_data()
    {
        QTest::addColumn<QByteArray>("bdf");
        QTest::addColumn<QList<int>>("items");  // the answers; -1 cancels
        QTest::addColumn<QByteArray>("table");   // the .tbl chosen after Load Table...
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<Widths>("widths");
        QTest::addColumn<QString>("map");

        const QByteArray unicode = "-misc-cyr-medium-r-normal--1-10-75-75-c-10-iso10646-1";
        const QList<int> privet{0x41F, 0x440, 0x438, 'A', 0xE9};
        const QString ask = QStringLiteral("choose: Open Font");
        const int windows1251 = 1 + 16, koi8r = 1 + 28, loadTable = 1 + 31;
        QTest::newRow("windows-1251")
            << bdfWith(unicode, privet) << QList<int>{windows1251} << QByteArray()
            << QStringList{ask, "notice: Skipped 1 glyph whose characters have no code in the character map (windows-1251)"}
            << Widths{{0xCF, 1}, {0xF0, 2}, {0xE8, 3}, {'A', 4}} << "windows-1251";
        QTest::newRow("KOI8-R, from the properties")
            << bdfWith("CHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\n", {0x41F, 0x440, 0x438})
            << QList<int>{koi8r} << QByteArray() << QStringList{ask}
            << Widths{{0xF0, 1}, {0xD2, 2}, {0xC9, 3}} << "KOI8-R";
        QTest::newRow("none: Latin-1 as before")
            << bdfWith(unicode, privet) << QList<int>{0} << QByteArray()
            << QStringList{ask, "notice: Skipped 3 glyphs with codes above 255"} << Widths{{'A', 4}, {0xE9, 5}} << "none";
        QTest::newRow("a DTE table: th stays undefined")
            << bdfWith(unicode, privet) << QList<int>{loadTable} << QByteArray("41=A\nCF=\xD0\x9F\nE0=th\n")
            << QStringList{ask, "open: Character tables (*.tbl)|*.tbl|All Files (*.*)|*.*",
                           "notice: Skipped 3 glyphs whose characters have no code in the character map (table game.tbl)\n"
                           "Left undefined, their texts in the character map (table game.tbl) have several characters: codes 224"}
            << Widths{{0xCF, 1}, {'A', 4}} << "table game.tbl";
        QTest::newRow("cancelled") << bdfWith(unicode, privet) << QList<int>{-1} << QByteArray() << QStringList{ask}
                                   << Widths{{'Z', 9}} << "KOI8-U";
        QTest::newRow("ISO8859-5 registry: no question")
            << bdfWith("-misc-cyr-medium-r-normal--1-10-75-75-c-10-iso8859-5", {0xBF, 0xE0})
            << QList<int>{} << QByteArray() << QStringList{} << Widths{{0xBF, 1}, {0xE0, 2}} << "ISO-8859-5";
        QTest::newRow("KOI8-R registry property")
            << bdfWith("CHARSET_REGISTRY \"KOI8\"\nCHARSET_ENCODING \"R\"\n", {0xF0}) << QList<int>{} << QByteArray()
            << QStringList{} << Widths{{0xF0, 1}} << "KOI8-R";
        QTest::newRow("microsoft-cp1251") << bdfWith("-a-b-medium-r-normal--1-10-75-75-c-10-microsoft-cp1251", {0xCF})
                                          << QList<int>{} << QByteArray() << QStringList{} << Widths{{0xCF, 1}}
                                          << "windows-1251";
        QTest::newRow("ISO8859-1 and no registry: codes as they are")
            << bdfWith("-a-b-medium-r-normal--1-10-75-75-c-10-iso8859-1", {0xE9}) << QList<int>{} << QByteArray()
            << QStringList{} << Widths{{0xE9, 1}} << "none";
    }

    void unicodeFontAsksForItsMap()
    {
        QFETCH(QByteArray, bdf);
        QFETCH(QList<int>, items);
        QFETCH(QByteArray, table);
        QFETCH(QStringList, log);
        QFETCH(Widths, widths);
        QFETCH(QString, map);
        workspace_->glyphs['Z'] = testing::sketchGlyph({"#########"});
        workspace_->fontExtras.charMap = font::CharMap::fromCodePage(QStringLiteral("KOI8-U"));
        const QString path = dir_->filePath("cyr.bdf");
        writeWholeFile(path, bdf);
        prompter_->chooseFile(path);
        for (int item : items)
            item < 0 ? prompter_->items.push_back(std::nullopt) : prompter_->items.push_back(item);
        if (!table.isEmpty()) {
            writeWholeFile(dir_->filePath("game.tbl"), table);
            prompter_->chooseFile(dir_->filePath("game.tbl"));
        }
        commands_->openFont();
        QCOMPARE(prompter_->log.mid(1), log);
        QCOMPARE(widthsOf(workspace_->glyphs), widths);
        QCOMPARE(workspace_->fontExtras.charMap.description(), map);
        QCOMPARE(workspace_->fontModified, items.value(0) >= 0);
        if (!items.isEmpty())
            QCOMPARE(prompter_->itemStarts.first(), 0);  // none comes first
    }

    // Only the codes whose cells give a glyph change, as one step that undo
    // takes back whole; the font file stays the font's.
    void pictureGridIsImportedIntoTheOpenFont()
    {
        workspace_->glyphs['A'] = testing::sketchGlyph({"rr"});
        workspace_->glyphs['B'] = testing::sketchGlyph({"g"});
        workspace_->glyphs['Z'] = testing::sketchGlyph({"b"});
        workspace_->fontExtras.charMap = font::CharMap::fromCodePage(QStringLiteral("KOI8-R"));
        const font::GlyphTable before = workspace_->glyphs;
        workspace_->fontPath = dir_->filePath("mine.llf");
        const QString path = dir_->filePath("sheet.png");
        QVERIFY(gridSheet().save(path, "PNG"));

        prompter_->chooseFile(path);
        prompter_->gridImports.push_back(cellsFrom65());
        auto revision = workspace_->revision();
        commands_->importPictureGrid();
        QVERIFY(workspace_->revision() > revision);  // the windows show the new glyphs
        QCOMPARE(prompter_->log, (QStringList{"open: PNG pictures (*.png)|*.png|Bitmaps (*.bmp)|*.bmp", "gridImport"}));
        QCOMPARE(prompter_->gridPictures, QList<QSize>{QSize(6, 2)});
        QCOMPARE(prompter_->gridImportStarts.last().charMap, workspace_->fontExtras.charMap);  // the cells' characters read through it
        font::GlyphTable after = before;
        after['A'] = testing::sketchGlyph({".#.", ".#."});
        after['C'] = testing::sketchGlyph({"#.", "#."});
        QVERIFY(workspace_->glyphs == after);
        QCOMPARE(workspace_->fontPath, dir_->filePath("mine.llf"));
        QVERIFY(workspace_->fontModified);
        QVERIFY(effects_->fontTableVisible);

        revision = workspace_->revision();
        commands_->glyphHistory().undo();
        QVERIFY(workspace_->revision() > revision);
        QVERIFY(workspace_->glyphs == before);
        QVERIFY(!workspace_->fontModified);
        commands_->glyphHistory().redo();
        QVERIFY(workspace_->glyphs == after);

        // The dialog starts from the settings it gave last time.
        prompter_->chooseFile(path);
        prompter_->gridImports.push_back(std::nullopt);
        commands_->importPictureGrid();
        QCOMPARE(prompter_->gridImportStarts.last().grid, cellsFrom65().grid);
        QVERIFY(workspace_->glyphs == after);
    }

    void pictureGridThatChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("picture");   // the file's bytes
        QTest::addColumn<bool>("dialog");          // the grid dialog is shown, and cancelled when there is nothing to read
        QTest::addColumn<QString>("outcome");      // the error, or the notice
        QByteArray sheet;
        QBuffer buffer(&sheet);
        buffer.open(QIODevice::WriteOnly);
        gridSheet().save(&buffer, "PNG");
        QImage blank(6, 2, QImage::Format_RGB32);
        blank.fill(Qt::white);
        QTest::newRow("cancelled") << sheet << true << "";
        QTest::newRow("a broken picture") << sheet.chopped(20) << false << "error: PNG image is not valid";
        QTest::newRow("a picture without glyphs")
            << raster::Raster(blank).toPng() << false
            << "notice: No cell of the picture holds a glyph: the font is as it was";
    }

    void pictureGridThatChangesNothing()
    {
        QFETCH(QByteArray, picture);
        QFETCH(bool, dialog);
        QFETCH(QString, outcome);
        workspace_->glyphs['A'] = testing::sketchGlyph({"rr"});
        const font::GlyphTable before = workspace_->glyphs;
        const QString path = dir_->filePath("sheet.png");
        writeWholeFile(path, picture);
        prompter_->chooseFile(path);
        if (dialog)
            prompter_->gridImports.push_back(std::nullopt);
        else
            prompter_->gridImports.push_back(cellsFrom65());
        runCommand(*prompter_, [&] { commands_->importPictureGrid(); });
        QCOMPARE(prompter_->log.size(), outcome.isEmpty() ? 2 : outcome.startsWith("error") ? 2 : 3);
        if (!outcome.isEmpty())
            QCOMPARE(prompter_->log.last(), outcome);
        QVERIFY(workspace_->glyphs == before);
        QVERIFY(!workspace_->fontModified);
        QCOMPARE(commands_->glyphHistory().stack().count(), 0);
    }

    // The font drawn as a grid reads back with the same settings.
    void pictureGridIsExported()
    {
        workspace_->glyphs['A'] = testing::sketchGlyph({".#.", ".#."});
        workspace_->glyphs['C'] = testing::sketchGlyph({"#.", "#."});
        font::GridExportSettings settings;
        settings.codes = font::consecutiveCodes(65);
        settings.grid.columns = 3;
        prompter_->gridExports.push_back(settings);
        prompter_->chooseFile(dir_->filePath("grid"));
        commands_->exportPictureGrid();
        QCOMPARE(prompter_->log, (QStringList{"gridExport", "save: PNG pictures (*.png)|*.png|Bitmaps (*.bmp)|*.bmp"}));
        const QImage picture = font::readGridPicture(dir_->filePath("grid.png"));
        QCOMPARE(picture.size(), QSize(9, 64 * 2));
        font::GridImportSettings read;
        read.grid = {3, 2};
        read.codes = settings.codes;
        const font::GridImport imported = font::importGrid(picture, read);
        QVERIFY(imported.glyphs == workspace_->glyphs);
        QVERIFY(!workspace_->fontModified);
    }

    void pngPictureIsLoadedOverWhiteAndEmbeddedAsBmp()
    {
        QImage png(3, 2, QImage::Format_ARGB32);
        png.fill(QColor(0, 0, 255));
        png.setPixel(1, 1, qRgba(0, 0, 0, 0));  // transparent
        const QString path = dir_->filePath("screen.png");
        QVERIFY(png.save(path, "PNG"));

        prompter_->chooseFile(path);
        commands_->loadImage();
        QCOMPARE(prompter_->log, QStringList{"open: Bitmaps (*.bmp)|*.bmp|PNG pictures (*.png)|*.png"});
        QCOMPARE(workspace_->picture.size(), QSize(3, 2));
        QCOMPARE(workspace_->picture.pixel(0, 0), raster::Colour(0xFF0000));
        QCOMPARE(workspace_->picture.pixel(1, 1), raster::kWhite);
        QCOMPARE(effects_->imageCaption, QStringLiteral("Image - screen.png"));
        QCOMPARE(effects_->imageViewSize, QSize(3, 2));

        prompter_->chooseFile(dir_->filePath("work.llp"));
        QVERIFY(commands_->saveProjectAs());
        const ProjectFile stored = parseProject(readWholeFile(dir_->filePath("work.llp")));
        QCOMPARE(stored.pictureBmp.left(2), QByteArray("BM"));
        QCOMPARE(raster::Raster::fromBmp(stored.pictureBmp), workspace_->picture);
    }

    void brokenPngChangesNothing()
    {
        const QString path = dir_->filePath("cut.png");
        QImage png(4, 4, QImage::Format_RGB32);
        png.fill(Qt::red);
        QVERIFY(png.save(path, "PNG"));
        writeWholeFile(path, readWholeFile(path).chopped(20));
        prompter_->chooseFile(path);
        QVERIFY_THROWS_EXCEPTION(Error, commands_->loadImage());
        QVERIFY(!workspace_->pictureLoaded);
        QCOMPARE(effects_->imageCaption, QStringLiteral("Image"));
    }

    void exportWritesPngByName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("magic");
        QTest::newRow("png") << "out.png" << QByteArray("\x89PNG");
        QTest::newRow("PNG in capitals") << "OUT.PNG" << QByteArray("\x89PNG");
        QTest::newRow("bmp") << "out.bmp" << QByteArray("BM");
    }
    void exportWritesPngByName()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, magic);
        workspace_->picture = raster::Raster(5, 4);
        workspace_->picture.setPixel(2, 3, 0x0000FF);
        workspace_->pictureLoaded = true;
        raster::Raster view(5, 4);
        prompter_->chooseFile(dir_->filePath(name));
        commands_->exportImage(view);
        QCOMPARE(prompter_->dialogs.last().filter,
                 QStringLiteral("Bitmaps (*.bmp)|*.bmp|PNG pictures (*.png)|*.png"));
        const QString written = dir_->filePath(name);
        QVERIFY(readWholeFile(written).startsWith(magic));
        QCOMPARE(raster::Raster::readPictureFile(written), workspace_->picture);
    }

private:
    std::optional<QTemporaryDir> dir_;
    std::optional<Workspace> workspace_;
    std::optional<FakePrompter> prompter_;
    std::optional<FakeEffects> effects_;
    std::optional<ProjectCommands> commands_;
};

}  // namespace

QTEST_MAIN(ForeignFiles)
#include "tst_foreign_files.moc"
