// Changing the serial port: close, reopen on the chosen port, handshake again.
#include "app/portselect.h"

#include <cstdio>
#include <string>

#include "app/callbacks.h"
#include "app/hotplug.h"
#include "app/settings.h"
#include "app/startup.h"
#include "link/link.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "ui/RVIMZEL4V14.h"

namespace {

const char kOtherDeviceLabel[] = "Other device\u2026";

// Asks for a device path, adds it to the table and returns its number; on
// cancel (or a full table) the previous port stays chosen.
int AskForOtherDevice(int previous) {
  char path[260] = "";
  int length = PromptPopup(
      "Other device", "Serial device path (e.g. /dev/ttyUSB0 or /dev/pts/3):", path, sizeof path);
  int number = -1;
  if (length > 0) {
    PortTableRefresh();
    number = PortTableAddDevice(path);
  }
  if (number <= 0) number = previous;
  com = number;
  FillPortSelector();
  return number;
}

}  // namespace

void FillPortSelector() {
  PortTableRefresh();
  ClearListCtrl(panelHandle, PANEL_DROPDCOM);
  bool listed = false;
  PortEntry entry;
  for (int i = 0; PortTableEntry(i, &entry); ++i) {
    InsertListItem(panelHandle, PANEL_DROPDCOM, -1, PortTableLabel(entry).c_str(), entry.number);
    listed = listed || entry.number == com;
  }
  if (!listed) {
    // Keep showing the port in use even when no device stands behind it.
    std::string label = std::to_string(com) + "  (no device)";
    InsertListItem(panelHandle, PANEL_DROPDCOM, 0, label.c_str(), com);
  }
  InsertListItem(panelHandle, PANEL_DROPDCOM, -1, kOtherDeviceLabel, kOtherDeviceItem);
  SetCtrlVal(panelHandle, PANEL_DROPDCOM, com);
}

int CC_DropDCom(int panel, int, int event, void *, int, int) {
  if (event != EVENT_COMMIT && event != EVENT_VAL_CHANGED) return 0;
  int previous = com;
  CloseCom(com);
  GetCtrlVal(panel, PANEL_DROPDCOM, &com);
  if (com == kOtherDeviceItem) com = AskForOtherDevice(previous);
  ShowStatus("Init COM-Port ...");
  InitRS232(com);
  KeepChosenPort();
  FollowChosenPort();
  return 0;
}
