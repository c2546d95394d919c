#include "tests/support/program_panels.h"

#include <cstring>
#include <vector>

#include "platform/util/utility.h"

namespace testsupport {
namespace {

int QuietControl(int, int, int, void *, int, int) {
  return 0;
}
int QuietPanel(int, int, void *, int, int) {
  return 0;
}

std::vector<CallbackEntry> &Bound() {
  static std::vector<CallbackEntry> bound;
  return bound;
}

bool IsPanelCallback(const char *name) {
  return std::strcmp(name, "CC_PANEL") == 0 || std::strcmp(name, "CC_POPUP") == 0;
}

const CallbackEntry *FindBound(const char *name) {
  for (const CallbackEntry &entry : Bound()) {
    if (std::strcmp(entry.name, name) == 0) return &entry;
  }
  return nullptr;
}

}  // namespace

const char *const kProgramCallbackNames[] = {"CC_PANEL",           "CC_POPUP",
                                             "CC_DropDCom",        "CC_TOGBTNparaII",
                                             "CC_DROP_EvalMode",   "CC_DropTrigmode",
                                             "CC_RBTRam",          "CC_RBTEeprom",
                                             "CC_RBTFile",         "CC_BTNSend",
                                             "CC_BTNGet",          "CC_ButtonTeach",
                                             "CC_ButtonReset",     "CC_ButtonRefresh",
                                             "CC_BTNRun",          "CC_BTNStop",
                                             "CC_RNGGraphSource",  "CC_BINSWpower",
                                             "CC_BTNData",         "CC_BTNStartRecord",
                                             "CC_BTNStopRecord",   "CC_NEDITRecTime",
                                             "CC_NEDITRecSamples", "CC_RecordFileNameBtn",
                                             "CC_BTNMonitor",      nullptr};

bool BindCallbacks(std::initializer_list<CallbackEntry> entries) {
  Bound().assign(entries.begin(), entries.end());
  return true;
}

bool BindCallbacks(const CallbackEntry *table, int count) {
  Bound().assign(table, table + count);
  return true;
}

int LoadProgramPanel(int resourceId) {
  static std::vector<CallbackEntry> table;
  table.clear();
  for (const char *const *name = kProgramCallbackNames; *name != nullptr; ++name) {
    const CallbackEntry *bound = FindBound(*name);
    if (bound != nullptr) {
      table.push_back(*bound);
    } else if (IsPanelCallback(*name)) {
      table.push_back({*name, nullptr, QuietPanel});
    } else {
      table.push_back({*name, QuietControl, nullptr});
    }
  }
  RegisterCallbacks(table.data(), static_cast<int>(table.size()));
  char dir[kMaxPathname] = "";
  char path[kMaxPathname] = "";
  if (GetProjectDir(dir) != 0 || MakePathname(dir, "RVIMZEL4V14.uir", path) != 0) return -1;
  return LoadPanel(0, path, resourceId);
}

}  // namespace testsupport
