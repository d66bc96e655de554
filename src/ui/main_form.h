#pragma once

#include "project/settings.h"
#include "project/text_area.h"
#include "raster/colour.h"
#include "ui/context.h"
#include "ui/help.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;

namespace letterloom::ui {

class ColourBox;

// The main window: a strip across the top of the screen with the menu bar and
// two toolbars. Its handlers only run the project commands (through
// runCommand, so a failure ends in the error box) or write a setting.
class TmainForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kMaximumHeight = 112;

    explicit TmainForm(Context &context, QWidget *parent = nullptr);

    // The colour chosen for the text; a system colour as it is now.
    raster::Colour textColour() const;
    // Shows a colour as the chosen one: its entry in the colour box, or the
    // custom entry before "Custom...".
    void showTextColour(raster::Colour colour);
    // The Refresh menu item and with it its shortcut.
    void setRefreshEnabled(bool enabled);
    // How Help Contents asks the platform to open the help (tests give their own).
    void setDocumentOpener(DocumentOpener opener);

    // Puts the toolbar buttons and boxes to settings read from a project.
    void showSettings(const project::ProjectSettings &settings);
    // The caption, followed by the modified mark while the project has
    // unsaved changes.
    void setCaption(const QString &caption);

    // The status line's timer: every frame it brings the status line (the
    // picture position under the pointer, the text area) and the modified
    // marks of the main window and the character table up to date.
    void StatusTimerTimer();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void createStatusLine();
    // Fills Project > Open Recent with the recent projects as it opens.
    void fillRecentMenu();
    // Checks the image view's zoom in Windows > Zoom as it opens.
    void showZoom();
    void createToolBars();
    QAction *addToolButton(QToolBar *bar, const char *name, const QString &hint, const char *icon,
                           const std::function<void()> &click);
    QAction *addToggle(QToolBar *bar, const char *name, const QString &hint, const char *icon,
                       const std::function<void(bool)> &click = {});
    QComboBox *addNumberBox(QToolBar *bar, const char *name, const QString &hint, const QStringList &items,
                            std::int32_t value, void (TmainForm::*change)(const QString &));
    QAction *action(const char *name) const;
    void run(const std::function<void()> &body);

    // Menu handlers.
    void mmNewProjectClick();
    void mmLoadProjectClick();
    void mmOpenRecentClick(const QString &path);
    void mmSaveProjectClick();
    void mmSaveAsProjectClick();
    void mmExportBitmapClick();
    void mmCloseClick();
    void mmLoadFontClick();
    void mmSaveFontClick();
    void mmEditFontClick();
    void mmImportGridClick();
    void mmExportGridClick();
    void mmCharMapClick();
    void mmKerningClick();
    void mmLoadBitmapClick();
    void mmShowBitmapClick();
    void mmTextAreaClick();
    void mmNextAreaClick();
    void mmPreviousAreaClick();
    void mmNewAreaClick();
    void mmDeleteAreaClick();
    void mmTextEffectsClick();
    void mmTextSpacingClick();
    void mmFitTextClick();
    void mmLoadTextClick();
    void mmShowTextClick();
    void mmClearTextClick();
    void mmResetTextClick();
    void mmLiveRefreshClick();
    void mmMainWindowClick();
    void mmBitmapWindowClick();
    void mmTableGCharsWindowClick();
    void mmGCharWindowClick();
    void mmDrawWindowClick();
    void mmTextWindowClick();
    void mmContentHelpClick();
    void mmAboutClick();
    // The user manual in the program's own window.
    void showManual();

    // Toolbar handlers.
    void ToolButton13Click();
    void tbRangeLeftClick();
    void tbRangeRightClick();
    void tbRangeUpClick();
    void tbRangeDownClick();
    void tbRangeWidthIncClick();
    void tbRangeWidthDecClick();
    void tbRangeHeightIncClick();
    void tbRangeHeightDecClick();
    // Moves or resizes the text area by the step of its group's toggle.
    void nudge(project::Nudge nudge, const char *stepToggle);
    void cbLineSpaceChange(const QString &text);
    void cbPixelSizeChange(const QString &text);

    Context &context_;
    QActionGroup *alignmentGroup_ = nullptr;
    QComboBox *lineSpaceBox_ = nullptr;
    QComboBox *pixelSizeBox_ = nullptr;
    ColourBox *textColourBox_ = nullptr;
    QMenu *recentMenu_ = nullptr;
    QMenu *zoomMenu_ = nullptr;
    QLabel *pointerLabel_ = nullptr;
    QLabel *areaLabel_ = nullptr;
    QLabel *overflowLabel_ = nullptr;  // by how much the text misses its area
    QTimer *statusTimer_ = nullptr;
    bool shown_ = false;
    DocumentOpener openDocument_ = openWithPlatform;
    HelpWindow *help_ = nullptr;  // made when first needed
};

}  // namespace letterloom::ui
