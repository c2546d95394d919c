// Items of rings and drop-downs, changed by the program (no events).
#include <QComboBox>
#include <QSignalBlocker>

#include "platform/ui/registry.h"
#include "platform/ui/text.h"
#include "platform/ui/userint.h"

namespace {

QComboBox *findRing(int panel, int control, int *error) {
  auto *ring = ControlAs<QComboBox>(FindControl(panel, control, error));
  if (ring == nullptr && *error == UIE_NO_ERROR) *error = UIE_BAD_CONTROL;
  return ring;
}

}  // namespace

int ClearListCtrl(int panel, int control) {
  int error = 0;
  QComboBox *ring = findRing(panel, control, &error);
  if (ring == nullptr) return error;
  const QSignalBlocker blocker(ring);
  ring->clear();
  return 0;
}

int InsertListItem(int panel, int control, int index, const char *label, int value) {
  int error = 0;
  QComboBox *ring = findRing(panel, control, &error);
  if (ring == nullptr) return error;
  if (index > ring->count()) return UIE_BAD_VALUE_TYPE;
  const QSignalBlocker blocker(ring);
  ring->insertItem(index < 0 ? ring->count() : index, TextFromBytes(label), value);
  return 0;
}
