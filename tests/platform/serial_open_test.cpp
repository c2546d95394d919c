// Opening, closing and losing ports: error results, exclusive use, and a
// far end that hangs up.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <vector>

#include "platform/serial/internal.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "tests/support/sim_line.h"

using testsupport::OpenAsTheProgramDoes;
using testsupport::PumpUntil;
using testsupport::SimLine;

namespace {

// Passes of the event loop for a second, and how many of them slept (each
// pass sleeps until an event or its wake timer unless something is pending).
struct Passes {
  int passes = 0;
  long sleeps = 0;
};

long OwnSleeps() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_nvcsw;
}

Passes PassesForASecond() {
  Passes counted;
  const long sleepsBefore = OwnSleeps();
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (std::chrono::steady_clock::now() < until) {
    ProcessSystemEvents();
    ++counted.passes;
  }
  counted.sleeps = OwnSleeps() - sleepsBefore;
  return counted;
}

// The first number from kFirstOtherPort on that the table does not hold.
int unusedPortNumber() {
  for (int number = kFirstOtherPort; number < kDemoPort; ++number) {
    if (!PortTableFind(number, nullptr)) return number;
  }
  return kMaxPortNumber;
}

}  // namespace

TEST(SerialOpen, UnknownPortNumbers) {
  if (!PortTableHasSerialDevice()) {
    EXPECT_EQ(OpenAsTheProgramDoes(unusedPortNumber()), kRS232NoPortFound);
  }
  SimLine line;
  ASSERT_TRUE(line.ok());
  EXPECT_EQ(OpenAsTheProgramDoes(unusedPortNumber()), kRS232InvalidPort);
  EXPECT_EQ(OpenAsTheProgramDoes(0), kRS232InvalidPort);
  EXPECT_EQ(OpenAsTheProgramDoes(kMaxPortNumber + 1), kRS232InvalidPort);
  EXPECT_EQ(OpenAsTheProgramDoes(line.port()), 0);
}

TEST(SerialOpen, BadParametersAreRefused) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  const int port = line.port();
  EXPECT_EQ(OpenComConfig(port, "", 12345, 0, 8, 1, 4096, 4096), kRS232InvalidParameter);
  EXPECT_EQ(OpenComConfig(port, "", 19200, 7, 8, 1, 4096, 4096), kRS232InvalidParameter);
  EXPECT_EQ(OpenComConfig(port, "", 19200, 0, 9, 1, 4096, 4096), kRS232InvalidParameter);
  EXPECT_EQ(OpenComConfig(port, "", 19200, 0, 8, 3, 4096, 4096), kRS232InvalidParameter);
  EXPECT_EQ(OpenComConfig(port, "", 19200, 0, 8, 1, -1, 4096), kRS232InvalidParameter);
  ASSERT_EQ(OpenAsTheProgramDoes(port), 0);
  EXPECT_EQ(SetComTime(port, -1.0), kRS232InvalidParameter);
  EXPECT_EQ(SetCTSMode(port, 0), 0);
  EXPECT_EQ(SetCTSMode(port, 5), kRS232InvalidParameter);
  EXPECT_EQ(InstallComCallback(
                port, LWRS_RECEIVE, -1, 0x55, [](int, int, void *) {}, nullptr),
            kRS232InvalidParameter);
  char byte = 0;
  EXPECT_EQ(ComWrt(port, &byte, -1), kRS232InvalidParameter);
}

TEST(SerialOpen, PortInUseCannotBeOpened) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  // Another program holds the device.
  const int other = ::open(line.device().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(OpenAsTheProgramDoes(line.port()), kRS232CannotOpenPort);
  ::close(other);
  ASSERT_EQ(OpenAsTheProgramDoes(line.port()), 0);
  // And while we hold it, the same device under another number is refused.
  EXPECT_EQ(OpenComConfig(unusedPortNumber(), line.device().c_str(), 19200, 0, 8, 1, 4096, 4096),
            kRS232CannotOpenPort);
  // Reopening our own port number works.
  EXPECT_EQ(OpenAsTheProgramDoes(line.port()), 0);
}

TEST(SerialOpen, MissingDeviceCannotBeOpened) {
  const int port = PortTableAddDevice("/dev/does-not-exist-rvim");
  ASSERT_GT(port, 0);
  EXPECT_EQ(OpenAsTheProgramDoes(port), kRS232CannotOpenPort);
}

TEST(SerialOpen, ClosedPortsFailHarmlessly) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  const int port = line.port();
  char buffer[4] = {};
  EXPECT_EQ(ComWrt(port, buffer, 4), kRS232PortNotOpen);
  EXPECT_EQ(ComRd(port, buffer, 4), kRS232PortNotOpen);
  EXPECT_EQ(GetInQLen(port), kRS232PortNotOpen);
  EXPECT_EQ(FlushInQ(port), kRS232PortNotOpen);
  EXPECT_LT(CloseCom(port), 0);
  ASSERT_EQ(OpenAsTheProgramDoes(port), 0);
  EXPECT_EQ(CloseCom(port), 0);
  EXPECT_LT(CloseCom(port), 0);
  EXPECT_EQ(CloseCom(0), kRS232InvalidPort);
}

TEST(SerialOpen, HangUpIsDetectedWithoutSpinning) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  ASSERT_EQ(line.open(), 0);
  int calls = 0;
  InstallComCallback(
      line.port(), 0x8006, 36, 0x55, [](int, int, void *data) { ++*static_cast<int *>(data); },
      &calls);
  line.sim().hangUp();
  // A dead line that kept the loop busy would have it pass without sleeping.
  const Passes counted = PassesForASecond();
  EXPECT_GE(counted.sleeps, counted.passes / 2) << counted.passes << " passes";
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(GetInQLen(line.port()), kRS232PortNotOpen);
  EXPECT_LT(ComWrt(line.port(), "\x00\x55", 2), 0);
  EXPECT_LT(ComRd(line.port(), nullptr, 0), 0);
  EXPECT_EQ(CloseCom(line.port()), 0);
  EXPECT_LT(CloseCom(line.port()), 0);
}

TEST(SerialOpen, HangUpSeenByAWriteWithoutEventProcessing) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  ASSERT_EQ(line.open(), 0);
  line.sim().hangUp();
  EXPECT_LT(ComWrt(line.port(), "\x00\x55", 2), 0);
  EXPECT_EQ(ComWrt(line.port(), "\x00\x55", 2), kRS232PortNotOpen);
}

// The settings as the opened port leaves them on the line, read through a
// descriptor of the same pty taken before the port was opened.
TEST(SerialOpen, LineIsRaw19200EightNoneOneWithoutFlowControlAndExclusive) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  const int watcher = ::open(line.device().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(watcher, 0);
  termios dirty{};
  ASSERT_EQ(tcgetattr(watcher, &dirty), 0);
  dirty.c_iflag |= IXON | IXOFF | IXANY | ICRNL | INLCR;
  dirty.c_oflag |= OPOST | ONLCR;
  dirty.c_lflag |= ECHO | ICANON;
  dirty.c_cflag |= CRTSCTS | PARENB | CSTOPB;
  ASSERT_EQ(tcsetattr(watcher, TCSANOW, &dirty), 0);
  ASSERT_EQ(line.open(), 0);

  termios tio{};
  ASSERT_EQ(tcgetattr(watcher, &tio), 0);
  EXPECT_EQ(cfgetispeed(&tio), static_cast<speed_t>(B19200));
  EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B19200));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
  EXPECT_EQ(tio.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), 0u);
  int exclusive = 0;
  ASSERT_EQ(ioctl(watcher, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 1);
  CloseCom(line.port());
  ASSERT_EQ(ioctl(watcher, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0);
  ::close(watcher);
}

namespace {

// A driver as the port sees it through TIOCGSERIAL/TIOCSSERIAL.
struct FakeDriver {
  bool refuses = false;
  int flags = 0;
  std::vector<int> flagsSet;  // every TIOCSSERIAL, in order
};
FakeDriver driver;

int FakeSerialIoctl(int, unsigned long request, serial_struct *info) {
  if (driver.refuses) return -1;
  if (request == TIOCGSERIAL) info->flags = driver.flags;
  if (request == TIOCSSERIAL) driver.flagsSet.push_back(driver.flags = info->flags);
  return 0;
}

}  // namespace

// Low latency is asked for on opening and given back on closing; a driver
// without the setting (as a pseudo-terminal) leaves the port working as it is.
TEST(SerialOpen, LowLatencyIsAskedForAndGivenBackOrItsRefusalIgnored) {
  const int other = 0x10;
  const struct {
    const char *name;
    FakeDriver before;
    std::vector<int> expectedSets;
  } cases[] = {
      {"accepts", {false, other, {}}, {other | ASYNC_LOW_LATENCY, other}},
      {"already low latency", {false, other | ASYNC_LOW_LATENCY, {}}, {}},
      {"refuses", {true, 0, {}}, {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    driver = c.before;
    SetSerialIoctlForTest(FakeSerialIoctl);
    SimLine line;
    ASSERT_TRUE(line.ok());
    ASSERT_EQ(line.open(), 0);
    EXPECT_GE(GetInQLen(line.port()), 0);
    CloseCom(line.port());
    SetSerialIoctlForTest(nullptr);
    EXPECT_EQ(driver.flagsSet, c.expectedSets);
  }
  SimLine real;  // the real driver of a pseudo-terminal refuses
  ASSERT_TRUE(real.ok());
  EXPECT_EQ(real.open(), 0);
}
