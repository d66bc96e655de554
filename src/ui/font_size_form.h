#pragma once

#include "ui/context.h"

#include <QDialog>

namespace letterloom::ui {

// The glyph size dialog.
class TfontSizeForm : public QDialog {
    Q_OBJECT
public:
    explicit TfontSizeForm(Context &context, QWidget *parent = nullptr);

private:
    Context &context_;
};

}  // namespace letterloom::ui
