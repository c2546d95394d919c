// Serial devices of the system or of a test directory, and adapter numbers
// that survive an unplug.
#include "platform/serial/porttable_detect.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QSerialPortInfo>
#include <algorithm>
#include <map>
#include <set>

#include "platform/serial/porttable.h"
#include "platform/serial/porttable_identity.h"

namespace {

std::string gDeviceDir;
std::map<std::string, int> gAdapterNumbers;  // stable name -> number

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

}  // namespace

void SetSerialDeviceDir(const char *directory) {
  gDeviceDir = directory != nullptr ? directory : "";
  gAdapterNumbers.clear();
}

std::string SerialDeviceDir() {
  return gDeviceDir;
}

std::vector<DetectedDevice> DetectSerialDevices() {
  if (!gDeviceDir.empty()) return ScanDeviceDir(gDeviceDir);
  std::vector<DetectedDevice> devices;
  for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
    devices.push_back({info.portName().toStdString(), info.systemLocation().toStdString(),
                       info.description().toStdString(), info.serialNumber().toStdString()});
  }
  return devices;
}

std::vector<PortEntry> KeepAdapterNumbers(std::vector<PortEntry> entries) {
  std::set<int> used;
  for (const PortEntry &entry : entries) used.insert(entry.number);
  std::vector<std::string> names;
  for (PortEntry &entry : entries) {
    const std::string name = PortStableName(entry.device);
    names.push_back(name);
    if (name == entry.device) continue;  // no stable name: numbered by device name
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
