#pragma once

#include "font/grid_import.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QPushButton;

namespace letterloom::project {
class Prompter;
}

namespace letterloom::ui {

// The picture grid dialog of Font > Import from Picture... and Font > Export
// Picture Grid...: the grid's cells, codes and colours, with a live preview.
// Reading shows the grid over the picture (cyan cells give a glyph, grey
// ones do not) and the glyphs it will make; drawing shows the picture the
// font's grid makes. The summary line says what comes out, or why nothing
// can; OK is enabled only when something can.
class TgridForm : public QDialog {
    Q_OBJECT
public:
    // Reading a picture.
    TgridForm(project::Prompter &prompter, const QImage &picture, const font::GridImportSettings &start,
              QWidget *parent = nullptr);
    // Drawing a font.
    TgridForm(project::Prompter &prompter, const font::GlyphTable &glyphs, const font::GridExportSettings &start,
              QWidget *parent = nullptr);

    font::GridImportSettings importSettings() const;
    font::GridExportSettings exportSettings() const;

    // Draws the preview and the summary again from the controls.
    void updatePreview();

private:
    TgridForm(project::Prompter &prompter, bool drawing, QWidget *parent);
    void createControls();
    void showSettings(const font::GridLayout &grid, const font::CellCodes &codes, std::optional<raster::Colour> background,
                      std::optional<raster::Colour> ink);
    void chooseColour(QPushButton *button, raster::Colour &colour);
    font::GridLayout layout() const;
    font::CellCodes codes(QStringList *lost) const;
    void previewImport();
    void previewExport();

    project::Prompter &prompter_;
    bool drawing_;
    QImage picture_;
    const font::GlyphTable *glyphs_ = nullptr;
    font::CharMap charMap_;  // the cells' characters are read and shown through it
    raster::Colour background_ = 0xFF00FF;
    raster::Colour ink_ = raster::kBlack;
    bool ready_ = false;

    QSpinBox *gCellWidth_;
    QSpinBox *gCellHeight_;
    QSpinBox *gMarginX_;
    QSpinBox *gMarginY_;
    QSpinBox *gGapX_;
    QSpinBox *gGapY_;
    QSpinBox *gColumns_;
    QRadioButton *rbFirstCode_;
    QSpinBox *gFirstCode_;
    QRadioButton *rbChars_;
    QLineEdit *edChars_;
    QCheckBox *cbBackground_;
    QPushButton *btBackground_;
    QCheckBox *cbInk_;
    QPushButton *btInk_;
    QCheckBox *cbTrim_;
    QSpinBox *gSpacing_;
    QSpinBox *gSpaceWidth_;
    QSpinBox *gZoom_;
    QLabel *lbPicture_;
    QLabel *lbGlyphs_;
    QLabel *lbStatus_;
    QDialogButtonBox *buttons_;
};

}  // namespace letterloom::ui
