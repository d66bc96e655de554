#include "ui/paint_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace letterloom::ui {

PaintBox::PaintBox(const raster::Raster &picture, QWidget *parent)
    : QWidget(parent), picture_(picture)
{
    setObjectName(QStringLiteral("PaintBox"));
    // The whole surface is painted every time.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (picture_.size() != size())
        painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, picture_.image());
}

void PaintBox::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void PaintBox::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
}

void PaintBox::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

void PaintBox::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    emit mouseLeft();
}

}  // namespace letterloom::ui
