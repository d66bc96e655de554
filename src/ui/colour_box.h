#pragma once

#include "raster/colour.h"

#include <QComboBox>

#include <functional>
#include <optional>

namespace letterloom::ui {

// A list of colours to pick the text colour from: the standard colours, the
// extended named colours and the system colours of the current palette, each
// with its name and a swatch. Black comes first and is selected at the start.
// A system colour is resolved when it is read, so it follows the palette.
// The last entry, "Custom...", opens the colour dialog; the colour chosen
// there becomes an entry of its own before it, and the current one.
class ColourBox : public QComboBox {
    Q_OBJECT
public:
    using Chooser = std::function<std::optional<raster::Colour>(raster::Colour start)>;

    explicit ColourBox(QWidget *parent = nullptr);

    // The colour dialog that "Custom..." opens.
    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }

    raster::Colour currentColour() const;
    // Makes colour the current entry: the first fixed entry of that colour,
    // else the custom entry, which then holds it.
    void showColour(raster::Colour colour);

private:
    raster::Colour colourAt(int index) const;
    void entryActivated(int index);
    void setCustom(raster::Colour colour);

    Chooser chooser_;
    int shownIndex_ = 0;  // the entry before "Custom..." was picked
};

}  // namespace letterloom::ui
