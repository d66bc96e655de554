#pragma once

#include "ui/context.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace letterloom::ui {

class SpinField;

// The glyph size dialog: asks for a width and a height of 1 to 100 pixels,
// or up to the current glyph's own size where that is larger, so that OK
// without an edit never crops a glyph. OK gives the current glyph that size,
// defines it, makes the size the default for the next new glyph and opens the
// glyph editor on it.
class TfontSizeForm : public QDialog {
    Q_OBJECT
public:
    explicit TfontSizeForm(Context &context, QWidget *parent = nullptr);

    // Puts a size into the two fields, each kept within 1 and the larger of
    // 100 and the current glyph's size on that side.
    void setFields(int width, int height);

    void btnOkClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    Context &context_;
    QPushButton *btnOk_;
    SpinField *gCharWidth_;
    SpinField *gCharHeight_;
    QPushButton *btnCancel_;
    QCheckBox *gCharDefSize_;
};

}  // namespace letterloom::ui
