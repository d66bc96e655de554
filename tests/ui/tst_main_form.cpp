// The main window and start-up: which windows appear where, the menus and
// toolbars as the user finds them, and every item, button and shortcut
// reaching its command.

#include "font/font_file.h"
#include "font/zoomed_glyph.h"
#include "project/compose_view.h"
#include "project/project_file.h"
#include "project/view_zoom.h"
#include "project/workspace.h"
#include "support/fake_prompter.h"
#include "ui/application.h"
#include "ui/draw_form.h"
#include "ui/font_form.h"
#include "ui/font_graph_form.h"
#include "ui/graph_form.h"
#include "ui/help.h"
#include "ui/main_form.h"
#include "ui/text_form.h"
#include "ui/tool_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using letterloom::project::Answer;
using letterloom::project::ProjectFile;
using letterloom::raster::Raster;
using letterloom::testing::FakePrompter;
using letterloom::ui::Shell;
using letterloom::ui::TmainForm;

namespace {

const QString kProjectFilter = QStringLiteral("Letterloom (*.llp)|*.llp");
const QString kFontFilter = QStringLiteral("Font Letterloom (*.llf)|*.llf");
const QString kPictureFilter = QStringLiteral("Bitmaps (*.bmp)|*.bmp|PNG pictures (*.png)|*.png");
const QString kOpenFontFilter = kFontFilter + QStringLiteral("|BDF font (*.bdf)|*.bdf|BMFont (*.fnt)|*.fnt"
                                                               "|PSF console font (*.psf *.psfu *.psf.gz *.psfu.gz)"
                                                               "|*.psf;*.psfu;*.psf.gz;*.psfu.gz");
const QString kTextFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
const QString kLeaveChangedText =
    QStringLiteral("askCancel: Text in the project has been changed. Save it before closing?");

QAction *actionOf(Shell &shell, const QString &name)
{
    auto *action = shell.windows().main->findChild<QAction *>(name);
    if (!action)
        qFatal("no action %s", qPrintable(name));
    return action;
}

QComboBox *boxOf(Shell &shell, const QString &name)
{
    return shell.windows().main->findChild<QComboBox *>(name);
}

QToolButton *buttonOf(Shell &shell, const QString &name)
{
    QAction *action = actionOf(shell, name);
    for (QToolBar *bar : shell.windows().main->findChildren<QToolBar *>())
        if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action)))
            return button;
    return nullptr;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Where a key reaches the program: the main window, the text input window's
// editor or the image view.
QWidget *keyTarget(Shell &shell, const QString &where)
{
    if (where == u"text")
        return shell.windows().text->findChild<QPlainTextEdit *>(QStringLiteral("Memo"));
    if (where == u"image")
        return shell.windows().graph;
    return shell.windows().main;
}

// Shows the program and gives the keyboard to one of its windows.
bool activate(Shell &shell, QWidget *target)
{
    shell.show();
    QWidget *window = target->window();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return false;
    target->setFocus();
    return true;
}


}  // namespace

class TestMainForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUpShowsThreeWindows();
    void windowsAreMadeInOrder();
    void menus_data();
    void menus();
    void toolBars_data();
    void toolBars();
    void itemsReachTheirCommands_data();
    void itemsReachTheirCommands();
    void shellShortcuts();
    void noShortcutPastAModalDialog();
    void refreshNeedsAPictureButTheButtonDoesNot();
    void numberBoxLists_data();
    void numberBoxLists();
    void numberBoxes_data();
    void numberBoxes();
    void pixelSizeFitsTheGlyphEditor_data();
    void pixelSizeFitsTheGlyphEditor();
    void commandsShowOnTheNextTick_data();
    void commandsShowOnTheNextTick();
    void statusLine_data();
    void statusLine();
    void modifiedMarks_data();
    void modifiedMarks();
    void openRecent();
    void alignmentButtons_data();
    void alignmentButtons();
    void showToggles_data();
    void showToggles();
    void projectSettingsReachTheToolbars_data();
    void projectSettingsReachTheToolbars();
    void textColour_data();
    void textColour();
    void customColour_data();
    void customColour();
    void windowsMenuFocusesOnlyVisibleWindows_data();
    void windowsMenuFocusesOnlyVisibleWindows();
    void showItemsBringClosedWindowsBack_data();
    void showItemsBringClosedWindowsBack();
    void helpContents_data();
    void helpContents();
    void aboutBox();
    void closeQuery_data();
    void closeQuery();
    void failuresEndInTheErrorBox_data();
    void failuresEndInTheErrorBox();

private:
    QTemporaryDir dir_;
    FakePrompter *prompter_ = nullptr;
    Shell *shell_ = nullptr;
};

void TestMainForm::initTestCase()
{
    // Closing the main window ends the program only in the real event loop.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestMainForm::init()
{
    letterloom::project::RecentProjects().clear();
    letterloom::project::storeZoom(1);
    prompter_ = new FakePrompter;
    shell_ = new Shell(*prompter_, dir_.path());
}

void TestMainForm::cleanup()
{
    delete shell_;
    delete prompter_;
}

void TestMainForm::startUpShowsThreeWindows()
{
    QStringList shownInOrder;
    struct ShowSpy : QObject {
        QStringList *order;
        bool eventFilter(QObject *object, QEvent *event) override
        {
            auto *widget = qobject_cast<QWidget *>(object);
            if (event->type() == QEvent::Show && widget && widget->isWindow())
                *order << letterloom::ui::shownCaption(widget);
            return false;
        }
    } spy;
    spy.order = &shownInOrder;
    qApp->installEventFilter(&spy);
    shell_->show();
    qApp->removeEventFilter(&spy);

    QCOMPARE(shownInOrder, (QStringList{"Letterloom v1.0", "Text Input Window", "Image"}));
    QStringList visible;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            visible << letterloom::ui::shownCaption(widget);
    visible.sort();
    QCOMPARE(visible, (QStringList{"Image", "Letterloom v1.0", "Text Input Window"}));

    const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
    TmainForm *main = shell_->windows().main;
    QVERIFY(main->isMaximized());
    // The strip's 112 pixels count its frame, so it ends above the tool windows.
    QVERIFY(!letterloom::ui::frameExtent(main).isNull());
    QTRY_VERIFY(main->frameGeometry().height() <= 112);
    QCOMPARE(main->maximumHeight(), 112 - letterloom::ui::frameExtent(main).height());
    QCOMPARE(main->pos(), QPoint(0, 0));

    // The text input window's size counts its frame; the image view's is its client area.
    QWidget *text = shell_->windows().text;
    QCOMPARE(text->frameGeometry(), QRect(394, 120, screenWidth - 402, 195));

    QWidget *graph = shell_->windows().graph;
    QCOMPARE(graph->pos(), QPoint(394, 336));
    QCOMPARE(graph->size(), QSize(297, 274));
    QCOMPARE(graph->minimumSize(), graph->maximumSize());
    for (QWidget *tool : {text, graph}) {
        QVERIFY(tool->windowFlags().testFlag(Qt::Tool));
        QVERIFY(tool->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }
}

void TestMainForm::windowsAreMadeInOrder()
{
    QStringList classes;
    for (QObject *child : shell_->windows().main->children())
        if (child->isWidgetType() && static_cast<QWidget *>(child)->isWindow())
            classes << QString::fromLatin1(child->metaObject()->className()).section(u':', -1);
    QCOMPARE(classes, (QStringList{"TfontSizeForm", "TfontGraphForm", "TgraphForm", "TfontForm", "TdrawForm",
                                   "TtextForm"}));
}

void TestMainForm::menus_data()
{
    QTest::addColumn<QString>("title");
    // Each item as "name|caption|shortcut", a separator as its name alone.
    QTest::addColumn<QStringList>("items");

    QTest::newRow("Project") << "Project"
                             << QStringList{"mmNewProject|New|Ctrl+N", "mmSpace1",
                                            "mmLoadProject|Open...|Ctrl+O", "mmOpenRecentMenu|Open &Recent|>",
                                            "mmSaveProject|Save|Ctrl+S",
                                            "mmSaveAsProject|Save As...|Ctrl+Shift+S", "mmSpace2",
                                            "mmExportBitmap|Image Export|", "mmSpace3", "mmClose|Exit|Alt+F4"};
    QTest::newRow("Font") << "Font"
                          << QStringList{"mmLoadFont|Open Font...|Ctrl+F", "mmSaveFont|Save Font|Ctrl+Shift+F",
                                         "mmEditFont|Edit Font|Ctrl+Alt+F", "mmSpace7",
                                         "mmImportGrid|Import from Picture...|", "mmExportGrid|Export Picture Grid...|",
                                         "mmCharMap|Character Map...|", "mmKerning|Kerning...|"};
    QTest::newRow("Edit") << "Edit"
                          << QStringList{"mmLoadBitmap|Load Image...|Ctrl+I", "mmShowBitmap|Show Image|",
                                         "mmTextArea|Text Area...|", "mmNextArea|Next Text Area|Ctrl+PgDown",
                                         "mmPreviousArea|Previous Text Area|Ctrl+PgUp", "mmNewArea|New Text Area|Ctrl+Shift+N",
                                         "mmDeleteArea|Delete Text Area|", "mmTextEffects|Text Effects...|",
                                         "mmTextSpacing|Text Spacing...|", "mmFitText|Fit Text|Ctrl+Shift+T", "mmSpace4",
                                         "mmLoadText|Load Text...|Ctrl+T", "mmShowText|Show Text|",
                                         "mmClearText|Clear Text|", "mmSpace5", "mmResetText|Refresh|F9",
                                         "mmLiveRefresh|Live Refresh|"};
    QTest::newRow("Windows") << "Windows"
                             << QStringList{"mmMainWindow|Main window|F1", "mmBitmapWindow|Image|F2",
                                            "mmTableGCharsWindow|Character Table|F3",
                                            "mmGCharWindow|Draw Character|F4", "mmDrawWindow|Drawing Tools|F5",
                                            "mmTextWindow|Text Input Window|F6", "mmSpace8",
                                            "mmZoomMenu|&Zoom|>"};
    QTest::newRow("Help") << "Help"
                          << QStringList{"mmContentHelp|Help Contents|Shift+F1", "mmSpace6", "mmAbout|About|"};
}

void TestMainForm::menus()
{
    QFETCH(QString, title);
    QFETCH(QStringList, items);
    QMenu *menu = nullptr;
    for (QAction *entry : shell_->windows().main->menuBar()->actions())
        if (entry->text() == title)
            menu = entry->menu();
    QVERIFY(menu);

    QStringList found;
    for (QAction *item : menu->actions()) {
        if (item->isSeparator()) {
            found << item->objectName();
            continue;
        }
        if (item->menu()) {
            found << item->objectName() + u'|' + item->text() + QStringLiteral("|>");
            // Without recent projects there is nothing to choose; the zoom
            // has its six levels.
            QStringList levels;
            for (QAction *level : item->menu()->actions())
                levels << level->text();
            if (item->objectName() == u"mmZoomMenu")
                QCOMPARE(levels.join(u' '), QString::fromUtf8("&1× &2× &3× &4× &6× &8×"));
            QCOMPARE(item->isEnabled(), !levels.isEmpty());
            continue;
        }
        found << item->objectName() + u'|' + item->text() + u'|' + item->shortcut().toString();
        QCOMPARE(item->shortcutContext(), Qt::ApplicationShortcut);
        // Only Refresh waits for a picture.
        QCOMPARE(item->isEnabled(), item->objectName() != u"mmResetText");
    }
    QCOMPARE(found, items);
}

void TestMainForm::toolBars_data()
{
    QTest::addColumn<QString>("bar");
    // Each control as "name|hint|kind", kind: button, up or down (a toggle),
    // "box" and its width; separators by name alone.
    QTest::addColumn<QStringList>("controls");

    QTest::newRow("ToolBar") << "ToolBar"
                             << QStringList{"tbSpace1",
                                            "tbAlignLeft|Align Left|down",
                                            "tbAlignMiddle|Center Align|up",
                                            "tbAlignRight|Align Right|up",
                                            "tbAlignJustify|Align Horisontally|up",
                                            "tbSpace2",
                                            "tbRangeVisible|Show Selection|down",
                                            "tbHelpVisible|Show Help|down",
                                            "tbSpace3",
                                            "tbLoadBitmap|Load Image...|button",
                                            "tbLoadText|Load Text...|button",
                                            "tbSpace4",
                                            "tbLoadFont|Open Font...|button",
                                            "tbSaveFont|Save Font|button",
                                            "tbEditFont|Edit Font|button",
                                            "tbSpace5",
                                            "ToolButton13|Refresh|button",
                                            "tbSpace6"};
    QTest::newRow("ToolBar1") << "ToolBar1"
                              << QStringList{"tbSpace7",
                                             "tb5x1|5 Pixel Shift|down",
                                             "tbRangeLeft|Shift Left|button",
                                             "tbRangeRight|Shift Right|button",
                                             "tbRangeUp|Shift Up|button",
                                             "tbRangeDown|Shift Down|button",
                                             "tbSpace8",
                                             "tb5x2|5 Pixel Shift|down",
                                             "tbRangeWidthInc|Increase Width|button",
                                             "tbRangeWidthDec|Decrease Width|button",
                                             "tbRangeHeightInc|Increase Height|button",
                                             "tbRangeHeightDec|Decrease Height|button",
                                             "tbSpace9",
                                             "cbLineSpace|Distance Between Lines, px|box 59",
                                             "tbSpace10",
                                             "cbPixelSize|Pixel Size|box 59",
                                             "tbSpace11",
                                             "cbTextColor||box 145",
                                             "tbSpace12"};
}

void TestMainForm::toolBars()
{
    QFETCH(QString, bar);
    QFETCH(QStringList, controls);
    auto *toolBar = shell_->windows().main->findChild<QToolBar *>(bar);
    QVERIFY(toolBar);
    shell_->show();
    QCOMPARE(toolBar->height(), 29);

    QStringList found;
    for (QAction *action : toolBar->actions()) {
        if (action->isSeparator()) {
            found << action->objectName();
            QCOMPARE(toolBar->widgetForAction(action)->width(), 8);
        } else if (QWidget *widget = toolBar->widgetForAction(action); qobject_cast<QComboBox *>(widget)) {
            found << widget->objectName() + u'|' + widget->toolTip() + QStringLiteral("|box %1").arg(widget->width());
        } else {
            const QString kind = !action->isCheckable() ? QStringLiteral("button")
                                 : action->isChecked()  ? QStringLiteral("down")
                                                        : QStringLiteral("up");
            found << action->objectName() + u'|' + action->toolTip() + u'|' + kind;
            // Every button shows a picture.
            const QImage picture = action->icon().pixmap(16, 16).toImage();
            QVERIFY2(!picture.isNull(), qPrintable(action->objectName()));
            bool drawn = false;
            for (int y = 0; y < 16 && !drawn; ++y)
                for (int x = 0; x < 16 && !drawn; ++x)
                    drawn = qAlpha(picture.pixel(x, y)) != 0;
            QVERIFY2(drawn, qPrintable(action->objectName()));
            QVERIFY(action->isEnabled());
        }
    }
    QCOMPARE(found, controls);
}

void TestMainForm::itemsReachTheirCommands_data()
{
    // How the command is given: "menu" triggers the item, "button" clicks the
    // toolbar button, "key" types the shortcut in a window ("main", "text",
    // "image").
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("where");
    // The first thing the program asks or shows.
    QTest::addColumn<QString>("asked");

    const QString openProject = "open: " + kProjectFilter;
    const QString saveProject = "save: " + kProjectFilter;
    const QString openFont = "open: " + kOpenFontFilter;
    const QString saveFont = "save: " + kFontFilter;
    const QString openPicture = "open: " + kPictureFilter;
    const QString savePicture = "save: " + kPictureFilter;
    const QString openText = "open: " + kTextFilter;
    const QString clearText = QStringLiteral("ask: You really want to clear the text?");
    const QKeySequence none;

    QTest::newRow("Open") << "menu" << "mmLoadProject" << none << "" << openProject;
    QTest::newRow("Save, unnamed") << "menu" << "mmSaveProject" << none << "" << saveProject;
    QTest::newRow("Save As") << "menu" << "mmSaveAsProject" << none << "" << saveProject;
    QTest::newRow("Image Export") << "menu" << "mmExportBitmap" << none << "" << savePicture;
    QTest::newRow("Image Export, no picture")
        << "menu" << "mmExportBitmap" << none << ""
        << "error: There is no picture to export. Load one with Edit > Load Image... first.";
    QTest::newRow("Open Font") << "menu" << "mmLoadFont" << none << "" << openFont;
    QTest::newRow("Save Font") << "menu" << "mmSaveFont" << none << "" << saveFont;
    QTest::newRow("Load Image") << "menu" << "mmLoadBitmap" << none << "" << openPicture;
    QTest::newRow("Load Text") << "menu" << "mmLoadText" << none << "" << openText;
    QTest::newRow("Clear Text") << "menu" << "mmClearText" << none << "" << clearText;
    QTest::newRow("Text Area") << "menu" << "mmTextArea" << none << "" << "textArea: 0 0 0 0 of 8 x 8";

    QTest::newRow("button Load Image") << "button" << "tbLoadBitmap" << none << "" << openPicture;
    QTest::newRow("button Load Text") << "button" << "tbLoadText" << none << "" << openText;
    QTest::newRow("button Open Font") << "button" << "tbLoadFont" << none << "" << openFont;
    QTest::newRow("button Save Font") << "button" << "tbSaveFont" << none << "" << saveFont;

    QTest::newRow("New, text changed") << "menu" << "mmNewProject" << none << "" << kLeaveChangedText;

    const struct {
        const char *name;
        QKeySequence keys;
        QString asked;
    } shortcuts[] = {
        {"Ctrl+N", QKeySequence(Qt::CTRL | Qt::Key_N), kLeaveChangedText},
        {"Ctrl+O", QKeySequence(Qt::CTRL | Qt::Key_O), openProject},
        {"Ctrl+S", QKeySequence(Qt::CTRL | Qt::Key_S), saveProject},
        {"Shift+Ctrl+S", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_S), saveProject},
        {"Ctrl+F", QKeySequence(Qt::CTRL | Qt::Key_F), openFont},
        {"Shift+Ctrl+F", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F), saveFont},
        {"Ctrl+I", QKeySequence(Qt::CTRL | Qt::Key_I), openPicture},
        {"Ctrl+T", QKeySequence(Qt::CTRL | Qt::Key_T), openText},
    };
    for (const auto &shortcut : shortcuts)
        for (const char *where : {"main", "text", "image"})
            QTest::addRow("%s in %s", shortcut.name, where) << "key" << "" << shortcut.keys << where << shortcut.asked;
}

void TestMainForm::itemsReachTheirCommands()
{
    QFETCH(QString, how);
    QFETCH(QString, control);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, where);
    QFETCH(QString, asked);
    prompter_->cancelFile();
    prompter_->answer(Answer::Cancel);
    prompter_->areas.push_back(std::nullopt);
    shell_->workspace().textChanged = asked == kLeaveChangedText;
    // A picture to export, except where its absence is the point.
    if (!asked.startsWith(u"error: ")) {
        shell_->workspace().picture = Raster(8, 8);
        shell_->workspace().pictureLoaded = true;
    }

    if (how == u"menu") {
        actionOf(*shell_, control)->trigger();
    } else if (how == u"button") {
        QTest::mouseClick(buttonOf(*shell_, control), Qt::LeftButton);
    } else {
        QWidget *target = keyTarget(*shell_, where);
        QVERIFY(activate(*shell_, target));
        QTest::keySequence(target, keys);
    }
    QCOMPARE(prompter_->log.value(0), asked);
    QCOMPARE(prompter_->log.size(), 1);
}

void TestMainForm::shellShortcuts()
{
    int helpOpened = 0;
    shell_->windows().main->setDocumentOpener([&](const QUrl &, const std::function<void()> &) { ++helpOpened; });
    writeFile(dir_.filePath(QStringLiteral("help.chm")), "help");
    QWidget *memo = keyTarget(*shell_, QStringLiteral("text"));
    QVERIFY(activate(*shell_, memo));
    QTest::keySequence(memo, QKeySequence(Qt::SHIFT | Qt::Key_F1));
    QFile::remove(dir_.filePath(QStringLiteral("help.chm")));
    QCOMPARE(helpOpened, 1);

    QWidget *table = shell_->windows().font;
    QVERIFY(!table->isVisible());
    QTest::keySequence(memo, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F));
    QVERIFY(table->isVisible());
    QCOMPARE(prompter_->log, QStringList());
}

void TestMainForm::noShortcutPastAModalDialog()
{
    QVERIFY(activate(*shell_, shell_->windows().main));
    QDialog dialog(shell_->windows().main);
    dialog.setModal(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keySequence(&dialog, QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(prompter_->log, QStringList());
    dialog.close();

    prompter_->cancelFile();
    QVERIFY(activate(*shell_, shell_->windows().main));
    QTest::keySequence(shell_->windows().main, QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(prompter_->log, QStringList{"open: " + kProjectFilter});
}

void TestMainForm::refreshNeedsAPictureButTheButtonDoesNot()
{
    letterloom::project::Workspace &workspace = shell_->workspace();
    workspace.settings.area = {0, 0, 30, 20};
    QVERIFY(activate(*shell_, shell_->windows().main));
    QAction *refresh = actionOf(*shell_, "mmResetText");

    QVERIFY(!refresh->isEnabled());
    QTest::keyClick(shell_->windows().main, Qt::Key_F9);
    QCOMPARE(workspace.overlay.size(), QSize(0, 0));

    QTest::mouseClick(buttonOf(*shell_, "ToolButton13"), Qt::LeftButton);
    QCOMPARE(workspace.overlay.size(), QSize(30, 20));

    const QString picture = dir_.filePath(QStringLiteral("refresh.bmp"));
    writeFile(picture, Raster(40, 30).toBmp());
    prompter_->chooseFile(picture);
    actionOf(*shell_, "mmLoadBitmap")->trigger();
    QVERIFY(refresh->isEnabled());
    workspace.settings.area = {0, 0, 12, 10};
    QTest::keyClick(shell_->windows().main, Qt::Key_F9);
    QCOMPARE(workspace.overlay.size(), QSize(12, 10));

    prompter_->answer(Answer::No);
    actionOf(*shell_, "mmNewProject")->trigger();
    QVERIFY(!refresh->isEnabled());
    QCOMPARE(prompter_->errors(), QStringList());
}

void TestMainForm::numberBoxLists_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("line spacing") << "cbLineSpace"
                                  << QStringList{"5", "6", "7", "8", "9", "10", "12", "14", "16", "18", "20"};
    QTest::newRow("pixel size") << "cbPixelSize" << QStringList{"10", "12", "14", "16", "18", "20", "25", "30", "40"};
}

void TestMainForm::numberBoxLists()
{
    QFETCH(QString, box);
    QFETCH(QStringList, items);
    QComboBox *combo = boxOf(*shell_, box);
    QStringList listed;
    for (int i = 0; i < combo->count(); ++i)
        listed << combo->itemText(i);
    QCOMPARE(listed, items);
    QVERIFY(combo->isEditable());
}

void TestMainForm::numberBoxes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expected");

    for (const char *box : {"cbLineSpace", "cbPixelSize"}) {
        const int start = QByteArray(box) == "cbLineSpace" ? 10 : 20;
        QTest::addRow("%s: 0", box) << box << "0" << 0;
        QTest::addRow("%s: 33", box) << box << "33" << 33;
        QTest::addRow("%s: leading zeros", box) << box << "007" << 7;
        QTest::addRow("%s: 1a", box) << box << "1a" << start;
        QTest::addRow("%s: -5", box) << box << "-5" << start;
        QTest::addRow("%s: blank before 7", box) << box << " 7" << start;
        QTest::addRow("%s: empty", box) << box << "" << start;
        QTest::addRow("%s: beyond 32 bits", box) << box << "99999999999" << 2147483647;
    }
}

void TestMainForm::numberBoxes()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, expected);
    const letterloom::project::ProjectSettings &settings = shell_->workspace().settings;
    const std::int32_t &value = box == u"cbLineSpace" ? settings.lineSpacing : settings.pixelSize;
    QComboBox *combo = boxOf(*shell_, box);
    QCOMPARE(combo->currentText(), QString::number(value));

    combo->setEditText(typed);
    QCOMPARE(value, expected);
    QCOMPARE(combo->currentText(), typed);

    // A choice from the list counts as well, and the list stays as it was.
    const int items = combo->count();
    combo->setCurrentIndex(items - 1);
    QCOMPARE(QString::number(value), combo->itemText(items - 1));
    QCOMPARE(combo->count(), items);
    QCOMPARE(shell_->workspace().projectChanged(), false);
}

void TestMainForm::pixelSizeFitsTheGlyphEditor_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("defined");
    // The editor's client size afterwards; empty when it keeps its size.
    QTest::addColumn<QSize>("expected");

    QTest::newRow("an undefined glyph is left alone") << "10" << false << QSize();
    QTest::newRow("12 x 10 glyph at 11") << "11" << true << QSize(12 * 11 + 2, 10 * 11 + 2);
    // Asked for 2 x 2, the editor stays at its own minimum.
    QTest::newRow("pixel size 0") << "0" << true << QSize(2, 2);
}

void TestMainForm::pixelSizeFitsTheGlyphEditor()
{
    QFETCH(QString, typed);
    QFETCH(bool, defined);
    QFETCH(QSize, expected);
    letterloom::project::Workspace &workspace = shell_->workspace();
    QWidget *editor = shell_->windows().fontGraph;
    workspace.currentGlyph = 65;
    workspace.glyphs.setGlyphSize(65, 12, 10);
    workspace.glyphs[65].defined = defined ? 1 : 0;
    const QSize before = editor->size();

    boxOf(*shell_, "cbPixelSize")->setEditText(typed);
    QCOMPARE(workspace.settings.pixelSize, typed.toInt());
    QCOMPARE(editor->size(), expected.isEmpty() ? before : expected.expandedTo(editor->minimumSize()));
}

void TestMainForm::commandsShowOnTheNextTick_data()
{
    QTest::addColumn<QString>("command");

    QTest::newRow("pixel size typed") << "cbPixelSize";
    QTest::newRow("Open Font") << "mmLoadFont";
    QTest::newRow("Open project") << "mmLoadProject";
}

void TestMainForm::commandsShowOnTheNextTick()
{
    QFETCH(QString, command);
    letterloom::project::Workspace &workspace = shell_->workspace();
    letterloom::ui::TfontGraphForm *editor = shell_->windows().fontGraph;
    letterloom::ui::TgraphForm *view = shell_->windows().graph;
    workspace.glyphs.setGlyphSize(65, 3, 2);
    workspace.glyphs[65].defined = 1;
    workspace.currentGlyph = 65;
    editor->fitToGlyph();
    shell_->show();
    editor->show();
    editor->TimerTimer();
    view->TimerTimer();
    const Raster editorBefore = editor->editorRaster();
    const Raster viewBefore = view->viewRaster();

    if (command == u"cbPixelSize") {
        boxOf(*shell_, "cbPixelSize")->setEditText(QStringLiteral("7"));
    } else if (command == u"mmLoadFont") {
        letterloom::font::GlyphTable glyphs;
        glyphs.setGlyphSize(65, 3, 2);
        glyphs[65].defined = 1;
        glyphs[65].pixels[1][1] = 0x00FF00;
        const QString path = dir_.filePath(QStringLiteral("green.llf"));
        letterloom::font::writeFontFile(path, glyphs);
        prompter_->chooseFile(path);
        actionOf(*shell_, command)->trigger();
    } else {
        ProjectFile project;
        project.settings.area = {1, 1, 4, 4};
        Raster picture(8, 8);
        picture.fill(0x00FF00);
        project.pictureBmp = picture.toBmp();
        const QString path = dir_.filePath(QStringLiteral("green.llp"));
        writeFile(path, letterloom::project::projectBytes(project));
        prompter_->chooseFile(path);
        actionOf(*shell_, command)->trigger();
    }
    QCOMPARE(prompter_->errors(), QStringList());

    editor->TimerTimer();
    view->TimerTimer();
    if (command == u"mmLoadProject") {
        Raster expected(view->surfaceSize().width(), view->surfaceSize().height());
        letterloom::project::ComposeView(workspace, expected, false);
        QCOMPARE(view->viewRaster(), expected);
        QVERIFY(view->viewRaster() != viewBefore);
    } else {
        letterloom::font::tGraphChar glyph = workspace.glyphs[65];
        Raster expected(editor->editorRaster().width(), editor->editorRaster().height());
        letterloom::font::drawZoomedGlyph(expected, glyph, workspace.settings.pixelSize);
        QCOMPARE(editor->editorRaster(), expected);
        QVERIFY(editor->editorRaster() != editorBefore);
    }
}

void TestMainForm::statusLine_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QString>("pointer");  // "X Y" of a move over the image view, "leave", or nothing
    QTest::addColumn<QString>("shown");

    QTest::newRow("over the picture") << true << "30 20" << "Pointer: x 30, y 20";
    QTest::newRow("its last pixel") << true << "39 29" << "Pointer: x 39, y 29";
    QTest::newRow("past the picture") << true << "40 5" << "";
    QTest::newRow("pointer gone") << true << "leave" << "";
    QTest::newRow("no picture") << false << "30 20" << "";
    QTest::newRow("pointer elsewhere") << true << "" << "";
}

void TestMainForm::statusLine()
{
    QFETCH(bool, picture);
    QFETCH(QString, pointer);
    QFETCH(QString, shown);
    if (picture) {
        const QString path = dir_.filePath(QStringLiteral("status.bmp"));
        Raster(40, 30).writeBmpFile(path);
        prompter_->chooseFile(path);
        actionOf(*shell_, "mmLoadBitmap")->trigger();
    }
    shell_->show();
    QWidget *box = shell_->windows().graph->findChild<QWidget *>(QStringLiteral("PaintBox"));
    if (pointer == u"leave") {
        QTest::mouseMove(box, QPoint(3, 3));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(box, &leave);
    } else if (!pointer.isEmpty()) {
        QTest::mouseMove(box, QPoint(pointer.section(u' ', 0, 0).toInt(), pointer.section(u' ', 1).toInt()));
    }
    shell_->workspace().settings.area = {-3, 4, 500, 60};
    shell_->windows().main->StatusTimerTimer();

    auto *line = shell_->windows().main->findChild<QStatusBar *>(QStringLiteral("StatusBar"));
    QVERIFY(line && line->isVisible());
    QCOMPARE(line->findChild<QLabel *>(QStringLiteral("stPointer"))->text(), shown);
    QCOMPARE(line->findChild<QLabel *>(QStringLiteral("stArea"))->text(),
             QStringLiteral("Text area: x -3, y 4, width 500, height 60"));
    // Inside the strip, under the toolbars.
    const auto *second = shell_->windows().main->findChild<QToolBar *>(QStringLiteral("ToolBar1"));
    QVERIFY(line->geometry().top() >= second->geometry().bottom());
    QVERIFY(line->geometry().bottom() < shell_->windows().main->height());
}

void TestMainForm::modifiedMarks_data()
{
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QString>("projectPath");
    QTest::addColumn<QString>("main");
    QTest::addColumn<QString>("table");

    // Nothing shows while all is saved: the captions are the plain ones.
    QTest::newRow("all saved") << "" << "" << "Letterloom v1.0" << "Character Table";
    QTest::newRow("text") << "text" << "" << "Letterloom v1.0*" << "Character Table";
    QTest::newRow("picture") << "picture" << "" << "Letterloom v1.0*" << "Character Table";
    QTest::newRow("area") << "area" << "" << "Letterloom v1.0*" << "Character Table";
    QTest::newRow("font") << "font" << "" << "Letterloom v1.0" << "Character Table*";
    QTest::newRow("both") << "text font" << "" << "Letterloom v1.0*" << "Character Table*";
    QTest::newRow("named project, saved") << "" << "/p/a.llp" << "Letterloom v1.0 - /p/a.llp" << "Character Table";
    QTest::newRow("named project, changed") << "area" << "/p/a.llp" << "Letterloom v1.0 - /p/a.llp*"
                                            << "Character Table";
    QTest::newRow("a name with the placeholder") << "" << "/p/[*].llp" << "Letterloom v1.0 - /p/[*].llp"
                                                 << "Character Table";
}

void TestMainForm::modifiedMarks()
{
    QFETCH(QString, flags);
    QFETCH(QString, projectPath);
    QFETCH(QString, main);
    QFETCH(QString, table);
    letterloom::project::Workspace &workspace = shell_->workspace();
    if (!projectPath.isEmpty())
        shell_->windows().main->setCaption(QStringLiteral("Letterloom v1.0 - ") + projectPath);
    workspace.textChanged = flags.contains(u"text");
    workspace.pictureChanged = flags.contains(u"picture");
    workspace.areaChanged = flags.contains(u"area");
    workspace.fontModified = flags.contains(u"font");
    shell_->windows().main->StatusTimerTimer();
    QCOMPARE(letterloom::ui::shownCaption(shell_->windows().main), main);
    QCOMPARE(letterloom::ui::shownCaption(shell_->windows().font), table);

    // Saved again: the marks go.
    workspace.textChanged = workspace.pictureChanged = workspace.areaChanged = workspace.fontModified = false;
    shell_->windows().main->StatusTimerTimer();
    QVERIFY(!letterloom::ui::shownCaption(shell_->windows().main).endsWith(u'*'));
    QCOMPARE(letterloom::ui::shownCaption(shell_->windows().font), QStringLiteral("Character Table"));
}

void TestMainForm::openRecent()
{
    ProjectFile project;
    project.pictureBmp = Raster(8, 8).toBmp();
    project.text = "recent";
    const QString kept = dir_.filePath(QStringLiteral("kept & sound.llp"));
    const QString gone = dir_.filePath(QStringLiteral("gone.llp"));
    writeFile(kept, letterloom::project::projectBytes(project));
    letterloom::project::RecentProjects &recent = shell_->commands().recentProjects();
    recent.add(gone);
    recent.add(kept);

    // The list is read as the Project menu opens.
    QMenu *projectMenu = qobject_cast<QMenu *>(actionOf(*shell_, "mmLoadProject")->parent());
    emit projectMenu->aboutToShow();
    QMenu *menu = shell_->windows().main->findChild<QMenu *>(QStringLiteral("mmOpenRecent"));
    QVERIFY(menu->isEnabled());
    QStringList items;
    for (QAction *item : menu->actions())
        items << item->objectName() + u'|' + item->text();
    QCOMPARE(items, (QStringList{"mmRecent1|&1 " + QString(kept).replace(u'&', QStringLiteral("&&")),
                                 "mmRecent2|&2 " + gone}));

    // Each opens as Open does, with its questions.
    shell_->workspace().textChanged = true;
    prompter_->answer(Answer::No);
    menu->actions().constFirst()->trigger();
    QCOMPARE(prompter_->log.value(0), kLeaveChangedText);
    QCOMPARE(shell_->workspace().projectPath, kept);
    QCOMPARE(shell_->windows().text->bytes(), QByteArray("recent"));

    // A missing file is said so and leaves the list.
    emit projectMenu->aboutToShow();
    const qsizetype asked = prompter_->log.size();
    menu->actions().constLast()->trigger();
    QCOMPARE(prompter_->log.size(), asked + 1);
    QCOMPARE(prompter_->log.last(),
             QStringLiteral("notice: The project \"%1\" is no longer there. It is taken off the list of recent "
                            "projects.")
                 .arg(gone));
    emit projectMenu->aboutToShow();
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(recent.paths(), QStringList{kept});
}

void TestMainForm::alignmentButtons_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("down");

    QTest::newRow("none") << QStringList{} << 1 << "tbAlignLeft";
    QTest::newRow("centre") << QStringList{"tbAlignMiddle"} << 2 << "tbAlignMiddle";
    QTest::newRow("right") << QStringList{"tbAlignRight"} << 3 << "tbAlignRight";
    QTest::newRow("justify") << QStringList{"tbAlignJustify"} << 4 << "tbAlignJustify";
    QTest::newRow("the button already down") << QStringList{"tbAlignLeft"} << 1 << "tbAlignLeft";
    QTest::newRow("justify, then left") << QStringList{"tbAlignJustify", "tbAlignLeft"} << 1 << "tbAlignLeft";
    QTest::newRow("right twice") << QStringList{"tbAlignRight", "tbAlignRight"} << 3 << "tbAlignRight";
}

void TestMainForm::alignmentButtons()
{
    QFETCH(QStringList, clicks);
    QFETCH(int, alignment);
    QFETCH(QString, down);
    for (const QString &button : clicks) {
        shell_->workspace().settings.alignment = 0;
        QTest::mouseClick(buttonOf(*shell_, button), Qt::LeftButton);
    }
    QCOMPARE(int(shell_->workspace().settings.alignment), alignment);
    for (const char *button : {"tbAlignLeft", "tbAlignMiddle", "tbAlignRight", "tbAlignJustify"})
        QCOMPARE(actionOf(*shell_, button)->isChecked(), down == QLatin1String(button));
}

void TestMainForm::showToggles_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("showSelection");
    QTest::addColumn<int>("showHelp");

    QTest::newRow("selection off") << "tbRangeVisible" << 1 << 0 << 1;
    QTest::newRow("selection on again") << "tbRangeVisible" << 2 << 1 << 1;
    QTest::newRow("help off") << "tbHelpVisible" << 1 << 1 << 0;
    QTest::newRow("help on again") << "tbHelpVisible" << 2 << 1 << 1;
    // The step toggles only hold their state.
    QTest::newRow("move step") << "tb5x1" << 1 << 1 << 1;
    QTest::newRow("size step") << "tb5x2" << 1 << 1 << 1;
}

void TestMainForm::showToggles()
{
    QFETCH(QString, button);
    QFETCH(int, clicks);
    QFETCH(int, showSelection);
    QFETCH(int, showHelp);
    for (int i = 0; i < clicks; ++i)
        QTest::mouseClick(buttonOf(*shell_, button), Qt::LeftButton);
    QCOMPARE(int(shell_->workspace().settings.showSelection), showSelection);
    QCOMPARE(int(shell_->workspace().settings.showHelp), showHelp);
    QCOMPARE(actionOf(*shell_, button)->isChecked(), clicks % 2 == 0);
    QVERIFY(!shell_->workspace().projectChanged());
}

void TestMainForm::projectSettingsReachTheToolbars_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("down");
    QTest::addColumn<int>("showSelection");
    QTest::addColumn<int>("showHelp");

    QTest::newRow("centre, both shown") << 2 << "tbAlignMiddle" << 1 << 1;
    QTest::newRow("right, no frame") << 3 << "tbAlignRight" << 0 << 1;
    QTest::newRow("justify, no hints") << 4 << "tbAlignJustify" << 1 << 0;
    QTest::newRow("an alignment of no button") << 9 << "tbAlignLeft" << 0 << 0;
}

void TestMainForm::projectSettingsReachTheToolbars()
{
    QFETCH(int, alignment);
    QFETCH(QString, down);
    QFETCH(int, showSelection);
    QFETCH(int, showHelp);
    ProjectFile project;
    project.settings.alignment = std::uint8_t(alignment);
    project.settings.showSelection = std::uint8_t(showSelection);
    project.settings.showHelp = std::uint8_t(showHelp);
    project.settings.lineSpacing = 14;
    project.settings.pixelSize = 33;
    project.pictureBmp = Raster(8, 8).toBmp();
    const QString path = dir_.filePath(QStringLiteral("settings.llp"));
    writeFile(path, letterloom::project::projectBytes(project));

    prompter_->chooseFile(path);
    actionOf(*shell_, "mmLoadProject")->trigger();
    QCOMPARE(prompter_->errors(), QStringList());
    for (const char *button : {"tbAlignLeft", "tbAlignMiddle", "tbAlignRight", "tbAlignJustify"})
        QCOMPARE(actionOf(*shell_, button)->isChecked(), down == QLatin1String(button));
    QCOMPARE(actionOf(*shell_, "tbRangeVisible")->isChecked(), showSelection != 0);
    QCOMPARE(actionOf(*shell_, "tbHelpVisible")->isChecked(), showHelp != 0);
    QCOMPARE(boxOf(*shell_, "cbLineSpace")->currentText(), QStringLiteral("14"));
    QCOMPARE(boxOf(*shell_, "cbPixelSize")->currentText(), QStringLiteral("33"));
    QCOMPARE(int(shell_->workspace().settings.alignment), alignment);
    QCOMPARE(shell_->workspace().settings.pixelSize, 33);
    QCOMPARE(shell_->windows().graph->surfaceSize(), QSize(8, 8));
}

void TestMainForm::textColour_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("system");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("black first") << "" << false << QColor(Qt::black);
    QTest::newRow("red") << "Red" << false << QColor(Qt::red);
    QTest::newRow("dark yellow") << "Dark Yellow" << false << QColor(Qt::darkYellow);
    QTest::newRow("an extended colour") << "orange" << false << QColor(255, 165, 0);
    QTest::newRow("a system colour") << "Highlight" << true << QColor(10, 200, 30);
}

void TestMainForm::textColour()
{
    QFETCH(QString, item);
    QFETCH(bool, system);
    QFETCH(QColor, colour);
    auto *box = boxOf(*shell_, "cbTextColor");
    QCOMPARE(box->currentIndex(), 0);
    if (!item.isEmpty())
        box->setCurrentIndex(box->findText(item));
    const QPalette original = QGuiApplication::palette();
    if (system) {
        // A system colour counts as it is when the text is tinted.
        QPalette changed = original;
        changed.setColor(QPalette::Highlight, colour);
        QApplication::setPalette(changed);
    }
    const letterloom::raster::Colour expected = letterloom::raster::fromQRgb(colour.rgb());
    QCOMPARE(shell_->windows().main->textColour(), expected);

    // The refresh tints the text with it.
    letterloom::project::Workspace &workspace = shell_->workspace();
    workspace.glyphs.setGlyphSize('A', 2, 2);
    workspace.glyphs['A'].defined = 1;
    for (auto &column : workspace.glyphs['A'].pixels)
        std::fill(column.begin(), column.end(), letterloom::raster::kBlack);
    letterloom::font::syncImage(workspace.glyphs['A']);
    workspace.settings.area = {0, 0, 60, 40};
    shell_->windows().text->setBytes("A");
    QTest::mouseClick(buttonOf(*shell_, "ToolButton13"), Qt::LeftButton);
    QApplication::setPalette(original);
    int tinted = 0;
    int black = 0;
    for (int y = 0; y < workspace.overlay.height(); ++y)
        for (int x = 0; x < workspace.overlay.width(); ++x) {
            tinted += workspace.overlay.pixel(x, y) == expected;
            black += workspace.overlay.pixel(x, y) == letterloom::raster::kBlack;
        }
    QCOMPARE(tinted, 4);
    QCOMPARE(black, expected == letterloom::raster::kBlack ? 4 : 0);
}

// "Custom..." asks the colour dialog, starting at the colour shown, and shows
// what it chose in one entry before it; a cancel leaves the colour as it was.
void TestMainForm::customColour_data()
{
    QTest::addColumn<QList<int>>("answers");  // colour dialog answers in turn, -1 cancels
    QTest::addColumn<QList<int>>("starts");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("extraEntries");
    QTest::addColumn<int>("colour");

    QTest::newRow("chosen") << QList<int>{0x563412} << QList<int>{0x000000} << "#123456" << 1 << 0x563412;
    QTest::newRow("cancelled") << QList<int>{-1} << QList<int>{0x000000} << "" << 0 << 0;
    QTest::newRow("chosen twice, one entry") << QList<int>{0x563412, 0x0000FF} << QList<int>{0x000000, 0x563412}
                                             << "#FF0000" << 1 << 0x0000FF;
    QTest::newRow("cancelled after a choice") << QList<int>{0x563412, -1} << QList<int>{0x000000, 0x563412}
                                              << "#123456" << 1 << 0x563412;
}

void TestMainForm::customColour()
{
    QFETCH(QList<int>, answers);
    QFETCH(QList<int>, starts);
    QFETCH(QString, shown);
    QFETCH(int, extraEntries);
    QFETCH(int, colour);
    auto *box = boxOf(*shell_, "cbTextColor");
    const int entries = box->count();
    QCOMPARE(box->itemText(entries - 1), QStringLiteral("Custom..."));
    for (const int answer : answers) {
        prompter_->colours.push_back(answer < 0 ? std::nullopt : std::optional(letterloom::raster::Colour(answer)));
        const int custom = box->count() - 1;
        box->setCurrentIndex(custom);
        emit box->activated(custom);
    }
    QList<int> asked;
    for (const letterloom::raster::Colour start : prompter_->colourStarts)
        asked << int(start);
    QCOMPARE(asked, starts);
    QCOMPARE(box->count(), entries + extraEntries);
    QCOMPARE(box->currentText(), shown.isEmpty() ? box->itemText(0) : shown);
    QCOMPARE(shell_->windows().main->textColour(), letterloom::raster::Colour(colour));
    // A project's colour: a listed one is that entry, another the custom one.
    shell_->windows().main->showTextColour(letterloom::raster::kRed);
    QCOMPARE(box->currentText(), QStringLiteral("Red"));
    shell_->windows().main->showTextColour(0x0A0B0C);
    QCOMPARE(box->currentText(), QStringLiteral("#0C0B0A"));
    QCOMPARE(box->count(), entries + 1);
}

void TestMainForm::windowsMenuFocusesOnlyVisibleWindows_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("visible");

    QTest::newRow("F2, image shown") << QKeySequence(Qt::Key_F2) << "graph" << true;
    QTest::newRow("F2, image closed") << QKeySequence(Qt::Key_F2) << "graph" << false;
    QTest::newRow("F6, text shown") << QKeySequence(Qt::Key_F6) << "text" << true;
    QTest::newRow("F6, text closed") << QKeySequence(Qt::Key_F6) << "text" << false;
    QTest::newRow("F4, editor hidden") << QKeySequence(Qt::Key_F4) << "fontGraph" << false;
    QTest::newRow("F4, editor shown") << QKeySequence(Qt::Key_F4) << "fontGraph" << true;
    QTest::newRow("F3, table hidden") << QKeySequence(Qt::Key_F3) << "font" << false;
    QTest::newRow("F5, tools hidden") << QKeySequence(Qt::Key_F5) << "draw" << false;
    QTest::newRow("F1, main window") << QKeySequence(Qt::Key_F1) << "main" << true;
}

void TestMainForm::windowsMenuFocusesOnlyVisibleWindows()
{
    QFETCH(QKeySequence, key);
    QFETCH(QString, window);
    QFETCH(bool, visible);
    const letterloom::ui::Windows &windows = shell_->windows();
    const QHash<QString, QWidget *> byName = {
        {"main", windows.main}, {"graph", windows.graph},     {"text", windows.text},
        {"font", windows.font}, {"fontGraph", windows.fontGraph}, {"draw", windows.draw},
    };
    QWidget *target = byName.value(window);
    shell_->show();
    if (visible)
        target->show();
    else
        target->hide();
    // The keys are typed in the other tool window, which has the keyboard.
    QWidget *typing = target == windows.text ? static_cast<QWidget *>(windows.graph) : windows.text;
    QVERIFY(activate(*shell_, typing));

    QTest::keySequence(typing, key);
    QCOMPARE(target->isVisible(), visible);
    if (visible)
        QTRY_COMPARE(QApplication::activeWindow(), target);
    else
        QCOMPARE(QApplication::activeWindow(), typing);
}

void TestMainForm::showItemsBringClosedWindowsBack_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("image");

    QTest::newRow("Show Image") << "mmShowBitmap" << true;
    QTest::newRow("Show Text") << "mmShowText" << false;
}

void TestMainForm::showItemsBringClosedWindowsBack()
{
    QFETCH(QString, item);
    QFETCH(bool, image);
    QWidget *window = image ? static_cast<QWidget *>(shell_->windows().graph) : shell_->windows().text;
    shell_->show();
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    actionOf(*shell_, item)->trigger();
    QVERIFY(window->isVisible());
}

// Help Contents opens the help file, or the user manual where there is none;
// when the platform cannot open it, the manual shows in the program's own
// window; with neither there, a notice says so.
void TestMainForm::helpContents_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<bool>("platformOpens");
    QTest::addColumn<QString>("opened");  // what the platform was asked to open
    QTest::addColumn<bool>("ownWindow");
    QTest::addColumn<QStringList>("log");

    const QStringList both{"help.chm", "manual/index.html"};
    const QStringList manual{"manual/index.html"};
    QTest::newRow("the help file") << both << true << "help.chm" << false << QStringList();
    QTest::newRow("no help file: the manual") << manual << true << "manual/index.html" << false << QStringList();
    QTest::newRow("the manual, no browser") << manual << false << "manual/index.html" << true << QStringList();
    QTest::newRow("a help file nothing opens") << both << false << "help.chm" << true << QStringList();
    QTest::newRow("nothing there") << QStringList() << true << "" << false
                                   << QStringList{"notice: The user manual is missing: the folder \"manual\" "
                                                  "beside the program holds it."};
}

void TestMainForm::helpContents()
{
    QFETCH(QStringList, present);
    QFETCH(bool, platformOpens);
    QFETCH(QString, opened);
    QFETCH(bool, ownWindow);
    QFETCH(QStringList, log);
    QTemporaryDir program;
    QDir().mkpath(program.filePath(QStringLiteral("manual")));
    for (const QString &name : present)
        writeFile(program.filePath(name), "<html><head><title>The manual</title></head><body>Hello</body></html>");
    FakePrompter prompter;
    Shell shell(prompter, program.path());
    QList<QUrl> asked;
    shell.windows().main->setDocumentOpener([&](const QUrl &document, const std::function<void()> &cannot) {
        asked << document;
        if (!platformOpens)
            cannot();
    });

    actionOf(shell, "mmContentHelp")->trigger();
    QCOMPARE(asked, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl::fromLocalFile(program.filePath(opened))});
    QCOMPARE(prompter.log, log);
    auto *help = shell.windows().main->findChild<letterloom::ui::HelpWindow *>(QStringLiteral("helpWindow"));
    QCOMPARE(help && help->isVisible(), ownWindow);
    if (ownWindow) {
        QCOMPARE(help->page(), QUrl::fromLocalFile(program.filePath(QStringLiteral("manual/index.html"))));
        QCOMPARE(help->windowTitle(), QStringLiteral("The manual"));
        QVERIFY(help->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }
}

void TestMainForm::aboutBox()
{
    actionOf(*shell_, "mmAbout")->trigger();
    QCOMPARE(prompter_->log.size(), 1);
    const QStringList lines = prompter_->entries(QStringLiteral("information")).value(0).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 12);
    QCOMPARE(lines.first(), QStringLiteral("Program for drawing text with raster font."));
    for (int credit = 1; credit <= 4; ++credit)
        QVERIFY(!lines[credit].isEmpty());
    QCOMPARE(lines.mid(5, 6), (QStringList{"Version: 1.0", "",
                                           "Warning! This program is not very useful for experienced",
                                           "romhackers or programmers since they have better programs.",
                                           "The program aimed for begginers. =)", ""}));
    QVERIFY(lines.last().contains(u"2026"));
}

void TestMainForm::closeQuery_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");

    QTest::newRow("clean, Exit") << "Exit" << false << -1 << true;
    QTest::newRow("clean, Alt+F4") << "Alt+F4" << false << -1 << true;
    QTest::newRow("changed, No") << "Exit" << true << int(Answer::No) << true;
    QTest::newRow("changed, Cancel") << "Exit" << true << int(Answer::Cancel) << false;
    QTest::newRow("changed, close box, Cancel") << "close" << true << int(Answer::Cancel) << false;
    QTest::newRow("changed, Alt+F4, No") << "Alt+F4" << true << int(Answer::No) << true;
}

void TestMainForm::closeQuery()
{
    QFETCH(QString, how);
    QFETCH(bool, changed);
    QFETCH(int, answer);
    QFETCH(bool, closed);
    TmainForm *main = shell_->windows().main;
    QVERIFY(activate(*shell_, main));
    shell_->workspace().textChanged = changed;
    if (answer >= 0)
        prompter_->answer(Answer(answer));

    if (how == u"Exit")
        actionOf(*shell_, "mmClose")->trigger();
    else if (how == u"Alt+F4")
        QTest::keySequence(main, QKeySequence(Qt::ALT | Qt::Key_F4));
    else
        main->close();

    QCOMPARE(!main->isVisible(), closed);
    const QStringList questions = prompter_->entries(QStringLiteral("askCancel"));
    if (changed)
        QCOMPARE(questions, QStringList{"Text in the project has been changed. Save it before closing?"});
    else
        QCOMPARE(questions, QStringList());
}

void TestMainForm::failuresEndInTheErrorBox_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");

    QTest::newRow("picture that is no BMP") << "mmLoadBitmap" << "notes.bmp" << QByteArray("hello")
                                            << "Bitmap image is not valid";
    QTest::newRow("missing project") << "mmLoadProject" << "gone.llp" << QByteArray() << "File not found";
    QTest::newRow("missing text") << "mmLoadText" << "gone.txt" << QByteArray() << "File not found";
}

void TestMainForm::failuresEndInTheErrorBox()
{
    QFETCH(QString, item);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const QString path = dir_.filePath(file);
    if (!bytes.isEmpty())
        writeFile(path, bytes);
    prompter_->chooseFile(path);
    actionOf(*shell_, item)->trigger();
    QCOMPARE(prompter_->errors(), QStringList{error});

    // The program goes on: the next command runs as usual.
    prompter_->cancelFile();
    actionOf(*shell_, "mmLoadBitmap")->trigger();
    QCOMPARE(prompter_->log.last(), "open: " + kPictureFilter);
}

QTEST_MAIN(TestMainForm)
#include "tst_main_form.moc"
