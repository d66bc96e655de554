#pragma once

#include "text/effects.h"
#include "text/layout.h"
#include "ui/context.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace letterloom::ui {

// Edit > Text Effects...: a small tool window with the current area's
// outline, shadow and plate, their sizes and colours, and below them its
// tracking and word spacing (what Edit > Text Spacing... opens). Every change
// goes to the workspace at once (ProjectCommands::setEffects, setSpacing),
// so the image view shows it on its next tick.
class TeffectsForm : public QWidget {
    Q_OBJECT
public:
    explicit TeffectsForm(Context &context, QWidget *parent = nullptr);

    // Brings the controls to the workspace's effects (after Open, New or a
    // change of area); an effect that is off keeps the values last shown.
    void showEffects();
    // The effects the controls show.
    text::Effects effects() const;
    text::Spacing spacing() const;
    // Puts the keyboard on the tracking box (Edit > Text Spacing...).
    void focusSpacing();

private:
    void changed();
    void chooseColour(QPushButton *button, raster::Colour &colour);

    Context &context_;
    bool showing_ = false;
    QCheckBox *outline_;
    QSpinBox *outlineSize_;
    QComboBox *outlineShape_;
    QPushButton *outlineColourButton_;
    QCheckBox *shadow_;
    QSpinBox *shadowX_;
    QSpinBox *shadowY_;
    QPushButton *shadowColourButton_;
    QCheckBox *plate_;
    QSpinBox *platePadding_;
    QPushButton *plateColourButton_;
    QSpinBox *tracking_;
    QSpinBox *wordSpacing_;
    raster::Colour outlineColour_ = raster::kBlack;
    raster::Colour shadowColour_ = raster::kBlack;
    raster::Colour plateColour_ = raster::kBlack;
};

}  // namespace letterloom::ui
