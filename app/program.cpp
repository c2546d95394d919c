// Start-up, the event loop and shut-down around it.
#include <cstdio>

#include "app/accessible.h"
#include "app/callbacks.h"
#include "app/cmdline.h"
#include "app/demo.h"
#include "app/hotplug.h"
#include "app/keyboard.h"
#include "app/portselect.h"
#include "app/settings.h"
#include "app/startup.h"
#include "link/linedecode.h"
#include "link/link.h"
#include "params/panels.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/ui/linemonitor.h"
#include "platform/ui/listchoice.h"
#include "platform/ui/userint.h"
#include "platform/util/appdirs.h"
#include "platform/util/linelog.h"
#include "platform/util/utility.h"
#include "ui/RVIMZEL4V14.h"

namespace {

const char kResourceFile[] = "RVIMZEL4V14.uir";

// The resource file lies beside the executable or in the installed share
// directory, wherever the program is started from.
int LoadFromProgramDir(int panelResourceId) {
  char dir[kMaxPathname] = "";
  char path[kMaxPathname] = "";
  if (GetResourceDir(dir) < 0 || MakePathname(dir, kResourceFile, path) < 0) return -1;
  return LoadPanel(0, path, panelResourceId);
}

}  // namespace

int StartProgram(int, char **argv) {
  if (InitCVIRTE(nullptr, argv, nullptr) == 0) return -1;
  RegisterCallbacks(kCallbackTable, kCallbackCount);
  if ((panelHandle = LoadFromProgramDir(PANEL)) < 0) return -1;
  if ((panelPopUp = LoadFromProgramDir(POPUP)) < 0) return -1;
  EndWaitsOnPanelClose(panelHandle);  // also while a wait processes no events
  NameControlsForScreenReaders();
  SetLineEventReader(LinkEventReader());
  SetLineMonitorReport(ShowStatus);
  StartLineLogWriters();
  BindOperatorKeys();
  GetProjectDir(proj_dir);
  PortTableSetDemoStarter(StartDemoController);
  InitVars();
  LoadSettings(!ApplyCommandLinePort());
  SetRingChoiceOnlyFromList(panelHandle, PANEL_DROPDCOM);
  FillPortSelector();
  InitRS232(com);
  ReportAbsentPort();
  StartHotPlug();
  DisplayPanel(panelHandle);
  return 0;
}

void EndProgram() {
  StopHotPlug();
  SaveSettings();
  CloseCom(com);
  DiscardPanel(panelPopUp);
  DiscardPanel(panelHandle);
  StopDemoController();
  StopLineLogWriters();
}

int WinMain(int argc, char **argv) {
  int exitCode = 0;
  if (CommandLineEndsProgram(argc, argv, &exitCode)) return exitCode;
  if (StartProgram(argc, argv) < 0) return -1;
  RunUserInterface();
  EndProgram();
  return 0;
}
