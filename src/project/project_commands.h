#pragma once

#include "font/font_file.h"
#include "project/glyph_history.h"
#include "project/live_refresh.h"
#include "project/project_file.h"
#include "project/recent_projects.h"
#include "project/prompter.h"
#include "project/window_effects.h"
#include "project/workspace.h"
#include "raster/raster.h"

#include <QPoint>

namespace letterloom::project {

// The main window's four file dialogs, each keeping its own folder and name.
// The open dialogs start in the program directory, the save dialogs in
// saveDirectory.
struct FileDialogs {
    FileDialogs(const QString &programDirectory, const QString &saveDirectory);

    FileDialog open;          // Open (project), Load Text, Open Font
    FileDialog save;          // Save As (project), Save Font
    FileDialog openPicture;   // Load Image
    FileDialog savePicture;   // Image Export
};

// Where the save dialogs of a fresh program start: the program directory
// when the user may write there, else the home folder (with a trailing
// separator), since an installed program's directory belongs to the system.
QString saveStartDirectory(const QString &programDirectory, const QString &homeDirectory);

// The commands of the Project, Font and Edit menus as plain code over the
// workspace: every question goes to the prompter, every window effect to the
// effects. A command that fails throws letterloom::Error after leaving the
// state as it was (the menu handlers run them through runCommand).
//
// The functions that save return true when the save completed, false when
// the user cancelled a dialog or declined an overwrite.
class ProjectCommands {
public:
    ProjectCommands(Workspace &workspace, Prompter &prompter, WindowEffects &effects);

    FileDialogs &dialogs() { return dialogs_; }
    // The undo history of the glyph table. Reading a font or emptying the
    // table starts it afresh; writing the font marks the saved state in it.
    GlyphHistory &glyphHistory() { return glyphHistory_; }

    // The new-project reset, as run at start-up: no questions.
    void resetProject();
    // Project > New: asks to save unsaved project and font changes first.
    void newProject();
    // Project > Open..., all or nothing.
    void openProject();
    // Open of a project named beforehand (on the command line): the same
    // questions without the dialog, which then starts at that file.
    void openProject(const QString &path);
    // Project > Open Recent: opens that file as Open does, with its questions.
    // A file that is no longer there is said so and taken off the list.
    void openRecentProject(const QString &path);
    // The projects opened or saved last, newest first.
    RecentProjects &recentProjects() { return recent_; }
    // Project > Save: writes to projectPath, or runs Save As when unnamed.
    bool saveProject();
    // Project > Save As...
    bool saveProjectAs();
    // Edit > Load Text... (the file's lines, bare LF line breaks made CR LF),
    // Clear Text, Load Image... (BMP or PNG)
    void loadText();
    void clearText();
    void loadImage();
    // Font > Open Font... (also BDF and BMFont fonts, which come without a
    // font file of the program's own), Save Font (always asks for a name).
    // A font whose glyphs are Unicode characters asks through which character
    // map to place them (none first); cancelling leaves the font as it was.
    void openFont();
    // Open Font of a font named beforehand, as openProject(path).
    void openFont(const QString &path);
    // A file named on the desktop program's command line: a font (told by
    // its extension) as Open Font, anything else as a project.
    void openNamedFile(const QString &path);
    bool saveFont();
    // Font > Character Map...: a code page, none, or a table read from a .tbl
    // file (the lines left out of it in a notice). Relabels the codes without
    // moving a glyph; one undoable font change.
    void chooseCharMap();
    // Font > Kerning...: the font's kerning pairs in their dialog; a change is
    // one undoable step of the font.
    void editKerning();
    // Writes the font to fontPath, or runs Save Font when it has no file.
    bool saveCurrentFont();
    // Edit > Text Area...: the four numbers of the text area, set exactly as
    // typed; a change counts as a change of the project (areaChanged). The
    // rendered text moves with the area's corner until the next refresh.
    void editTextArea();
    // Edit > Next Text Area and Previous Text Area (round the list), and a
    // plain click in the image view: another area becomes current, and the
    // text input window, its caption and the toolbars show its values.
    // Nothing changes with one area. A click at a point of the current area
    // keeps it; elsewhere the last area whose frame holds the point is taken.
    void nextTextArea();
    void previousTextArea();
    void selectTextAreaAt(QPoint at);
    // Edit > New Text Area: an empty area after the others becomes current,
    // to be drawn with Ctrl and the mouse. Edit > Delete Text Area: after a
    // question, the current area and its text go; the only one stays, with
    // a notice. Both are unsaved project work (areaChanged).
    void newTextArea();
    void deleteTextArea();
    // Font > Import from Picture...: a picture (PNG or BMP) read as a grid of
    // glyphs into the open font, with the settings the grid dialog gives.
    // Only the codes whose cells give a glyph change, as one undoable step;
    // fontPath stays. Font > Export Picture Grid...: the font drawn as such a
    // grid, written as a PNG or BMP picture.
    void importPictureGrid();
    void exportPictureGrid();
    // Lays out, renders and tints the text; a notice goes to the prompter.
    void refresh();
    // Edit > Live Refresh, and its tick: refreshes with the text and colour
    // of the windows when anything changed (LiveRefresh::tick).
    LiveRefresh &liveRefresh() { return live_; }
    bool liveTick() { return live_.tick(workspace_, effects_.text(), effects_.textColour()); }
    // Edit > Text Effects...: the current area's effects. A change counts as
    // a change of the project (effectsChanged) and shows at once.
    void setEffects(const text::Effects &effects);
    // Edit > Text Spacing...: the current area's tracking and word spacing,
    // in the Text Effects window. A change is unsaved project work
    // (spacingChanged) and shows at once.
    void setSpacing(const text::Spacing &spacing);
    // Edit > Fit Text: the nearest setting under which the current area's
    // text fits with the project's font (text::FitSearch: line spacing, then
    // tracking, then word spacing). What it found is shown and, after a
    // question, applied as unsaved project work (spacingChanged): the
    // toolbar shows the line spacing, every area is laid out and drawn. A
    // text that fits as it is gets a notice; for one that fits no setting
    // the command offers to try another font, chosen in the open dialog,
    // whose result is only reported (the project's font stays).
    void fitText();
    // Project > Image Export...: composes the scene without frame and hints
    // into view and writes it to the chosen file, as PNG when its name ends
    // in ".png", else as BMP. Without a picture it refuses before any dialog.
    void exportImage(raster::Raster &view);

    // The main window's close query: true when the program may end. It asks
    // about unsaved project changes and then about an unsaved font; a save
    // that does not complete keeps the program open (a failed one throws).
    bool closeQuery();

private:
    // What opening a project does with the font it names.
    enum class FontOutcome { Loaded, Missing, Kept };

    // The questions that guard unsaved work: true when the work is saved or
    // the user lets it go, false when it must stay.
    bool projectMayBeLeft();
    bool fontMayBeReplaced();
    void openProjectFile(const QString &path);
    FontOutcome prepareProjectFont(const QString &fontPath, font::FontFile &loaded);
    void adoptProject(const QString &path, OpenedProject opened, FontOutcome font, font::FontFile loaded);
    // Notices about the extras of files just read, in one box.
    void showNotices(const QStringList &notices);
    void readFont(const QString &path);
    void writeProject(const QString &path);
    bool mayOverwrite(const QString &path);
    void setFontFile(const QString &path);
    // Reads another tool's font: no file of the program's own, so unsaved.
    // False when the map question was cancelled and nothing changed.
    bool importFont(const QString &path);
    // The character map list: none, the code pages, Load Table...; nothing
    // when cancelled. start is the item first selected.
    std::optional<font::CharMap> chooseMap(const QString &caption, const QString &label, int start);
    void setProjectFile(const QString &path);
    // The image view's and the text input window's captions without a file name.
    void showUnnamedPictureAndText();
    // Another area became current: the windows show its text and values.
    // The current area's text as it is left for another, its colour kept in
    // the workspace with it.
    QByteArray leftText();
    void showCurrentArea(const QByteArray &text);
    // A font was read or emptied: the windows show its character map.
    void showFontMap();

    Workspace &workspace_;
    Prompter &prompter_;
    WindowEffects &effects_;
    FileDialogs dialogs_;
    GlyphHistory glyphHistory_;
    RecentProjects recent_;
    LiveRefresh live_;
    // The last settings of the grid dialogs, where they start next time.
    font::GridImportSettings gridImport_;
    font::GridExportSettings gridExport_;
};

}  // namespace letterloom::project
