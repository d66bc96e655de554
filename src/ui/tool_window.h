#pragma once

#include <QSize>

#include <functional>

class QString;
class QWidget;

namespace letterloom::ui {

// Makes a window one of the font editor's tool windows: a small caption with
// only a close box, kept above the program's other windows.
void makeToolWindow(QWidget *window);

// The size of the window frame round the client area. It is known only once
// the window system has framed the window; before that it counts as none.
QSize frameExtent(const QWidget *window);

// Sizes a window by its outer size (frame included) and keeps its minimum
// outer size or maximum outer height, as far as the frame is known.
void setOuterSize(QWidget *window, QSize outer);
void setMinimumOuterSize(QWidget *window, QSize outer);
void setMaximumOuterHeight(QWidget *window, int outer);

// Runs fit once, as soon as the window system has put a frame round the
// window (some time after it is first shown), so that sizes given for the
// outer window can be made good. Without a frame it never runs.
void whenFramed(QWidget *window, std::function<void()> fit);

// Captions of windows that hold a document: the platform's modified mark
// shows after the caption while the window is marked modified
// (QWidget::setWindowModified), and nothing shows while all is saved.
void setDocumentCaption(QWidget *window, const QString &caption);
// The caption as the window system shows it, mark included.
QString shownCaption(const QWidget *window);

}  // namespace letterloom::ui
