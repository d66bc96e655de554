#include "ui/text_form.h"

#include "project/workspace.h"
#include "ui/text_codec.h"
#include "ui/tool_window.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

namespace letterloom::ui {

namespace {

constexpr int kLeft = 394;
constexpr int kTop = 120;
constexpr int kHeight = 195;
// The window reaches from its left edge to 8 pixels short of the screen's right edge.
constexpr int kRightMargin = 8;

}  // namespace

TtextForm::TtextForm(Context &context, QWidget *parent)
    : QWidget(parent), context_(context), memo_(new QPlainTextEdit(this))
{
    context_.windows.text = this;
    setObjectName(QStringLiteral("textForm"));
    makeToolWindow(this);
    // The size counts the window's frame, which is known only once the
    // window system has framed the shown window.
    setOuterSize(this, outerSize());
    whenFramed(this, [this] { setOuterSize(this, outerSize()); });
    move(kLeft, kTop);
    setWindowTitle(QStringLiteral("Text Input Window"));

    memo_->setObjectName(QStringLiteral("Memo"));
    memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo_);
    connect(memo_, &QPlainTextEdit::textChanged, this, &TtextForm::MemoChange);
}

QSize TtextForm::outerSize()
{
    return {QGuiApplication::primaryScreen()->geometry().width() - kLeft - kRightMargin, kHeight};
}

QByteArray TtextForm::bytes() const
{
    // The raw text: the plain text would turn no-break spaces into spaces.
    return editorTextToBytes(memo_->document()->toRawText());
}

void TtextForm::setBytes(const QByteArray &bytes)
{
    memo_->setPlainText(bytesToEditorText(bytes));
}

void TtextForm::MemoChange()
{
    context_.workspace.textChanged = true;
}

}  // namespace letterloom::ui
