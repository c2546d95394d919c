// Panel window places.
#include "platform/ui/panelplace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/ui/registry.h"

namespace {

QWidget *PanelWindow(int panel) {
  PanelRecord *record = FindPanel(panel);
  return record != nullptr ? record->window.data() : nullptr;
}

bool OnSomeScreen(const QPoint &corner) {
  for (const QScreen *screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().contains(corner)) return true;
  }
  return false;
}

}  // namespace

int GetPanelPlace(int panel, int *top, int *left) {
  QWidget *window = PanelWindow(panel);
  if (window == nullptr) return UIE_BAD_HANDLE;
  const QPoint corner = window->pos();
  if (top != nullptr) *top = corner.y();
  if (left != nullptr) *left = corner.x();
  return 0;
}

int SetPanelPlace(int panel, int top, int left) {
  QWidget *window = PanelWindow(panel);
  if (window == nullptr) return UIE_BAD_HANDLE;
  if (OnSomeScreen(QPoint(left, top))) window->move(left, top);
  return 0;
}
