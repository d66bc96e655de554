#include "ui/font_size_form.h"

#include "project/glyph_history.h"
#include "project/project_commands.h"
#include "project/prompter.h"
#include "project/workspace.h"
#include "ui/draw_form.h"
#include "ui/font_form.h"
#include "ui/font_graph_form.h"
#include "ui/shell_effects.h"
#include "ui/spin_field.h"
#include "ui/tool_window.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace letterloom::ui {

namespace {

constexpr QSize kClientSize{185, 145};
constexpr int kMinimumSide = 1;
constexpr int kMaximumSide = 100;
constexpr int kDefaultSide = 8;

QLabel *addLabel(QWidget *parent, const char *name, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(at);
    label->adjustSize();
    return label;
}

}  // namespace

TfontSizeForm::TfontSizeForm(Context &context, QWidget *parent)
    : QDialog(parent), context_(context)
{
    context_.windows.fontSize = this;
    setObjectName(QStringLiteral("fontSizeForm"));
    // The other tool windows stay on top, and a modal dialog behind them
    // would leave the program looking frozen: this one is above them too.
    makeToolWindow(this);
    setModal(true);
    setFixedSize(kClientSize);
    setWindowTitle(QStringLiteral("Set character size."));
    context_.workspace.settings.defaultGlyphWidth = kDefaultSide;
    context_.workspace.settings.defaultGlyphHeight = kDefaultSide;

    // Made in tab order, so the focus starts on OK.
    btnOk_ = new QPushButton(QStringLiteral("Ok"), this);
    btnOk_->setObjectName(QStringLiteral("btnOk"));
    btnOk_->setGeometry(8, 112, 73, 25);
    gCharWidth_ = new SpinField(kMinimumSide, kMaximumSide, this);
    gCharWidth_->setObjectName(QStringLiteral("gCharWidth"));
    gCharWidth_->setGeometry(72, 32, 73, 22);
    gCharHeight_ = new SpinField(kMinimumSide, kMaximumSide, this);
    gCharHeight_->setObjectName(QStringLiteral("gCharHeight"));
    gCharHeight_->setGeometry(72, 56, 73, 22);
    btnCancel_ = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setGeometry(104, 112, 75, 25);
    gCharDefSize_ = new QCheckBox(QStringLiteral("Defaults"), this);
    gCharDefSize_->setObjectName(QStringLiteral("gCharDefSize"));
    gCharDefSize_->setGeometry(8, 88, 169, 17);
    gCharDefSize_->setChecked(true);
    setTabOrder(btnOk_, gCharWidth_);
    setTabOrder(gCharWidth_, gCharHeight_);
    setTabOrder(gCharHeight_, btnCancel_);
    setTabOrder(btnCancel_, gCharDefSize_);

    // Neither button answers Enter or Escape for the whole dialog.
    for (QPushButton *button : {btnOk_, btnCancel_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    QLabel *caption = addLabel(this, "labelCaption", QStringLiteral("Set font size:"), {16, 8});
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    caption->setAlignment(Qt::AlignCenter);
    caption->setGeometry(16, 8, 153, 13);
    addLabel(this, "labelWidth", QStringLiteral("Width:"), {24, 34});
    addLabel(this, "labelHeight", QStringLiteral("Height:"), {24, 58});
    addLabel(this, "labelPx1", QStringLiteral("px"), {152, 34});
    addLabel(this, "labelPx2", QStringLiteral("px"), {152, 58});

    connect(btnOk_, &QPushButton::clicked, this, &TfontSizeForm::btnOkClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TfontSizeForm::btnCancelClick);
}

void TfontSizeForm::setFields(int width, int height)
{
    const project::Workspace &workspace = context_.workspace;
    const font::tGraphChar &glyph = workspace.glyphs[workspace.currentGlyph];
    gCharWidth_->setMaximum(std::max(kMaximumSide, glyph.width));
    gCharHeight_->setMaximum(std::max(kMaximumSide, glyph.height));
    gCharWidth_->setValue(width);
    gCharHeight_->setValue(height);
}

void TfontSizeForm::btnOkClick()
{
    const bool done = project::runCommand(context_.prompter, [this] {
        project::Workspace &workspace = context_.workspace;
        const Windows &windows = context_.windows;
        windows.draw->show();
        // A click moves the focus to the button, which brings the fields within
        // their limits; a field left as it was typed is kept within them here.
        workspace.settings.defaultGlyphWidth = std::clamp(gCharWidth_->value(), kMinimumSide, gCharWidth_->maximum());
        workspace.settings.defaultGlyphHeight =
            std::clamp(gCharHeight_->value(), kMinimumSide, gCharHeight_->maximum());
        const int code = workspace.currentGlyph;
        // One step of the history, which makes the font modified.
        context_.commands.glyphHistory().record(code, [&] {
            const std::int32_t oldWidth = workspace.glyphs[code].width;
            const std::int32_t oldHeight = workspace.glyphs[code].height;
            workspace.glyphs[code].defined = 1;
            workspace.glyphs.setGlyphSize(code, workspace.settings.defaultGlyphWidth,
                                          workspace.settings.defaultGlyphHeight);
            // A new glyph becomes all white; a grown one gets white margins.
            workspace.glyphs.clearOutside(code, oldWidth, oldHeight);
        });
        windows.fontGraph->fitToGlyph();
        windows.font->refreshGrid();
        windows.fontGraph->show();
    });
    if (!done)
        return;
    accept();
    // The editor and the tools come in front of whatever covers them, the
    // editor with the keyboard, as after a double-click on a defined glyph.
    bringBack(context_.windows.draw);
    bringBack(context_.windows.fontGraph);
}

void TfontSizeForm::btnCancelClick()
{
    reject();
}

void TfontSizeForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const QRect screenArea = screen()->availableGeometry();
    const QSize outer = size() + frameExtent(this);
    move(screenArea.x() + (screenArea.width() - outer.width()) / 2,
         screenArea.y() + (screenArea.height() - outer.height()) / 2);
    raise();
    activateWindow();
}

void TfontSizeForm::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter presses the button that has the focus, and nothing else.
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->click();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

}  // namespace letterloom::ui
