#pragma once

#include "ui/context.h"

#include <QWidget>

namespace letterloom::ui {

// The glyph editor: the current glyph magnified.
class TfontGraphForm : public QWidget {
    Q_OBJECT
public:
    explicit TfontGraphForm(Context &context, QWidget *parent = nullptr);

    // Sizes the client area to the current glyph at the pixel size, and the
    // editor raster to the client area.
    void fitToGlyph();

private:
    Context &context_;
};

}  // namespace letterloom::ui
