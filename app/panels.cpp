// Panel callbacks: closing the main panel ends the program, closing the
// popup only hides it. The line monitor's button.
#include "params/panels.h"

#include "app/callbacks.h"
#include "link/link.h"
#include "platform/serial/rs232.h"
#include "platform/ui/linemonitor.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "ui/RVIMZEL4V14.h"

// Whatever waits for the controller ends at once: a run, a recording or a
// transaction under way returns without waiting for its time-out.
int CC_PANEL(int, int event, void *, int, int) {
  if (event == EVENT_CLOSE) {
    EndWaitsNow();
    CloseCom(com);
    QuitUserInterface(0);
  }
  return 0;
}

int CC_POPUP(int, int event, void *, int, int) {
  if (event == EVENT_CLOSE) {
    HidePanel(panelPopUp);
    SetCtrlVal(panelHandle, PANEL_TOGBTNPARAII, 0);
  }
  return 0;
}

int CC_BTNMonitor(int, int, int event, void *, int, int) {
  if (event == EVENT_COMMIT) DisplayLineMonitor(panelHandle);
  return 0;
}
