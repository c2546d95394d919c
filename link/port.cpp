// The controller's line settings, for start-up and every reopening of the port.
#include "link/link.h"
#include "link/syncword.h"
#include "platform/serial/rs232.h"

int OpenRS232(int port) {
  const int result = OpenComConfig(port, "", 19200, 0, 8, 1, 4096, 4096);
  if (result < 0) return result;
  SetComTime(port, 2.0);
  FlushInQ(port);
  FlushOutQ(port);
  SetCTSMode(port, 0);
  InstallComCallback(port, eventMask, kFrameBytes, sync, RX_Receive_Function, nullptr);
  return 0;
}

const char *OpenCauseText(int cause) {
  switch (cause) {
    case kComOpenNoPermission:
      return "permission denied (add your user to the dialout group, then log in again)";
    case kComOpenInUse:
      return "in use by another program";
    case kComOpenNoDevice:
      return "no such device";
    default:
      return nullptr;
  }
}
