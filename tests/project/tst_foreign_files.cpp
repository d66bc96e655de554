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
        commands_->openFont();
        QVERIFY(workspace_->glyphs == glyphs);
        QVERIFY(workspace_->fontPath.isEmpty());
        QVERIFY(workspace_->fontModified);
        QCOMPARE(effects_->fontTableCaption, QStringLiteral("Character Table - console.psfu.gz"));
    }

    // Only the codes whose cells give a glyph change, as one step that undo
    // takes back whole; the font file stays the font's.
    void pictureGridIsImportedIntoTheOpenFont()
    {
        workspace_->glyphs['A'] = testing::sketchGlyph({"rr"});
        workspace_->glyphs['B'] = testing::sketchGlyph({"g"});
        workspace_->glyphs['Z'] = testing::sketchGlyph({"b"});
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
