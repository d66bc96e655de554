#pragma once

#include "raster/colour.h"
#include "raster/raster.h"
#include "ui/context.h"

#include <QWidget>

#include <cstdint>
#include <optional>

class QFrame;
class QTimer;

namespace letterloom::ui {

class PaintBox;

// The glyph editor: the current glyph magnified, each glyph pixel a square of
// the pixel size. While the editor is shown a 1 ms timer redraws the whole
// glyph on every tick that finds the workspace's revision or the editor's size
// moved since its last frame, and the same pass copies the glyph's pixels into
// its image, so pencil and paint bucket strokes reach the text. The pencil or the
// paint bucket of the drawing tools paints with the mouse: the left button in
// the foreground colour, the right in the background colour, the middle in
// white.
class TfontGraphForm : public QWidget {
    Q_OBJECT
public:
    explicit TfontGraphForm(Context &context, QWidget *parent = nullptr);

    // Sizes the client area to the current glyph at the pixel size, and the
    // editor raster to the client area.
    void fitToGlyph();
    // The caption names the current glyph: its size and its character,
    // `8*10 - "A"`. The window is kept wide enough to show it.
    void showCaption();

    const raster::Raster &editorRaster() const { return editor_; }

    // One tick of the timer: redraw the current glyph and show it, when
    // anything changed.
    void TimerTimer();
    // The paint box's mouse, at positions of the paint box.
    void PaintBoxMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers shift, QPoint at);
    void PaintBoxMouseMove(Qt::MouseButtons held, Qt::KeyboardModifiers shift, QPoint at);
    void PaintBoxMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers shift, QPoint at);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // What a frame was drawn from.
    struct Frame {
        std::uint64_t revision = 0;
        QSize size;
        bool operator==(const Frame &other) const = default;
    };

    // Makes the least width of the window show its whole caption.
    void keepCaptionVisible();
    // The paint box and the bevel fill the client area; the raster follows.
    void fillClientArea();
    raster::Colour paintColour() const;
    void pencil(QPoint at);
    // The pencil lets go: its stroke is one finished step of the history.
    void endStroke();
    void bucket(QPoint at);

    Context &context_;
    raster::Raster editor_;
    QFrame *bevel_;
    PaintBox *paintBox_;
    QTimer *timer_;
    bool pencilPressed_ = false;
    Qt::MouseButton lastButton_ = Qt::LeftButton;
    std::optional<Frame> drawn_;
};

}  // namespace letterloom::ui
