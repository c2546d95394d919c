// Who holds a serial device that will not open: a process with a lock on it
// (flock or fcntl, listed in /proc/locks), or the PID in a UUCP lock file
// (LCK..ttyUSB0) that terminal programs such as minicom leave in /run/lock.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/serial/internal.h"

namespace {

std::vector<std::string> gLockDirs = {"/run/lock", "/var/lock"};

bool ProcessAlive(int pid) {
  return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

std::string ProcessName(int pid) {
  std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
  std::string name;
  std::getline(comm, name);
  return name;
}

// "00:19:7": the device's file system (hex major:minor) and inode.
std::string LockKey(const struct stat &st) {
  char key[64];
  std::snprintf(key, sizeof key, "%02x:%02x:%lu", major(st.st_dev), minor(st.st_dev),
                static_cast<unsigned long>(st.st_ino));
  return key;
}

// /proc/locks: "1: FLOCK  ADVISORY  WRITE 4711 00:19:7 0 EOF"; lines of
// waiters carry "->" after the number.
int PidFromLocks(const struct stat &st) {
  std::ifstream locks("/proc/locks");
  const std::string key = LockKey(st);
  std::string line;
  while (std::getline(locks, line)) {
    std::istringstream fields(line);
    std::string id, type, mode, access, where;
    int pid = 0;
    if (!(fields >> id >> type) || type == "->") continue;
    if (fields >> mode >> access >> pid >> where && where == key && pid > 0) return pid;
  }
  return 0;
}

// The PID a UUCP lock file holds: ten ASCII digits, or (older programs) the
// binary int, whose high byte is 0 for every PID the kernel gives out.
int PidFromLockFile(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (text.size() == sizeof(int) && text.find('\0') != std::string::npos) {
    int pid = 0;
    std::copy(text.begin(), text.end(), reinterpret_cast<char *>(&pid));
    return pid;
  }
  return std::atoi(text.c_str());
}

int PidFromLockFiles(const std::string &device) {
  char resolved[PATH_MAX];
  const std::string real = ::realpath(device.c_str(), resolved) != nullptr ? resolved : device;
  for (const std::string &dir : gLockDirs) {
    const int pid = PidFromLockFile(dir + "/LCK.." + DeviceBaseName(real));
    if (ProcessAlive(pid)) return pid;
  }
  return 0;
}

}  // namespace

void SetLockDirsForTest(std::vector<std::string> directories) {
  gLockDirs = std::move(directories);
}

int FindLockHolder(const std::string &device, std::string *name) {
  struct stat st {};
  int pid = ::stat(device.c_str(), &st) == 0 ? PidFromLocks(st) : 0;
  if (pid == 0) pid = PidFromLockFiles(device);
  if (pid > 0 && name != nullptr) *name = ProcessName(pid);
  return pid;
}
