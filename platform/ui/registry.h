// Internal to the user-interface run-time: loaded panels, their controls and
// the callbacks bound to them, looked up by handle and control id.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>

#include "platform/ui/userint.h"

struct ControlRecord {
  QPointer<QWidget> widget;
  CtrlCallbackPtr callback = nullptr;
};

struct PanelRecord {
  QPointer<QWidget> window;  // the panel as the file draws it, holding the controls
  // The top-level window that shows it: the panel itself, or a scrolling
  // view around a resizable panel (a child panel has none of its own).
  QPointer<QWidget> topLevel;
  PanelCallbackPtr callback = nullptr;
  std::map<int, ControlRecord> controls;
  int nextNewCtrlId = 1000;  // ids of controls made at run time, above the file's ids
};

// Takes ownership of the record's window; returns the new handle (> 0).
int AddPanel(PanelRecord record);
PanelRecord *FindPanel(int handle);
// Forgets the panel and returns its top-level window, for a child panel the
// panel itself (nullptr for an unknown handle).
QWidget *RemovePanel(int handle);
// The window a panel is shown, hidden and placed by (nullptr for an unknown handle).
QWidget *PanelTopLevel(int handle);

// The handle of the panel whose window this is, or 0.
int PanelHandleOf(const QWidget *window);

// A control's widget, or nullptr with *error set to a negative UIE_ code.
QWidget *FindControl(int panel, int control, int *error);

// The widget as a given class, or nullptr.
template <class W>
W *ControlAs(QWidget *widget) {
  return qobject_cast<W *>(widget);
}
