// Why a port did not open, and who holds it: the cause each failure leaves
// for the status line and for the line's record.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/serial/internal.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/util/linelog.h"
#include "tests/support/sim_line.h"

using testsupport::SimLine;

namespace {

std::string OwnName() {
  std::ifstream comm("/proc/self/comm");
  std::string name;
  std::getline(comm, name);
  return name;
}

// The first number from kFirstOtherPort on that the table does not hold.
int UnusedPortNumber() {
  for (int number = kFirstOtherPort; number < kDemoPort; ++number) {
    if (!PortTableFind(number, nullptr)) return number;
  }
  return kMaxPortNumber;
}

// How the device is kept from opening.
enum class Obstacle { kMissing, kPathUnderAFile, kNoPermission, kLockedByAnother };

struct OpenCase {
  const char *name;
  Obstacle obstacle;
  int cause;
  bool heldByUs;  // the holder found is this process
};

// Opens `device` as the program does, with `obstacle` in the way.
int OpenPast(Obstacle obstacle, const std::string &device) {
  const auto open = [&device] {
    return OpenComConfig(UnusedPortNumber(), device.c_str(), 19200, 0, 8, 1, 4096, 4096);
  };
  if (obstacle == Obstacle::kLockedByAnother) {
    const int other = ::open(device.c_str(), O_RDWR | O_NOCTTY);
    if (other < 0 || ::flock(other, LOCK_EX | LOCK_NB) != 0) return 1;
    const int result = open();
    ::close(other);
    return result;
  }
  if (obstacle != Obstacle::kNoPermission) return open();
  // Root passes every mode check; as another user for the file system it is
  // refused as an operator outside the dialout group is.
  struct stat st {};
  if (::stat(device.c_str(), &st) != 0 || ::chmod(device.c_str(), 0) != 0) return 1;
  const bool root = ::geteuid() == 0;
  if (root) ::setfsuid(65534);
  const int result = open();
  if (root) ::setfsuid(0);
  ::chmod(device.c_str(), st.st_mode & 07777);
  return result;
}

TEST(SerialOpenFailure, EachCauseIsToldAndRecordedWithTheHolder) {
  const OpenCase cases[] = {
      {"no device at the path", Obstacle::kMissing, kComOpenNoDevice, false},
      {"a path under a plain file", Obstacle::kPathUnderAFile, kComOpenNoDevice, false},
      {"a device the user may not use", Obstacle::kNoPermission, kComOpenNoPermission, false},
      {"a device another program has locked", Obstacle::kLockedByAnother, kComOpenInUse, true},
  };
  SimLine line;
  ASSERT_TRUE(line.ok());
  for (const OpenCase &c : cases) {
    SCOPED_TRACE(c.name);
    std::string device = line.device();
    if (c.obstacle == Obstacle::kMissing) device = "/dev/rvim-no-such-device";
    if (c.obstacle == Obstacle::kPathUnderAFile) device = "/dev/null/ttyUSB0";
    ASSERT_EQ(OpenPast(c.obstacle, device), kRS232CannotOpenPort);

    ComOpenFailure failure;
    GetComOpenFailure(&failure);
    EXPECT_EQ(failure.cause, c.cause);
    EXPECT_EQ(failure.holderPid, c.heldByUs ? ::getpid() : 0);
    EXPECT_EQ(std::string(failure.holderName), c.heldByUs ? OwnName() : "");

    LineEvent event;
    ASSERT_TRUE(LineLogGet(LineLogEnd() - 1, &event));
    EXPECT_EQ(event.kind, kLineOpenFailed);
    EXPECT_EQ(event.a, kRS232CannotOpenPort);
    EXPECT_EQ(event.b, c.cause);
    EXPECT_EQ(event.c, failure.holderPid);
    const std::string held(reinterpret_cast<const char *>(event.bytes), event.size);
    EXPECT_EQ(held, device + '\0' + failure.holderName);
  }
}

// A PID that no process has any more: a child that has ended.
int EndedPid() {
  const pid_t child = ::fork();
  if (child == 0) std::_Exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

void WriteFile(const std::string &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Terminal programs leave the holder's PID in a UUCP lock file, as ten ASCII
// digits or (older ones) as a binary int; the file is named after the real
// device, whatever link the port was chosen by.
TEST(LockHolder, UucpLockFilesNameTheHolderWhileItLives) {
  char dirTemplate[] = "/tmp/rvim-locks-XXXXXX";
  ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
  const std::string dir = dirTemplate;
  const std::string device = dir + "/ttyRVIM0";
  WriteFile(device, "");  // a file no one has locked
  ASSERT_EQ(::symlink(device.c_str(), (dir + "/usb-FTDI_A1B2").c_str()), 0);
  SetLockDirsForTest({dir + "/none", dir});

  char ascii[16];
  std::snprintf(ascii, sizeof ascii, "%10d\n", ::getpid());
  const int pid = ::getpid();
  const std::string binary(reinterpret_cast<const char *>(&pid), sizeof pid);
  char ended[16];
  std::snprintf(ended, sizeof ended, "%10d\n", EndedPid());
  const struct {
    const char *name;
    const char *lockFile;  // nullptr: none
    std::string content;
    const char *chosenBy;
    int holder;
  } cases[] = {
      {"ASCII PID", "LCK..ttyRVIM0", ascii, "/ttyRVIM0", pid},
      {"binary PID", "LCK..ttyRVIM0", binary, "/ttyRVIM0", pid},
      {"chosen by its by-id link", "LCK..ttyRVIM0", ascii, "/usb-FTDI_A1B2", pid},
      {"holder has ended", "LCK..ttyRVIM0", ended, "/ttyRVIM0", 0},
      {"lock file of another device", "LCK..ttyRVIM1", ascii, "/ttyRVIM0", 0},
      {"no lock file", nullptr, "", "/ttyRVIM0", 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    ::unlink((dir + "/LCK..ttyRVIM0").c_str());
    ::unlink((dir + "/LCK..ttyRVIM1").c_str());
    if (c.lockFile != nullptr) WriteFile(dir + "/" + c.lockFile, c.content);
    std::string name = "(none)";
    EXPECT_EQ(FindLockHolder(dir + c.chosenBy, &name), c.holder);
    EXPECT_EQ(name, c.holder != 0 ? OwnName() : "(none)");
  }
  SetLockDirsForTest({"/run/lock", "/var/lock"});
  std::filesystem::remove_all(dir);
}

}  // namespace
