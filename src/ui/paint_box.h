#pragma once

#include "raster/raster.h"

#include <QWidget>

namespace letterloom::ui {

// The drawing surface of the image view and of the glyph editor: shows a
// raster as it is, top-left at (0, 0) and white beyond it, and passes the
// mouse on. While a button is held it keeps the mouse, so moves and the
// release arrive also from outside the window.
class PaintBox : public QWidget {
    Q_OBJECT
public:
    PaintBox(const raster::Raster &picture, QWidget *parent);

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);
    void mouseMove(Qt::MouseButtons held, Qt::KeyboardModifiers shift, QPoint at);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);
    // The pointer has left the surface.
    void mouseLeft();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    const raster::Raster &picture_;
};

}  // namespace letterloom::ui
