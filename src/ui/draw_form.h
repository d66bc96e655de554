#pragma once

#include "font/glyph_table.h"
#include "raster/colour.h"
#include "ui/context.h"

#include <QWidget>

class QAction;

namespace letterloom::project {
class GlyphHistory;
}

namespace letterloom::ui {

class ColourGrid;

// A colour swatch of the drawing tools: a framed square of one colour.
class ColourSwatch : public QWidget {
    Q_OBJECT
public:
    ColourSwatch(raster::Colour colour, QWidget *parent);

    raster::Colour colour() const { return colour_; }
    void setColour(raster::Colour colour);

signals:
    // A double-click with the left button.
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    raster::Colour colour_;
};

enum class DrawTool { Pencil, PaintBucket };

// The drawing tools: the eight glyph transforms, the choice between pencil
// and paint bucket, the foreground and background swatches and the 16-colour
// grid they are picked from. The glyph editor reads the tool and the two
// swatch colours on every press.
class TdrawForm : public QWidget {
    Q_OBJECT
public:
    explicit TdrawForm(Context &context, QWidget *parent = nullptr);

    DrawTool tool() const;
    raster::Colour foregroundColour() const;
    raster::Colour backgroundColour() const;

    // The transform buttons act on the current glyph.
    void tbGCharLeftClick();
    void tbGCharRightClick();
    void tbGCharUpClick();
    void tbGCharDownClick();
    void tbGCharWidthIncClick();
    void tbGCharWidthDecClick();
    void tbGCharHeightIncClick();
    void tbGCharHeightDecClick();

    void ColorGridMouseUp(Qt::MouseButton Button);
    void fgColorDblClick();
    void bgColorDblClick();

private:
    void createToolBar();
    void createColours();
    // Runs a transform on the current glyph; the size commands then fit the
    // glyph editor to the new size.
    void transform(void (*command)(font::tGraphChar &), bool resizes);
    void chooseSwatchColour(ColourSwatch *swatch);

    Context &context_;
    QAction *drawPen_ = nullptr;
    QAction *drawPotting_ = nullptr;
    ColourSwatch *bgColor_ = nullptr;
    ColourSwatch *fgColor_ = nullptr;
    ColourGrid *colorGrid_ = nullptr;
    raster::Colour dialogColour_ = raster::kBlack;  // the colour dialog keeps its last choice
};

// Gives undo and redo actions of a font editor window their keys, Ctrl+Z for
// undo and Ctrl+Y or Ctrl+Shift+Z for redo, working while the window is
// active; each action runs on the glyph history and is enabled only while
// there is a step to undo or redo.
void connectHistoryActions(QAction *undo, QAction *redo, project::GlyphHistory &history);
// Adds such a pair of actions, without buttons, to a window.
void addHistoryKeys(QWidget *window, project::GlyphHistory &history);

}  // namespace letterloom::ui
