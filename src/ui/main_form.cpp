#include "ui/main_form.h"

#include "project/project_commands.h"
#include "project/view_zoom.h"
#include "project/workspace.h"
#include "text/decimal.h"
#include "text/render.h"
#include "ui/colour_box.h"
#include "ui/draw_form.h"
#include "ui/effects_form.h"
#include "ui/font_form.h"
#include "ui/font_graph_form.h"
#include "ui/graph_form.h"
#include "ui/help.h"
#include "ui/shell_effects.h"
#include "ui/text_form.h"
#include "ui/tool_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSignalBlocker>
#include <QToolBar>
#include <QUrl>

namespace letterloom::ui {

namespace {

const QString kMainCaption = QStringLiteral("Letterloom v1.0");
const QString kNoHelp = QStringLiteral("The user manual is missing: the folder \"manual\" beside the program holds it.");
constexpr int kToolBarHeight = 29;
constexpr int kSeparatorWidth = 8;
constexpr int kNumberBoxWidth = 59;
constexpr int kColourBoxWidth = 145;
// The status line fits under the toolbars, frame and menu bar included.
constexpr int kStatusFontPixels = 11;
constexpr int kStatusMilliseconds = 16;

// One line of a menu: a separator when its caption is "-".
struct MenuItem {
    const char *name;
    const char *caption;
    QKeySequence shortcut;
    void (TmainForm::*click)();
};

struct Menu {
    const char *title;
    std::vector<MenuItem> items;
};

QIcon toolIcon(const char *name)
{
    return QIcon(QStringLiteral(":/icons/main_%1.svg").arg(QLatin1String(name)));
}

// The box shows a value: as the list's item when it has one, else typed.
void showNumber(QComboBox *box, std::int32_t value)
{
    const QSignalBlocker blocker(box);
    const QString text = QString::number(value);
    const int index = box->findText(text);
    if (index >= 0)
        box->setCurrentIndex(index);
    box->setEditText(text);
}

// A Windows menu item gives the keyboard to its window only while the window
// is shown and can take it; a hidden window stays hidden.
void focusIfVisible(QWidget *window)
{
    if (window && window->isVisible() && window->isEnabled()) {
        window->raise();
        window->activateWindow();
    }
}

// The text of the about box, lines separated by CR LF.
QString aboutText()
{
    return QStringList{
        QStringLiteral("Program for drawing text with raster font."),
        QStringLiteral("Design: the Letterloom developers"),
        QStringLiteral("Programming: the Letterloom developers"),
        QStringLiteral("Icons: drawn for Letterloom"),
        QStringLiteral("Thanks to everyone who tried the early versions"),
        QStringLiteral("Version: 1.0"),
        QString(),
        QStringLiteral("Warning! This program is not very useful for experienced"),
        QStringLiteral("romhackers or programmers since they have better programs."),
        QStringLiteral("The program aimed for begginers. =)"),
        QString(),
        QStringLiteral("Copyright (c) 2026 the Letterloom developers. All rights reserved."),
    }.join(QStringLiteral("\r\n"));
}

}  // namespace

TmainForm::TmainForm(Context &context, QWidget *parent)
    : QMainWindow(parent), context_(context)
{
    context_.windows.main = this;
    setObjectName(QStringLiteral("mainForm"));
    project::Workspace &workspace = context_.workspace;

    // A strip of the screen's width across its top, holding the menus and
    // toolbars. Its height, frame included, ends above the tool windows.
    move(0, 0);
    resize(QGuiApplication::primaryScreen()->geometry().width(), kMaximumHeight);
    setMaximumOuterHeight(this, kMaximumHeight);
    whenFramed(this, [this] {
        setMaximumOuterHeight(this, kMaximumHeight);
        // Shrinking to the new bound took the window out of its maximised state.
        setWindowState(windowState() | Qt::WindowMaximized);
    });
    setWindowState(Qt::WindowMaximized);
    setContextMenuPolicy(Qt::NoContextMenu);

    workspace.projectPath.clear();
    setCaption(kMainCaption);
    workspace.settings.showSelection = 1;
    workspace.settings.showHelp = 1;
    workspace.picture = raster::Raster();
    workspace.settings.alignment = text::kAlignLeft;
    workspace.bumpRevision();

    createMenus();
    createToolBars();
    createStatusLine();
    // The text input window and the character table do not exist yet; the
    // reset leaves them out.
    run([&] { context_.commands.resetProject(); });
}

void TmainForm::run(const std::function<void()> &body)
{
    project::runCommand(context_.prompter, body);
}

QAction *TmainForm::action(const char *name) const
{
    return findChild<QAction *>(QLatin1String(name));
}

void TmainForm::createMenus()
{
    const std::vector<Menu> menus = {
        {"Project",
         {{"mmNewProject", "New", QKeySequence(Qt::CTRL | Qt::Key_N), &TmainForm::mmNewProjectClick},
          {"mmSpace1", "-", {}, nullptr},
          {"mmLoadProject", "Open...", QKeySequence(Qt::CTRL | Qt::Key_O), &TmainForm::mmLoadProjectClick},
          {"mmSaveProject", "Save", QKeySequence(Qt::CTRL | Qt::Key_S), &TmainForm::mmSaveProjectClick},
          {"mmSaveAsProject", "Save As...", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_S),
           &TmainForm::mmSaveAsProjectClick},
          {"mmSpace2", "-", {}, nullptr},
          {"mmExportBitmap", "Image Export", {}, &TmainForm::mmExportBitmapClick},
          {"mmSpace3", "-", {}, nullptr},
          {"mmClose", "Exit", QKeySequence(Qt::ALT | Qt::Key_F4), &TmainForm::mmCloseClick}}},
        {"Font",
         {{"mmLoadFont", "Open Font...", QKeySequence(Qt::CTRL | Qt::Key_F), &TmainForm::mmLoadFontClick},
          {"mmSaveFont", "Save Font", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F), &TmainForm::mmSaveFontClick},
          {"mmEditFont", "Edit Font", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F), &TmainForm::mmEditFontClick},
          {"mmSpace7", "-", {}, nullptr},
          {"mmImportGrid", "Import from Picture...", {}, &TmainForm::mmImportGridClick},
          {"mmExportGrid", "Export Picture Grid...", {}, &TmainForm::mmExportGridClick},
          {"mmCharMap", "Character Map...", {}, &TmainForm::mmCharMapClick},
          {"mmKerning", "Kerning...", {}, &TmainForm::mmKerningClick}}},
        {"Edit",
         {{"mmLoadBitmap", "Load Image...", QKeySequence(Qt::CTRL | Qt::Key_I), &TmainForm::mmLoadBitmapClick},
          {"mmShowBitmap", "Show Image", {}, &TmainForm::mmShowBitmapClick},
          {"mmTextArea", "Text Area...", {}, &TmainForm::mmTextAreaClick},
          {"mmNextArea", "Next Text Area", QKeySequence(Qt::CTRL | Qt::Key_PageDown), &TmainForm::mmNextAreaClick},
          {"mmPreviousArea", "Previous Text Area", QKeySequence(Qt::CTRL | Qt::Key_PageUp),
           &TmainForm::mmPreviousAreaClick},
          {"mmNewArea", "New Text Area", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_N), &TmainForm::mmNewAreaClick},
          {"mmDeleteArea", "Delete Text Area", {}, &TmainForm::mmDeleteAreaClick},
          {"mmTextEffects", "Text Effects...", {}, &TmainForm::mmTextEffectsClick},
          {"mmTextSpacing", "Text Spacing...", {}, &TmainForm::mmTextSpacingClick},
          {"mmFitText", "Fit Text", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_T), &TmainForm::mmFitTextClick},
          {"mmSpace4", "-", {}, nullptr},
          {"mmLoadText", "Load Text...", QKeySequence(Qt::CTRL | Qt::Key_T), &TmainForm::mmLoadTextClick},
          {"mmShowText", "Show Text", {}, &TmainForm::mmShowTextClick},
          {"mmClearText", "Clear Text", {}, &TmainForm::mmClearTextClick},
          {"mmSpace5", "-", {}, nullptr},
          {"mmResetText", "Refresh", QKeySequence(Qt::Key_F9), &TmainForm::mmResetTextClick},
          {"mmLiveRefresh", "Live Refresh", {}, &TmainForm::mmLiveRefreshClick}}},
        {"Windows",
         {{"mmMainWindow", "Main window", QKeySequence(Qt::Key_F1), &TmainForm::mmMainWindowClick},
          {"mmBitmapWindow", "Image", QKeySequence(Qt::Key_F2), &TmainForm::mmBitmapWindowClick},
          {"mmTableGCharsWindow", "Character Table", QKeySequence(Qt::Key_F3),
           &TmainForm::mmTableGCharsWindowClick},
          {"mmGCharWindow", "Draw Character", QKeySequence(Qt::Key_F4), &TmainForm::mmGCharWindowClick},
          {"mmDrawWindow", "Drawing Tools", QKeySequence(Qt::Key_F5), &TmainForm::mmDrawWindowClick},
          {"mmTextWindow", "Text Input Window", QKeySequence(Qt::Key_F6), &TmainForm::mmTextWindowClick}}},
        {"Help",
         {{"mmContentHelp", "Help Contents", QKeySequence(Qt::SHIFT | Qt::Key_F1), &TmainForm::mmContentHelpClick},
          {"mmSpace6", "-", {}, nullptr},
          {"mmAbout", "About", {}, &TmainForm::mmAboutClick}}},
    };

    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    for (const Menu &menu : menus) {
        QMenu *dropDown = bar->addMenu(QLatin1String(menu.title));
        for (const MenuItem &item : menu.items) {
            QAction *entry = item.click ? dropDown->addAction(QLatin1String(item.caption)) : dropDown->addSeparator();
            entry->setObjectName(QLatin1String(item.name));
            if (!item.click)
                continue;
            // The shortcuts work from every window of the program, but not
            // past a modal dialog, and not while their item is disabled.
            entry->setShortcut(item.shortcut);
            entry->setShortcutContext(Qt::ApplicationShortcut);
            connect(entry, &QAction::triggered, this, item.click);
        }
    }
    action("mmResetText")->setEnabled(false);
    QAction *live = action("mmLiveRefresh");
    live->setCheckable(true);
    live->setChecked(context_.commands.liveRefresh().isOn());

    // Project > Open Recent, under Open...
    QAction *open = action("mmLoadProject");
    auto *projectMenu = qobject_cast<QMenu *>(open->parent());
    recentMenu_ = new QMenu(QStringLiteral("Open &Recent"), projectMenu);
    recentMenu_->setObjectName(QStringLiteral("mmOpenRecent"));
    recentMenu_->menuAction()->setObjectName(QStringLiteral("mmOpenRecentMenu"));
    const QList<QAction *> items = projectMenu->actions();
    projectMenu->insertMenu(items.value(items.indexOf(open) + 1), recentMenu_);
    connect(projectMenu, &QMenu::aboutToShow, this, &TmainForm::fillRecentMenu);
    fillRecentMenu();

    // Windows > Zoom, the image view's zoom. Its keys (Ctrl++, Ctrl+-, Ctrl+0)
    // and Ctrl with the wheel belong to the image view's window alone.
    auto *windowsMenu = qobject_cast<QMenu *>(action("mmTextWindow")->parent());
    windowsMenu->addSeparator()->setObjectName(QStringLiteral("mmSpace8"));
    zoomMenu_ = windowsMenu->addMenu(QStringLiteral("&Zoom"));
    zoomMenu_->setObjectName(QStringLiteral("mmZoom"));
    zoomMenu_->menuAction()->setObjectName(QStringLiteral("mmZoomMenu"));
    auto *zoomGroup = new QActionGroup(zoomMenu_);
    for (const int zoom : project::kZoomLevels) {
        QAction *item = zoomMenu_->addAction(QStringLiteral("&%1\u00D7").arg(zoom));
        item->setObjectName(QStringLiteral("mmZoom%1").arg(zoom));
        item->setCheckable(true);
        zoomGroup->addAction(item);
        connect(item, &QAction::triggered, this, [this, zoom] {
            if (context_.windows.graph)
                context_.windows.graph->setZoom(zoom);
        });
    }
    connect(zoomMenu_, &QMenu::aboutToShow, this, &TmainForm::showZoom);
}

void TmainForm::showZoom()
{
    if (context_.windows.graph)
        action(qPrintable(QStringLiteral("mmZoom%1").arg(context_.windows.graph->zoom())))->setChecked(true);
}

void TmainForm::fillRecentMenu()
{
    recentMenu_->clear();
    const QStringList paths = context_.commands.recentProjects().paths();
    for (int i = 0; i < paths.size(); ++i) {
        // The first nine have their digit as access key, the tenth 0.
        const QString key = i < 9 ? QString::number(i + 1) : QStringLiteral("1&0");
        QString shown = QDir::toNativeSeparators(paths[i]);
        shown.replace(u'&', QStringLiteral("&&"));
        QAction *item = recentMenu_->addAction((i < 9 ? u'&' + key : key) + u' ' + shown);
        item->setObjectName(QStringLiteral("mmRecent%1").arg(i + 1));
        const QString path = paths[i];
        connect(item, &QAction::triggered, this, [this, path] { mmOpenRecentClick(path); });
    }
    recentMenu_->setEnabled(!paths.isEmpty());
}

void TmainForm::createStatusLine()
{
    // A line under the toolbars, inside the strip's 112 pixels.
    QStatusBar *line = statusBar();
    line->setObjectName(QStringLiteral("StatusBar"));
    line->setSizeGripEnabled(false);
    QFont small = line->font();
    small.setPixelSize(kStatusFontPixels);
    line->setFont(small);
    line->setContentsMargins(0, 0, 0, 0);
    line->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
    pointerLabel_ = new QLabel(line);
    pointerLabel_->setObjectName(QStringLiteral("stPointer"));
    pointerLabel_->setMinimumWidth(QFontMetrics(small).horizontalAdvance(QStringLiteral("Pointer: x 00000, y 00000")));
    areaLabel_ = new QLabel(line);
    areaLabel_->setObjectName(QStringLiteral("stArea"));
    overflowLabel_ = new QLabel(line);
    overflowLabel_->setObjectName(QStringLiteral("stOverflow"));
    overflowLabel_->setStyleSheet(QStringLiteral("color: red;"));
    line->addWidget(pointerLabel_);
    line->addWidget(areaLabel_);
    line->addWidget(overflowLabel_);

    statusTimer_ = new QTimer(this);
    statusTimer_->setObjectName(QStringLiteral("StatusTimer"));
    statusTimer_->setInterval(kStatusMilliseconds);
    connect(statusTimer_, &QTimer::timeout, this, &TmainForm::StatusTimerTimer);
    statusTimer_->start();
    StatusTimerTimer();
}

void TmainForm::StatusTimerTimer()
{
    const project::Workspace &workspace = context_.workspace;
    const Windows &windows = context_.windows;
    QString pointer;
    if (windows.graph) {
        if (const std::optional<QPoint> at = windows.graph->pointerPixel())
            pointer = QStringLiteral("Pointer: x %1, y %2").arg(at->x()).arg(at->y());
    }
    const project::TextArea &area = workspace.settings.area;
    const QString areaText = QStringLiteral("Text area: x %1, y %2, width %3, height %4")
                                 .arg(area.x)
                                 .arg(area.y)
                                 .arg(area.width)
                                 .arg(area.height);
    if (pointerLabel_->text() != pointer)
        pointerLabel_->setText(pointer);
    if (areaLabel_->text() != areaText)
        areaLabel_->setText(areaText);
    const QString overflow = project::overflowStatus(workspace);
    if (overflowLabel_->text() != overflow)
        overflowLabel_->setText(overflow);
    setWindowModified(workspace.projectChanged());
    if (windows.font)
        windows.font->setWindowModified(workspace.fontModified);
    // New, Open and a change of area bring other effects.
    if (windows.effects && windows.effects->isVisible()
        && (windows.effects->effects() != workspace.effects || windows.effects->spacing() != workspace.spacing))
        windows.effects->showEffects();
}

void TmainForm::setCaption(const QString &caption)
{
    setDocumentCaption(this, caption);
}

QAction *TmainForm::addToolButton(QToolBar *bar, const char *name, const QString &hint, const char *icon,
                                  const std::function<void()> &click)
{
    QAction *button = bar->addAction(toolIcon(icon), hint);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    connect(button, &QAction::triggered, this, [click] { click(); });
    return button;
}

QAction *TmainForm::addToggle(QToolBar *bar, const char *name, const QString &hint, const char *icon,
                              const std::function<void(bool)> &click)
{
    QAction *button = bar->addAction(toolIcon(icon), hint);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setCheckable(true);
    button->setChecked(true);
    if (click)
        connect(button, &QAction::triggered, this, [click](bool down) { click(down); });
    return button;
}

QComboBox *TmainForm::addNumberBox(QToolBar *bar, const char *name, const QString &hint, const QStringList &items,
                                   std::int32_t value, void (TmainForm::*change)(const QString &))
{
    auto *box = new QComboBox(bar);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    // Typed values are taken but never added to the list.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setFixedWidth(kNumberBoxWidth);
    box->setToolTip(hint);
    showNumber(box, value);
    connect(box, &QComboBox::editTextChanged, this, change);
    bar->addWidget(box);
    return box;
}

void TmainForm::createToolBars()
{
    project::Workspace &workspace = context_.workspace;
    int separators = 0;
    const auto addSeparator = [&separators](QToolBar *bar) {
        bar->addSeparator()->setObjectName(QStringLiteral("tbSpace%1").arg(++separators));
    };
    const auto makeBar = [this](const char *name) {
        auto *bar = new QToolBar(this);
        bar->setObjectName(QLatin1String(name));
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setIconSize(QSize(16, 16));
        bar->setFixedHeight(kToolBarHeight);
        bar->setStyleSheet(QStringLiteral("QToolBar::separator { width: %1px; }").arg(kSeparatorWidth));
        return bar;
    };
    const auto clickItem = [this](const char *item) { return [this, item] { action(item)->trigger(); }; };

    QToolBar *bar = makeBar("ToolBar");
    addToolBar(Qt::TopToolBarArea, bar);
    addSeparator(bar);
    alignmentGroup_ = new QActionGroup(this);
    alignmentGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    const struct {
        const char *name;
        const char *hint;
        const char *icon;
        std::uint8_t alignment;
    } alignments[] = {
        {"tbAlignLeft", "Align Left", "align_left", text::kAlignLeft},
        {"tbAlignMiddle", "Center Align", "align_centre", text::kAlignCentre},
        {"tbAlignRight", "Align Right", "align_right", text::kAlignRight},
        {"tbAlignJustify", "Align Horisontally", "align_justify", text::kAlignJustify},
    };
    for (const auto &entry : alignments) {
        const std::uint8_t alignment = entry.alignment;
        QAction *button = addToggle(bar, entry.name, QLatin1String(entry.hint), entry.icon,
                                    [&workspace, alignment](bool) { workspace.settings.alignment = alignment; });
        button->setChecked(alignment == workspace.settings.alignment);
        alignmentGroup_->addAction(button);
    }
    addSeparator(bar);
    addToggle(bar, "tbRangeVisible", QStringLiteral("Show Selection"), "show_selection", [&workspace](bool down) {
        workspace.settings.showSelection = down ? 1 : 0;
        workspace.bumpRevision();
    });
    addToggle(bar, "tbHelpVisible", QStringLiteral("Show Help"), "show_help", [&workspace](bool down) {
        workspace.settings.showHelp = down ? 1 : 0;
        workspace.bumpRevision();
    });
    addSeparator(bar);
    addToolButton(bar, "tbLoadBitmap", QStringLiteral("Load Image..."), "load_image", clickItem("mmLoadBitmap"));
    addToolButton(bar, "tbLoadText", QStringLiteral("Load Text..."), "load_text", clickItem("mmLoadText"));
    addSeparator(bar);
    addToolButton(bar, "tbLoadFont", QStringLiteral("Open Font..."), "open_font", clickItem("mmLoadFont"));
    addToolButton(bar, "tbSaveFont", QStringLiteral("Save Font"), "save_font", clickItem("mmSaveFont"));
    addToolButton(bar, "tbEditFont", QStringLiteral("Edit Font"), "edit_font", clickItem("mmEditFont"));
    addSeparator(bar);
    // Unlike the menu item, this button refreshes whether or not a picture is loaded.
    addToolButton(bar, "ToolButton13", QStringLiteral("Refresh"), "refresh", [this] { ToolButton13Click(); });
    addSeparator(bar);

    addToolBarBreak(Qt::TopToolBarArea);
    bar = makeBar("ToolBar1");
    addToolBar(Qt::TopToolBarArea, bar);
    addSeparator(bar);
    struct NudgeButton {
        const char *name;
        const char *hint;
        const char *icon;
        void (TmainForm::*click)();
    };
    // Each group starts with the toggle of its step.
    const struct {
        const char *toggle;
        NudgeButton buttons[4];
    } nudgeGroups[] = {
        {"tb5x1",
         {{"tbRangeLeft", "Shift Left", "shift_left", &TmainForm::tbRangeLeftClick},
          {"tbRangeRight", "Shift Right", "shift_right", &TmainForm::tbRangeRightClick},
          {"tbRangeUp", "Shift Up", "shift_up", &TmainForm::tbRangeUpClick},
          {"tbRangeDown", "Shift Down", "shift_down", &TmainForm::tbRangeDownClick}}},
        {"tb5x2",
         {{"tbRangeWidthInc", "Increase Width", "width_inc", &TmainForm::tbRangeWidthIncClick},
          {"tbRangeWidthDec", "Decrease Width", "width_dec", &TmainForm::tbRangeWidthDecClick},
          {"tbRangeHeightInc", "Increase Height", "height_inc", &TmainForm::tbRangeHeightIncClick},
          {"tbRangeHeightDec", "Decrease Height", "height_dec", &TmainForm::tbRangeHeightDecClick}}},
    };
    for (const auto &group : nudgeGroups) {
        addToggle(bar, group.toggle, QStringLiteral("5 Pixel Shift"), "step5");
        for (const NudgeButton &entry : group.buttons) {
            const auto click = entry.click;
            addToolButton(bar, entry.name, QLatin1String(entry.hint), entry.icon, [this, click] { (this->*click)(); });
        }
        addSeparator(bar);
    }
    lineSpaceBox_ = addNumberBox(bar, "cbLineSpace", QStringLiteral("Distance Between Lines, px"),
                                 {"5", "6", "7", "8", "9", "10", "12", "14", "16", "18", "20"},
                                 workspace.settings.lineSpacing, &TmainForm::cbLineSpaceChange);
    addSeparator(bar);
    pixelSizeBox_ = addNumberBox(bar, "cbPixelSize", QStringLiteral("Pixel Size"),
                                 {"10", "12", "14", "16", "18", "20", "25", "30", "40"},
                                 workspace.settings.pixelSize, &TmainForm::cbPixelSizeChange);
    addSeparator(bar);
    textColourBox_ = new ColourBox(bar);
    textColourBox_->setObjectName(QStringLiteral("cbTextColor"));
    textColourBox_->setFixedWidth(kColourBoxWidth);
    // The box's hint is kept for assistive tools but not shown as a tooltip.
    textColourBox_->setAccessibleName(QStringLiteral("Font Color"));
    textColourBox_->setChooser([this](raster::Colour start) { return context_.prompter.chooseColour(start); });
    bar->addWidget(textColourBox_);
    addSeparator(bar);
}

raster::Colour TmainForm::textColour() const
{
    return textColourBox_->currentColour();
}

void TmainForm::showTextColour(raster::Colour colour)
{
    textColourBox_->showColour(colour);
}

void TmainForm::setRefreshEnabled(bool enabled)
{
    action("mmResetText")->setEnabled(enabled);
}

void TmainForm::showSettings(const project::ProjectSettings &settings)
{
    const char *alignmentButtons[] = {"tbAlignLeft", "tbAlignMiddle", "tbAlignRight", "tbAlignJustify"};
    if (settings.alignment >= text::kAlignLeft && settings.alignment <= text::kAlignJustify)
        action(alignmentButtons[settings.alignment - 1])->setChecked(true);
    action("tbRangeVisible")->setChecked(settings.showSelection != 0);
    action("tbHelpVisible")->setChecked(settings.showHelp != 0);
    showNumber(lineSpaceBox_, settings.lineSpacing);
    showNumber(pixelSizeBox_, settings.pixelSize);
}

void TmainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (context_.windows.text)
        context_.windows.text->show();
    if (context_.windows.graph)
        context_.windows.graph->show();
}

void TmainForm::closeEvent(QCloseEvent *event)
{
    // A failed save on the way out keeps the program running with the work.
    bool mayClose = false;
    run([&] { mayClose = context_.commands.closeQuery(); });
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

void TmainForm::mmNewProjectClick()
{
    run([this] { context_.commands.newProject(); });
}

void TmainForm::mmLoadProjectClick()
{
    run([this] { context_.commands.openProject(); });
}

void TmainForm::mmOpenRecentClick(const QString &path)
{
    run([this, path] { context_.commands.openRecentProject(path); });
}

void TmainForm::mmSaveProjectClick()
{
    run([this] { context_.commands.saveProject(); });
}

void TmainForm::mmSaveAsProjectClick()
{
    run([this] { context_.commands.saveProjectAs(); });
}

void TmainForm::mmExportBitmapClick()
{
    if (context_.windows.graph)
        context_.windows.graph->exportImage();
}

void TmainForm::mmCloseClick()
{
    close();
}

void TmainForm::mmLoadFontClick()
{
    run([this] { context_.commands.openFont(); });
}

void TmainForm::mmSaveFontClick()
{
    run([this] { context_.commands.saveFont(); });
}

void TmainForm::mmImportGridClick()
{
    run([this] { context_.commands.importPictureGrid(); });
}

void TmainForm::mmExportGridClick()
{
    run([this] { context_.commands.exportPictureGrid(); });
}

void TmainForm::mmEditFontClick()
{
    bringBack(context_.windows.font);
}

void TmainForm::mmCharMapClick()
{
    run([this] { context_.commands.chooseCharMap(); });
}

void TmainForm::mmKerningClick()
{
    run([this] { context_.commands.editKerning(); });
}

void TmainForm::mmLoadBitmapClick()
{
    run([this] { context_.commands.loadImage(); });
}

void TmainForm::mmShowBitmapClick()
{
    bringBack(context_.windows.graph);
}

void TmainForm::mmTextAreaClick()
{
    run([this] { context_.commands.editTextArea(); });
}

void TmainForm::mmNextAreaClick()
{
    run([this] { context_.commands.nextTextArea(); });
}

void TmainForm::mmPreviousAreaClick()
{
    run([this] { context_.commands.previousTextArea(); });
}

void TmainForm::mmNewAreaClick()
{
    run([this] { context_.commands.newTextArea(); });
}

void TmainForm::mmDeleteAreaClick()
{
    run([this] { context_.commands.deleteTextArea(); });
}

void TmainForm::mmTextEffectsClick()
{
    Windows &windows = context_.windows;
    if (!windows.effects)
        windows.effects = new TeffectsForm(context_, this);
    windows.effects->showEffects();
    bringBack(windows.effects);
}

void TmainForm::mmTextSpacingClick()
{
    mmTextEffectsClick();
    context_.windows.effects->focusSpacing();
}

void TmainForm::mmFitTextClick()
{
    run([this] { context_.commands.fitText(); });
}

void TmainForm::mmLoadTextClick()
{
    run([this] { context_.commands.loadText(); });
}

void TmainForm::mmShowTextClick()
{
    bringBack(context_.windows.text);
}

void TmainForm::mmClearTextClick()
{
    run([this] { context_.commands.clearText(); });
}

void TmainForm::mmResetTextClick()
{
    run([this] { context_.commands.refresh(); });
}

void TmainForm::mmLiveRefreshClick()
{
    context_.commands.liveRefresh().setOn(action("mmLiveRefresh")->isChecked());
}

void TmainForm::ToolButton13Click()
{
    run([this] { context_.commands.refresh(); });
}

void TmainForm::mmMainWindowClick()
{
    focusIfVisible(this);
}

void TmainForm::mmBitmapWindowClick()
{
    focusIfVisible(context_.windows.graph);
}

void TmainForm::mmTableGCharsWindowClick()
{
    focusIfVisible(context_.windows.font);
}

void TmainForm::mmGCharWindowClick()
{
    focusIfVisible(context_.windows.fontGraph);
}

void TmainForm::mmDrawWindowClick()
{
    focusIfVisible(context_.windows.draw);
}

void TmainForm::mmTextWindowClick()
{
    focusIfVisible(context_.windows.text);
}

void TmainForm::mmContentHelpClick()
{
    const QString document = helpDocument(context_.workspace.programDirectory);
    if (document.isEmpty()) {
        context_.prompter.notice(kNoHelp);
        return;
    }
    // Where the platform has nothing to open it with, the manual shows in a
    // window of the program's own.
    const QPointer<TmainForm> self(this);
    openDocument_(QUrl::fromLocalFile(document), [self] {
        if (self)
            self->showManual();
    });
}

void TmainForm::setDocumentOpener(DocumentOpener opener)
{
    openDocument_ = std::move(opener);
}

void TmainForm::showManual()
{
    const QString manual = context_.workspace.programDirectory + QStringLiteral("manual/index.html");
    if (!QFileInfo(manual).isFile())
        return;
    if (!help_)
        help_ = new HelpWindow(this);
    help_->showPage(manual);
}

void TmainForm::mmAboutClick()
{
    context_.prompter.information(aboutText());
}

// The move buttons step by tb5x1, the size buttons by tb5x2.
void TmainForm::tbRangeLeftClick()
{
    nudge(project::Nudge::Left, "tb5x1");
}

void TmainForm::tbRangeRightClick()
{
    nudge(project::Nudge::Right, "tb5x1");
}

void TmainForm::tbRangeUpClick()
{
    nudge(project::Nudge::Up, "tb5x1");
}

void TmainForm::tbRangeDownClick()
{
    nudge(project::Nudge::Down, "tb5x1");
}

void TmainForm::tbRangeWidthIncClick()
{
    nudge(project::Nudge::WidthInc, "tb5x2");
}

void TmainForm::tbRangeWidthDecClick()
{
    nudge(project::Nudge::WidthDec, "tb5x2");
}

void TmainForm::tbRangeHeightIncClick()
{
    nudge(project::Nudge::HeightInc, "tb5x2");
}

void TmainForm::tbRangeHeightDecClick()
{
    nudge(project::Nudge::HeightDec, "tb5x2");
}

void TmainForm::nudge(project::Nudge nudge, const char *stepToggle)
{
    if (!context_.windows.graph)
        return;
    project::nudgeTextArea(context_.workspace, nudge, action(stepToggle)->isChecked(),
                           context_.windows.graph->surfaceSize());
}

void TmainForm::cbLineSpaceChange(const QString &text)
{
    const QByteArray digits = text.toLatin1();
    if (!text::IsAllDigits(digits))
        return;
    context_.workspace.settings.lineSpacing = text::DigitsToInt(digits);
}

void TmainForm::cbPixelSizeChange(const QString &text)
{
    const QByteArray digits = text.toLatin1();
    if (!text::IsAllDigits(digits))
        return;
    project::Workspace &workspace = context_.workspace;
    workspace.settings.pixelSize = text::DigitsToInt(digits);
    workspace.bumpRevision();
    if (workspace.glyphs[workspace.currentGlyph].defined && context_.windows.fontGraph)
        run([this] { context_.windows.fontGraph->fitToGlyph(); });
}

}  // namespace letterloom::ui
