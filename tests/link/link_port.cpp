#include "tests/link/link_port.h"

#include "link/link.h"
#include "tests/support/runtime_extras.h"

int OpenLinkPort(int port, const char *deviceName) {
  if (deviceName[0] != '\0') {
    const int assigned = PortTableAssign(port, deviceName);
    if (assigned < 0) return assigned;
  }
  return OpenRS232(port);
}
