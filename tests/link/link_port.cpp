// Kept apart from the test cases: the sync value cannot be seen beside
// <unistd.h>, which the test framework includes.
#include "tests/link/link_port.h"

#include "link/link.h"
#include "link/syncword.h"
#include "platform/rs232.h"

int OpenLinkPort(int port, const char *deviceName) {
  const int opened = OpenComConfig(port, deviceName, 19200, 0, 8, 1, 4096, 4096);
  if (opened < 0) return opened;
  const int timed = SetComTime(port, 2.0);
  if (timed < 0) return timed;
  FlushInQ(port);
  FlushOutQ(port);
  SetCTSMode(port, 0);
  return InstallComCallback(port, eventMask, kFrameBytes, sync, RX_Receive_Function, nullptr);
}
