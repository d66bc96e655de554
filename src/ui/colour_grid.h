#pragma once

#include "raster/colour.h"

#include <QWidget>

#include <array>

namespace letterloom::ui {

// The 16 fixed colours in 8 columns and 2 rows, with a foreground square
// chosen with the left button and a background square chosen with the right
// button, both marked. While a button is held its square follows the pointer;
// the release is reported so the owner can take the colour.
class ColourGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColumns = 8;
    static constexpr int kRows = 2;
    // Square index 8 x row + column, row 0 on top.
    static const std::array<raster::Colour, kColumns * kRows> kColours;

    explicit ColourGrid(QWidget *parent = nullptr);

    int foregroundIndex() const { return foreground_; }
    int backgroundIndex() const { return background_; }
    raster::Colour foregroundColour() const { return kColours[std::size_t(foreground_)]; }
    raster::Colour backgroundColour() const { return kColours[std::size_t(background_)]; }

    // The square under a position, or -1.
    int squareAt(QPoint position) const;
    QRect squareRect(int index) const;

signals:
    void mouseUp(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void follow(Qt::MouseButtons held, QPoint position);

    int foreground_ = 0;
    int background_ = 15;
};

}  // namespace letterloom::ui
