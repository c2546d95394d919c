// Accessible names and the tab order of loaded panels.
#include "platform/ui/accessible.h"

#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/ui/registry.h"

namespace {

bool ByPlace(const QWidget *a, const QWidget *b) {
  if (a->y() != b->y()) return a->y() < b->y();
  return a->x() < b->x();
}

// The focusable controls under `parent`; a group's children by place.
void CollectByPlace(QWidget *parent, std::vector<QWidget *> *chain) {
  std::vector<QWidget *> children;
  for (QObject *child : parent->children()) {
    auto *widget = qobject_cast<QWidget *>(child);
    if (widget != nullptr && !widget->isWindow()) children.push_back(widget);
  }
  std::stable_sort(children.begin(), children.end(), ByPlace);
  for (QWidget *widget : children) {
    if (widget->focusPolicy() & Qt::TabFocus) {
      chain->push_back(widget);
    } else {
      CollectByPlace(widget, chain);  // a group: its controls in their places
    }
  }
}

}  // namespace

int SetCtrlAccessibleName(int panel, int control, const char *name) {
  int error = 0;
  QWidget *widget = FindControl(panel, control, &error);
  if (widget == nullptr) return error;
  widget->setAccessibleName(QString::fromUtf8(name != nullptr ? name : ""));
  widget->setAccessibleDescription(widget->objectName());
  return 0;
}

int SetPanelTabOrderByLayout(int panel) {
  PanelRecord *record = FindPanel(panel);
  if (record == nullptr || record->window.isNull()) return UIE_BAD_HANDLE;
  std::vector<QWidget *> chain;
  CollectByPlace(record->window, &chain);
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
  return 0;
}
