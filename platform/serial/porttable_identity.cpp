// Stable device names and the lookup of a device path in the port table.
#include "platform/serial/porttable_identity.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "platform/serial/porttable.h"
#include "platform/serial/porttable_detect.h"

namespace {

std::string gByIdDir = "/dev/serial/by-id";

// The path with every link resolved; the path itself when it does not exist.
std::string Resolved(const std::string &path) {
  char real[PATH_MAX];
  if (realpath(path.c_str(), real) == nullptr) return path;
  return real;
}

// A node without a stable name is the same device only while its node is
// the same: a pseudo-terminal's path names the next one opened anywhere on
// the machine once it is gone.
std::string NodeIdentity(const std::string &device) {
  struct stat node {};
  if (::stat(device.c_str(), &node) != 0) return device;
  return device + "@" + std::to_string(node.st_rdev) + ":" + std::to_string(node.st_ino) + ":" +
         std::to_string(node.st_ctim.tv_sec) + "." + std::to_string(node.st_ctim.tv_nsec);
}

}  // namespace

void PortTableSetByIdDir(const std::string &directory) {
  gByIdDir = directory;
}

std::string PortTableByIdDir() {
  return gByIdDir;
}

std::string PortStableName(const std::string &device) {
  DIR *dir = opendir(gByIdDir.c_str());
  if (dir == nullptr) return device;
  const std::string target = Resolved(device);
  std::string name = device;
  while (const dirent *entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    const std::string link = gByIdDir + "/" + entry->d_name;
    if (Resolved(link) == target) {
      name = link;
      break;
    }
  }
  closedir(dir);
  return name;
}

std::string PortIdentity(const PortEntry &entry) {
  if (entry.demo) return "demo";
  const std::string name = PortStableName(entry.device);
  if (name != entry.device) return name;
  if (!entry.usb.empty()) return "usb:" + entry.usb;
  return NodeIdentity(entry.device);
}

int PortTableNumberOfIdentity(const std::string &identity) {
  PortEntry entry;
  for (int i = 0; PortTableEntry(i, &entry); ++i) {
    if (PortIdentity(entry) == identity) return entry.number;
  }
  return 0;
}

int PortTableNumberForPath(const std::string &path) {
  if (path.empty()) return -1;
  const std::string target = Resolved(path);
  PortTableRefresh();
  PortEntry entry;
  for (int i = 0; PortTableEntry(i, &entry); ++i) {
    if (!entry.demo && !entry.device.empty() && Resolved(entry.device) == target) {
      return entry.number;
    }
  }
  return PortTableAddDevice(path);
}
