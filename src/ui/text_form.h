#pragma once

#include "ui/context.h"
#include "ui/text_codec.h"

#include <QByteArray>
#include <QWidget>

class QPlainTextEdit;

namespace letterloom::ui {

// The text input window: one plain-text editor, Memo, whose text is what the
// refresh lays out and what project files keep.
class TtextForm : public QWidget {
    Q_OBJECT
public:
    explicit TtextForm(Context &context, QWidget *parent = nullptr);

    // The text as the program's bytes (see text_codec.h), shown through the
    // font's character map.
    QByteArray bytes() const;
    void setBytes(const QByteArray &bytes);
    // Shows the same bytes through the font's character map as it is now.
    void showThroughMap();

    // The hint of the last edit that was refused because a character has no
    // code in the font; empty after one that went through.
    QString refusal() const { return refusal_; }

private:
    // The window's size with its frame: from its left edge to 8 pixels short
    // of the screen's right edge, 195 pixels high.
    static QSize outerSize();
    void MemoChange();
    // Brings the editor's text to the view's with one replacement of what differs.
    void syncMemo();

    Context &context_;
    QPlainTextEdit *memo_;
    TextView view_;
    QString refusal_;
};

}  // namespace letterloom::ui
