#include "ui/help.h"

#include "ui/plain_paste.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace letterloom::ui {

namespace {

const QString kHelpFile = QStringLiteral("help.chm");
const QString kManual = QStringLiteral("manual/index.html");
constexpr QSize kHelpWindowSize{720, 560};

}  // namespace

void openWithPlatform(const QUrl &document, const std::function<void()> &cannot)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // xdg-open hands the document to the desktop's application for it and
    // ends with a failure when there is none; it may also run as long as that
    // application does, so it is watched, not waited for. Left running when
    // the program ends, it goes on by itself.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        auto *process = new QProcess;
        QObject::connect(process, &QProcess::finished, process, [process, cannot](int status, QProcess::ExitStatus how) {
            if (how != QProcess::NormalExit || status != 0)
                cannot();
            process->deleteLater();
        });
        QObject::connect(process, &QProcess::errorOccurred, process, [process, cannot](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart)
                return;
            cannot();
            process->deleteLater();
        });
        process->start(opener, {document.toString()});
        return;
    }
#endif
    if (!QDesktopServices::openUrl(document))
        cannot();
}

QString helpDocument(const QString &programDirectory)
{
    for (const QString &name : {kHelpFile, kManual}) {
        const QString path = programDirectory + name;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), browser_(new PlainPaste<QTextBrowser>(this))
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Letterloom Help"));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    // Pages of the manual open here; a link to anywhere else goes to the platform.
    browser_->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(kHelpWindowSize);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Letterloom Help") : title);
    });
}

void HelpWindow::showPage(const QString &path)
{
    browser_->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    activateWindow();
}

QUrl HelpWindow::page() const
{
    return browser_->source();
}

}  // namespace letterloom::ui
