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
    void MemoChange();

    Context &context_;
    QPlainTextEdit *memo_;
};

}  // namespace letterloom::ui
