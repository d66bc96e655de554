#pragma once

#include "font/char_map.h"
#include "font/glyph_table.h"
#include "font/kerning.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace letterloom::ui {

// Font > Kerning...: the font's kerning pairs in a list, a pair typed as two
// characters of the font (through its character map, or "$" and the code)
// and its pixels, and a test string drawn in the font with the pairs as they
// stand, at every change. OK gives the pairs back; Cancel leaves the font.
class TkerningForm : public QDialog {
    Q_OBJECT
public:
    TkerningForm(const font::GlyphTable &glyphs, const font::Kerning &start, const font::CharMap &map,
                 QWidget *parent = nullptr);

    const font::Kerning &kerning() const { return kerning_; }
    // The test string as drawn, at the font's own size (shown twice as large).
    QImage preview() const;

private:
    // The code one typed character stands for, or -1.
    int codeOf(const QString &typed) const;
    void setPair();
    void removePair();
    void pairChosen();
    void showPairs();
    void updatePreview();

    const font::GlyphTable &glyphs_;
    font::CharMap map_;
    font::Kerning kerning_;
    QTableWidget *pairs_;
    QLineEdit *left_;
    QLineEdit *right_;
    QSpinBox *pixels_;
    QLabel *status_;
    QLineEdit *sample_;
    QLabel *preview_;
    QImage drawn_;
};

}  // namespace letterloom::ui
