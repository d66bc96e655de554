#include "ui/tool_window.h"

#include <QWidget>

namespace letterloom::ui {

void makeToolWindow(QWidget *window, bool onTop)
{
    Qt::WindowFlags flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (onTop)
        flags |= Qt::WindowStaysOnTopHint;
    window->setWindowFlags(flags);
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

}  // namespace letterloom::ui
