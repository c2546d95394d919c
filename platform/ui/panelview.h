// Internal to the user-interface run-time: the top-level window of a panel
// and its place on the screen. A fixed panel is its own window; a resizable
// one sits in a scrolling view, so that a window smaller than the panel's
// least size scrolls the panel instead of cutting it off.
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// Makes the panel (still without a parent) a top-level window of the size
// the file draws, or a view around it, and places it on the screen.
// Returns the top-level window.
QWidget *MakePanelWindow(QWidget *panel);
// The client area for a window that wants `wanted` on a screen's available
// `area` with window-manager `frame` margins: no larger than the area less
// the frame, and moved so that the whole frame (title bar too) lies inside.
QRect FitWindow(const QRect &area, const QMargins &frame, const QRect &wanted);
// Shows the window; the first time, once the window manager has framed it,
// its frame is fitted onto the screen (FitWindow).
void ShowPanelWindow(QWidget *window);
// FitWindow applied to the window, with the given area and frame.
void FitWindowOnto(QWidget *window, const QRect &area, const QMargins &frame);
