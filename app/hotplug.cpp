// When the port in use goes (pulled out, or pulled and plugged in again
// within a moment), the status line says so at once. Only the same adapter
// is opened again when it comes back (its by-id link, else its USB
// identity), and only while nothing talks to the controller: its line is
// checked, and its parameter sets are read unless the panels already hold
// them, so edits not yet sent stay. Another device that appears under the
// old name is listed, not opened; the operator may choose it. A port first
// seen in this run gets the whole start-up handshake. A run or recording cut
// short is not restarted.
#include "app/hotplug.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "app/portselect.h"
#include "app/startup.h"
#include "link/link.h"
#include "platform/serial/porttable.h"
#include "platform/serial/porttable_identity.h"
#include "platform/serial/rs232.h"
#include "platform/ui/hotplug.h"
#include "platform/ui/userint.h"
#include "platform/util/linelog.h"
#include "scope/acquire.h"
#include "ui/RVIMZEL4V14.h"

namespace {

constexpr int kRetryMs = 500;

// The adapter behind `com`.
struct Followed {
  std::string identity;   // "" until a device was seen at the port in this run
  bool lost = false;      // gone; waiting for it to come back
  bool setsRead = false;  // the panels hold the parameter sets read from it
};

Followed gPort;

bool PortPresent(int number) {
  PortEntry entry;
  if (!PortTableFind(number, &entry)) return false;
  if (entry.demo) return true;
  struct stat st {};
  return stat(entry.device.c_str(), &st) == 0;
}

std::string IdentityOf(int number) {
  PortEntry entry;
  return PortTableFind(number, &entry) ? PortIdentity(entry) : std::string();
}

void ShowText(const char *text) {
  std::snprintf(szStatus, sizeof szStatus, "%s", text);
  ShowStatus(szStatus);
}

// Closed at once, so the kernel can give the returning adapter its old name.
void Lose() {
  LineLogRecord(kLineUnplugged, com, 0, 0, 0);
  CloseCom(com);
  gPort.lost = true;
  char text[sizeof szStatus];
  std::snprintf(text, sizeof text, "Port %d disconnected - device removed", com);
  ShowText(text);
}

// The controller may be mid-answer to something else while a callback runs.
bool LineIdle() {
  return CallbackRunning() == 0 && stop_flag == 1;
}

// Where the followed adapter is now: its port number, or 0 while it is away.
// A port not seen before takes whatever device comes under its number.
int FindFollowed() {
  if (gPort.identity.empty()) return PortPresent(com) ? com : 0;
  return PortTableNumberOfIdentity(gPort.identity);
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

void TakeBack(int number) {
  const bool sameSets = gPort.setsRead && !gPort.identity.empty();
  gPort.lost = false;
  com = number;
  FillPortSelector();
  if (sameSets) {
    Reopen();
    return;
  }
  CloseCom(com);
  ShowStatus("Init COM-Port ...");
  InitRS232(com);
  FollowChosenPort();
}

void DevicesChanged() {
  PortTableRefresh();
  if (!gPort.lost && (!PortPresent(com) || ComLineGone(com) == 1)) Lose();
  FillPortSelector();
  if (!gPort.lost) return;
  if (!LineIdle()) {
    RecheckSerialDevicesLater(kRetryMs);
    return;
  }
  const int number = FindFollowed();
  if (number > 0) TakeBack(number);
}

}  // namespace

void FollowChosenPort() {
  gPort.lost = !PortPresent(com);
  gPort.identity = gPort.lost ? std::string() : IdentityOf(com);
  gPort.setsRead = HandshakeReadSets() == 1;
}

void StartHotPlug() {
  FollowChosenPort();  // a kept port plugged in later is opened then
  WatchSerialDevices(DevicesChanged);
}

void StopHotPlug() {
  WatchSerialDevices(nullptr);
}
