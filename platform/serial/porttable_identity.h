// Stable names of serial devices: an adapter's /dev/serial/by-id link stays
// the same when the kernel gives it another ttyUSB number.
#pragma once

#include <string>

#include "platform/serial/porttable.h"

// The by-id link that points to the device, or the device path itself when
// there is none.
std::string PortStableName(const std::string &device);
// What tells one adapter from another when it comes back: its by-id link,
// else its USB identity ("usb:" and PortEntry::usb), else its device node
// (the path with the node's number and time of creation, so that a node made
// anew under the same path is another device); "demo" for the demo controller.
std::string PortIdentity(const PortEntry &entry);
// The number of the port in the table whose identity this is, or 0.
int PortTableNumberOfIdentity(const std::string &identity);
// The port number of a device path (a link counts as the device it points
// to): the table's number when it lists that device, else a number added for
// the path. Negative for an empty path or a full table.
int PortTableNumberForPath(const std::string &path);
// Where the by-id links are looked for (default /dev/serial/by-id); for tests.
void PortTableSetByIdDir(const std::string &directory);
