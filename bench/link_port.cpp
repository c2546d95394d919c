#include "bench/link_port.h"

#include "link/link.h"
#include "link/syncword.h"
#include "platform/rs232.h"

int OpenLinkPortForBench(int port) {
  const int opened = OpenComConfig(port, "", 19200, 0, 8, 1, 4096, 4096);
  if (opened < 0) return opened;
  SetComTime(port, 2.0);
  FlushInQ(port);
  FlushOutQ(port);
  SetCTSMode(port, 0);
  return InstallComCallback(port, eventMask, kFrameBytes, sync, RX_Receive_Function, nullptr);
}
