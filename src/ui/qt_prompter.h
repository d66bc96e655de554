#pragma once

#include "project/prompter.h"

#include <QPointer>
#include <QWidget>

namespace letterloom::ui {

// The program's title: the caption of its plain notices and error boxes.
inline const QString kApplicationTitle = QStringLiteral("Letterloom");

// The prompter of the desktop program: message boxes, file dialogs and the
// colour dialog, each modal over the window that has the keyboard (or over
// the owner, the main window, when none has).
class QtPrompter : public project::Prompter {
public:
    explicit QtPrompter(QWidget *owner = nullptr);
    void setOwner(QWidget *owner) { owner_ = owner; }

    project::Answer ask(const QString &question, bool withCancel) override;
    void confirmNotice(const QString &text) override;
    void notice(const QString &text) override;
    void information(const QString &text) override;
    void error(const QString &message) override;

    std::optional<QString> chooseOpenFile(project::FileDialog &dialog) override;
    std::optional<QString> chooseSaveFile(project::FileDialog &dialog) override;
    std::optional<raster::Colour> chooseColour(raster::Colour start) override;
    std::optional<project::TextArea> chooseTextArea(const project::TextArea &start, QSize pictureSize) override;
    std::optional<font::GridImportSettings> chooseGridImport(const QImage &picture,
                                                             const font::GridImportSettings &start) override;
    std::optional<font::GridExportSettings> chooseGridExport(const font::GlyphTable &glyphs,
                                                             const font::GridExportSettings &start) override;
    std::optional<font::Kerning> chooseKerning(const font::GlyphTable &glyphs, const font::Kerning &start,
                                               const font::CharMap &map) override;
    std::optional<int> chooseItem(const QString &caption, const QString &label, const QStringList &items,
                                  int current) override;

private:
    QWidget *dialogParent() const;
    std::optional<QString> chooseFile(project::FileDialog &dialog, bool saving);

    QPointer<QWidget> owner_;
};

// Makes a dialog open above all of the program's windows, the tool windows
// that stay on top included, and take the keyboard, each time it is shown.
void keepOnTop(QWidget &dialog);

// A filter of the program's dialogs, "Bitmaps (*.bmp)|*.bmp|All (*.*)|*.*",
// as the file dialog takes it: "Bitmaps (*.bmp);;All (*.*)".
QString toDialogFilter(const QString &filter);

}  // namespace letterloom::ui
