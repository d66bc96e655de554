#pragma once

#include <QSize>

class QWidget;

namespace letterloom::ui {

// Makes a window one of the font editor's tool windows: a small caption with
// only a close box, kept above the program's other windows when onTop.
void makeToolWindow(QWidget *window, bool onTop = true);

// The size of the window frame round the client area. It is known only once
// the window system has framed the window; before that it counts as none.
QSize frameExtent(const QWidget *window);

// Sizes a window by its outer size (frame included) and keeps its minimum
// outer size, as far as the frame is known. Call again once the window has
// been shown to take the frame into account.
void setOuterSize(QWidget *window, QSize outer);
void setMinimumOuterSize(QWidget *window, QSize outer);

}  // namespace letterloom::ui
