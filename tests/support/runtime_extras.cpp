#include "tests/support/runtime_extras.h"

#include <QComboBox>
#include <algorithm>
#include <vector>

#include "platform/serial/internal.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "tests/support/ui_inspect.h"

int PortTableCount() {
  int count = 0;
  PortEntry entry;
  while (PortTableEntry(count, &entry)) ++count;
  return count;
}

int PortTableAssign(int number, const std::string &devicePath) {
  if (devicePath.empty()) return kRS232InvalidParameter;
  if (number < 1 || number > kMaxPortNumber) return kRS232InvalidPort;
  std::vector<PortEntry> &fixed = PortTableFixedEntries();
  std::erase_if(fixed, [number](const PortEntry &entry) { return entry.number == number; });
  fixed.push_back(PortEntry{number, devicePath, false});
  return number;
}

int GetNumListItems(int panel, int control, int *count) {
  if (PanelWidget(panel) == nullptr) return UIE_BAD_HANDLE;
  auto *ring = qobject_cast<QComboBox *>(ControlWidget(panel, control));
  if (ring == nullptr) return UIE_BAD_CONTROL;
  if (count == nullptr) return UIE_BAD_VALUE_TYPE;
  *count = ring->count();
  return 0;
}
