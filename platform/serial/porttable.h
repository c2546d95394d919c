// The port table: serial port numbers and the devices behind them.
// Detected devices get stable numbers from their device names, the built-in
// demo controller has a fixed number, and device paths the operator adds
// ("Other device...") get numbers of their own.
#pragma once

#include <string>

enum {
  kFirstUsbPort = 1,     // /dev/ttyUSB0 -> 1, ttyUSB1 -> 2, ...
  kFirstAcmPort = 11,    // /dev/ttyACM0 -> 11, ...
  kFirstUartPort = 21,   // /dev/ttyS0 -> 21, ...
  kFirstOtherPort = 41,  // other detected devices, in name order
  kDemoPort = 90,        // the built-in demo controller
  kFirstAddedPort = 91,  // device paths added by the operator or by tests
  kMaxPortNumber = 255
};

struct PortEntry {
  int number = 0;
  std::string device;  // e.g. "/dev/ttyUSB0"; empty for the demo until started
  bool demo = false;
  std::string usb = {};           // a USB adapter's "vendor:product:serial@port path", else ""
  std::string description = {};   // a detected adapter's, e.g. "FT232R USB UART"
  std::string serialNumber = {};  // a detected adapter's, e.g. "A1B2C3D4"
};

// Re-reads the detected devices (keeps demo and added entries).
void PortTableRefresh();
// Entry i in ascending port-number order; false when i is out of range.
bool PortTableEntry(int index, PortEntry *entry);
bool PortTableFind(int number, PortEntry *entry);
// Adds a device path and returns its port number (the existing number when the
// path is already in the table), or a negative result when the table is full.
int PortTableAddDevice(const std::string &devicePath);
// True when the table holds at least one real (non-demo) device.
bool PortTableHasSerialDevice();
// Text for the port selector: "1  ttyUSB0 - FT232R USB UART (A1B2C3D4)" for
// an adapter the system describes, else "1  /dev/ttyUSB0"; "90  Demo controller".
std::string PortTableLabel(const PortEntry &entry);

// The demo controller: a function that starts it (once) and returns the
// device path to open. Installed by the program; the platform does not know
// the simulator. Without a starter the demo entry is absent.
using DemoStarter = std::string (*)();
void PortTableSetDemoStarter(DemoStarter starter);

// Where serial devices are found and watched: "" for the system (/dev and its
// serial/by-id links), or a directory whose tty* entries (links to any
// character device, e.g. pseudo-terminals) play the adapters, for tests.
void SetSerialDeviceDir(const char *directory);
