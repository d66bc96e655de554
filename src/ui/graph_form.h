#pragma once

#include "project/text_area.h"
#include "raster/raster.h"
#include "ui/context.h"
#include "ui/paint_box.h"

#include <QWidget>

#include <cstdint>
#include <optional>

class QTimer;

namespace letterloom::ui {

// The image view: a 1 ms timer composes the whole scene (picture, text area
// frame, hints, rendered text) into the view raster and shows it, on every
// tick that finds the workspace's revision or the view's own state moved
// since the frame it last drew. With Ctrl held the user draws the text area
// on it with the mouse.
class TgraphForm : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kInitialSize{297, 274};

    explicit TgraphForm(Context &context, QWidget *parent = nullptr);

    const raster::Raster &viewRaster() const { return view_; }
    // The size of the drawing surface, which is the client area and the view
    // raster's size.
    QSize surfaceSize() const { return view_.size(); }
    // Sizes the client area and the view raster to a picture; the window keeps
    // that fixed size.
    void setViewSize(QSize size);

    // The picture pixel under the pointer; nothing while the pointer is
    // elsewhere or there is no picture.
    std::optional<QPoint> pointerPixel() const { return pointer_; }

    // One tick of the timer: compose and show, when anything changed.
    void TimerTimer();
    // Image Export: writes the scene without frame and hints to a chosen file,
    // with the timer paused meanwhile.
    void exportImage();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // What a frame was drawn from.
    struct Frame {
        std::uint64_t revision = 0;
        bool selectionMode = false;
        QSize size;
        bool operator==(const Frame &other) const = default;
    };

    void FormKeyDown(int key, Qt::KeyboardModifiers shift);
    void FormKeyUp();
    void PaintBoxMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);
    void PaintBoxMouseMove(Qt::MouseButtons held, Qt::KeyboardModifiers shift, QPoint at);
    void PaintBoxMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);

    Context &context_;
    raster::Raster view_;
    project::AreaSelection selection_;
    PaintBox *paintBox_;
    QTimer *timer_;
    std::optional<Frame> drawn_;  // nothing while the view raster holds no frame of the screen
    std::optional<QPoint> pointer_;
};

}  // namespace letterloom::ui
