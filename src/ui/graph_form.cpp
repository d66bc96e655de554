#include "ui/graph_form.h"

#include "project/compose_view.h"
#include "project/project_commands.h"
#include "project/view_zoom.h"
#include "project/workspace.h"
#include "ui/tool_window.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace letterloom::ui {

namespace {

constexpr int kLeft = 394;
constexpr int kTop = 336;
constexpr int kTickMilliseconds = 1;
constexpr int kAutoScrollMilliseconds = 20;
constexpr int kAutoScrollStep = 24;  // screen pixels a step at most
constexpr int kWheelNotch = 120;
// The room kept for a window frame that the window system has not yet put
// round the window. Without it a view cut to the screen would be exactly
// the screen's size, which window managers take for a full-screen window and
// leave without a frame to move it by.
constexpr QSize kFrameAllowance{8, 32};

// How far a point lies beyond the range 0 .. size - 1, with its sign.
int overshoot(int at, int size)
{
    return at < 0 ? at : at >= size ? at - size + 1 : 0;
}

}  // namespace

TgraphForm::TgraphForm(Context &context, QWidget *parent)
    : QWidget(parent), context_(context), scene_(kInitialSize.width(), kInitialSize.height()),
      view_(kInitialSize.width(), kInitialSize.height()), paintBox_(new PaintBox(view_, this)),
      horizontal_(new QScrollBar(Qt::Horizontal, this)), vertical_(new QScrollBar(Qt::Vertical, this)),
      timer_(new QTimer(this)), autoScroll_(new QTimer(this)), zoom_(project::storedZoom())
{
    context_.windows.graph = this;
    setObjectName(QStringLiteral("graphForm"));
    makeToolWindow(this);
    move(kLeft, kTop);
    setWindowTitle(QStringLiteral("Image"));
    // The view takes the keys itself: Ctrl arms the area selection.
    setFocusPolicy(Qt::StrongFocus);
    horizontal_->setObjectName(QStringLiteral("HorzScrollBar"));
    vertical_->setObjectName(QStringLiteral("VertScrollBar"));
    for (QScrollBar *bar : {horizontal_, vertical_}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        // Ctrl with the wheel zooms over the bars too.
        bar->installEventFilter(this);
    }
    layOut(false);
    // The frame the window system adds counts against the screen's room; a
    // view that had to be cut to the screen's size is brought inside it.
    whenFramed(this, [this] {
        if (layOut(false))
            keepInsideScreen();
    });

    // The zoom keys belong to this window alone.
    const struct {
        const char *name;
        QList<QKeySequence> keys;
        int (*zoom)(int);
    } zoomKeys[] = {
        {"actZoomIn",
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
         project::zoomedIn},
        {"actZoomOut", {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, project::zoomedOut},
        {"actZoomReset", {QKeySequence(Qt::CTRL | Qt::Key_0)}, [](int) { return 1; }},
    };
    for (const auto &entry : zoomKeys) {
        auto *key = new QAction(this);
        key->setObjectName(QLatin1String(entry.name));
        key->setShortcuts(entry.keys);
        key->setShortcutContext(Qt::WindowShortcut);
        const auto zoom = entry.zoom;
        connect(key, &QAction::triggered, this, [this, zoom] { setZoom(zoom(zoom_)); });
        addAction(key);
    }

    timer_->setObjectName(QStringLiteral("Timer"));
    timer_->setInterval(kTickMilliseconds);
    connect(timer_, &QTimer::timeout, this, &TgraphForm::TimerTimer);
    autoScroll_->setObjectName(QStringLiteral("AutoScrollTimer"));
    autoScroll_->setInterval(kAutoScrollMilliseconds);
    connect(autoScroll_, &QTimer::timeout, this, &TgraphForm::AutoScrollTimer);
    connect(paintBox_, &PaintBox::mouseDown, this, &TgraphForm::PaintBoxMouseDown);
    connect(paintBox_, &PaintBox::mouseMove, this, &TgraphForm::PaintBoxMouseMove);
    connect(paintBox_, &PaintBox::mouseUp, this, &TgraphForm::PaintBoxMouseUp);
    // Moves without a button arrive too, for the position in the status line.
    paintBox_->setMouseTracking(true);
    connect(paintBox_, &PaintBox::mouseLeft, this, [this] { pointer_.reset(); });
}

void TgraphForm::setViewSize(QSize size)
{
    scene_.setSize(size.width(), size.height());
    layOut(true);
}

QPoint TgraphForm::origin() const
{
    return {horizontal_->value(), vertical_->value()};
}

void TgraphForm::setZoom(int zoom, std::optional<QPoint> anchor)
{
    if (!project::isZoomLevel(zoom) || zoom == zoom_)
        return;
    const QPoint at = anchor.value_or(QPoint(view_.width() / 2, view_.height() / 2));
    const QPoint kept = project::originKeeping(at, origin(), zoom_, zoom);
    zoom_ = zoom;
    project::storeZoom(zoom);
    layOut(true);
    horizontal_->setValue(kept.x());
    vertical_->setValue(kept.y());
    // What the window shows has changed.
    context_.workspace.bumpRevision();
}

bool TgraphForm::layOut(bool fitIntoScreen)
{
    const QSize content = scene_.size() * zoom_;
    QSize room = content;
    if (const QScreen *screen = this->screen()) {
        const QSize frame = frameExtent(this);
        room = screen->availableGeometry().size() - (frame.isNull() ? kFrameAllowance : frame);
    }
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, vertical_);
    const project::ViewLayout layout = project::layOutView(content, room, bar);
    const QSize viewport = layout.viewport;

    view_.setSize(viewport.width(), viewport.height());
    paintBox_->setFixedSize(viewport);
    setFixedSize(layout.client);
    horizontal_->setGeometry(0, viewport.height(), viewport.width(), bar);
    horizontal_->setRange(0, content.width() - viewport.width());
    horizontal_->setPageStep(viewport.width());
    horizontal_->setSingleStep(std::max(zoom_, 16));
    horizontal_->setVisible(layout.horizontalBar);
    vertical_->setGeometry(viewport.width(), 0, bar, viewport.height());
    vertical_->setRange(0, content.height() - viewport.height());
    vertical_->setPageStep(viewport.height());
    vertical_->setSingleStep(std::max(zoom_, 16));
    vertical_->setVisible(layout.verticalBar);
    if (fitIntoScreen)
        keepInsideScreen();
    return layout.horizontalBar || layout.verticalBar;
}

void TgraphForm::keepInsideScreen()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QRect outer(pos(), size() + frameExtent(this));
    const auto shift = [](int low, int high, int roomLow, int roomHigh) {
        int by = std::min(0, roomHigh - high);
        return std::max(by, roomLow - low);
    };
    const QPoint by(shift(outer.left(), outer.right(), room.left(), room.right()),
                    shift(outer.top(), outer.bottom(), room.top(), room.bottom()));
    if (!by.isNull())
        move(pos() + by);
}

QPoint TgraphForm::toPicture(QPoint atView) const
{
    return project::toPicture(atView, origin(), zoom_);
}

void TgraphForm::TimerTimer()
{
    project::LiveRefresh &live = context_.commands.liveRefresh();
    context_.commands.liveTick();
    const Frame frame{context_.workspace.revision(), selection_.selectionMode(), scene_.size(), zoom_,
                      origin(), view_.size()};
    if (drawn_ == frame)
        return;
    const project::Workspace &workspace = context_.workspace;
    if (!workspace.hasPicture()) {
        // Only the centred hint, centred in what the window shows.
        project::ComposeView(workspace, view_, false);
    } else if (zoom_ == 1) {
        // At 1x the hint lines go where they are seen, under the text as ever.
        project::ComposeView(workspace, scene_, false, frame.selectionMode, frame.origin);
        view_.drawOpaque(scene_, -frame.origin.x(), -frame.origin.y());
    } else {
        // Enlarged, the hint lines keep their screen size.
        project::ComposeView(workspace, scene_, false, frame.selectionMode, std::nullopt);
        view_.drawZoomed(scene_, frame.origin.x(), frame.origin.y(), zoom_);
        project::drawHints(workspace.settings, view_, frame.selectionMode);
    }
    // Under live refresh a text that does not fit says so in a red line at
    // the foot of the view rather than in a box.
    if (live.isOn() && !live.notice().isEmpty()) {
        const QString line = live.notice().split(u'\n').join(QStringLiteral("; "));
        view_.drawText(4, view_.height() - raster::Raster::measureText(line).height() - 2, line, raster::kRed);
    }
    paintBox_->update();
    drawn_ = frame;
}

void TgraphForm::exportImage()
{
    const bool running = timer_->isActive();
    timer_->stop();
    project::runCommand(context_.prompter, [this] { context_.commands.exportImage(scene_); });
    // The export composed its own scene into the scene raster.
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
    autoScroll_->stop();
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

bool TgraphForm::wheelZooms(QWheelEvent *event, QPoint atView)
{
    if (!event->modifiers().testFlag(Qt::ControlModifier))
        return false;
    wheelTurn_ += event->angleDelta().y();
    while (std::abs(wheelTurn_) >= kWheelNotch) {
        const bool in = wheelTurn_ > 0;
        wheelTurn_ += in ? -kWheelNotch : kWheelNotch;
        setZoom(in ? project::zoomedIn(zoom_) : project::zoomedOut(zoom_), atView);
    }
    event->accept();
    return true;
}

void TgraphForm::wheelEvent(QWheelEvent *event)
{
    if (wheelZooms(event, paintBox_->mapFrom(this, event->position().toPoint())))
        return;
    // Without Ctrl the wheel scrolls: up and down, or sideways for a
    // sideways wheel or with Shift.
    QPoint turn = event->angleDelta();
    if (event->modifiers().testFlag(Qt::ShiftModifier) && turn.x() == 0)
        turn = QPoint(turn.y(), 0);
    horizontal_->setValue(horizontal_->value() - turn.x() * horizontal_->singleStep() * 3 / kWheelNotch);
    vertical_->setValue(vertical_->value() - turn.y() * vertical_->singleStep() * 3 / kWheelNotch);
    event->accept();
}

bool TgraphForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && (watched == horizontal_ || watched == vertical_)) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        const QPoint at = paintBox_->mapFrom(static_cast<QWidget *>(watched), wheel->position().toPoint());
        return wheelZooms(wheel, at);
    }
    return QWidget::eventFilter(watched, event);
}

void TgraphForm::AutoScrollTimer()
{
    if (!selection_.dragging()) {
        autoScroll_->stop();
        return;
    }
    const QPoint before = origin();
    const auto step = [](int by) { return std::clamp(by, -kAutoScrollStep, kAutoScrollStep); };
    horizontal_->setValue(before.x() + step(overshoot(dragAt_.x(), view_.width())));
    vertical_->setValue(before.y() + step(overshoot(dragAt_.y(), view_.height())));
    if (origin() == before) {
        autoScroll_->stop();
        return;
    }
    // The pointer has not moved, but the picture under it has.
    selection_.mouseMove(context_.workspace, toPicture(dragAt_));
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
    const QPoint pixel = toPicture(at);
    dragAt_ = at;
    // A plain left click, with no drag under way, makes the area under it current.
    if (button == Qt::LeftButton && !ctrl && !selection_.dragging())
        project::runCommand(context_.prompter, [this, pixel] { context_.commands.selectTextAreaAt(pixel); });
    selection_.mousePress(context_.workspace, pixel, ctrl);
}

void TgraphForm::PaintBoxMouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, QPoint at)
{
    const project::Workspace &workspace = context_.workspace;
    const QPoint pixel = toPicture(at);
    if (workspace.hasPicture() && QRect(QPoint(), view_.size()).contains(at)
        && workspace.picture.contains(pixel.x(), pixel.y()))
        pointer_ = pixel;
    else
        pointer_.reset();
    dragAt_ = at;
    selection_.mouseMove(context_.workspace, pixel);
    const bool outside = overshoot(at.x(), view_.width()) != 0 || overshoot(at.y(), view_.height()) != 0;
    if (selection_.dragging() && outside && !autoScroll_->isActive())
        autoScroll_->start();
}

void TgraphForm::PaintBoxMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, QPoint at)
{
    autoScroll_->stop();
    selection_.mouseRelease(context_.workspace, toPicture(at));
}

}  // namespace letterloom::ui
