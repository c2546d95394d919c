// Internal to the user-interface run-time: delivering operator actions on
// controls and panels to the program's callbacks.
#pragma once

#include <QPushButton>
#include <QWidget>
#include <functional>

#include "platform/ui/userint.h"

// Command and toggle buttons of loaded panels. Reports a left mouse press
// after the button has taken it, so that a callback that opens a modal
// dialog on the press does not leave the button stuck down. The button's
// mnemonic (Alt and its underlined letter) is the keyboard's click and
// reports a press too; Space and Enter on the focused button do not.
class CommandButton : public QPushButton {
 public:
  using QPushButton::QPushButton;
  std::function<void()> onLeftPress;

 protected:
  bool event(QEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
};

// Connects the operator's actions on a control to its callback.
void BindControlEvents(QWidget *widget, int panel, int control, CtrlCallbackPtr callback);
// Routes the panel window's close box to the panel callback; the window
// stays open unless the program hides or discards it.
void BindPanelEvents(QWidget *window, int panel, PanelCallbackPtr callback);
// From now on a close of the window ends the waits (EndWaitsNow) the moment
// it is seen. False when the window has no panel events bound.
bool SetCloseEndsWaits(QWidget *window);
// True while a callback runs (widgets must not be deleted under it).
bool InsideCallback();
// Runs `action` as a callback runs.
void RunAsCallback(void (*action)());
