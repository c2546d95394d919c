// The port table: numbers from device names, added paths, labels and the
// demo controller.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "platform/serial/internal.h"
#include "platform/serial/porttable.h"
#include "platform/serial/porttable_detect.h"
#include "platform/serial/porttable_identity.h"
#include "platform/serial/rs232.h"
#include "sim/simulator.h"
#include "tests/support/runtime_extras.h"
#include "tests/support/sim_line.h"

using testsupport::OpenAsTheProgramDoes;

namespace {

int gStarterCalls = 0;
std::unique_ptr<sim::Simulator> gDemo;

std::string startDemo() {
  ++gStarterCalls;
  gDemo = std::make_unique<sim::Simulator>(sim::Pacing::Instant);
  return gDemo->start() ? gDemo->slavePath() : std::string();
}

std::string failingStarter() {
  ++gStarterCalls;
  return {};
}

}  // namespace

TEST(PortTable, NumbersFromDeviceNames) {
  EXPECT_EQ(PortNumberForDeviceName("ttyUSB0"), kFirstUsbPort);
  EXPECT_EQ(PortNumberForDeviceName("ttyUSB3"), kFirstUsbPort + 3);
  EXPECT_EQ(PortNumberForDeviceName("ttyACM1"), kFirstAcmPort + 1);
  EXPECT_EQ(PortNumberForDeviceName("ttyS4"), kFirstUartPort + 4);
  EXPECT_EQ(PortNumberForDeviceName("ttyUSB10"), 0) << "beyond its range";
  EXPECT_EQ(PortNumberForDeviceName("ttyUSB"), 0);
  EXPECT_EQ(PortNumberForDeviceName("ttyUSBx"), 0);
  EXPECT_EQ(PortNumberForDeviceName("rfcomm0"), 0);

  const std::vector<PortEntry> entries = NumberDetectedDevices({{"ttyUSB1", "/dev/ttyUSB1"},
                                                                {"rfcomm0", "/dev/rfcomm0"},
                                                                {"ttyS0", "/dev/ttyS0"},
                                                                {"ttyAMA0", "/dev/ttyAMA0"},
                                                                {"ttyUSB12", "/dev/ttyUSB12"}});
  ASSERT_EQ(entries.size(), 5u);
  auto numberOf = [&](const std::string &device) {
    for (const PortEntry &entry : entries) {
      if (entry.device == device) return entry.number;
    }
    return -1;
  };
  EXPECT_EQ(numberOf("/dev/ttyUSB1"), 2);
  EXPECT_EQ(numberOf("/dev/ttyS0"), 21);
  // The rest in name order: rfcomm0 < ttyAMA0 < ttyUSB12.
  EXPECT_EQ(numberOf("/dev/rfcomm0"), kFirstOtherPort);
  EXPECT_EQ(numberOf("/dev/ttyAMA0"), kFirstOtherPort + 1);
  EXPECT_EQ(numberOf("/dev/ttyUSB12"), kFirstOtherPort + 2);
}

TEST(PortTable, AddedDevicesKeepTheirNumbers) {
  const int first = PortTableAddDevice("/tmp/rvim-link-a");
  const int second = PortTableAddDevice("/tmp/rvim-link-b");
  EXPECT_EQ(first, kFirstAddedPort);
  EXPECT_EQ(second, kFirstAddedPort + 1);
  EXPECT_EQ(PortTableAddDevice("/tmp/rvim-link-a"), first);
  EXPECT_LT(PortTableAddDevice(""), 0);
  EXPECT_TRUE(PortTableHasSerialDevice());

  PortEntry entry;
  ASSERT_TRUE(PortTableFind(second, &entry));
  EXPECT_EQ(entry.device, "/tmp/rvim-link-b");
  EXPECT_FALSE(entry.demo);
  EXPECT_EQ(PortTableLabel(entry), std::to_string(second) + "  /tmp/rvim-link-b");
  PortTableRefresh();
  EXPECT_TRUE(PortTableFind(second, nullptr)) << "a refresh keeps added devices";

  // Entries come in ascending number order.
  int previous = 0;
  for (int i = 0; i < PortTableCount(); ++i) {
    ASSERT_TRUE(PortTableEntry(i, &entry));
    EXPECT_GT(entry.number, previous);
    previous = entry.number;
  }
  EXPECT_FALSE(PortTableEntry(PortTableCount(), &entry));
}

// Without a by-id link or a USB identity, a device is the same only while its
// node is: a pseudo-terminal's path names the next one opened anywhere on the
// machine once it is gone, and that one is never the adapter that went.
TEST(PortTable, ANodeMadeAnewUnderTheSamePathIsAnotherDevice) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.filePath(QStringLiteral("ttyNode")).toStdString();
  const auto makeNode = [&path] { QFile(QString::fromStdString(path)).open(QIODevice::WriteOnly); };
  makeNode();
  const int number = PortTableAddDevice(path);
  PortEntry entry;
  ASSERT_TRUE(PortTableFind(number, &entry));
  const std::string identity = PortIdentity(entry);
  EXPECT_EQ(PortIdentity(entry), identity) << "the same node keeps its identity";
  EXPECT_EQ(PortTableNumberOfIdentity(identity), number);

  ASSERT_TRUE(QFile::remove(QString::fromStdString(path)));
  makeNode();
  EXPECT_NE(PortIdentity(entry), identity);
  EXPECT_EQ(PortTableNumberOfIdentity(identity), 0);
}

TEST(PortTable, TableFullGivesNegativeResult) {
  int last = 0;
  for (int i = 0; last >= 0 && i < 400; ++i) {
    last = PortTableAddDevice("/tmp/rvim-many-" + std::to_string(i));
  }
  EXPECT_LT(last, 0);
  EXPECT_EQ(PortTableAddDevice("/tmp/rvim-many-0"), kFirstAddedPort);
}

TEST(PortTable, DemoControllerStartsOnceOnFirstOpen) {
  const bool realDevices = PortTableHasSerialDevice();
  EXPECT_FALSE(PortTableFind(kDemoPort, nullptr)) << "no starter, no demo";
  PortTableSetDemoStarter(startDemo);
  PortEntry entry;
  ASSERT_TRUE(PortTableFind(kDemoPort, &entry));
  EXPECT_TRUE(entry.demo);
  EXPECT_TRUE(entry.device.empty());
  EXPECT_EQ(PortTableLabel(entry), "90  Demo controller");
  EXPECT_EQ(PortTableHasSerialDevice(), realDevices) << "the demo is no serial device";
  EXPECT_EQ(gStarterCalls, 0);

  ASSERT_EQ(OpenAsTheProgramDoes(kDemoPort), 0);
  EXPECT_EQ(gStarterCalls, 1);
  ASSERT_EQ(CloseCom(kDemoPort), 0);
  ASSERT_EQ(OpenAsTheProgramDoes(kDemoPort), 0);
  EXPECT_EQ(gStarterCalls, 1);
  ASSERT_TRUE(PortTableFind(kDemoPort, &entry));
  EXPECT_EQ(entry.device, gDemo->slavePath());

  // The demo answers like a controller.
  const char echo[36] = {0x00, 0x55, 0x00, 0x05};
  ASSERT_EQ(ComWrt(kDemoPort, echo, 36), 36);
  char answer[36] = {};
  ASSERT_EQ(ComRd(kDemoPort, answer, 36), 36);
  EXPECT_EQ(answer[5], static_cast<char>(0xAA));
  CloseCom(kDemoPort);
  gDemo.reset();
}

TEST(PortTable, DemoThatCannotStartFailsToOpen) {
  PortTableSetDemoStarter(failingStarter);
  EXPECT_EQ(OpenAsTheProgramDoes(kDemoPort), kRS232CannotOpenPort);
  EXPECT_EQ(OpenAsTheProgramDoes(kDemoPort), kRS232CannotOpenPort);
  EXPECT_EQ(gStarterCalls, 1);
}

// Adapters are listed with what their driver tells of them; the numbers stay
// those of the device names.
TEST(PortTable, AdaptersAreListedWithWhatTheSystemKnowsOfThem) {
  SetDeviceListerForTest([] {
    return std::vector<DetectedDevice>{
        {"ttyUSB0", "/dev/ttyUSB0", "0403:6001:A1B2C3D4@1-1", "FT232R USB UART", "A1B2C3D4"},
        {"ttyACM0", "/dev/ttyACM0", "", "Arduino Uno", ""},
        {"ttyS0", "/dev/ttyS0", "", "", ""},
        {"ttyUSB1", "/dev/ttyUSB1", "", "CP2102\nUSB", "0001\t"},
    };
  });
  const struct {
    int number;
    const char *label;
  } expected[] = {
      {1, "1  ttyUSB0 - FT232R USB UART (A1B2C3D4)"},
      {2, "2  ttyUSB1 - CP2102?USB (0001?)"},
      {11, "11  ttyACM0 - Arduino Uno"},
      {21, "21  /dev/ttyS0"},
  };
  for (const auto &e : expected) {
    PortEntry entry;
    ASSERT_TRUE(PortTableFind(e.number, &entry)) << e.label;
    EXPECT_EQ(PortTableLabel(entry), e.label);
  }
  SetDeviceListerForTest(nullptr);
}

// The USB port an adapter sits on, from the resolved sysfs path of its tty.
TEST(PortTable, UsbPortPathFromTheSysfsPathOfTheTty) {
  struct Case {
    const char *path;
    const char *port;
  };
  const Case cases[] = {
      {"/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1.2/1-1.2:1.0/ttyUSB0", "1-1.2"},
      {"/sys/devices/pci0000:00/0000:00:14.0/usb3/3-4/3-4:1.0", "3-4"},
      {"/sys/devices/platform/serial8250/tty/ttyS0", ""},
      {"", ""},
  };
  for (const Case &c : cases) EXPECT_EQ(UsbPortPathOf(c.path), c.port) << c.path;
}
