// Internal to the serial run-time: finding serial devices, and numbering an
// adapter that comes back under another name as before.
#pragma once

#include <string>
#include <vector>

#include "platform/serial/internal.h"

// The serial devices present (the system's, or the test directory's).
std::vector<DetectedDevice> DetectSerialDevices();
// The USB port path ("1-1.2") in the resolved sysfs path of a tty's device,
// or "" when there is none.
std::string UsbPortPathOf(const std::string &resolvedDevicePath);
// Gives each adapter with a stable name the number it had earlier in this run
// when that number is free, then keeps the numbers for next time. Sorted.
std::vector<PortEntry> KeepAdapterNumbers(std::vector<PortEntry> entries);
// The directory set by SetSerialDeviceDir ("" for the system).
std::string SerialDeviceDir();
// The directory of the by-id links (see PortTableSetByIdDir).
std::string PortTableByIdDir();
