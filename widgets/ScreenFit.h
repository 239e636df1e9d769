#pragma once
// Keeping a top-level window wholly on the screen: its frame (title bar and borders)
// included, inside the screen's free area (QScreen::availableGeometry, the desktop's
// panels left out).
//
// A window's position here is that of its frame's top-left corner, as QWidget::pos()
// and move() take it; its size is that of its contents, as size() and resize() take it.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The free area of the screen that shows most of rect, or of the primary screen when
// none shows any of it; empty when there is no screen.
QRect freeAreaFor(const QRect& rect);

// The free area of the screen a window opens on: that of the window it belongs to
// (its parent's window), or of its own screen.
QRect freeAreaOf(const QWidget& window);

// The smallest free width and the smallest free height over every screen present.
QSize smallestFreeArea();

// What the window system adds around window's contents: its frame once it is on show,
// otherwise the frame of another window of the program on show, otherwise a title bar
// (titleBarHeight) and the style's border on each side.
QMargins frameMarginsOf(const QWidget& window);

// The height of a window's title bar: the frame's top once the window system has drawn
// one, never less than the style's own.
int titleBarHeight(const QWidget& window);

// The largest contents size whose frame fits in area.
QSize roomIn(const QWidget& window, const QRect& area);

// Moves and, where it must, shrinks window (never below its minimum size) so that its
// frame lies inside area, its top-left corner at least; position is where its frame
// should stand.
void fitInto(QWidget& window, const QRect& area, QPoint position);

// Centres a window nobody has placed over the window it belongs to (or on its screen's
// free area) and fits it into that free area.
void placeOnScreen(QWidget& window);
