#pragma once

#include "project/prompter.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

namespace letterloom::testing {

// A prompter that records every interaction and answers from a script. An
// unscripted question or file dialog fails the running test.
class FakePrompter : public project::Prompter {
public:
    // What was shown, in order, each as "kind: text", for example
    // "ask: Project has been changed. Save it before closing?",
    // "askCancel: ...", "confirmNotice: ...", "notice: ...", "information: ...",
    // "error: ...", "open: <filter>", "save: <filter>", "colour", "gridImport",
    // "gridExport", "kerning".
    QStringList log;
    // The file dialogs as they were when run (filter, extension, folder, name).
    QList<project::FileDialog> dialogs;

    std::deque<project::Answer> answers;
    std::deque<std::optional<QString>> files;
    std::deque<std::optional<raster::Colour>> colours;
    std::deque<std::optional<int>> items;
    // The items and starting item of each list box, in order.
    QList<QStringList> itemLists;
    QList<int> itemStarts;
    // The colour each colour dialog started with, in order.
    QList<raster::Colour> colourStarts;
    // What the text area dialogs return, in order (nothing for Cancel); each
    // run logs "textArea: X Y WIDTH HEIGHT of PICTUREWIDTH x PICTUREHEIGHT".
    std::deque<std::optional<project::TextArea>> areas;

    // The answers of the picture grid dialogs (nothing: cancelled), and the
    // pictures and settings the reading dialog was shown.
    std::deque<std::optional<font::GridImportSettings>> gridImports;
    std::deque<std::optional<font::GridExportSettings>> gridExports;
    QList<QSize> gridPictures;
    QList<font::GridImportSettings> gridImportStarts;
    // The answers of the kerning dialog (nothing: cancelled); each run logs
    // "kerning" and keeps the pairs it started with.
    std::deque<std::optional<font::Kerning>> kernings;
    QList<font::Kerning> kerningStarts;

    FakePrompter &answer(project::Answer a) { answers.push_back(a); return *this; }
    FakePrompter &chooseFile(const QString &path) { files.push_back(path); return *this; }
    FakePrompter &cancelFile() { files.push_back(std::nullopt); return *this; }
    FakePrompter &chooseItem(int index) { items.push_back(index); return *this; }

    // The entries of the log that start with kind + ": ".
    QStringList entries(const QString &kind) const;
    QStringList errors() const { return entries(QStringLiteral("error")); }

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
    // Logged as "choose: <caption>"; an unscripted list box is cancelled.
    std::optional<font::Kerning> chooseKerning(const font::GlyphTable &glyphs, const font::Kerning &start,
                                               const font::CharMap &map) override;
    std::optional<int> chooseItem(const QString &caption, const QString &label, const QStringList &items,
                                  int current) override;

private:
    std::optional<QString> nextFile(project::FileDialog &dialog, const QString &kind);
};

}  // namespace letterloom::testing
