// The port table: detected serial devices, the demo controller and added
// device paths, each under a stable port number.
#include "platform/serial/porttable.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/serial/internal.h"
#include "platform/serial/porttable_detect.h"
#include "platform/serial/rs232.h"

namespace {

struct Table {
  bool loaded = false;
  std::vector<PortEntry> detected;
  std::vector<PortEntry> added;
  std::vector<PortEntry> assigned;  // fixed numbers that hide any other entry
  DemoStarter starter = nullptr;
  DeviceLister lister = nullptr;
  bool demoStarted = false;
  std::string demoDevice;
};

Table &table() {
  static Table state;
  return state;
}

void ensureLoaded() {
  if (!table().loaded) PortTableRefresh();
}

// Number n of "<prefix><n>", or -1 when the name is not of that form.
int suffixNumber(const std::string &name, std::string_view prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
  int value = 0;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(name[i])) == 0) return -1;
    value = value * 10 + (name[i] - '0');
    if (value > 1000) return -1;
  }
  return value;
}

struct NumberRange {
  std::string_view prefix;
  int first;
  int end;  // one past the last number of the range
};

constexpr NumberRange kRanges[] = {
    {"ttyUSB", kFirstUsbPort, kFirstAcmPort},
    {"ttyACM", kFirstAcmPort, kFirstUartPort},
    {"ttyS", kFirstUartPort, kFirstOtherPort},
};

bool isAssigned(int number) {
  const std::vector<PortEntry> &assigned = table().assigned;
  return std::any_of(assigned.begin(), assigned.end(),
                     [number](const PortEntry &entry) { return entry.number == number; });
}

void appendUnassigned(std::vector<PortEntry> *entries, const std::vector<PortEntry> &from) {
  for (const PortEntry &entry : from) {
    if (!isAssigned(entry.number)) entries->push_back(entry);
  }
}

std::vector<PortEntry> allEntries() {
  ensureLoaded();
  const Table &t = table();
  std::vector<PortEntry> entries = t.assigned;
  appendUnassigned(&entries, t.detected);
  appendUnassigned(&entries, t.added);
  if (t.starter != nullptr && !isAssigned(kDemoPort)) {
    entries.push_back(PortEntry{kDemoPort, t.demoDevice, true});
  }
  std::sort(entries.begin(), entries.end(),
            [](const PortEntry &a, const PortEntry &b) { return a.number < b.number; });
  return entries;
}

// What an adapter reports about itself is shown, never obeyed: a control
// character cannot break the selector's line.
std::string OneLine(std::string text) {
  for (char &c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return text;
}

int startDemo(std::string *device) {
  Table &t = table();
  if (!t.demoStarted) {
    t.demoStarted = true;
    t.demoDevice = t.starter();
  }
  if (t.demoDevice.empty()) return kRS232CannotOpenPort;
  *device = t.demoDevice;
  return 0;
}

}  // namespace

std::string DeviceBaseName(const std::string &path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int PortNumberForDeviceName(const std::string &name) {
  for (const NumberRange &range : kRanges) {
    const int n = suffixNumber(name, range.prefix);
    if (n >= 0 && range.first + n < range.end) return range.first + n;
  }
  return 0;
}

std::vector<PortEntry> NumberDetectedDevices(std::vector<DetectedDevice> devices) {
  std::sort(devices.begin(), devices.end(),
            [](const DetectedDevice &a, const DetectedDevice &b) { return a.name < b.name; });
  std::vector<PortEntry> entries;
  int nextOther = kFirstOtherPort;
  for (const DetectedDevice &device : devices) {
    int number = PortNumberForDeviceName(device.name);
    if (number == 0) {
      if (nextOther >= kDemoPort) continue;
      number = nextOther++;
    }
    entries.push_back(PortEntry{number, device.location, false, device.usb, device.description,
                                device.serialNumber});
  }
  return entries;
}

void SetDeviceListerForTest(DeviceLister lister) {
  table().lister = lister;
  table().loaded = false;
}

void PortTableRefresh() {
  Table &t = table();
  t.detected = KeepAdapterNumbers(
      NumberDetectedDevices(t.lister != nullptr ? t.lister() : DetectSerialDevices()));
  t.loaded = true;
}

bool PortTableEntry(int index, PortEntry *entry) {
  const std::vector<PortEntry> entries = allEntries();
  if (index < 0 || index >= static_cast<int>(entries.size()) || entry == nullptr) return false;
  *entry = entries[static_cast<std::size_t>(index)];
  return true;
}

bool PortTableFind(int number, PortEntry *entry) {
  for (const PortEntry &candidate : allEntries()) {
    if (candidate.number != number) continue;
    if (entry != nullptr) *entry = candidate;
    return true;
  }
  return false;
}

int PortTableAddDevice(const std::string &devicePath) {
  if (devicePath.empty()) return kRS232InvalidParameter;
  ensureLoaded();
  Table &t = table();
  for (const PortEntry &entry : allEntries()) {
    if (!entry.demo && entry.device == devicePath) return entry.number;
  }
  const int number = kFirstAddedPort + static_cast<int>(t.added.size());
  if (number > kMaxPortNumber) return kRS232InvalidPort;
  t.added.push_back(PortEntry{number, devicePath, false});
  return number;
}

std::vector<PortEntry> &PortTableFixedEntries() {
  ensureLoaded();
  return table().assigned;
}

bool PortTableHasSerialDevice() {
  ensureLoaded();
  const Table &t = table();
  return !t.detected.empty() || !t.added.empty() || !t.assigned.empty();
}

std::string PortTableLabel(const PortEntry &entry) {
  std::string what = entry.demo ? std::string("Demo controller") : entry.device;
  if (!entry.demo && !entry.description.empty()) {
    what = OneLine(DeviceBaseName(entry.device) + " - " + entry.description);
    if (!entry.serialNumber.empty()) what += " (" + OneLine(entry.serialNumber) + ")";
  }
  return std::to_string(entry.number) + "  " + what;
}

void PortTableSetDemoStarter(DemoStarter starter) {
  Table &t = table();
  if (starter == t.starter) return;  // the demo already started stays in use
  t.starter = starter;
  t.demoStarted = false;
  t.demoDevice.clear();
}

int PortTableResolveDevice(int number, std::string *device) {
  PortEntry entry;
  if (!PortTableFind(number, &entry)) {
    return PortTableHasSerialDevice() ? kRS232InvalidPort : kRS232NoPortFound;
  }
  if (entry.demo) return startDemo(device);
  *device = entry.device;
  return 0;
}
