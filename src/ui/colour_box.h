#pragma once

#include "raster/colour.h"

#include <QComboBox>

namespace letterloom::ui {

// A list of colours to pick the text colour from: the standard colours, the
// extended named colours and the system colours of the current palette, each
// with its name and a swatch. Black comes first and is selected at the start.
// A system colour is resolved when it is read, so it follows the palette.
class ColourBox : public QComboBox {
    Q_OBJECT
public:
    explicit ColourBox(QWidget *parent = nullptr);

    raster::Colour currentColour() const;
};

}  // namespace letterloom::ui
