#include "ui/draw_form.h"

#include "font/glyph_transforms.h"
#include "project/glyph_history.h"
#include "project/project_commands.h"
#include "project/prompter.h"
#include "project/workspace.h"
#include "ui/colour_grid.h"
#include "ui/font_graph_form.h"
#include "ui/tool_window.h"

#include <QActionGroup>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QToolBar>
#include <QToolButton>

namespace letterloom::ui {

namespace {

constexpr QSize kButtonSize{23, 22};
// The palette's 265 pixels, widened by the undo and redo buttons.
constexpr QSize kClientSize{265 + 2 * kButtonSize.width(), 81};
constexpr QPoint kPosition{8, 411};
constexpr int kToolBarHeight = 29;
constexpr int kEdge = 2;  // the etched lines above and below the toolbar
constexpr int kSeparatorWidth = 8;

// Tool buttons side by side without gaps, separators 8 pixels wide.
class ToolBarStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        switch (metric) {
        case PM_ToolBarSeparatorExtent: return kSeparatorWidth;
        case PM_ToolBarItemSpacing:
        case PM_ToolBarItemMargin:
        case PM_ToolBarFrameWidth: return 0;
        default: return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

// An etched line across the toolbar; the toolbar's layout leaves it alone.
void addEdge(QToolBar *bar, int top)
{
    auto *edge = new QFrame(bar);
    edge->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    edge->setGeometry(0, top, kClientSize.width(), kEdge);
}

}  // namespace

ColourSwatch::ColourSwatch(raster::Colour colour, QWidget *parent)
    : QWidget(parent), colour_(colour)
{
}

void ColourSwatch::setColour(raster::Colour colour)
{
    colour_ = colour;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(QColor::fromRgb(raster::toQRgb(colour_)));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColourSwatch::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The right and middle buttons choose nothing here.
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

TdrawForm::TdrawForm(Context &context, QWidget *parent)
    : QWidget(parent), context_(context)
{
    context_.windows.draw = this;
    setObjectName(QStringLiteral("drawForm"));
    makeToolWindow(this);
    setFixedSize(kClientSize);
    move(kPosition);
    setWindowTitle(QStringLiteral("Drawing Tools "));
    createToolBar();
    createColours();
}

void TdrawForm::createToolBar()
{
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    auto *style = new ToolBarStyle;
    style->setParent(bar);
    bar->setStyle(style);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize({16, 16});
    // The toolbar band with its edge lines, the buttons between them.
    bar->setGeometry(0, 0, kClientSize.width(), kToolBarHeight);
    addEdge(bar, 0);
    addEdge(bar, kToolBarHeight - kEdge);

    const auto addSeparator = [bar](const char *name) { bar->addSeparator()->setObjectName(QLatin1String(name)); };
    const auto addButton = [this, bar](const char *name, const char *icon, const QString &hint) {
        QAction *button = bar->addAction(QIcon(QStringLiteral(":/icons/draw_%1.svg").arg(QLatin1String(icon))), hint);
        button->setObjectName(QLatin1String(name));
        button->setToolTip(hint);
        bar->widgetForAction(button)->setFixedSize(kButtonSize);
        return button;
    };
    const auto addTransform = [this, addButton](const char *name, const char *icon, const QString &hint,
                                                void (TdrawForm::*handler)()) {
        connect(addButton(name, icon, hint), &QAction::triggered, this, handler);
    };

    addSeparator("tbSpace1");
    addTransform("tbGCharLeft", "shift_left", QStringLiteral("Shift Left"), &TdrawForm::tbGCharLeftClick);
    addTransform("tbGCharRight", "shift_right", QStringLiteral("Shift Right"), &TdrawForm::tbGCharRightClick);
    addTransform("tbGCharUp", "shift_up", QStringLiteral("Shift Up"), &TdrawForm::tbGCharUpClick);
    addTransform("tbGCharDown", "shift_down", QStringLiteral("Shift Down"), &TdrawForm::tbGCharDownClick);
    addSeparator("tbSpace2");
    addTransform("tbGCharWidthInc", "width_inc", QStringLiteral("Increase Width"), &TdrawForm::tbGCharWidthIncClick);
    addTransform("tbGCharWidthDec", "width_dec", QStringLiteral("Decrease Width"), &TdrawForm::tbGCharWidthDecClick);
    addTransform("tbGCharHeightInc", "height_inc", QStringLiteral("Increase Height"),
                 &TdrawForm::tbGCharHeightIncClick);
    addTransform("tbGCharHeightDec", "height_dec", QStringLiteral("Decrease Height"),
                 &TdrawForm::tbGCharHeightDecClick);
    addSeparator("tbSpace3");
    drawPen_ = addButton("drawPen", "pencil", QStringLiteral("Pencil"));
    drawPotting_ = addButton("drawPotting", "bucket", QStringLiteral("Paint Bucket"));
    addSeparator("tbSpace4");
    QAction *undo = addButton("tbUndo", "undo", QStringLiteral("Undo"));
    QAction *redo = addButton("tbRedo", "redo", QStringLiteral("Redo"));
    connectHistoryActions(undo, redo, context_.commands.glyphHistory());

    // Exactly one of the two tools is down; the pencil at the start.
    auto *tools = new QActionGroup(this);
    tools->setExclusive(true);
    for (QAction *tool : {drawPen_, drawPotting_}) {
        tool->setCheckable(true);
        tools->addAction(tool);
    }
    drawPen_->setChecked(true);
}

void TdrawForm::createColours()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("colorPanel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(0, 32, 48, 48);
    // Made in this order, the foreground swatch lies over the background one.
    bgColor_ = new ColourSwatch(raster::kWhite, panel);
    bgColor_->setObjectName(QStringLiteral("bgColor"));
    bgColor_->setGeometry(8, 8, 24, 24);
    fgColor_ = new ColourSwatch(raster::kBlack, panel);
    fgColor_->setObjectName(QStringLiteral("fgColor"));
    fgColor_->setGeometry(18, 18, 24, 24);

    colorGrid_ = new ColourGrid(this);
    colorGrid_->setObjectName(QStringLiteral("ColorGrid"));
    colorGrid_->setGeometry(48, 32, 216, 48);

    connect(colorGrid_, &ColourGrid::mouseUp, this, &TdrawForm::ColorGridMouseUp);
    connect(fgColor_, &ColourSwatch::doubleClicked, this, &TdrawForm::fgColorDblClick);
    connect(bgColor_, &ColourSwatch::doubleClicked, this, &TdrawForm::bgColorDblClick);
}

DrawTool TdrawForm::tool() const
{
    return drawPotting_->isChecked() ? DrawTool::PaintBucket : DrawTool::Pencil;
}

raster::Colour TdrawForm::foregroundColour() const
{
    return fgColor_->colour();
}

raster::Colour TdrawForm::backgroundColour() const
{
    return bgColor_->colour();
}

void TdrawForm::transform(void (*command)(font::tGraphChar &), bool resizes)
{
    project::runCommand(context_.prompter, [&] {
        project::Workspace &workspace = context_.workspace;
        const int code = workspace.currentGlyph;
        // One step of the history, which makes the font modified.
        context_.commands.glyphHistory().record(code, [&] { command(workspace.glyphs[code]); });
        if (resizes && context_.windows.fontGraph)
            context_.windows.fontGraph->fitToGlyph();
    });
}

void TdrawForm::tbGCharLeftClick() { transform(font::shiftLeft, false); }
void TdrawForm::tbGCharRightClick() { transform(font::shiftRight, false); }
void TdrawForm::tbGCharUpClick() { transform(font::shiftUp, false); }
void TdrawForm::tbGCharDownClick() { transform(font::shiftDown, false); }
void TdrawForm::tbGCharWidthIncClick() { transform(font::increaseWidth, true); }
void TdrawForm::tbGCharWidthDecClick() { transform(font::decreaseWidth, true); }
void TdrawForm::tbGCharHeightIncClick() { transform(font::increaseHeight, true); }
void TdrawForm::tbGCharHeightDecClick() { transform(font::decreaseHeight, true); }

void TdrawForm::ColorGridMouseUp(Qt::MouseButton Button)
{
    if (Button == Qt::LeftButton)
        fgColor_->setColour(colorGrid_->foregroundColour());
    else if (Button == Qt::RightButton)
        bgColor_->setColour(colorGrid_->backgroundColour());
}

void TdrawForm::chooseSwatchColour(ColourSwatch *swatch)
{
    const std::optional<raster::Colour> chosen = context_.prompter.chooseColour(dialogColour_);
    if (!chosen)
        return;
    dialogColour_ = *chosen;
    swatch->setColour(*chosen);
}

void TdrawForm::fgColorDblClick()
{
    chooseSwatchColour(fgColor_);
}

void TdrawForm::bgColorDblClick()
{
    chooseSwatchColour(bgColor_);
}

void connectHistoryActions(QAction *undo, QAction *redo, project::GlyphHistory &history)
{
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    QUndoStack &stack = history.stack();
    undo->setEnabled(stack.canUndo());
    redo->setEnabled(stack.canRedo());
    QObject::connect(&stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    QObject::connect(&stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    for (QAction *action : {undo, redo})
        action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(undo, &QAction::triggered, &history, &project::GlyphHistory::undo);
    QObject::connect(redo, &QAction::triggered, &history, &project::GlyphHistory::redo);
}

void addHistoryKeys(QWidget *window, project::GlyphHistory &history)
{
    auto *undo = new QAction(QStringLiteral("Undo"), window);
    auto *redo = new QAction(QStringLiteral("Redo"), window);
    connectHistoryActions(undo, redo, history);
    window->addActions({undo, redo});
}

}  // namespace letterloom::ui
