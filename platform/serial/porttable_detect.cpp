// Serial devices of the system or of a test directory, and adapter numbers
// that survive an unplug.
#include "platform/serial/porttable_detect.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QSerialPortInfo>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <set>

#include "platform/serial/porttable.h"
#include "platform/serial/porttable_identity.h"

namespace {

std::string gDeviceDir;
std::map<std::string, int> gAdapterNumbers;  // identity -> number

bool IsSerialName(const std::string &name) {
  for (const char *prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
    if (name.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

std::vector<DetectedDevice> ScanDeviceDir(const std::string &dirPath) {
  std::vector<DetectedDevice> devices;
  DIR *dir = opendir(dirPath.c_str());
  if (dir == nullptr) return devices;
  while (const dirent *entry = readdir(dir)) {
    const std::string name = entry->d_name;
    const std::string path = dirPath + "/" + name;
    struct stat st {};
    // A dangling link is an adapter that has gone.
    if (IsSerialName(name) && stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode)) {
      devices.push_back({name, path});
    }
  }
  closedir(dir);
  return devices;
}

// vendor:product:serial number@USB port path, or "" for a device that is no
// USB adapter.
std::string UsbIdentity(const QSerialPortInfo &info, const std::string &name) {
  if (!info.hasVendorIdentifier() || !info.hasProductIdentifier()) return "";
  char ids[16];
  std::snprintf(ids, sizeof ids, "%04x:%04x:", info.vendorIdentifier(), info.productIdentifier());
  char resolved[PATH_MAX];
  const std::string link = "/sys/class/tty/" + name + "/device";
  const std::string port =
      realpath(link.c_str(), resolved) != nullptr ? UsbPortPathOf(resolved) : "";
  return ids + info.serialNumber().toStdString() + "@" + port;
}

}  // namespace

void SetSerialDeviceDir(const char *directory) {
  gDeviceDir = directory != nullptr ? directory : "";
  gAdapterNumbers.clear();
}

std::string SerialDeviceDir() {
  return gDeviceDir;
}

std::string UsbPortPathOf(const std::string &resolvedDevicePath) {
  // .../usb1/1-1/1-1.2/1-1.2:1.0/ttyUSB0: the interface "1-1.2:1.0" sits on port "1-1.2".
  std::string port;
  std::size_t start = 0;
  while (start < resolvedDevicePath.size()) {
    std::size_t end = resolvedDevicePath.find('/', start);
    if (end == std::string::npos) end = resolvedDevicePath.size();
    const std::string part = resolvedDevicePath.substr(start, end - start);
    const std::size_t colon = part.find(':');
    const std::size_t dash = part.find('-');
    if (colon != std::string::npos && dash != std::string::npos && dash < colon && dash > 0 &&
        std::isdigit(static_cast<unsigned char>(part[0])) != 0) {
      port = part.substr(0, colon);
    }
    start = end + 1;
  }
  return port;
}

std::vector<DetectedDevice> DetectSerialDevices() {
  if (!gDeviceDir.empty()) return ScanDeviceDir(gDeviceDir);
  std::vector<DetectedDevice> devices;
  for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
    const std::string name = info.portName().toStdString();
    devices.push_back({name, info.systemLocation().toStdString(), UsbIdentity(info, name),
                       info.description().toStdString(), info.serialNumber().toStdString()});
  }
  return devices;
}

std::vector<PortEntry> KeepAdapterNumbers(std::vector<PortEntry> entries) {
  std::set<int> used;
  for (const PortEntry &entry : entries) used.insert(entry.number);
  std::vector<std::string> names;
  for (PortEntry &entry : entries) {
    const std::string name = PortIdentity(entry);
    names.push_back(name);
    if (name == entry.device) continue;  // nothing tells it apart: numbered by device name
    const auto known = gAdapterNumbers.find(name);
    if (known == gAdapterNumbers.end() || known->second == entry.number) continue;
    if (used.count(known->second) != 0) continue;
    used.erase(entry.number);
    used.insert(known->second);
    entry.number = known->second;
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (names[i] != entries[i].device) gAdapterNumbers[names[i]] = entries[i].number;
  }
  std::sort(entries.begin(), entries.end(),
            [](const PortEntry &a, const PortEntry &b) { return a.number < b.number; });
  return entries;
}
