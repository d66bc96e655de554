#pragma once

#include <QStringList>
#include <QWidget>

namespace letterloom::ui {

// A grid of text cells without header rows or columns: every column has one
// width and every row one height, with a one-pixel grid line after each cell,
// and exactly one cell is selected. It paints each cell's background and text
// and then lets its owner paint over the cell through drawCell.
//
// The selection follows a left-button press on a cell, a drag with the left
// button onto another cell, a right-button press on a cell and the arrow
// keys; each of these reports cellSelected. Releasing the left button after
// such a press, a right-button press and each arrow key move report clicked,
// so a context menu opened by the right button acts on the cell under the
// pointer. The second press of a double-click reports only doubleClicked.
// The middle button never selects.
class StringGrid : public QWidget {
    Q_OBJECT
public:
    StringGrid(int columns, int rows, QWidget *parent = nullptr);

    int columnCount() const { return columns_; }
    int rowCount() const { return rows_; }
    void setColumnWidth(int width);
    void setRowHeight(int height);

    QString cellText(int column, int row) const;
    void setCellText(int column, int row, const QString &text);

    // The selected cell as (column, row).
    QPoint selectedCell() const { return selected_; }
    // Selects a cell from the program, reporting cellSelected as a click does.
    void selectCell(int column, int row) { select({column, row}); }
    // The cell's rectangle without its grid lines.
    QRect cellRect(int column, int row) const;
    // The cell under a position, or (-1, -1) when there is none.
    QPoint cellAt(QPoint position) const;

    QSize sizeHint() const override;

signals:
    void cellSelected(int column, int row);
    void clicked();
    void doubleClicked();
    // Sent for every cell after its own painting, clipped to the cell.
    void drawCell(QPainter *painter, int column, int row, const QRect &rect);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void select(QPoint cell);
    void paintCell(QPainter &painter, int column, int row);

    int columns_;
    int rows_;
    int columnWidth_ = 64;
    int rowHeight_ = 24;
    QStringList texts_;
    QPoint selected_{0, 0};
    bool leftPressed_ = false;  // a left press on a cell awaits its release
};

}  // namespace letterloom::ui
