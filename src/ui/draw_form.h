#pragma once

#include "ui/context.h"

#include <QWidget>

namespace letterloom::ui {

// The drawing tools: transforms, pencil and paint bucket, colours.
class TdrawForm : public QWidget {
    Q_OBJECT
public:
    explicit TdrawForm(Context &context, QWidget *parent = nullptr);

private:
    Context &context_;
};

}  // namespace letterloom::ui
