#include "font/char_map.h"
#include "font/font_file.h"
#include "ui/application.h"
#include "ui/font_windows.h"
#include "ui/main_form.h"
#include "ui/string_grid.h"
#include "ui/tool_window.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace letterloom;
using letterloom::testing::FontWindows;
using project::Answer;

Q_DECLARE_METATYPE(letterloom::project::Answer)

namespace {

QPoint cellCentre(const ui::StringGrid *grid, int code)
{
    return grid->cellRect(code % 16, code / 16).center();
}

// The first row of a cell, counted from its top, that holds a dark pixel.
int firstDarkRow(const QImage &picture, const QRect &cell)
{
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (qGray(picture.pixel(x, y)) < 96)
                return y - cell.top();
    return -1;
}

}  // namespace

class TestFontForm : public QObject {
    Q_OBJECT
private slots:
    void labelsThroughMap_data();
    void labelsThroughMap();
    void window();
    void labels_data();
    void labels();
    void definedGlyphsAreMarked();
    void selectSetsCurrentGlyphAndCaption_data();
    void selectSetsCurrentGlyphAndCaption();
    void buttonsThatSelect_data();
    void buttonsThatSelect();
    void contextMenuActsOnTheCellPointedAt();
    void dragAndKeys();
    void clickFitsTheEditorToADefinedGlyph();
    void doubleClickOnDefinedGlyph();
    void editorComesToTheFront_data();
    void editorComesToTheFront();
    void doubleClickOnUndefinedGlyph_data();
    void doubleClickOnUndefinedGlyph();
    void changeSizeItem_data();
    void changeSizeItem();
    void deleteGlyph_data();
    void deleteGlyph();
    void saveItem();
    void closeQuery_data();
    void closeQuery();
    void leavingTheProgramAsksOnce_data();
    void leavingTheProgramAsksOnce();
};

void TestFontForm::window()
{
    FontWindows w;
    QCOMPARE(ui::shownCaption(&w.font), QStringLiteral("Character Table"));
    QCOMPARE(w.font.pos(), QPoint(8, 120));
    QCOMPARE(w.font.frameGeometry().size(), QSize(378, 283));
    QVERIFY(w.font.isHidden());
    QVERIFY(w.font.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(w.font.windowFlags() & Qt::WindowType_Mask, Qt::Tool);

    w.font.show();
    auto *grid = w.font.findChild<ui::StringGrid *>(QStringLiteral("StringGrid"));
    QVERIFY(grid);
    QCOMPARE(grid->geometry(), w.font.rect());
    QCOMPARE(grid->cellRect(0, 0), QRect(0, 0, 22, 15));
    QCOMPARE(grid->cellRect(15, 15).bottomRight(), QPoint(15 * 23 + 21, 15 * 16 + 14));
    QCOMPARE(grid->selectedCell(), QPoint(0, 0));

    const QStringList items{"pmSetGCharSize", "pmDeleteGChar", "pmSpace1", "pmSaveFont"};
    auto *menu = w.font.findChild<QMenu *>(QStringLiteral("PopupMenu"));
    QVERIFY(menu);
    QStringList names, captions;
    for (QAction *item : menu->actions()) {
        names << item->objectName();
        captions << item->text();
    }
    QCOMPARE(names, items);
    QCOMPARE(captions, QStringList({"Изменить размер", "Удалить символ", "", "Сохранить"}));
    QVERIFY(menu->actions().at(2)->isSeparator());
}

void TestFontForm::labels_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("label");

    QTest::newRow("0") << 0 << "$00";
    QTest::newRow("7") << 7 << "$07";
    QTest::newRow("9") << 9 << "$09";
    QTest::newRow("10") << 10 << "$10";
    QTest::newRow("31") << 31 << "$31";
    QTest::newRow("32 blank") << 32 << " ";
    QTest::newRow("33") << 33 << "!";
    QTest::newRow("65") << 65 << "A";
    QTest::newRow("126") << 126 << "~";
    QTest::newRow("169") << 169 << QString(QChar(0xA9));
    QTest::newRow("255") << 255 << QString(QChar(0xFF));
}

void TestFontForm::labels()
{
    QFETCH(int, code);
    QFETCH(QString, label);

    FontWindows w;
    auto *grid = w.font.findChild<ui::StringGrid *>(QStringLiteral("StringGrid"));
    QCOMPARE(grid->cellText(code % 16, code / 16), label);
}

// Through a character map the cells and the glyph editor's caption name the
// map's text; codes without printable text fall back to their escape.
void TestFontForm::labelsThroughMap_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("caption");
    QTest::newRow("windows-1251") << "windows-1251" << 0xC0 << u"А"_qs << u"3*2 - \"А\""_qs;
    QTest::newRow("KOI8-R") << "KOI8-R" << 0xC0 << u"ю"_qs << u"3*2 - \"ю\""_qs;
    QTest::newRow("Greek") << "ISO-8859-7" << 0xE1 << u"α"_qs << u"3*2 - \"α\""_qs;
    QTest::newRow("Central European") << "windows-1250" << 0x9F << u"ź"_qs << u"3*2 - \"ź\""_qs;
    QTest::newRow("code page control code") << "cp437" << 0x07 << "$07" << u"3*2 - \"\u0007\""_qs;
    QTest::newRow("code page hole above 99") << "windows-1253" << 0xD2 << "" << u"3*2 - \"\""_qs;
    QTest::newRow("DTE entry") << "table" << 0xE0 << "th" << u"3*2 - \"th\""_qs;
    QTest::newRow("table: printable code below 32") << "table" << 0x05 << u"é"_qs << u"3*2 - \"é\""_qs;
    QTest::newRow("table: code without text below 100") << "table" << 0x41 << "$65" << u"3*2 - \"\""_qs;
    QTest::newRow("back to none") << "none" << 0xC0 << u"À"_qs << u"3*2 - \"À\""_qs;
}

void TestFontForm::labelsThroughMap()
{
    QFETCH(QString, map);
    QFETCH(int, code);
    QFETCH(QString, label);
    QFETCH(QString, caption);

    FontWindows w;
    w.define(code, {"###", "###"});
    w.workspace.fontExtras.charMap = font::CharMap::fromCodePage(QStringLiteral("KOI8-U"));
    w.font.showCharMap();
    if (map == u"table")
        w.workspace.fontExtras.charMap = font::readTable("E0=th\n05=\xC3\xA9\n").map;
    else
        w.workspace.fontExtras.charMap = map == u"none" ? font::CharMap() : font::CharMap::fromCodePage(map);
    w.select(code);
    w.font.showCharMap();
    auto *grid = w.font.findChild<ui::StringGrid *>(QStringLiteral("StringGrid"));
    QCOMPARE(grid->cellText(code % 16, code / 16), label);
    QCOMPARE(w.fontGraph.windowTitle(), caption);
}

void TestFontForm::definedGlyphsAreMarked()
{
    FontWindows w;
    w.font.show();
    auto *grid = w.font.findChild<ui::StringGrid *>(QStringLiteral("StringGrid"));
    const QRect cellA = grid->cellRect(65 % 16, 65 / 16);
    const QImage before = grid->grab().toImage();

    w.define(65, {"#"});
    w.font.refreshGrid();
    const QImage after = grid->grab().toImage();

    const QRgb cyan = qRgb(0, 255, 255);
    QCOMPARE(after.pixel(cellA.topLeft()), cyan);
    QCOMPARE(after.pixel(cellA.bottomRight()), cyan);
    QVERIFY(before.pixel(cellA.topLeft()) != cyan);
    // The undefined neighbour stays as it was.
    const QRect cellB = grid->cellRect(66 % 16, 66 / 16);
    QCOMPARE(after.pixel(cellB.topLeft()), before.pixel(cellB.topLeft()));

    // The same label, drawn one pixel higher on the cyan cell.
    const int plainTop = firstDarkRow(before, cellA);
    QVERIFY(plainTop > 0);
    QCOMPARE(firstDarkRow(after, cellA), plainTop - 1);
}

void TestFontForm::selectSetsCurrentGlyphAndCaption_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("glyph");  // empty: undefined
    QTest::addColumn<QString>("caption");

    QTest::newRow("defined A") << 65 << QStringList{"##", "##", "##"} << "2*3 - \"A\"";
    QTest::newRow("undefined B") << 66 << QStringList{} << "0*0 - \"B\"";
    QTest::newRow("blank") << 32 << QStringList{} << "0*0 - \" \"";
    QTest::newRow("last") << 255 << QStringList{"#"} << QString("1*1 - \"") + QChar(0xFF) + "\"";
}

void TestFontForm::selectSetsCurrentGlyphAndCaption()
{
    QFETCH(int, code);
    QFETCH(QStringList, glyph);
    QFETCH(QString, caption);

    FontWindows w;
    if (!glyph.isEmpty())
        w.define(code, glyph);
    auto *grid = w.font.findChild<ui::StringGrid *>(QStringLiteral("StringGrid"));
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(grid, code));

    QCOMPARE(w.workspace.currentGlyph, code);
    QCOMPARE(grid->selectedCell(), QPoint(code % 16, code / 16));
    QCOMPARE(w.fontGraph.windowTitle(), caption);
    QVERIFY(w.fontGraph.isHidden());
}

// The left and the right button select the cell under the pointer (the right
// one for its context menu) and click it; the middle button does nothing.
void TestFontForm::buttonsThatSelect_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("current");
    QTest::addColumn<QSize>("editor");
    QTest::newRow("left") << Qt::LeftButton << 41 << QSize(102, 152);
    QTest::newRow("right") << Qt::RightButton << 41 << QSize(102, 152);
    QTest::newRow("middle") << Qt::MiddleButton << 40 << QSize(100, 100);
}

void TestFontForm::buttonsThatSelect()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, current);
    QFETCH(QSize, editor);
    FontWindows w;
    w.workspace.settings.pixelSize = 50;
    w.define(41, {"##", "##", "##"});
    auto *grid = w.font.findChild<ui::StringGrid *>(QStringLiteral("StringGrid"));
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(grid, 40));
    QTest::mouseClick(grid, button, {}, cellCentre(grid, 41));
    QCOMPARE(w.workspace.currentGlyph, current);
    QCOMPARE(grid->selectedCell(), QPoint(current % 16, current / 16));
    QCOMPARE(w.fontGraph.size(), editor);
}

// Delete from the context menu deletes the glyph the user pointed at, not
// the one selected before.
void TestFontForm::contextMenuActsOnTheCellPointedAt()
{
    FontWindows w;
    w.define(40, {"#"});
    w.define(41, {"##"});
    auto *grid = w.font.findChild<ui::StringGrid *>(QStringLiteral("StringGrid"));
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(grid, 40));
    QTest::mousePress(grid, Qt::RightButton, {}, cellCentre(grid, 41));
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, cellCentre(grid, 41), grid->mapToGlobal(cellCentre(grid, 41)));
    QApplication::sendEvent(grid, &menuEvent);
    QTest::mouseRelease(grid, Qt::RightButton, {}, cellCentre(grid, 41));
    auto *menu = w.font.findChild<QMenu *>(QStringLiteral("PopupMenu"));
    QTRY_VERIFY(menu->isVisible());
    w.prompter.answer(project::Answer::Yes);
    menu->findChild<QAction *>(QStringLiteral("pmDeleteGChar"))->trigger();
    menu->hide();

    QCOMPARE(w.glyph(41).defined, std::uint8_t(0));
    QCOMPARE(w.glyph(40).defined, std::uint8_t(1));
}

void TestFontForm::dragAndKeys()
{
    FontWindows w;
    w.define(67, {"##", "##"});
    w.workspace.settings.pixelSize = 50;
    auto *grid = w.font.findChild<ui::StringGrid *>(QStringLiteral("StringGrid"));

    // A drag with the left button selects each cell it reaches; the release
    // clicks, which fits the editor to the defined glyph where it ended.
    QTest::mousePress(grid, Qt::LeftButton, {}, cellCentre(grid, 65));
    QTest::mouseMove(grid, cellCentre(grid, 66));
    QCOMPARE(w.workspace.currentGlyph, 66);
    QTest::mouseMove(grid, cellCentre(grid, 67));
    QCOMPARE(w.workspace.currentGlyph, 67);
    QCOMPARE(w.fontGraph.size(), QSize(100, 100));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellCentre(grid, 67));
    QCOMPARE(w.fontGraph.size(), QSize(102, 102));

    // The arrow keys move the selection and click; they stop at the edges.
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(w.workspace.currentGlyph, 83);
    QTest::keyClick(grid, Qt::Key_Left);
    QCOMPARE(w.workspace.currentGlyph, 82);
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(grid, 255));
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(w.workspace.currentGlyph, 255);
    QCOMPARE(w.fontGraph.windowTitle(), QString("0*0 - \"") + QChar(0xFF) + "\"");
}

void TestFontForm::clickFitsTheEditorToADefinedGlyph()
{
    FontWindows w;
    w.workspace.settings.pixelSize = 20;
    w.define(65, QStringList(10, QString(8, '#')));
    auto *grid = w.font.findChild<ui::StringGrid *>(QStringLiteral("StringGrid"));

    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(grid, 65));
    QCOMPARE(w.fontGraph.size(), QSize(162, 202));
    QCOMPARE(w.fontGraph.editorRaster().size(), QSize(162, 202));
    QVERIFY(w.fontGraph.isHidden());

    // An undefined glyph leaves the editor as it is.
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(grid, 66));
    QCOMPARE(w.fontGraph.size(), QSize(162, 202));
}

void TestFontForm::doubleClickOnDefinedGlyph()
{
    FontWindows w;
    w.define(65, {"#"});
    auto *grid = w.font.findChild<ui::StringGrid *>(QStringLiteral("StringGrid"));
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(grid, 65));
    QTest::mouseDClick(grid, Qt::LeftButton, {}, cellCentre(grid, 65));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellCentre(grid, 65));

    QVERIFY(w.fontGraph.isVisible());
    QVERIFY(w.draw.isVisible());
    QCOMPARE(w.workspace.currentGlyph, 65);
}

// With the editor and the tools open but behind the table, a double-click on
// a defined glyph or OK in the size dialog brings them in front, the editor
// with the keyboard.
void TestFontForm::editorComesToTheFront_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("double-click on a defined glyph") << "double-click";
    QTest::newRow("OK in the size dialog") << "size dialog";
}

void TestFontForm::editorComesToTheFront()
{
    QFETCH(QString, how);
    FontWindows w;
    w.define(65, {"#"});
    w.select(65);
    for (QWidget *window : {static_cast<QWidget *>(&w.fontGraph), static_cast<QWidget *>(&w.draw),
                            static_cast<QWidget *>(&w.font)})
        window->show();
    w.font.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.font));

    if (how == u"double-click") {
        w.font.StringGridDblClick();
    } else {
        w.whenSizeDialogOpens(nullptr, "btnOk");
        w.font.pmSetGCharSizeClick();
    }
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(&w.fontGraph));
    QVERIFY(w.draw.isVisible());
}

void TestFontForm::doubleClickOnUndefinedGlyph_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("defined");
    QTest::addColumn<bool>("editorShown");

    QTest::newRow("cancel") << "btnCancel" << false << false;
    QTest::newRow("ok") << "btnOk" << true << true;
}

void TestFontForm::doubleClickOnUndefinedGlyph()
{
    QFETCH(QString, button);
    QFETCH(bool, defined);
    QFETCH(bool, editorShown);

    FontWindows w;
    w.workspace.settings.defaultGlyphWidth = 5;
    w.workspace.settings.defaultGlyphHeight = 7;
    w.define(65, {"#"});
    w.select(65);
    w.font.StringGridDblClick();  // the editor is open on a defined glyph
    QVERIFY(w.fontGraph.isVisible());

    QSize proposed;
    w.whenSizeDialogOpens(
        [&](ui::TfontSizeForm &dialog) {
            QVERIFY(w.fontGraph.isHidden());
            proposed = QSize(dialog.findChild<ui::SpinField *>(QStringLiteral("gCharWidth"))->value(),
                             dialog.findChild<ui::SpinField *>(QStringLiteral("gCharHeight"))->value());
        },
        button);
    w.select(66);
    w.font.StringGridDblClick();

    QCOMPARE(proposed, QSize(5, 7));
    QCOMPARE(bool(w.glyph(66).defined), defined);
    QCOMPARE(w.fontGraph.isVisible(), editorShown);
    QCOMPARE(w.workspace.fontModified, defined);
}

void TestFontForm::changeSizeItem_data()
{
    QTest::addColumn<QStringList>("glyph");
    QTest::addColumn<QSize>("proposed");

    QTest::newRow("defined") << QStringList{"###", "###"} << QSize(3, 2);
    QTest::newRow("undefined") << QStringList{} << QSize(1, 1);
}

void TestFontForm::changeSizeItem()
{
    QFETCH(QStringList, glyph);
    QFETCH(QSize, proposed);

    FontWindows w;
    if (!glyph.isEmpty())
        w.define(70, glyph);
    w.select(70);
    QSize shown;
    w.whenSizeDialogOpens(
        [&](ui::TfontSizeForm &dialog) {
            shown = QSize(dialog.findChild<ui::SpinField *>(QStringLiteral("gCharWidth"))->value(),
                          dialog.findChild<ui::SpinField *>(QStringLiteral("gCharHeight"))->value());
        },
        "btnCancel");
    w.font.findChild<QAction *>(QStringLiteral("pmSetGCharSize"))->trigger();
    QCOMPARE(shown, proposed);
    QCOMPARE(w.workspace.fontModified, false);
}

void TestFontForm::deleteGlyph_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("deleted");

    QTest::newRow("yes") << Answer::Yes << true;
    QTest::newRow("no") << Answer::No << false;
}

void TestFontForm::deleteGlyph()
{
    QFETCH(Answer, answer);
    QFETCH(bool, deleted);

    FontWindows w;
    w.define(65, {"#r", "g#"});
    const font::tGraphChar kept = w.glyph(65);
    w.select(65);
    w.font.StringGridDblClick();
    w.prompter.answer(answer);
    w.font.findChild<QAction *>(QStringLiteral("pmDeleteGChar"))->trigger();

    QCOMPARE(w.prompter.log, QStringList{"ask: Do you confirm deleting of the selected character?"});
    QCOMPARE(w.workspace.currentGlyph, 65);
    QVERIFY(w.fontGraph.isVisible());
    if (deleted) {
        QCOMPARE(w.glyph(65).defined, std::uint8_t(0));
        QCOMPARE(w.glyph(65).width, 0);
        QCOMPARE(w.glyph(65).height, 0);
        QVERIFY(w.glyph(65).pixels.empty());
        QVERIFY(w.glyph(65).image.isEmpty());
    } else {
        QVERIFY(w.glyph(65) == kept);
    }
    // A deleted glyph is unsaved work.
    QCOMPARE(w.workspace.fontModified, deleted);
}

void TestFontForm::saveItem()
{
    QTemporaryDir folder;
    FontWindows w;
    w.define(65, {"#r"});
    w.workspace.fontModified = true;

    // Without a file of its own the font asks for one.
    w.prompter.cancelFile();
    w.font.findChild<QAction *>(QStringLiteral("pmSaveFont"))->trigger();
    QCOMPARE(w.prompter.entries(QStringLiteral("save")).size(), 1);
    QVERIFY(w.workspace.fontModified);

    // With one it is written there at once.
    w.workspace.fontPath = folder.filePath(QStringLiteral("mine.llf"));
    w.font.findChild<QAction *>(QStringLiteral("pmSaveFont"))->trigger();
    QCOMPARE(font::readFontFile(w.workspace.fontPath), w.workspace.glyphs);
    QVERIFY(!w.workspace.fontModified);
    QCOMPARE(w.prompter.entries(QStringLiteral("save")).size(), 1);
}

void TestFontForm::closeQuery_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QString>("fontFile");  // "" none, "ok" writable, "bad" not writable
    QTest::addColumn<bool>("cancelDialog");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("modifiedAfter");
    QTest::addColumn<int>("errors");

    QTest::newRow("unmodified") << false << QList<Answer>{} << "" << false << true << false << 0;
    QTest::newRow("no") << true << QList<Answer>{Answer::No} << "" << false << true << true << 0;
    QTest::newRow("cancel") << true << QList<Answer>{Answer::Cancel} << "" << false << false << true << 0;
    QTest::newRow("yes, own file") << true << QList<Answer>{Answer::Yes} << "ok" << false << true << false << 0;
    QTest::newRow("yes, file dialog cancelled")
        << true << QList<Answer>{Answer::Yes} << "" << true << true << true << 0;
    QTest::newRow("yes, write fails") << true << QList<Answer>{Answer::Yes} << "bad" << false << false << true << 1;
}

void TestFontForm::closeQuery()
{
    QFETCH(bool, modified);
    QFETCH(QList<Answer>, answers);
    QFETCH(QString, fontFile);
    QFETCH(bool, cancelDialog);
    QFETCH(bool, closed);
    QFETCH(bool, modifiedAfter);
    QFETCH(int, errors);

    QTemporaryDir folder;
    FontWindows w;
    w.define(65, {"#"});
    w.workspace.fontModified = modified;
    if (fontFile == "ok")
        w.workspace.fontPath = folder.filePath(QStringLiteral("font.llf"));
    else if (fontFile == "bad")
        w.workspace.fontPath = folder.filePath(QStringLiteral("missing/font.llf"));
    for (Answer answer : answers)
        w.prompter.answer(answer);
    if (cancelDialog)
        w.prompter.cancelFile();

    w.font.show();
    w.font.close();

    QCOMPARE(w.font.isHidden(), closed);
    QCOMPARE(w.workspace.fontModified, modifiedAfter);
    QCOMPARE(w.prompter.entries(QStringLiteral("askCancel")),
             answers.isEmpty() ? QStringList{}
                               : QStringList{"Current font has been modified, do you want to save it?"});
    QCOMPARE(w.prompter.errors().size(), errors);
    if (fontFile == "ok")
        QCOMPARE(font::readFontFile(w.workspace.fontPath), w.workspace.glyphs);
}

void TestFontForm::leavingTheProgramAsksOnce_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("written");

    QTest::newRow("no") << Answer::No << false;
    QTest::newRow("yes") << Answer::Yes << true;
}

void TestFontForm::leavingTheProgramAsksOnce()
{
    QFETCH(Answer, answer);
    QFETCH(bool, written);

    QTemporaryDir folder;
    testing::FakePrompter prompter;
    ui::Shell shell(prompter, folder.path());
    shell.show();
    ui::Windows &windows = shell.windows();
    shell.workspace().fontPath = folder.filePath(QStringLiteral("font.llf"));
    shell.workspace().fontModified = true;
    windows.font->show();

    // The main window asks about the font on the way out; the windows that
    // are still open then close with the program and ask nothing more.
    prompter.answer(answer);
    QVERIFY(windows.main->close());
    QApplication::closeAllWindows();

    QCOMPARE(prompter.entries(QStringLiteral("askCancel")),
             QStringList{"The current font was changed. Save it before closing?"});
    QVERIFY(windows.font->isHidden());
    QCOMPARE(QFileInfo::exists(shell.workspace().fontPath), written);
}

QTEST_MAIN(TestFontForm)
#include "tst_font_form.moc"
