// The status line of the main panel: its text and the one routine that shows
// a text there.
#include <cstring>

#include "link/link.h"
#include "platform/ui/userint.h"
#include "platform/util/linelog.h"
#include "ui/RVIMZEL4V14.h"
#include "ui/ui.h"

char szStatus[kTextBytes];

void ShowStatus(const char *text) {
  LineLogRecord(kLineStatus, com, 0, 0, 0, text, static_cast<int>(std::strlen(text)));
  SetCtrlVal(panelHandle, PANEL_STATUS, text);
}
