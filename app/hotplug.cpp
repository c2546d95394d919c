// When the port in use goes, the status line says so at once. When it comes
// back while nothing talks to the controller, the port is reopened and the
// line checked; the parameter sets are not read again, so edits not yet sent
// stay on the panels. A run or recording cut short is not restarted.
#include "app/hotplug.h"

#include <sys/stat.h>

#include <cstdio>

#include "app/portselect.h"
#include "app/startup.h"
#include "link/link.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/ui/hotplug.h"
#include "platform/ui/userint.h"
#include "platform/util/linelog.h"
#include "scope/acquire.h"
#include "ui/RVIMZEL4V14.h"

namespace {

constexpr int kRetryMs = 500;

bool gPortLost = false;

bool PortPresent(int number) {
  PortEntry entry;
  if (!PortTableFind(number, &entry)) return false;
  if (entry.demo) return true;
  struct stat st {};
  return stat(entry.device.c_str(), &st) == 0;
}

void ShowText(const char *text) {
  std::snprintf(szStatus, sizeof szStatus, "%s", text);
  ShowStatus(szStatus);
}

void ReportLost() {
  LineLogRecord(kLineUnplugged, com, 0, 0, 0);
  char text[sizeof szStatus];
  std::snprintf(text, sizeof text, "Port %d disconnected - device removed", com);
  ShowText(text);
}

// The controller may be mid-answer to something else while a callback runs.
bool LineIdle() {
  return CallbackRunning() == 0 && stop_flag == 1;
}

void Reopen() {
  CloseCom(com);
  const int good = OpenAndCheckLine(com);
  LineLogRecord(kLineReplugged, com, good, 0, 0);
  char text[sizeof szStatus];
  std::snprintf(text, sizeof text, "Port %d reconnected - %.200s", com,
                good != 0 ? "Echo Check - Line Ok!" : szStatus);
  ShowText(text);
}

void DevicesChanged() {
  PortTableRefresh();
  const bool present = PortPresent(com);
  FillPortSelector();
  if (!present) {
    // Closed at once, so the kernel can give the returning adapter its old name.
    if (!gPortLost) {
      CloseCom(com);
      ReportLost();
    }
    gPortLost = true;
    return;
  }
  if (!gPortLost) return;
  if (!LineIdle()) {
    RecheckSerialDevicesLater(kRetryMs);
    return;
  }
  gPortLost = false;
  Reopen();
}

}  // namespace

void StartHotPlug() {
  gPortLost = !PortPresent(com);  // a kept port plugged in later is opened then
  WatchSerialDevices(DevicesChanged);
}

void StopHotPlug() {
  WatchSerialDevices(nullptr);
}
