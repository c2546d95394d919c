// Start-up against a simulated controller at port 1: the frames on the line,
// the panels and the status line afterwards, and the failures of the opening
// and of the echo check.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/serial/internal.h"
#include "recorder/recorder.h"
#include "tests/app/app_fixture.h"
#include "tests/support/runtime_extras.h"

namespace {

using namespace apptest;
using testsupport::RequestBytes;

TEST_F(StartupTest, HandshakeReadsBothSetsAndFirmwareBeforeThePanelIsShown) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  controller.loadDistinctSet();

  // A timer fires only in full event processing, the first of which is the
  // wait of the first parameter read (the echo check processes no events).
  int visibleDuringHandshake = -1;
  std::string statusThen;
  QTimer::singleShot(1, [&] {
    visibleDuringHandshake = PanelWidget(panelHandle)->isVisible() ? 1 : 0;
    statusThen = Status();
  });
  ASSERT_EQ(Start(), 0);

  EXPECT_EQ(visibleDuringHandshake, 0);
  EXPECT_EQ(statusThen, "Waiting for parameter-frame ...") << "fired in the parameter read";
  EXPECT_TRUE(PanelWidget(panelHandle)->isVisible());
  EXPECT_FALSE(PanelWidget(panelPopUp)->isVisible());
  EXPECT_EQ(com, 1);
  EXPECT_EQ(Value(panelHandle, PANEL_DROPDCOM), 1);

  // Echo check and first read carry the resource file's values, the second
  // read the channel-B set; the firmware request comes last.
  const std::vector<sim::RequestFrame> frames = controller.sim.requests();
  ASSERT_EQ(Orders(controller.sim), Handshakes(1));
  const std::vector<uint8_t> echo = {0x00, 0x55, 0x00, 0x05, 0x00, 0x00, 0x01, 0xF4, 0x08,
                                     0x00, 0x02, 0x00, 0x03, 0xB6, 0x00, 0x14, 0x00, 0x01,
                                     0x00, 0x64, 0x00, 0x08, 0x00, 0x01, 0x00, 0x00, 0x00,
                                     0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0xF4, 0x00, 0x00};
  EXPECT_EQ(std::vector<uint8_t>(frames[0].begin(), frames[0].end()), echo);
  sim::Words16 fileFull{};
  for (int i = 0; i < 16; ++i) {
    fileFull[static_cast<std::size_t>(i)] = testsupport::AnswerWord(echo, i);
  }
  EXPECT_EQ(std::vector<uint8_t>(frames[1].begin(), frames[1].end()), RequestBytes(2, fileFull));
  EXPECT_EQ(std::vector<uint8_t>(frames[2].begin(), frames[2].end()),
            RequestBytes(2, {1, 500, 2048, 512, 950, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

  EXPECT_EQ(ParamValues(panelHandle, panelPopUp), ExpectedParamValues(kFullSet, kSetB));
  EXPECT_EQ(Status(), FirmwareStatus(kFirmware));
  EXPECT_EQ(target, RAM);
}

TEST_F(StartupTest, SilentControllerLeavesTimeoutAndTheResourceFileValues) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  controller.loadDistinctSet();
  sim::Faults silent;
  silent.silent = true;
  controller.sim.setFaults(silent);
  const double before = Timer();
  ASSERT_EQ(Start(), 0);
  const std::vector<int> fileValues = ResourceFileParamValues();
  EXPECT_GE(Timer() - before, 1.9) << "the echo check waits out the port time-out";

  EXPECT_EQ(Status(), "Timeout < 36 Bytes");
  EXPECT_EQ(Orders(controller.sim), std::vector<int>{5}) << "nothing after the failed echo";
  EXPECT_EQ(ParamValues(panelHandle, panelPopUp), fileValues);
  EXPECT_TRUE(PanelWidget(panelHandle)->isVisible());
}

// The controller fills word 0 and the header of its parameter answers as it
// likes (0x00AA, as in its echo answer, or anything): the handshake reads both
// sets all the same.
TEST_F(StartupTest, HandshakeReadsBothSetsWhateverWord0AndHeaderTheAnswersCarry) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  controller.loadDistinctSet();
  controller.sim.setFaults({.header = 0x9A3B, .answerWord0 = 0x00AA});
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(Orders(controller.sim), Handshakes(1));
  EXPECT_EQ(ParamValues(panelHandle, panelPopUp), ExpectedParamValues(kFullSet, kSetB));
  EXPECT_EQ(Status(), FirmwareStatus(kFirmware));
}

// A set that got no answer is what the handshake ends on, even when the
// firmware text came: the panels then show values the controller never sent.
struct LostSet {
  const char *name;
  int request;  // of the handshake: 2 the full set, 3 the channel-B set
  const char *status;
};

class HandshakeLosingASet : public StartupTest, public testing::WithParamInterface<LostSet> {};

TEST_P(HandshakeLosingASet, EndsOnThatSetsText) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  controller.loadDistinctSet();
  controller.sim.setFaults({.silentAtRequest = GetParam().request});
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(Orders(controller.sim), Handshakes(1)) << "the firmware is still read";
  EXPECT_EQ(szVersion, FirmwareStatus(kFirmware));
  EXPECT_EQ(Status(), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, HandshakeLosingASet,
    testing::Values(LostSet{"FullSet", 2, "Parameter-frame NOT received - set 0!"},
                    LostSet{"ChannelBSet", 3, "Parameter-frame NOT received - set 1!"}),
    [](const auto &row) { return std::string(row.param.name); });

TEST_F(StartupTest, WrongEchoStopsTheHandshakeWithItsText) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  controller.loadDistinctSet();
  sim::Faults wrongSync;
  wrongSync.wrongSync = true;
  controller.sim.setFaults(wrongSync);
  ASSERT_EQ(Start(), 0);
  const std::vector<int> fileValues = ResourceFileParamValues();

  EXPECT_EQ(Status(), "read error - not sync byte 0xAA!");
  EXPECT_EQ(Orders(controller.sim), std::vector<int>{5});
  EXPECT_EQ(ParamValues(panelHandle, panelPopUp), fileValues);
}

TEST_F(StartupTest, NoSerialDeviceAtAll) {
  SetDeviceListerForTest([] { return std::vector<DetectedDevice>{}; });
  ASSERT_EQ(Start(), 0);
  SetDeviceListerForTest(nullptr);
  EXPECT_EQ(Status(), "No serial port found");
  EXPECT_TRUE(PanelWidget(panelHandle)->isVisible());
  EXPECT_EQ(GetInQLen(com), kRS232PortNotOpen);
}

TEST_F(StartupTest, DetectedAdapterWithoutDeviceCannotBeOpened) {
  // An adapter the system lists, whose device has gone by the time it is opened.
  SetDeviceListerForTest([] {
    return std::vector<DetectedDevice>{{"ttyUSB0", "/dev/rvim-no-such-ttyUSB0"}};
  });
  ASSERT_EQ(Start(), 0);
  SetDeviceListerForTest(nullptr);
  EXPECT_EQ(Status(), "Cannot open port - no such device");
  EXPECT_EQ(SelectorText(), "1  /dev/rvim-no-such-ttyUSB0");
}

TEST_F(StartupTest, UnknownPortNumber) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  ASSERT_EQ(Start(), 0);
  PortEntry entry;
  ASSERT_FALSE(PortTableFind(77, &entry));
  CloseCom(com);
  InitRS232(77);
  EXPECT_EQ(Status(), "Invalid port number");
}

TEST_F(StartupTest, BusyPortCannotBeOpenedAndNothingIsSent) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  // Another program holds the device.
  const int holder = ::open(controller.sim.slavePath().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);

  ASSERT_EQ(Start(), 0);
  std::ifstream comm("/proc/self/comm");
  std::string name;
  std::getline(comm, name);
  EXPECT_EQ(Status(), "Cannot open port - in use by another program (" + name + ", PID " +
                          std::to_string(::getpid()) + ")");
  EXPECT_EQ(GetInQLen(1), kRS232PortNotOpen);
  EXPECT_TRUE(PanelWidget(panelHandle)->isVisible());
  ::close(holder);
  testsupport::PumpFor(0.1);
  EXPECT_EQ(controller.sim.requestCount(), 0u);
}

// Root passes every check of the file's mode; for the file system it is
// someone else here (setfsuid), so the device refuses it as it refuses an
// operator outside the dialout group.
TEST_F(StartupTest, PortTheUserMayNotUseSaysToJoinTheDialoutGroup) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  ASSERT_EQ(Start(), 0);
  const std::string device = controller.sim.slavePath();
  struct stat st {};
  ASSERT_EQ(::stat(device.c_str(), &st), 0);
  CloseCom(com);
  ASSERT_EQ(::chmod(device.c_str(), 0), 0);
  const bool root = ::geteuid() == 0;
  if (root) ::setfsuid(65534);
  const int good = OpenAndCheckLine(com);
  if (root) ::setfsuid(0);
  ::chmod(device.c_str(), st.st_mode & 07777);
  EXPECT_EQ(good, 0);
  EXPECT_EQ(Status(),
            "Cannot open port - permission denied (add your user to the dialout group, then log "
            "in again)");
}

TEST(OpenErrorText, EveryResultHasItsText) {
  EXPECT_STREQ(OpenErrorText(-1), "Unknown system error");
  EXPECT_STREQ(OpenErrorText(-2), "Invalid port number");
  EXPECT_STREQ(OpenErrorText(-3), "Port is not open");
  EXPECT_STREQ(OpenErrorText(-4), "Unknown I/0 error");
  EXPECT_STREQ(OpenErrorText(-6), "No serial port found");
  EXPECT_STREQ(OpenErrorText(-7), "Cannot open port");
  EXPECT_STREQ(OpenErrorText(-13), "Invalid parameter");
  EXPECT_STREQ(OpenErrorText(-99), "Timeout");
  for (int other : {-5, -8, -12, -14, -98, -100, -1000}) {
    EXPECT_STREQ(OpenErrorText(other), "RS-232 error!") << other;
  }
}

TEST_F(StartupTest, StartValuesBeforeTheHandshake) {
  // No controller behind port 1: the start values stay as InitVars left them.
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  sim::Faults silent;
  silent.silent = true;
  controller.sim.setFaults(silent);
  ASSERT_EQ(Start(), 0);

  EXPECT_EQ(target, RAM);
  EXPECT_STREQ(file_name, "ZEL4para.cfg");
  char expected[kMaxPathname] = "";
  MakePathname(proj_dir, "RVimRecord.dat", expected);
  EXPECT_STREQ(recfile_name, expected);
  char shown[kMaxPathname] = "";
  GetCtrlVal(panelPopUp, POPUP_RECFILENAME, shown);
  EXPECT_STREQ(shown, expected);
  EXPECT_FALSE(ControlWidget(panelHandle, PANEL_POWERB)->isVisibleTo(PanelWidget(panelHandle)));
  EXPECT_TRUE(ControlWidget(panelHandle, PANEL_POWERA)->isVisibleTo(PanelWidget(panelHandle)));
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(xArray[i], i);
    ASSERT_EQ(yArrayA[i], 0);
    ASSERT_EQ(yArrayB[i], 0);
  }
}

}  // namespace

namespace {

TEST(PortTableAssign, PutsAPathAtANumberInPlaceOfWhatWasThere) {
  EXPECT_EQ(PortTableAssign(0, "/dev/null"), kRS232InvalidPort);
  EXPECT_EQ(PortTableAssign(kMaxPortNumber + 1, "/dev/null"), kRS232InvalidPort);
  EXPECT_EQ(PortTableAssign(1, ""), kRS232InvalidParameter);

  const int added = PortTableAddDevice("/tmp/rvim-added-device");
  ASSERT_GE(added, kFirstAddedPort);
  ASSERT_EQ(PortTableAssign(added, "/tmp/rvim-first"), added);
  ASSERT_EQ(PortTableAssign(added, "/tmp/rvim-second"), added);
  PortEntry entry;
  ASSERT_TRUE(PortTableFind(added, &entry));
  EXPECT_EQ(entry.device, "/tmp/rvim-second");
  int listed = 0;
  for (int i = 0; PortTableEntry(i, &entry); ++i) listed += entry.number == added ? 1 : 0;
  EXPECT_EQ(listed, 1) << "one entry per number";
  EXPECT_EQ(PortTableAddDevice("/tmp/rvim-second"), added) << "an assigned path is known";
  PortTableRefresh();
  ASSERT_TRUE(PortTableFind(added, &entry));
  EXPECT_EQ(entry.device, "/tmp/rvim-second") << "a refresh keeps the assignment";
}

}  // namespace
