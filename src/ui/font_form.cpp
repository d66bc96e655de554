#include "ui/font_form.h"

namespace letterloom::ui {

TfontForm::TfontForm(Context &context, QWidget *parent)
    : QWidget(parent), context_(context)
{
}

void TfontForm::refreshGrid()
{
}

}  // namespace letterloom::ui
