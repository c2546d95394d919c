// The port selector as the operator uses it, the popup's close box, the
// shut-down and the built-in demo controller.
#include "app/portselect.h"
#include "tests/app/app_fixture.h"

namespace {

using namespace apptest;

class SelectorTest : public StartupTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(first_.startAt(1));
    first_.loadDistinctSet();
    ASSERT_EQ(Start(), 0);
    ASSERT_EQ(Orders(first_.sim), Handshakes(1));
  }

  Controller first_;
};

TEST_F(SelectorTest, ListsThePortsTheDemoAndOtherDevice) {
  const std::vector<int> values = SelectorValues();
  ASSERT_GE(values.size(), 3u);
  EXPECT_EQ(values.front(), 1);
  EXPECT_EQ(values[values.size() - 2], kDemoPort);
  EXPECT_EQ(values.back(), kOtherDeviceItem);
  auto *ring = qobject_cast<QComboBox *>(ControlWidget(panelHandle, PANEL_DROPDCOM));
  EXPECT_EQ(ring->itemText(ring->count() - 1).toStdString(), "Other device\u2026");
  EXPECT_EQ(SelectorText(), "1  " + first_.sim.slavePath());
}

TEST_F(SelectorTest, ChoosingTheOpenPortAgainRepeatsTheHandshakeOnce) {
  first_.sim.setParameterSet(1, 0, {0, 100, 200, 300, 400, 5, 1, 6, 7, 0, 0, 0, 0, 0, 8, 0});
  first_.sim.setParameterSet(1, 1, {1, 101, 201, 301, 401, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  ChooseComPort(1);  // the same item: a commit only

  EXPECT_EQ(Orders(first_.sim), Handshakes(2));
  EXPECT_EQ(com, 1);
  EXPECT_EQ(Value(panelHandle, PANEL_REFA), 200);
  EXPECT_EQ(Value(panelHandle, PANEL_REFB), 201);
  EXPECT_EQ(Status(), FirmwareStatus(kFirmware));
}

TEST_F(SelectorTest, ChangingThePortRunsTheHandshakeTwiceOnTheNewPort) {
  Controller second;
  ASSERT_TRUE(second.startAt(2));
  second.sim.setFirmwareText(FirmwareWords("SECOND"));
  FillPortSelector();  // the new device appears in the list

  ChooseComPort(2);  // value changed, then commit: CC_DropDCom runs for both

  EXPECT_EQ(Orders(second.sim), Handshakes(2));
  EXPECT_EQ(Orders(first_.sim), Handshakes(1)) << "nothing more on the old port";
  EXPECT_EQ(com, 2);
  EXPECT_EQ(GetInQLen(1), kRS232PortNotOpen);
  EXPECT_GE(GetInQLen(2), 0);
  EXPECT_EQ(Status(), FirmwareStatus("SECOND"));
  const sim::Simulator reference;  // the second controller holds a simulator's own sets
  EXPECT_EQ(ParamValues(panelHandle, panelPopUp),
            ExpectedParamValues(reference.parameterSet(1, 0), reference.parameterSet(1, 1)));
}

// The handshake falls back to RAM; the radio buttons must say so, or a Send
// the operator means for EEPROM would silently go to RAM.
TEST_F(SelectorTest, HandshakeReadsFromRamAndShowsRam) {
  QWidget *eeprom = ControlWidget(panelHandle, PANEL_RBTEEPROM);
  QTest::mouseClick(eeprom, Qt::LeftButton, {}, QPoint(6, eeprom->height() / 2));
  ASSERT_EQ(target, EEPROM);
  ASSERT_EQ(Value(panelHandle, PANEL_RBTEEPROM), 1);

  ChooseComPort(1);

  EXPECT_EQ(Orders(first_.sim), Handshakes(2)) << "read with order 2 (RAM), not 4";
  EXPECT_EQ(target, RAM);
  EXPECT_EQ(Value(panelHandle, PANEL_RBTRAM), 1);
  EXPECT_EQ(Value(panelHandle, PANEL_RBTEEPROM), 0);
  EXPECT_EQ(Value(panelHandle, PANEL_RBTFILE), 0);
}

TEST_F(SelectorTest, OtherDeviceAsksForAPathAndConnectsToIt) {
  sim::Simulator other(sim::Pacing::Line);
  testsupport::ApplyLatitude(other);
  ASSERT_TRUE(other.start());
  other.setFirmwareText(FirmwareWords("OTHER DEVICE"));
  int asked = 0;
  SetPromptAnswer([&](const std::string &, const std::string &, std::string *answer) {
    ++asked;
    *answer = other.slavePath();
    return true;
  });

  ChooseComPort(kOtherDeviceItem);

  EXPECT_EQ(asked, 1);
  PortEntry entry;
  ASSERT_TRUE(PortTableFind(com, &entry));
  EXPECT_EQ(entry.device, other.slavePath());
  EXPECT_NE(com, 1);  // an added number (or the one a reused pty path already has)
  EXPECT_EQ(Value(panelHandle, PANEL_DROPDCOM), com);
  EXPECT_EQ(SelectorText(), std::to_string(com) + "  " + other.slavePath());
  EXPECT_EQ(Orders(other), Handshakes(2));
  EXPECT_EQ(Orders(first_.sim), Handshakes(1));
  EXPECT_EQ(Status(), FirmwareStatus("OTHER DEVICE"));
  CloseCom(com);
}

TEST_F(SelectorTest, CancellingOtherDeviceKeepsThePreviousPort) {
  int asked = 0;
  SetPromptAnswer([&](const std::string &, const std::string &, std::string *) {
    ++asked;
    return false;
  });
  const std::vector<int> listed = SelectorValues();

  ChooseComPort(kOtherDeviceItem);

  EXPECT_EQ(asked, 1);
  EXPECT_EQ(com, 1);
  EXPECT_EQ(Value(panelHandle, PANEL_DROPDCOM), 1);
  EXPECT_EQ(SelectorValues(), listed);
  EXPECT_GE(GetInQLen(1), 0) << "port 1 is open again";
  EXPECT_EQ(Status(), FirmwareStatus(kFirmware));
}

TEST_F(SelectorTest, ClosingThePopupTurnsTheToggleOffAndKeepsThePort) {
  QTest::mouseClick(ControlWidget(panelHandle, PANEL_TOGBTNPARAII), Qt::LeftButton);
  ASSERT_TRUE(PanelWidget(panelPopUp)->isVisible());
  ASSERT_EQ(Value(panelHandle, PANEL_TOGBTNPARAII), 1);

  PanelWidget(panelPopUp)->close();

  EXPECT_FALSE(PanelWidget(panelPopUp)->isVisible());
  EXPECT_EQ(Value(panelHandle, PANEL_TOGBTNPARAII), 0);
  EXPECT_TRUE(PanelWidget(panelHandle)->isVisible());
  EXPECT_EQ(CheckComLine(com), 1) << "the port is still open and the line works";
}

TEST_F(SelectorTest, DemoControllerShowsItsFirmwareAndParameterSet) {
  ChooseComPort(kDemoPort);

  EXPECT_EQ(com, kDemoPort);
  EXPECT_EQ(Status(), FirmwareStatus("ZEL4 SIM FW 1.4"));
  const sim::Simulator reference;  // a simulator's own sets, as the demo holds them
  EXPECT_EQ(ParamValues(panelHandle, panelPopUp),
            ExpectedParamValues(reference.parameterSet(1, 0), reference.parameterSet(1, 1)));
  EXPECT_EQ(Orders(first_.sim), Handshakes(1));
}

TEST_F(SelectorTest, ClosingTheMainPanelClosesThePortAndEndsTheLoop) {
  QTimer::singleShot(100, [] { PanelWidget(panelHandle)->close(); });
  EXPECT_EQ(RunUserInterface(), 0);
  EXPECT_EQ(GetInQLen(1), kRS232PortNotOpen);
  EXPECT_EQ(Orders(first_.sim), Handshakes(1));
}

// The whole program: start-up, the loop until the main panel is closed, and
// the shut-down that discards both panels.
TEST(Program, RunsUntilTheMainPanelIsClosed) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  controller.loadDistinctSet();
  QTimer closer;
  int closes = 0;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    QWidget *window = PanelWidget(panelHandle);
    if (window == nullptr || !window->isVisible()) return;
    ++closes;
    window->close();
  });
  closer.start(50);
  static char name[] = "RVIMZEL4V14";
  static char *argv[] = {name, nullptr};

  EXPECT_EQ(WinMain(1, argv), 0);

  closer.stop();
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(Orders(controller.sim), Handshakes(1));
  EXPECT_EQ(GetInQLen(1), kRS232PortNotOpen);
  EXPECT_EQ(PanelWidget(panelHandle), nullptr);
  EXPECT_EQ(PanelWidget(panelPopUp), nullptr);
}

}  // namespace
