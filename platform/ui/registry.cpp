// Loaded panels by handle. Handles are never reused within a run, so a stale
// handle is reported as unknown instead of reaching another panel.
#include "platform/ui/registry.h"

#include <utility>

namespace {

struct Registry {
  std::map<int, PanelRecord> panels;
  int nextHandle = 1;
};

Registry &registry() {
  static Registry state;
  return state;
}

}  // namespace

int AddPanel(PanelRecord record) {
  Registry &reg = registry();
  const int handle = reg.nextHandle++;
  reg.panels.emplace(handle, std::move(record));
  return handle;
}

PanelRecord *FindPanel(int handle) {
  auto &panels = registry().panels;
  auto it = panels.find(handle);
  return it == panels.end() ? nullptr : &it->second;
}

QWidget *RemovePanel(int handle) {
  auto &panels = registry().panels;
  auto it = panels.find(handle);
  if (it == panels.end()) return nullptr;
  QWidget *window = it->second.topLevel ? it->second.topLevel : it->second.window;
  panels.erase(it);
  return window;
}

QWidget *PanelTopLevel(int handle) {
  PanelRecord *record = FindPanel(handle);
  if (record == nullptr) return nullptr;
  return record->topLevel ? record->topLevel.data() : record->window.data();
}

int PanelHandleOf(const QWidget *window) {
  for (const auto &[handle, record] : registry().panels) {
    if (record.window == window) return handle;
  }
  return 0;
}

QWidget *FindControl(int panel, int control, int *error) {
  PanelRecord *record = FindPanel(panel);
  if (record == nullptr || record->window.isNull()) {
    *error = UIE_BAD_HANDLE;
    return nullptr;
  }
  auto it = record->controls.find(control);
  if (it == record->controls.end() || it->second.widget.isNull()) {
    *error = UIE_BAD_CONTROL;
    return nullptr;
  }
  *error = UIE_NO_ERROR;
  return it->second.widget;
}
