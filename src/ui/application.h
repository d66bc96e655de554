#pragma once

#include "project/project_commands.h"
#include "project/workspace.h"
#include "ui/context.h"
#include "ui/shell_effects.h"
#include "ui/windows.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>

#include <memory>

namespace letterloom::ui {

// The running program: its one document state, its commands and its seven
// windows. The windows are made in a fixed order, each one's creation done
// before the next exists: main window, glyph size dialog, glyph editor, image
// view, character table, drawing tools, text input window. The other six are
// tool windows owned by the main window and end with it.
class Shell {
public:
    Shell(project::Prompter &prompter, const QString &programDirectory);
    ~Shell();
    Shell(const Shell &) = delete;
    Shell &operator=(const Shell &) = delete;

    // Shows the main window, which shows the text input window and the image view.
    void show();
    // Opens the files named on the command line, in order, each as
    // ProjectCommands::openNamedFile does; a file that fails shows the error
    // box and the next one is still opened.
    void openFiles(const QStringList &paths);

    project::Workspace &workspace() { return workspace_; }
    project::ProjectCommands &commands() { return commands_; }
    Windows &windows() { return windows_; }

private:
    project::Workspace workspace_;
    Windows windows_;
    ShellEffects effects_;
    project::ProjectCommands commands_;
    Context context_;
    std::unique_ptr<TmainForm> mainForm_;
};

// The program's own icon, the same picture the desktop shows in its menus.
QIcon applicationIcon();

// The application object, with the program's title and icon. A failure that escapes an event handler (every
// command already reports its own) is caught here, shown in the error box,
// and the program goes on.
class Application : public QApplication {
public:
    Application(int &argc, char **argv);

    void setPrompter(project::Prompter *prompter) { prompter_ = prompter; }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    project::Prompter *prompter_ = nullptr;
};

// Starts the program and runs it until the main window closes. The
// arguments left after the windowing system's own name files to open.
int runLetterloom(int &argc, char **argv);

}  // namespace letterloom::ui
