#include "ui/text_form.h"

#include "project/workspace.h"
#include "ui/plain_paste.h"
#include "ui/text_codec.h"
#include "ui/tool_window.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace letterloom::ui {

namespace {

constexpr int kLeft = 394;
constexpr int kTop = 120;
constexpr int kHeight = 195;
// The window reaches from its left edge to 8 pixels short of the screen's right edge.
constexpr int kRightMargin = 8;

}  // namespace

TtextForm::TtextForm(Context &context, QWidget *parent)
    : QWidget(parent), context_(context), memo_(new PlainPaste<QPlainTextEdit>(this))
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
    return view_.bytes();
}

void TtextForm::setBytes(const QByteArray &bytes)
{
    view_.show(bytes, context_.workspace.fontExtras.charMap);
    refusal_.clear();
    memo_->setPlainText(view_.text());
}

void TtextForm::showThroughMap()
{
    view_.remap(context_.workspace.fontExtras.charMap);
    const QSignalBlocker blocker(memo_);
    syncMemo();
}

void TtextForm::syncMemo()
{
    // The raw text: the plain text would turn no-break spaces into spaces.
    const QString shown = memo_->document()->toRawText();
    const QString &wanted = view_.text();
    if (shown == wanted)
        return;
    const qsizetype shorter = std::min(shown.size(), wanted.size());
    qsizetype prefix = 0;
    while (prefix < shorter && shown[prefix] == wanted[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && shown[shown.size() - 1 - suffix] == wanted[wanted.size() - 1 - suffix])
        ++suffix;
    QTextCursor cursor = memo_->textCursor();
    cursor.setPosition(int(prefix));
    cursor.setPosition(int(shown.size() - suffix), QTextCursor::KeepAnchor);
    cursor.insertText(wanted.mid(prefix, wanted.size() - suffix - prefix));
    memo_->setTextCursor(cursor);
}

void TtextForm::MemoChange()
{
    const TextView::Edit edit = view_.edit(memo_->document()->toRawText());
    refusal_ = edit.hint;
    const QSignalBlocker blocker(memo_);
    syncMemo();
    if (!edit.hint.isEmpty()) {
        QToolTip::showText(memo_->mapToGlobal(memo_->cursorRect().bottomLeft()), edit.hint, memo_);
        return;
    }
    context_.workspace.textChanged = true;
}

}  // namespace letterloom::ui
