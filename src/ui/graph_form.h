#pragma once

#include "project/text_area.h"
#include "raster/raster.h"
#include "ui/context.h"
#include "ui/paint_box.h"

#include <QWidget>

#include <cstdint>
#include <optional>

class QScrollBar;
class QTimer;

namespace letterloom::ui {

// The image view: a 1 ms timer composes the whole scene (picture, text area
// frame, hints, rendered text) into the scene raster and shows the visible
// part of it, enlarged by the zoom, on every tick that finds the workspace's
// revision or the view's own state moved since the frame it last drew. With
// Ctrl held the user draws the text area on it with the mouse, in picture
// pixels whatever the zoom.
//
// The window is as large as the picture at its zoom and never larger than the
// screen's available area; beyond that the picture scrolls inside it.
class TgraphForm : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kInitialSize{297, 274};

    explicit TgraphForm(Context &context, QWidget *parent = nullptr);

    // What the window shows: the visible part of the scene at the zoom,
    // the size of the drawing surface on screen.
    const raster::Raster &viewRaster() const { return view_; }
    // The size of the scene in picture pixels (the picture's size once one
    // is loaded), which bounds the text area and the nudges.
    QSize surfaceSize() const { return scene_.size(); }
    // Sizes the scene to a picture; the window takes the size it needs to
    // show it at the zoom, as far as the screen has room, and keeps it.
    void setViewSize(QSize size);

    // Screen pixels per picture pixel, one of project::kZoomLevels.
    int zoom() const { return zoom_; }
    // Chooses a zoom (and keeps it for the next run); the picture point
    // shown at `anchor` of the drawing surface stays there where it can.
    void setZoom(int zoom, std::optional<QPoint> anchor = std::nullopt);
    // The top-left corner of the visible part, in pixels of the enlarged picture.
    QPoint origin() const;

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
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What a frame was drawn from.
    struct Frame {
        std::uint64_t revision = 0;
        bool selectionMode = false;
        QSize surface;
        int zoom = 1;
        QPoint origin;
        QSize viewport;
        bool operator==(const Frame &other) const = default;
    };

    // Sizes the drawing surface, the scroll bars and the window to the scene
    // at the zoom; fitting the window into the screen moves it back inside
    // where it now sticks out. True when the picture scrolls.
    bool layOut(bool fitIntoScreen);
    void keepInsideScreen();
    // The picture pixel under a point of the drawing surface.
    QPoint toPicture(QPoint atView) const;
    // A Ctrl+wheel turn zooms around the pointer; true when it did.
    bool wheelZooms(QWheelEvent *event, QPoint atView);
    // While a drag goes on past the edge of the visible part, the picture
    // scrolls towards the pointer and the area follows.
    void AutoScrollTimer();

    void FormKeyDown(int key, Qt::KeyboardModifiers shift);
    void FormKeyUp();
    void PaintBoxMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);
    void PaintBoxMouseMove(Qt::MouseButtons held, Qt::KeyboardModifiers shift, QPoint at);
    void PaintBoxMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);

    Context &context_;
    raster::Raster scene_;  // the scene at 1x, as large as the picture
    raster::Raster view_;   // the visible part on screen
    project::AreaSelection selection_;
    PaintBox *paintBox_;
    QScrollBar *horizontal_;
    QScrollBar *vertical_;
    QTimer *timer_;
    QTimer *autoScroll_;
    int zoom_ = 1;
    int wheelTurn_ = 0;          // wheel steps short of a whole notch
    QPoint dragAt_;              // where the pointer of a drag is, on the drawing surface
    std::optional<Frame> drawn_;  // nothing while the view raster holds no frame of the screen
    std::optional<QPoint> pointer_;
};

}  // namespace letterloom::ui
