#include "ui/draw_form.h"

namespace letterloom::ui {

TdrawForm::TdrawForm(Context &context, QWidget *parent)
    : QWidget(parent), context_(context)
{
}

}  // namespace letterloom::ui
