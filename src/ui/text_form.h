#pragma once

#include "ui/context.h"

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

    // The text as the program's bytes (see text_codec.h).
    QByteArray bytes() const;
    void setBytes(const QByteArray &bytes);

private:
    // The window's size with its frame: from its left edge to 8 pixels short
    // of the screen's right edge, 195 pixels high.
    static QSize outerSize();
    void MemoChange();

    Context &context_;
    QPlainTextEdit *memo_;
};

}  // namespace letterloom::ui
