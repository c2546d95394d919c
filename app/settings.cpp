// The port is kept by a stable name (its /dev/serial/by-id link where there
// is one), so an adapter found under another ttyUSB number is still "the"
// port; "demo" keeps the demo controller. Only the operator's choice in the
// selector is kept: a port named on the command line is for that run alone.
#include "app/settings.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "link/link.h"
#include "params/panels.h"
#include "platform/serial/porttable.h"
#include "platform/serial/porttable_identity.h"
#include "platform/ui/panelplace.h"
#include "platform/ui/userint.h"
#include "platform/util/settings.h"
#include "scope/plots.h"
#include "ui/RVIMZEL4V14.h"

namespace {

const char kPortKey[] = "port/device";
const char kDemoName[] = "demo";
const char kGraphSourceKey[] = "scope/graphsource";

char gAbsentPort[kMaxPathname] = "";

struct PanelKeys {
  int *handle;
  const char *top;
  const char *left;
};

const PanelKeys kPanels[] = {
    {&panelHandle, "panels/main/top", "panels/main/left"},
    {&panelPopUp, "panels/popup/top", "panels/popup/left"},
};

bool DeviceExists(const char *path) {
  struct stat st {};
  return stat(path, &st) == 0;
}

void LoadPort() {
  char kept[kMaxPathname] = "";
  if (SettingsGetText(kPortKey, kept, sizeof kept) == 0 || kept[0] == '\0') return;
  if (std::string(kept) == kDemoName) {
    com = kDemoPort;
    return;
  }
  const int number = PortTableNumberForPath(kept);
  if (number <= 0) return;
  com = number;
  if (!DeviceExists(kept)) std::snprintf(gAbsentPort, sizeof gAbsentPort, "%s", kept);
}

}  // namespace

void KeepChosenPort() {
  PortEntry entry;
  if (!PortTableFind(com, &entry)) return;
  const std::string name = entry.demo ? kDemoName : PortStableName(entry.device);
  if (name.empty()) return;
  SettingsSetText(kPortKey, name.c_str());
  SettingsSync();
}

void LoadSettings(bool choosePort) {
  for (const PanelKeys &p : kPanels) {
    int top = 0;
    int left = 0;
    if (SettingsGetInt(p.top, &top) && SettingsGetInt(p.left, &left)) {
      SetPanelPlace(*p.handle, top, left);
    }
  }
  int source = 0;
  if (SettingsGetInt(kGraphSourceKey, &source) && source >= 0 && source <= 3) {
    SetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, source);
    ShowChartOfGraphSource();
  }
  if (choosePort) LoadPort();
}

void ReportAbsentPort() {
  if (gAbsentPort[0] == '\0') return;
  std::snprintf(szStatus, sizeof szStatus, "Port not connected: %.200s", gAbsentPort);
  ShowStatus(szStatus);
}

void SaveSettings() {
  for (const PanelKeys &p : kPanels) {
    int top = 0;
    int left = 0;
    if (GetPanelPlace(*p.handle, &top, &left) == 0) {
      SettingsSetInt(p.top, top);
      SettingsSetInt(p.left, left);
    }
  }
  int source = 0;
  if (GetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, &source) == 0) {
    SettingsSetInt(kGraphSourceKey, source);
  }
  SettingsSync();
}
