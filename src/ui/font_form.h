#pragma once

#include "ui/context.h"

#include <QWidget>

namespace letterloom::ui {

// The character table: the 256 glyphs in a 16 x 16 grid.
class TfontForm : public QWidget {
    Q_OBJECT
public:
    explicit TfontForm(Context &context, QWidget *parent = nullptr);

    // Repaints all 256 cells, so the cyan marking follows the glyph table.
    void refreshGrid();

private:
    Context &context_;
};

}  // namespace letterloom::ui
