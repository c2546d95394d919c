// Panel callbacks: closing the main panel ends the program, closing the
// popup only hides it. The line monitor's button.
#include "params/panels.h"

#include "app/callbacks.h"
#include "link/link.h"
#include "platform/serial/rs232.h"
#include "platform/ui/linemonitor.h"
#include "platform/ui/userint.h"
#include "ui/RVIMZEL4V14.h"

int CC_PANEL(int, int event, void *, int, int) {
  if (event == EVENT_CLOSE) {
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
