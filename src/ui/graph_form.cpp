#include "ui/graph_form.h"

#include "project/compose_view.h"
#include "project/project_commands.h"
#include "project/workspace.h"
#include "ui/tool_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

namespace letterloom::ui {

namespace {

constexpr int kLeft = 394;
constexpr int kTop = 336;
constexpr int kTickMilliseconds = 1;

}  // namespace

TgraphForm::TgraphForm(Context &context, QWidget *parent)
    : QWidget(parent), context_(context), view_(kInitialSize.width(), kInitialSize.height()),
      paintBox_(new PaintBox(view_, this)), timer_(new QTimer(this))
{
    context_.windows.graph = this;
    setObjectName(QStringLiteral("graphForm"));
    makeToolWindow(this);
    move(kLeft, kTop);
    setWindowTitle(QStringLiteral("Image"));
    // The view takes the keys itself: Ctrl arms the area selection.
    setFocusPolicy(Qt::StrongFocus);
    setViewSize(kInitialSize);

    timer_->setObjectName(QStringLiteral("Timer"));
    timer_->setInterval(kTickMilliseconds);
    connect(timer_, &QTimer::timeout, this, &TgraphForm::TimerTimer);
    connect(paintBox_, &PaintBox::mouseDown, this, &TgraphForm::PaintBoxMouseDown);
    connect(paintBox_, &PaintBox::mouseMove, this, &TgraphForm::PaintBoxMouseMove);
    connect(paintBox_, &PaintBox::mouseUp, this, &TgraphForm::PaintBoxMouseUp);
    // Moves without a button arrive too, for the position in the status line.
    paintBox_->setMouseTracking(true);
    connect(paintBox_, &PaintBox::mouseLeft, this, [this] { pointer_.reset(); });
}

void TgraphForm::setViewSize(QSize size)
{
    view_.setSize(size.width(), size.height());
    paintBox_->setFixedSize(size);
    setFixedSize(size);
}

void TgraphForm::TimerTimer()
{
    const Frame frame{context_.workspace.revision(), selection_.selectionMode(), view_.size()};
    if (drawn_ == frame)
        return;
    project::ComposeView(context_.workspace, view_, false, frame.selectionMode);
    paintBox_->update();
    drawn_ = frame;
}

void TgraphForm::exportImage()
{
    const bool running = timer_->isActive();
    timer_->stop();
    project::runCommand(context_.prompter, [this] { context_.commands.exportImage(view_); });
    // The export composed its own scene into the view raster.
    drawn_.reset();
    // The timer runs again after the export, failed or not, unless the view
    // was hidden and so had no timer running.
    if (running)
        timer_->start();
}

void TgraphForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    drawn_.reset();
    timer_->start();
}

void TgraphForm::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    timer_->stop();
}

void TgraphForm::keyPressEvent(QKeyEvent *event)
{
    FormKeyDown(event->key(), event->modifiers());
    QWidget::keyPressEvent(event);
}

void TgraphForm::keyReleaseEvent(QKeyEvent *event)
{
    // A held key repeats as presses; only its real release counts.
    if (!event->isAutoRepeat())
        FormKeyUp();
    QWidget::keyReleaseEvent(event);
}

void TgraphForm::changeEvent(QEvent *event)
{
    // Keys typed elsewhere never reach this window, a let-go Ctrl included.
    if (event->type() == QEvent::ActivationChange && QApplication::activeWindow() != this)
        selection_.keyboardLost();
    QWidget::changeEvent(event);
}

void TgraphForm::FormKeyDown(int key, Qt::KeyboardModifiers shift)
{
    selection_.keyPress(shift.testFlag(Qt::ControlModifier) || key == Qt::Key_Control);
}

void TgraphForm::FormKeyUp()
{
    selection_.keyRelease(context_.workspace, surfaceSize());
}

void TgraphForm::PaintBoxMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at)
{
    const bool ctrl = shift.testFlag(Qt::ControlModifier);
    // A plain left click, with no drag under way, makes the area under it current.
    if (button == Qt::LeftButton && !ctrl && !selection_.dragging())
        project::runCommand(context_.prompter, [this, at] { context_.commands.selectTextAreaAt(at); });
    selection_.mousePress(context_.workspace, at, ctrl);
}

void TgraphForm::PaintBoxMouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, QPoint at)
{
    const project::Workspace &workspace = context_.workspace;
    if (workspace.hasPicture() && workspace.picture.contains(at.x(), at.y()))
        pointer_ = at;
    else
        pointer_.reset();
    selection_.mouseMove(context_.workspace, at);
}

void TgraphForm::PaintBoxMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, QPoint at)
{
    selection_.mouseRelease(context_.workspace, at);
}

}  // namespace letterloom::ui
