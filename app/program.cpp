// Start-up, the event loop and shut-down around it.
#include <cstdio>

#include "app/callbacks.h"
#include "app/demo.h"
#include "app/portselect.h"
#include "app/startup.h"
#include "link/link.h"
#include "params/panels.h"
#include "platform/porttable.h"
#include "platform/rs232.h"
#include "platform/userint.h"
#include "platform/utility.h"
#include "ui/RVIMZEL4V14.h"

namespace {

const char kResourceFile[] = "RVIMZEL4V14.uir";

// The resource file lies beside the executable, wherever it is started from.
int LoadFromProgramDir(int panelResourceId) {
  char dir[kMaxPathname] = "";
  char path[kMaxPathname] = "";
  if (GetProjectDir(dir) < 0 || MakePathname(dir, kResourceFile, path) < 0) return -1;
  return LoadPanel(0, path, panelResourceId);
}

}  // namespace

int StartProgram(int, char **argv) {
  if (InitCVIRTE(nullptr, argv, nullptr) == 0) return -1;
  RegisterCallbacks(kCallbackTable, kCallbackCount);
  if ((panelHandle = LoadFromProgramDir(PANEL)) < 0) return -1;
  if ((panelPopUp = LoadFromProgramDir(POPUP)) < 0) return -1;
  GetProjectDir(proj_dir);
  PortTableSetDemoStarter(StartDemoController);
  InitVars();
  FillPortSelector();
  InitRS232(com);
  DisplayPanel(panelHandle);
  return 0;
}

void EndProgram() {
  CloseCom(com);
  DiscardPanel(panelPopUp);
  DiscardPanel(panelHandle);
  StopDemoController();
}

int WinMain(int argc, char **argv) {
  if (StartProgram(argc, argv) < 0) return -1;
  RunUserInterface();
  EndProgram();
  return 0;
}
