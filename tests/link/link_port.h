// Opens a port through the program's own opening routine (OpenRS232), so the
// link's tests run on the same line settings and receive callback as the
// program.
#pragma once

// deviceName "" takes the device from the port table; another name puts that
// device at the port number first. Returns 0 or a negative result.
int OpenLinkPort(int port, const char *deviceName = "");
