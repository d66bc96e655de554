#include "ui/string_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace letterloom::ui {

namespace {

constexpr int kLine = 1;                 // grid line width
constexpr QPoint kTextOffset{2, 2};      // where a cell's text starts
const QColor kLineColour(0xC0, 0xC0, 0xC0);

}  // namespace

StringGrid::StringGrid(int columns, int rows, QWidget *parent)
    : QWidget(parent), columns_(columns), rows_(rows), texts_(columns * rows)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void StringGrid::setColumnWidth(int width)
{
    columnWidth_ = width;
    updateGeometry();
    update();
}

void StringGrid::setRowHeight(int height)
{
    rowHeight_ = height;
    updateGeometry();
    update();
}

QString StringGrid::cellText(int column, int row) const
{
    return texts_.value(row * columns_ + column);
}

void StringGrid::setCellText(int column, int row, const QString &text)
{
    texts_[row * columns_ + column] = text;
    update(cellRect(column, row));
}

QRect StringGrid::cellRect(int column, int row) const
{
    return {column * (columnWidth_ + kLine), row * (rowHeight_ + kLine), columnWidth_, rowHeight_};
}

QPoint StringGrid::cellAt(QPoint position) const
{
    if (position.x() < 0 || position.y() < 0)
        return {-1, -1};
    const int column = position.x() / (columnWidth_ + kLine);
    const int row = position.y() / (rowHeight_ + kLine);
    if (column >= columns_ || row >= rows_)
        return {-1, -1};
    return {column, row};
}

QSize StringGrid::sizeHint() const
{
    return {columns_ * (columnWidth_ + kLine), rows_ * (rowHeight_ + kLine)};
}

void StringGrid::select(QPoint cell)
{
    const QPoint old = selected_;
    selected_ = cell;
    update(cellRect(old.x(), old.y()).adjusted(-kLine, -kLine, kLine, kLine));
    update(cellRect(cell.x(), cell.y()).adjusted(-kLine, -kLine, kLine, kLine));
    emit cellSelected(cell.x(), cell.y());
}

void StringGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setPen(kLineColour);
    for (int column = 1; column <= columns_; ++column) {
        const int x = column * (columnWidth_ + kLine) - kLine;
        painter.drawLine(x, 0, x, rows_ * (rowHeight_ + kLine) - 1);
    }
    for (int row = 1; row <= rows_; ++row) {
        const int y = row * (rowHeight_ + kLine) - kLine;
        painter.drawLine(0, y, columns_ * (columnWidth_ + kLine) - 1, y);
    }
    for (int row = 0; row < rows_; ++row)
        for (int column = 0; column < columns_; ++column)
            if (event->rect().intersects(cellRect(column, row)))
                paintCell(painter, column, row);
}

void StringGrid::paintCell(QPainter &painter, int column, int row)
{
    const QRect rect = cellRect(column, row);
    const bool selected = QPoint(column, row) == selected_;
    painter.save();
    painter.setClipRect(rect);
    painter.fillRect(rect, palette().color(selected ? QPalette::Highlight : QPalette::Base));
    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(rect.adjusted(kTextOffset.x(), kTextOffset.y(), 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     cellText(column, row));
    painter.save();
    emit drawCell(&painter, column, row, rect);
    painter.restore();
    // The selection stays visible over whatever the owner painted.
    if (selected) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

void StringGrid::mousePressEvent(QMouseEvent *event)
{
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() < 0)
        return;
    select(cell);
    // The context menu that follows a right press acts on the cell pointed at.
    if (button == Qt::RightButton)
        emit clicked();
    else
        leftPressed_ = true;
}

void StringGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (!leftPressed_)
        return;
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() >= 0 && cell != selected_)
        select(cell);
}

void StringGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !leftPressed_)
        return;
    leftPressed_ = false;
    emit clicked();
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

void StringGrid::keyPressEvent(QKeyEvent *event)
{
    QPoint cell = selected_;
    switch (event->key()) {
    case Qt::Key_Left: cell.rx() -= 1; break;
    case Qt::Key_Right: cell.rx() += 1; break;
    case Qt::Key_Up: cell.ry() -= 1; break;
    case Qt::Key_Down: cell.ry() += 1; break;
    default: QWidget::keyPressEvent(event); return;
    }
    if (cell.x() < 0 || cell.y() < 0 || cell.x() >= columns_ || cell.y() >= rows_)
        return;
    select(cell);
    emit clicked();
}

}  // namespace letterloom::ui
