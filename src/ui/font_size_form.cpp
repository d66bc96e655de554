#include "ui/font_size_form.h"

namespace letterloom::ui {

TfontSizeForm::TfontSizeForm(Context &context, QWidget *parent)
    : QDialog(parent), context_(context)
{
}

}  // namespace letterloom::ui
