#include "bench/link_port.h"

#include "link/link.h"

int OpenLinkPortForBench(int port) {
  return OpenRS232(port);
}
