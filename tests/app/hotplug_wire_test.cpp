// Adapters plugged in and pulled out while the program runs. A temporary
// directory plays /dev: links named ttyUSB<n> to the pseudo-terminals of
// simulated controllers, and by-id links to those, as udev makes them.
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <functional>

#include "platform/serial/internal.h"
#include "platform/serial/porttable.h"
#include "platform/serial/porttable_identity.h"
#include "platform/ui/hotplug.h"
#include "platform/util/settings.h"
#include "scope/acquire.h"
#include "tests/app/app_fixture.h"

namespace {

using namespace apptest;

constexpr char kAdapterA[] = "usb-FTDI_FT232R_USB_UART_A10K7Q2M-if00-port0";
constexpr char kAdapterB[] = "usb-Prolific_PL2303-if00-port0";

// A temporary directory playing /dev, with no adapter plugged in yet.
class DeviceDirTest : public StartupTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dev_.isValid());
    ASSERT_TRUE(QDir(dev_.path()).mkpath("serial/by-id"));
    SetSerialDeviceDir(Dev("").c_str());
    PortTableSetByIdDir(Dev("serial/by-id"));
    ASSERT_TRUE(adapter_.sim.start());
    adapter_.loadDistinctSet();
  }
  void TearDown() override {
    StartupTest::TearDown();
    SetDeviceListerForTest(nullptr);
    SetSerialDeviceDir(nullptr);
    PortTableSetByIdDir("/dev/serial/by-id");
  }

  std::string Dev(const std::string &name) {
    return name.empty() ? dev_.path().toStdString() : dev_.filePath(name.c_str()).toStdString();
  }
  void Plug(const std::string &node, const Controller &controller, const char *byId) {
    ASSERT_EQ(symlink(controller.sim.slavePath().c_str(), Dev(node).c_str()), 0);
    if (byId != nullptr) {
      ASSERT_EQ(
          symlink(("../../" + node).c_str(), Dev(std::string("serial/by-id/") + byId).c_str()), 0);
    }
  }
  void Unplug(const std::string &node, const char *byId) {
    if (byId != nullptr) unlink(Dev(std::string("serial/by-id/") + byId).c_str());
    ASSERT_EQ(unlink(Dev(node).c_str()), 0);
  }
  // Something changes in the device directory (for devices a lister gives).
  void Poke() {
    const std::string path = Dev("poke");
    ASSERT_EQ(symlink("nowhere", path.c_str()), 0);
    ASSERT_EQ(unlink(path.c_str()), 0);
  }
  // Processes events until `done` or a generous time-out.
  static bool WaitFor(const std::function<bool()> &done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
      if (clock.elapsed() > 10000) return false;
      ProcessSystemEvents();
    }
    return true;
  }
  static bool Lists(int number) {
    for (int value : SelectorValues()) {
      if (value == number) return true;
    }
    return false;
  }
  static bool ListsItem(const std::string &label) {
    auto *ring = qobject_cast<QComboBox *>(ControlWidget(panelHandle, PANEL_DROPDCOM));
    return ring != nullptr && ring->findText(QString::fromStdString(label)) >= 0;
  }

  QTemporaryDir dev_;
  Controller adapter_;
};

// Adapter A at ttyUSB0, with its by-id link, and the program started on it.
class HotPlugTest : public DeviceDirTest {
 protected:
  void SetUp() override {
    DeviceDirTest::SetUp();
    if (HasFatalFailure()) return;
    Plug("ttyUSB0", adapter_, kAdapterA);
    ASSERT_EQ(Start(), 0);
    ASSERT_EQ(com, 1);
    ASSERT_EQ(Orders(adapter_.sim), Handshakes(1));
  }
};

const char kLost[] = "Port 1 disconnected - device removed";
const char kBack[] = "Port 1 reconnected - Echo Check - Line Ok!";

TEST_F(HotPlugTest, AnAdapterPluggedInJoinsTheListUnderItsOwnNumber) {
  Controller second;
  ASSERT_TRUE(second.sim.start());
  Plug("ttyUSB2", second, kAdapterB);

  ASSERT_TRUE(WaitFor([] { return Lists(3); }));
  EXPECT_EQ(SelectorText(), "1  " + Dev("ttyUSB0")) << "the port in use stays chosen";
  EXPECT_EQ(com, 1);
  EXPECT_TRUE(Orders(second.sim).empty()) << "nothing is sent to a new adapter by itself";
  EXPECT_EQ(Orders(adapter_.sim), Handshakes(1));
}

TEST_F(HotPlugTest, PullingOutThePortInUseSaysSoAtOnceAndClosesIt) {
  Unplug("ttyUSB0", kAdapterA);

  ASSERT_TRUE(WaitFor([] { return Status() == kLost; })) << Status();
  EXPECT_EQ(SelectorText(), "1  (no device)");
  EXPECT_EQ(GetInQLen(1), kRS232PortNotOpen);
  EXPECT_EQ(com, 1);
}

TEST_F(HotPlugTest, TheSameAdapterBackUnderAnotherNameIsReopenedAndCheckedOnly) {
  SetCtrlVal(panelHandle, PANEL_REFA, 999);  // an edit not yet sent
  Unplug("ttyUSB0", kAdapterA);
  ASSERT_TRUE(WaitFor([] { return Status() == kLost; }));

  Plug("ttyUSB1", adapter_, kAdapterA);  // the kernel gave it the next name

  ASSERT_TRUE(WaitFor([] { return Status() == kBack; })) << Status();
  EXPECT_EQ(com, 1) << "the adapter keeps its number";
  EXPECT_EQ(SelectorText(), "1  " + Dev("ttyUSB1"));
  std::vector<int> expected = Handshakes(1);
  expected.push_back(5);  // the echo check, and no parameter reads
  EXPECT_EQ(Orders(adapter_.sim), expected);
  EXPECT_EQ(Value(panelHandle, PANEL_REFA), 999);
  EXPECT_GE(GetInQLen(1), 0);
}

TEST_F(HotPlugTest, AReturnDuringARunWaitsUntilTheLineIsIdle) {
  Unplug("ttyUSB0", kAdapterA);
  ASSERT_TRUE(WaitFor([] { return Status() == kLost; }));
  stop_flag = 0;  // a run is under way
  Plug("ttyUSB0", adapter_, kAdapterA);
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 1500) ProcessSystemEvents();
  EXPECT_EQ(Orders(adapter_.sim), Handshakes(1)) << "nothing sent while the run owns the line";
  EXPECT_EQ(Status(), kLost);

  stop_flag = 1;  // the run has ended

  ASSERT_TRUE(WaitFor([] { return Status() == kBack; })) << Status();
  EXPECT_EQ(Orders(adapter_.sim).size(), Handshakes(1).size() + 1);
}

// Another adapter under the old name is listed, not opened; the first one is
// reopened wherever it comes back; the other one opens when chosen.
TEST_F(HotPlugTest, OnlyTheSameAdapterIsReopenedAnotherOneWhenChosen) {
  Unplug("ttyUSB0", kAdapterA);
  ASSERT_TRUE(WaitFor([] { return Status() == kLost; }));
  Controller other;
  ASSERT_TRUE(other.sim.start());
  Plug("ttyUSB0", other, kAdapterB);  // another adapter gets the old name

  ASSERT_TRUE(WaitFor([this] { return SelectorText() == "1  " + Dev("ttyUSB0"); }));
  EXPECT_TRUE(Orders(other.sim).empty()) << "another controller gets nothing by itself";
  EXPECT_EQ(Status(), kLost);
  EXPECT_EQ(GetInQLen(1), kRS232PortNotOpen);

  Plug("ttyUSB1", adapter_, kAdapterA);  // the first adapter is back, under the next name
  ASSERT_TRUE(WaitFor([] { return Status() == "Port 2 reconnected - Echo Check - Line Ok!"; }))
      << Status();
  EXPECT_EQ(com, 2);
  std::vector<int> expected = Handshakes(1);
  expected.push_back(5);
  EXPECT_EQ(Orders(adapter_.sim), expected);
  EXPECT_TRUE(Orders(other.sim).empty());

  ChooseComPort(1);  // value changed, then commit: the whole handshake twice

  EXPECT_EQ(Orders(other.sim), Handshakes(2));
  EXPECT_EQ(ParamValues(panelHandle, panelPopUp),
            ExpectedParamValues(other.sim.parameterSet(1, 0), other.sim.parameterSet(1, 1)));
}

TEST_F(HotPlugTest, PulledAndPluggedInAgainWithinTheSettleTimeIsNoticed) {
  Controller again;  // the same adapter: its by-id name, a new device node
  ASSERT_TRUE(again.sim.start());
  Unplug("ttyUSB0", kAdapterA);
  Plug("ttyUSB0", again, kAdapterA);

  ASSERT_TRUE(WaitFor([] { return Status() == kBack; })) << Status();
  EXPECT_EQ(Orders(again.sim), std::vector<int>{5});
  EXPECT_GE(GetInQLen(1), 0) << "the port is open on the new node";
}

TEST_F(HotPlugTest, AManualPortChangeForgetsTheLostPort) {
  Controller chosen;
  ASSERT_TRUE(chosen.sim.start());
  chosen.loadDistinctSet();
  Plug("ttyUSB2", chosen, kAdapterB);
  ASSERT_TRUE(WaitFor([] { return Lists(3); }));
  Unplug("ttyUSB0", kAdapterA);
  ASSERT_TRUE(WaitFor([] { return Status() == kLost; }));
  ChooseComPort(3);
  ASSERT_EQ(com, 3);
  const std::vector<int> chosenOrders = Orders(chosen.sim);

  Plug("ttyUSB0", adapter_, kAdapterA);

  ASSERT_TRUE(WaitFor([this] { return ListsItem("1  " + Dev("ttyUSB0")); }));
  EXPECT_EQ(com, 3);
  EXPECT_EQ(Orders(chosen.sim), chosenOrders) << "the chosen port is not opened again";
  EXPECT_EQ(Orders(adapter_.sim), Handshakes(1)) << "nor the lost one";
  EXPECT_EQ(Status(), FirmwareStatus(kFirmware));
}

TEST_F(DeviceDirTest, AKeptPortAbsentAtStartGetsTheWholeHandshakeWhenPluggedIn) {
  const std::string byId = Dev(std::string("serial/by-id/") + kAdapterA);
  SettingsSetText("port/device", byId.c_str());
  const bool started = Start() == 0;
  SettingsSetText("port/device", "");
  ASSERT_TRUE(started);
  ASSERT_EQ(Status(), "Port not connected: " + byId);

  Plug("ttyUSB0", adapter_, kAdapterA);

  ASSERT_TRUE(WaitFor([] { return Status() == FirmwareStatus(kFirmware); })) << Status();
  EXPECT_EQ(Orders(adapter_.sim), Handshakes(1));
  EXPECT_EQ(ParamValues(panelHandle, panelPopUp), ExpectedParamValues(kFullSet, kSetB));
}

// Adapters without by-id links, told apart by their USB identity alone.
std::vector<DetectedDevice> gListed;
std::vector<DetectedDevice> ListedDevices() {
  return gListed;
}

TEST_F(DeviceDirTest, WithoutByIdLinksTheUsbIdentityTellsTheAdapterBack) {
  Controller other;
  ASSERT_TRUE(other.sim.start());
  gListed = {{"ttyUSB0", adapter_.sim.slavePath(), "0403:6001:A10K7Q2M@1-1.2"}};
  SetDeviceListerForTest(ListedDevices);
  ASSERT_EQ(Start(), 0);
  ASSERT_EQ(com, 1);
  ASSERT_EQ(Orders(adapter_.sim), Handshakes(1));

  gListed.clear();
  Poke();
  ASSERT_TRUE(WaitFor([] { return Status() == kLost; })) << Status();
  gListed = {{"ttyUSB0", other.sim.slavePath(), "1a86:7523:@1-1.4"}};
  Poke();
  ASSERT_TRUE(WaitFor([&other] { return SelectorText() == "1  " + other.sim.slavePath(); }));
  EXPECT_TRUE(Orders(other.sim).empty());

  gListed.push_back({"ttyUSB1", adapter_.sim.slavePath(), "0403:6001:A10K7Q2M@1-1.2"});
  Poke();
  ASSERT_TRUE(WaitFor([] { return Status() == "Port 2 reconnected - Echo Check - Line Ok!"; }))
      << Status();
  EXPECT_EQ(com, 2);
  EXPECT_TRUE(Orders(other.sim).empty());
  gListed.clear();
}

}  // namespace
