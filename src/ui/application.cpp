#include "ui/application.h"

#include "base/error.h"
#include "ui/draw_form.h"
#include "ui/font_form.h"
#include "ui/font_graph_form.h"
#include "ui/font_size_form.h"
#include "ui/graph_form.h"
#include "ui/main_form.h"
#include "ui/qt_prompter.h"
#include "ui/termination_signals.h"
#include "ui/text_form.h"

#include <QTimer>

namespace letterloom::ui {

namespace {

// Makes one window and enters it in the list before the next one is made.
template <typename Form>
void create(Context &context, Form *&slot, QWidget *owner)
{
    slot = new Form(context, owner);
}

}  // namespace

Shell::Shell(project::Prompter &prompter, const QString &programDirectory)
    : workspace_(programDirectory), effects_(windows_), commands_(workspace_, prompter, effects_),
      context_{workspace_, prompter, commands_, windows_}
{
    mainForm_ = std::make_unique<TmainForm>(context_);
    windows_.main = mainForm_.get();
    create(context_, windows_.fontSize, mainForm_.get());
    create(context_, windows_.fontGraph, mainForm_.get());
    create(context_, windows_.graph, mainForm_.get());
    create(context_, windows_.font, mainForm_.get());
    create(context_, windows_.draw, mainForm_.get());
    create(context_, windows_.text, mainForm_.get());
}

Shell::~Shell()
{
    // The main window takes the other windows with it.
    mainForm_.reset();
    windows_ = Windows{};
}

void Shell::show()
{
    mainForm_->show();
}

void Shell::openFiles(const QStringList &paths)
{
    for (const QString &path : paths)
        project::runCommand(context_.prompter, [&] { commands_.openNamedFile(path); });
}

QIcon applicationIcon()
{
    return QIcon(QStringLiteral(":/letterloom.svg"));
}

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(kApplicationTitle);
    setWindowIcon(applicationIcon());
    // Lets the desktop match the windows to the menu entry and its icon.
    setDesktopFileName(QStringLiteral("local.letterloom.Letterloom"));
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &failure) {
        if (prompter_)
            prompter_->error(messageOf(failure));
        else
            qWarning("%s", qPrintable(messageOf(failure)));
    }
    return false;
}

int runLetterloom(int &argc, char **argv)
{
    Application application(argc, argv);
    QtPrompter prompter;
    application.setPrompter(&prompter);
    Shell shell(prompter, project::applicationDirectory());
    prompter.setOwner(shell.windows().main);
    closeOnTerminationSignals(shell.windows().main);
    shell.show();
    // The files open once the windows are up, so their questions have an owner.
    const QStringList files = QCoreApplication::arguments().mid(1);
    QTimer::singleShot(0, &application, [&shell, files] { shell.openFiles(files); });
    const int status = application.exec();
    application.setPrompter(nullptr);
    return status;
}

}  // namespace letterloom::ui
