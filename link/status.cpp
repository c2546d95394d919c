// The status line of the main panel: its text and the one routine that shows
// a text there.
#include "link/link.h"
#include "platform/ui/userint.h"
#include "ui/RVIMZEL4V14.h"
#include "ui/ui.h"

char szStatus[kTextBytes];

void ShowStatus(const char *text) {
  SetCtrlVal(panelHandle, PANEL_STATUS, text);
}
