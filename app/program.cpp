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
const char kDesktopEntry[] = "com.example.rvimzel4";  // packaging/com.example.rvimzel4.desktop
const char kBuiltInIcon[] = ":/icons/com.example.rvimzel4.png";
constexpr int kResourceExitCode = 1;

// The resource file lies beside the executable or in the installed share
// directory, wherever the program is started from.
void ResourcePath(char path[]) {
  char dir[kMaxPathname] = "";
  if (GetResourceDir(dir) < 0 || MakePathname(dir, kResourceFile, path) < 0) {
    std::snprintf(path, kMaxPathname, "%s", kResourceFile);
  }
}

// Without its panels the program cannot even show its status line: the
// operator learns why from a message box, a log from standard error.
int ReportResourceFailure(const char *path, int error) {
  const bool unreadable = error == UIE_FILE_NOT_FOUND;
  std::fprintf(stderr, "RVIMZEL4V14: %s: %s\n", path,
               unreadable ? "cannot read the panel resource file"
                          : "the panel resource file is damaged or of another version");
  char message[2 * kMaxPathname] = "";
  std::snprintf(message, sizeof message, "%s\n%s\n\nReinstall the program.",
                unreadable ? "The panel resource file cannot be read:"
                           : "The panel resource file is damaged or of another version:",
                path);
  MessagePopup("R-VIM-ZEL4-Diruz V1.4", message);
  return kResourceExitCode;
}

}  // namespace

int StartProgram(int, char **argv) {
  if (InitCVIRTE(nullptr, argv, nullptr) == 0) return -1;
  SetDesktopIdentity("RVIMZEL4V14", kDesktopEntry, kBuiltInIcon);
  RegisterCallbacks(kCallbackTable, kCallbackCount);
  char path[kMaxPathname] = "";
  ResourcePath(path);
  if ((panelHandle = LoadPanel(0, path, PANEL)) < 0) {
    return ReportResourceFailure(path, panelHandle);
  }
  if ((panelPopUp = LoadPanel(0, path, POPUP)) < 0) return ReportResourceFailure(path, panelPopUp);
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
  if (HelpOrVersionEndsProgram(argc, argv, &exitCode)) return exitCode;
  // The application object takes Qt's own options (-platform, -style) out
  // of argv; the program reads what is left.
  if (InitCVIRTE(nullptr, argv, nullptr) == 0) return -1;
  if (CommandLineEndsProgram(argc, argv, &exitCode)) return exitCode;
  if (const int started = StartProgram(argc, argv); started != 0) return started;
  RunUserInterface();
  EndProgram();
  return 0;
}
