#pragma once

#include "font/char_map.h"
#include "ui/context.h"

#include <QWidget>

class QMenu;

namespace letterloom::ui {

class StringGrid;

// The character table: the 256 glyphs in a 16 x 16 grid. Selecting a cell
// makes its glyph the current glyph; defined glyphs are marked cyan. A
// double-click opens the glyph editor on a defined glyph and the glyph size
// dialog on an undefined one; the context menu resizes, deletes or saves.
class TfontForm : public QWidget {
    Q_OBJECT
public:
    explicit TfontForm(Context &context, QWidget *parent = nullptr);

    // Repaints all 256 cells, so the cyan marking follows the glyph table.
    void refreshGrid();
    // Selects a glyph's cell as a click on it would, so that a glyph given
    // back by undo or redo is the one the editor shows.
    void showGlyph(int code);

    // The text of a glyph's cell: $00 .. $31 for the control codes, the
    // character itself from 32 on (a blank for 32). Through a character map,
    // the text the map gives the code; "$nn" below 100 and nothing above for
    // a code whose text the map leaves empty or makes a control character.
    static QString cellLabel(int code, const font::CharMap &map = {});
    // Labels every cell and captions the glyph editor through the font's
    // character map as it is now.
    void showCharMap();

    // The grid's and the context menu's handlers.
    void StringGridSelectCell(int ACol, int ARow);
    void StringGridClick();
    void StringGridDblClick();
    void StringGridDrawCell(QPainter &painter, int ACol, int ARow, const QRect &Rect);
    void pmSetGCharSizeClick();
    void pmDeleteGCharClick();
    void pmSaveFontClick();
    // Whether the window may close: asks to save a modified font first.
    bool FormCloseQuery();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createPopupMenu();
    // The main window has closed: the program is on its way out.
    bool programIsLeaving() const;
    // Saves to the font's own file, or asks for one; false when it failed.
    bool saveFont();

    Context &context_;
    StringGrid *grid_;
    QMenu *popupMenu_;
};

// The glyph editor's caption for a glyph: `8*10 - "A"`, the character the
// code stands for through the font's character map.
QString glyphCaption(int width, int height, int code, const font::CharMap &map = {});

}  // namespace letterloom::ui
