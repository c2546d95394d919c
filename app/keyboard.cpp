#include "app/keyboard.h"

#include "app/callbacks.h"
#include "params/panels.h"
#include "platform/ui/userint.h"
#include "scope/acquire.h"
#include "ui/RVIMZEL4V14.h"

namespace {

// While a live run or a recording runs, Esc presses Stop recording and then
// Stop: whichever runs ends, every control it dimmed is usable again, and the
// histories start afresh, as Stop leaves them. With nothing running Esc does
// nothing; a data readout is no loop and ends by itself within its waits.
void StopWhatRuns() {
  if (stop_flag != 0) return;
  CC_BTNStopRecord(panelHandle, PANEL_RECCTRL2, EVENT_COMMIT, nullptr, 0, 0);
  CC_BTNStop(panelHandle, PANEL_BTNSTOP, EVENT_COMMIT, nullptr, 0, 0);
}

void OpenLineMonitor() {
  CC_BTNMonitor(panelHandle, PANEL_BTNMONITOR, EVENT_COMMIT, nullptr, 0, 0);
}

}  // namespace

void BindOperatorKeys() {
  SetProgramKey(panelHandle, "Esc", StopWhatRuns);
  SetProgramKey(panelHandle, "Ctrl+L", OpenLineMonitor);  // from any window, as the banner's button
  SetProgramCloseKey(panelHandle, "Ctrl+Q");  // the same close as the window's close box
}
