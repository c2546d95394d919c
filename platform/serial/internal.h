// Internal to the serial run-time: how the port table numbers detected
// devices, and how a port number turns into a device path to open.
#pragma once

#include <string>
#include <vector>

#include "platform/serial/porttable.h"

// A serial device as the system reports it: name "ttyUSB0", location
// "/dev/ttyUSB0"; for a USB adapter its identity, e.g.
// "0403:6001:A10K7Q2M@1-1.2" (vendor:product:serial number@USB port path);
// and what its driver tells of the adapter (description "FT232R USB UART",
// serial number "A1B2C3D4"; empty when it tells nothing).
struct DetectedDevice {
  std::string name;
  std::string location;
  std::string usb = {};
  std::string description = {};
  std::string serialNumber = {};
};

// Where the port table learns the detected devices: the system by default.
// Tests install a list of their own (none, or made-up adapters) so that every
// machine shows the same devices; nullptr restores the system's list.
using DeviceLister = std::vector<DetectedDevice> (*)();
void SetDeviceListerForTest(DeviceLister lister);

// The fixed number a device name maps to (ttyUSB<n>, ttyACM<n>, ttyS<n>), or 0
// when the name has no number of its own.
int PortNumberForDeviceName(const std::string &name);

// Numbers the detected devices: fixed numbers by name, the rest from
// kFirstOtherPort in name order. Devices beyond the free numbers are left out.
std::vector<PortEntry> NumberDetectedDevices(std::vector<DetectedDevice> devices);

// Entries at fixed numbers: each hides whatever else the table holds under its
// number. Empty in the program; tests put simulated controllers there.
std::vector<PortEntry> &PortTableFixedEntries();

// The device path behind a port number; starts the demo controller on its first
// use. Returns 0, or a negative RS-232 error (kRS232InvalidPort,
// kRS232NoPortFound, kRS232CannotOpenPort).
int PortTableResolveDevice(int number, std::string *device);

// Low latency on USB-serial adapters. RequestLowLatency asks the driver for it
// on an opened line and returns the flags to give back on close, or -1 where
// the driver refused or nothing changed; RestoreSerialFlags gives them back.
// Tests replace the driver's ioctl to see the requests and to refuse them.
struct serial_struct;
using SerialIoctl = int (*)(int fd, unsigned long request, serial_struct *info);
void SetSerialIoctlForTest(SerialIoctl ioctlFunction);
int RequestLowLatency(int fd);
void RestoreSerialFlags(int fd, int flags);

// The last part of a device path: "ttyUSB0" of "/dev/ttyUSB0".
std::string DeviceBaseName(const std::string &path);

// The process that holds a device (a lock in /proc/locks, or a UUCP lock file
// LCK..<name> in /run/lock or /var/lock) and its name; 0 when none is found.
int FindLockHolder(const std::string &device, std::string *name);
// Where UUCP lock files are looked for; for tests.
void SetLockDirsForTest(std::vector<std::string> directories);
