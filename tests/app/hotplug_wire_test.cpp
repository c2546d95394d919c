// Adapters plugged in and pulled out while the program runs. A temporary
// directory plays /dev: links named ttyUSB<n> to the pseudo-terminals of
// simulated controllers, and by-id links to those, as udev makes them.
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <functional>

#include "platform/serial/porttable.h"
#include "platform/serial/porttable_identity.h"
#include "platform/ui/hotplug.h"
#include "scope/acquire.h"
#include "tests/app/app_fixture.h"

namespace {

using namespace apptest;

constexpr char kAdapterA[] = "usb-FTDI_FT232R_USB_UART_A10K7Q2M-if00-port0";

class HotPlugTest : public StartupTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dev_.isValid());
    ASSERT_TRUE(QDir(dev_.path()).mkpath("serial/by-id"));
    SetSerialDeviceDir(Dev("").c_str());
    PortTableSetByIdDir(Dev("serial/by-id"));
    ASSERT_TRUE(adapter_.sim.start());
    adapter_.loadDistinctSet();
    Plug("ttyUSB0", adapter_, kAdapterA);
    ASSERT_EQ(Start(), 0);
    ASSERT_EQ(com, 1);
    ASSERT_EQ(Orders(adapter_.sim), Handshakes(1));
  }
  void TearDown() override {
    StartupTest::TearDown();
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

  QTemporaryDir dev_;
  Controller adapter_;
};

const char kLost[] = "Port 1 disconnected - device removed";
const char kBack[] = "Port 1 reconnected - Echo Check - Line Ok!";

TEST_F(HotPlugTest, AnAdapterPluggedInJoinsTheListUnderItsOwnNumber) {
  Controller second;
  ASSERT_TRUE(second.sim.start());
  Plug("ttyUSB2", second, "usb-Prolific_PL2303-if00-port0");

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

}  // namespace
