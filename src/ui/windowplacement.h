#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where the secondary windows open: at the mouse pointer, kept wholly on the
// screen (the available area of the screen under the pointer).

// Top-left corner at the pointer, moved left and up as far as needed.
QPoint CornerAtPointer(const QRect &screen, QSize window, QPoint pointer);

// Left edge at the pointer, moved left as far as needed; top edge at the
// pointer, or the bottom edge at the pointer when the window would reach past
// the bottom of the screen.
QPoint DropAtPointer(const QRect &screen, QSize window, QPoint pointer);

// The window rectangle moved, and shrunk where it is larger, so that it lies
// wholly inside the screen's available area.
QRect KeepOnScreen(const QRect &window, const QRect &screen);

// The available area of the screen that holds most of rect, the screen under
// its centre, or else the primary screen; empty without any screen.
QRect AvailableAreaFor(const QRect &rect);

// Moves a window (its frame included) to CornerAtPointer or DropAtPointer for
// the current pointer position.
void MoveToPointer(QWidget *window, bool dropDown = false);

// Centres a window on the mouse pointer, kept wholly on the screen under it
// (message boxes and the status window).
void CentreOnPointer(QWidget *window);
