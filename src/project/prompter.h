#pragma once

#include "project/settings.h"
#include "font/grid_import.h"
#include "font/kerning.h"
#include "raster/colour.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace letterloom::project {

enum class Answer { Yes, No, Cancel };

// One of the main window's file dialogs. A command sets the filter (and for
// saving the default extension) before each use; the dialog keeps the folder
// and file name that its last use left. Filters are written as
// "Description (*.ext)|*.ext|Other (*.*)|*.*".
struct FileDialog {
    QString filter;
    QString defaultExtension;  // without the dot; empty for none
    QString initialDirectory;
    QString fileName;

    // Takes the initial folder and the proposed file name from a full path.
    void proposePath(const QString &path);
};

// Every modal interaction of the program goes through this interface: the
// windows implement it with message boxes and dialogs, the tests with a
// scripted fake that records what was asked.
class Prompter {
public:
    virtual ~Prompter() = default;

    // A question in a box captioned "Confirm" with a question icon, Yes and No
    // (and Cancel when withCancel). Closing the box answers Cancel when there
    // is a Cancel button, otherwise No.
    virtual Answer ask(const QString &question, bool withCancel) = 0;
    // A notice in a "Confirm" box with a question icon and an OK button.
    virtual void confirmNotice(const QString &text) = 0;
    // A plain notice captioned with the application's title, no icon.
    virtual void notice(const QString &text) = 0;
    // A box captioned "Information" with the information icon (the about box).
    virtual void information(const QString &text) = 0;
    // The generic error box: "Letterloom", error icon, errorBoxText(message).
    virtual void error(const QString &message) = 0;

    // Run a file dialog; the chosen full path, or nothing when cancelled. The
    // dialog's folder and file name follow the choice.
    virtual std::optional<QString> chooseOpenFile(FileDialog &dialog) = 0;
    virtual std::optional<QString> chooseSaveFile(FileDialog &dialog) = 0;

    // The colour dialog, starting at `start`; nothing when cancelled.
    virtual std::optional<raster::Colour> chooseColour(raster::Colour start) = 0;

    // The text area dialog: x, y, width and height, starting at `start`, for
    // a picture of pictureSize (empty without a picture); nothing when cancelled.
    virtual std::optional<TextArea> chooseTextArea(const TextArea &start, QSize pictureSize) = 0;
    // The picture grid dialogs, starting at `start`; nothing when cancelled.
    // Reading: the grid drawn over the picture and the glyphs it makes, live,
    // before anything changes. Drawing: the picture the font's grid makes.
    virtual std::optional<font::GridImportSettings> chooseGridImport(const QImage &picture,
                                                                     const font::GridImportSettings &start) = 0;
    virtual std::optional<font::GridExportSettings> chooseGridExport(const font::GlyphTable &glyphs,
                                                                     const font::GridExportSettings &start) = 0;
    // The kerning dialog: the font's pairs starting at `start`, typed and
    // shown through map, with a test text drawn in glyphs; the pairs chosen,
    // or nothing when cancelled.
    virtual std::optional<font::Kerning> chooseKerning(const font::GlyphTable &glyphs, const font::Kerning &start,
                                                       const font::CharMap &map) = 0;
    // A list to choose one item from, in a box with caption and label,
    // starting at item `current`; the index chosen, or nothing when cancelled.
    virtual std::optional<int> chooseItem(const QString &caption, const QString &label, const QStringList &items,
                                          int current) = 0;
};

// Runs a command's body and reports any failure through the generic error
// box, so that a failure ends the command and the program goes on. Returns
// false when the body failed.
bool runCommand(Prompter &prompter, const std::function<void()> &body);

}  // namespace letterloom::project
