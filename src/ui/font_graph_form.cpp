#include "ui/font_graph_form.h"

#include "font/flood_fill.h"
#include "font/zoomed_glyph.h"
#include "project/glyph_history.h"
#include "project/project_commands.h"
#include "project/workspace.h"
#include "ui/draw_form.h"
#include "ui/font_form.h"
#include "ui/paint_box.h"
#include "ui/tool_window.h"

#include <QFontMetrics>
#include <QFrame>
#include <QTimer>

namespace letterloom::ui {

namespace {

constexpr QSize kMinimumOuterSize{100, 100};
constexpr int kCaptionButtons = 7;  // room for a window icon, three buttons and the margins
constexpr int kTableLeft = 8;     // the character table's place and width,
constexpr int kTableWidth = 378;  // under which the editor starts centred
constexpr int kTop = 534;
constexpr int kTickMilliseconds = 1;

}  // namespace

TfontGraphForm::TfontGraphForm(Context &context, QWidget *parent)
    : QWidget(parent), context_(context), bevel_(new QFrame(this)), paintBox_(new PaintBox(editor_, this)),
      timer_(new QTimer(this))
{
    context_.windows.fontGraph = this;
    setObjectName(QStringLiteral("fontGraphForm"));
    makeToolWindow(this);
    setMinimumOuterSize(this, kMinimumOuterSize);
    whenFramed(this, [this] { keepCaptionVisible(); });
    setWindowTitle(QStringLiteral("Character"));
    bevel_->setObjectName(QStringLiteral("Bevel"));
    bevel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    resize(minimumSize());
    fillClientArea();
    move(kTableLeft + (kTableWidth - (width() + frameExtent(this).width())) / 2, kTop);

    timer_->setObjectName(QStringLiteral("Timer"));
    timer_->setInterval(kTickMilliseconds);
    connect(timer_, &QTimer::timeout, this, &TfontGraphForm::TimerTimer);
    // Moves without a button arrive too, so a stroke whose release went
    // elsewhere ends as soon as the pointer hovers here.
    paintBox_->setMouseTracking(true);
    connect(paintBox_, &PaintBox::mouseDown, this, &TfontGraphForm::PaintBoxMouseDown);
    connect(paintBox_, &PaintBox::mouseMove, this, &TfontGraphForm::PaintBoxMouseMove);
    connect(paintBox_, &PaintBox::mouseUp, this, &TfontGraphForm::PaintBoxMouseUp);
    addHistoryKeys(this, context_.commands.glyphHistory());
    connect(&context_.commands.glyphHistory(), &project::GlyphHistory::glyphsChanged, this,
            &TfontGraphForm::showCaption);
}

void TfontGraphForm::showCaption()
{
    const project::Workspace &workspace = context_.workspace;
    const font::tGraphChar &glyph = workspace.glyphs[workspace.currentGlyph];
    const QString caption = glyphCaption(glyph.width, glyph.height, workspace.currentGlyph, workspace.fontExtras.charMap);
    if (caption == windowTitle())
        return;
    setWindowTitle(caption);
    keepCaptionVisible();
}

void TfontGraphForm::keepCaptionVisible()
{
    // The caption bar holds the caption and, on either side, the window
    // system's buttons, each about as wide as the bar is high. Before the
    // window is framed nothing of that is known, and the least size holds.
    const int bar = geometry().top() - frameGeometry().top();
    QFont bold = font();
    bold.setBold(true);
    const int captionWidth = bar > 0 ? QFontMetrics(bold).horizontalAdvance(windowTitle()) + kCaptionButtons * bar : 0;
    setMinimumOuterSize(this, kMinimumOuterSize.expandedTo({captionWidth, 0}));
}

void TfontGraphForm::fitToGlyph()
{
    const project::Workspace &workspace = context_.workspace;
    resize(font::zoomedGlyphSize(workspace.glyphs[workspace.currentGlyph], workspace.settings.pixelSize));
    fillClientArea();
}

void TfontGraphForm::fillClientArea()
{
    bevel_->setGeometry(rect());
    paintBox_->setGeometry(rect());
    editor_.setSize(paintBox_->width(), paintBox_->height());
}

void TfontGraphForm::TimerTimer()
{
    project::Workspace &workspace = context_.workspace;
    const Frame frame{workspace.revision(), editor_.size()};
    if (drawn_ == frame)
        return;
    font::drawZoomedGlyph(editor_, workspace.glyphs[workspace.currentGlyph], workspace.settings.pixelSize);
    paintBox_->update();
    drawn_ = frame;
}

raster::Colour TfontGraphForm::paintColour() const
{
    const TdrawForm *tools = context_.windows.draw;
    switch (lastButton_) {
    case Qt::LeftButton: return tools->foregroundColour();
    case Qt::RightButton: return tools->backgroundColour();
    default: return raster::kWhite;
    }
}

void TfontGraphForm::PaintBoxMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers, QPoint at)
{
    const TdrawForm *tools = context_.windows.draw;
    if (!tools || (Button != Qt::LeftButton && Button != Qt::RightButton && Button != Qt::MiddleButton))
        return;
    lastButton_ = Button;
    if (tools->tool() == DrawTool::Pencil) {
        pencilPressed_ = true;
        context_.commands.glyphHistory().beginStroke();
        pencil(at);
    } else {
        bucket(at);
    }
}

void TfontGraphForm::PaintBoxMouseMove(Qt::MouseButtons held, Qt::KeyboardModifiers, QPoint at)
{
    // A release that never reached the editor (a box popped up meanwhile)
    // ends the stroke: the pencil does not paint on a mere hover.
    if (held == Qt::NoButton) {
        endStroke();
        return;
    }
    // Only the left button keeps the mouse outside the paint box.
    if (!(held & Qt::LeftButton) && !paintBox_->rect().contains(at))
        return;
    pencil(at);
}

void TfontGraphForm::PaintBoxMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, QPoint)
{
    endStroke();
}

void TfontGraphForm::endStroke()
{
    pencilPressed_ = false;
    context_.commands.glyphHistory().endStroke();
}

void TfontGraphForm::pencil(QPoint at)
{
    if (!pencilPressed_)
        return;
    project::Workspace &workspace = context_.workspace;
    font::tGraphChar &glyph = workspace.glyphs[workspace.currentGlyph];
    const auto hit = font::glyphPixelAt(glyph, at.x(), at.y(), workspace.settings.pixelSize);
    if (!hit)
        return;
    // Every pixel of the stroke joins the stroke's one step of the history.
    context_.commands.glyphHistory().recordDab(workspace.currentGlyph, [&] {
        glyph.pixels[std::size_t(hit->x)][std::size_t(hit->y)] = paintColour();
    });
}

void TfontGraphForm::bucket(QPoint at)
{
    project::Workspace &workspace = context_.workspace;
    font::tGraphChar &glyph = workspace.glyphs[workspace.currentGlyph];
    const auto hit = font::glyphPixelAt(glyph, at.x(), at.y(), workspace.settings.pixelSize);
    if (!hit)
        return;
    // A step of the history even when the area already has the colour: the
    // font counts as modified all the same.
    context_.commands.glyphHistory().recordPainting(
        workspace.currentGlyph, [&] { font::paintBucket(glyph, hit->x, hit->y, paintColour()); });
}

void TfontGraphForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Glyphs may have changed while the editor was hidden, unseen.
    drawn_.reset();
    timer_->start();
}

void TfontGraphForm::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    timer_->stop();
}

void TfontGraphForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fillClientArea();
}

}  // namespace letterloom::ui
