#include "ui/tool_window.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace letterloom::ui {

namespace {

// Watches a window's moves and resizes until its frame is known.
class FrameWatcher : public QObject {
public:
    FrameWatcher(QWidget *window, std::function<void()> fit)
        : QObject(window), window_(window), fit_(std::move(fit))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)
            && !frameExtent(window_).isNull()) {
            window_->removeEventFilter(this);
            deleteLater();
            fit_();
        }
        return false;
    }

private:
    QWidget *window_;
    std::function<void()> fit_;
};

}  // namespace

void makeToolWindow(QWidget *window)
{
    window->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                           | Qt::WindowStaysOnTopHint);
}

QSize frameExtent(const QWidget *window)
{
    if (!window->testAttribute(Qt::WA_WState_Created))
        return {0, 0};
    return (window->frameGeometry().size() - window->size()).expandedTo({0, 0});
}

void setOuterSize(QWidget *window, QSize outer)
{
    window->resize(outer - frameExtent(window));
}

void setMinimumOuterSize(QWidget *window, QSize outer)
{
    window->setMinimumSize((outer - frameExtent(window)).expandedTo({0, 0}));
}

void setMaximumOuterHeight(QWidget *window, int outer)
{
    window->setMaximumHeight(std::max(outer - frameExtent(window).height(), 0));
}

void whenFramed(QWidget *window, std::function<void()> fit)
{
    new FrameWatcher(window, std::move(fit));
}

}  // namespace letterloom::ui

namespace letterloom::ui {

void setDocumentCaption(QWidget *window, const QString &caption)
{
    // A caption's own "[*]" would read as the placeholder: it is doubled.
    QString title = caption;
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    window->setWindowTitle(title + QStringLiteral("[*]"));
}

QString shownCaption(const QWidget *window)
{
    QString title = window->windowTitle();
    const QString mark = window->isWindowModified() ? QStringLiteral("*") : QString();
    QString shown;
    for (qsizetype i = 0; i < title.size();) {
        if (title.mid(i, 6) == QStringLiteral("[*][*]")) {
            shown += QStringLiteral("[*]");
            i += 6;
        } else if (title.mid(i, 3) == QStringLiteral("[*]")) {
            shown += mark;
            i += 3;
        } else {
            shown += title[i++];
        }
    }
    return shown;
}

}  // namespace letterloom::ui
