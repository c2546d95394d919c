#include "bench/panels.h"

#include "app/callbacks.h"
#include "app/startup.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "ui/RVIMZEL4V14.h"

bool PanelsReady() {
  if (panelHandle > 0) return true;
  RegisterCallbacks(kCallbackTable, kCallbackCount);
  char dir[kMaxPathname] = "";
  char path[kMaxPathname] = "";
  if (GetProjectDir(dir) != 0 || MakePathname(dir, "RVIMZEL4V14.uir", path) != 0) return false;
  panelHandle = LoadPanel(0, path, PANEL);
  panelPopUp = LoadPanel(0, path, POPUP);
  if (panelHandle <= 0 || panelPopUp <= 0) return false;
  InitVars();
  return true;
}
