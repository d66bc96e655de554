#include "ui/font_graph_form.h"

namespace letterloom::ui {

TfontGraphForm::TfontGraphForm(Context &context, QWidget *parent)
    : QWidget(parent), context_(context)
{
}

void TfontGraphForm::fitToGlyph()
{
}

}  // namespace letterloom::ui
