// What the program keeps between runs (port, panel places, graph source), the
// command line that names a port, and the port selector that only a choice in
// its open list changes. A simulated controller on a pty plays the device.
#include <QApplication>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <cstdio>

#include "app/cmdline.h"
#include "app/portselect.h"
#include "platform/ui/panelplace.h"
#include "platform/util/settings.h"
#include "scope/acquire.h"
#include "tests/app/app_fixture.h"
#include "tests/support/test_settings.h"

namespace {

using namespace apptest;

std::string Kept(const char *key) {
  char text[kMaxPathname] = "";
  SettingsGetText(key, text, sizeof text);
  return text;
}

class KeptSettingsTest : public StartupTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    file_ = dir_.filePath("keep.conf").toStdString();
    SettingsUseFile(file_.c_str());
  }
  void TearDown() override {
    StartupTest::TearDown();
    testsupport::UseFreshSettings();
  }
  // Reopens the settings file as the next run would find it.
  void Reopen() { SettingsUseFile(file_.c_str()); }

  QTemporaryDir dir_;
  std::string file_;
};

TEST_F(KeptSettingsTest, ShutDownKeepsTheChosenPortPanelPlacesAndGraphSource) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  ASSERT_EQ(Start(), 0);
  ChooseComPort(1);
  auto *ring = qobject_cast<QComboBox *>(ControlWidget(panelHandle, PANEL_RNGGRAPHSOURCE));
  ASSERT_NE(ring, nullptr);
  ring->setCurrentIndex(2);
  ASSERT_EQ(SetPanelPlace(panelHandle, 40, 30), 0);
  ASSERT_EQ(SetPanelPlace(panelPopUp, 70, 60), 0);

  EndProgram();
  started_ = false;
  Reopen();

  EXPECT_EQ(Kept("port/device"), controller.sim.slavePath());
  EXPECT_EQ(Kept("scope/graphsource"), "2");
  EXPECT_EQ(Kept("panels/main/top"), "40");
  EXPECT_EQ(Kept("panels/main/left"), "30");
  EXPECT_EQ(Kept("panels/popup/top"), "70");
  EXPECT_EQ(Kept("panels/popup/left"), "60");
}

TEST_F(KeptSettingsTest, StartUpPutsKeptPlacesGraphSourceAndPortBack) {
  Controller controller;
  ASSERT_TRUE(controller.sim.start());  // not in the table: found by its path alone
  controller.loadDistinctSet();
  SettingsSetText("port/device", controller.sim.slavePath().c_str());
  SettingsSetInt("scope/graphsource", 3);
  SettingsSetInt("panels/main/top", 50);
  SettingsSetInt("panels/main/left", 20);
  SettingsSync();
  Reopen();

  ASSERT_EQ(Start(), 0);

  EXPECT_EQ(Orders(controller.sim), Handshakes(1));
  EXPECT_EQ(Status(), FirmwareStatus(kFirmware));
  EXPECT_EQ(SelectorText(), std::to_string(com) + "  " + controller.sim.slavePath());
  EXPECT_EQ(Value(panelHandle, PANEL_RNGGRAPHSOURCE), 3);
  EXPECT_EQ(type, 1) << "the band chart of the kept source is shown";
  int top = 0;
  int left = 0;
  ASSERT_EQ(GetPanelPlace(panelHandle, &top, &left), 0);
  EXPECT_EQ(top, 50);
  EXPECT_EQ(left, 20);
}

TEST_F(KeptSettingsTest, AKeptPortThatIsAbsentIsShownAbsentNotReplaced) {
  Controller present;
  ASSERT_TRUE(present.startAt(1));  // the default port holds a working controller
  const std::string gone = dir_.filePath("usb-FTDI_gone-if00-port0").toStdString();
  SettingsSetText("port/device", gone.c_str());
  SettingsSync();
  Reopen();

  ASSERT_EQ(Start(), 0);

  EXPECT_TRUE(Orders(present.sim).empty()) << "the default port is not taken instead";
  EXPECT_NE(com, 1);
  EXPECT_EQ(SelectorText(), std::to_string(com) + "  " + gone);
  EXPECT_EQ(Status(), "Port not connected: " + gone);
}

TEST_F(KeptSettingsTest, PortOnTheCommandLineWinsOverTheKeptOne) {
  Controller kept;
  Controller named;
  ASSERT_TRUE(kept.sim.start());
  ASSERT_TRUE(named.sim.start());
  SettingsSetText("port/device", kept.sim.slavePath().c_str());
  std::string path = named.sim.slavePath();
  static char program[] = "RVIMZEL4V14";
  static char option[] = "--port";
  char *argv[] = {program, option, path.data(), nullptr};
  int exitCode = 0;
  ASSERT_FALSE(CommandLineEndsProgram(3, argv, &exitCode));

  ASSERT_EQ(Start(), 0);

  EXPECT_EQ(Orders(named.sim), Handshakes(1));
  EXPECT_TRUE(Orders(kept.sim).empty());
}

// --demo and --port name the port of that run only: the next plain start
// opens the port the operator chose, not the demo controller.
TEST_F(KeptSettingsTest, APortFromTheCommandLineIsNotKept) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  for (const char *option : {"--port", "--demo"}) {
    SCOPED_TRACE(option);
    std::string path = controller.sim.slavePath();
    static char program[] = "RVIMZEL4V14";
    std::string word = option;
    char *argv[] = {program, word.data(), path.data(), nullptr};
    int exitCode = 0;
    ASSERT_FALSE(CommandLineEndsProgram(word == "--demo" ? 2 : 3, argv, &exitCode));
    ASSERT_EQ(Start(), 0);
    EndProgram();
    started_ = false;
    Reopen();
    EXPECT_EQ(Kept("port/device"), "");
  }
  static char program[] = "RVIMZEL4V14";
  char *plain[] = {program, nullptr};
  int exitCode = 0;
  ASSERT_FALSE(CommandLineEndsProgram(1, plain, &exitCode));
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(com, 1) << "the default port, not the demo controller";
}

// Command-line port numbers and the demo controller.
struct PortArgCase {
  const char *name;
  std::vector<std::string> args;
  int expectedCom;  // 0: the simulator's added number
};

TEST_F(StartupTest, CommandLineNamesThePortByNumberOrDemo) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(7));
  const std::vector<PortArgCase> cases = {
      {"number", {"--port", "7"}, 7},
      {"demo", {"--demo"}, kDemoPort},
  };
  for (const PortArgCase &c : cases) {
    std::vector<std::string> words = {"RVIMZEL4V14"};
    words.insert(words.end(), c.args.begin(), c.args.end());
    std::vector<char *> argv;
    for (std::string &w : words) argv.push_back(w.data());
    int exitCode = 0;
    ASSERT_FALSE(CommandLineEndsProgram(static_cast<int>(argv.size()), argv.data(), &exitCode));
    EXPECT_TRUE(ApplyCommandLinePort()) << c.name;
    EXPECT_EQ(com, c.expectedCom) << c.name;
  }
  ASSERT_EQ(Start(), 0);  // the last case, the demo, starts
  EXPECT_EQ(com, kDemoPort);
  EXPECT_TRUE(Orders(controller.sim).empty());
}

// The closed port selector ignores the wheel and the arrow keys; only a
// choice in its open list changes the port.
class ClosedSelectorTest : public StartupTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(first_.startAt(1));
    ASSERT_TRUE(second_.startAt(2));
    ASSERT_EQ(Start(), 0);
    ring_ = qobject_cast<QComboBox *>(ControlWidget(panelHandle, PANEL_DROPDCOM));
    ASSERT_NE(ring_, nullptr);
    ring_->setFocus();
  }
  void Wheel(int steps) {
    const QPointF at(ring_->width() / 2.0, ring_->height() / 2.0);
    QWheelEvent wheel(at, ring_->mapToGlobal(at), QPoint(), QPoint(0, -120 * steps), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(ring_, &wheel);
  }

  Controller first_;
  Controller second_;
  QComboBox *ring_ = nullptr;
};

TEST_F(ClosedSelectorTest, WheelAndArrowKeysOverTheClosedSelectorDoNothing) {
  Wheel(1);
  Wheel(-1);
  for (Qt::Key key :
       {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home, Qt::Key_9}) {
    QTest::keyClick(ring_, key);
  }
  EXPECT_EQ(com, 1);
  EXPECT_EQ(SelectorText(), "1  " + first_.sim.slavePath());
  EXPECT_EQ(Orders(first_.sim), Handshakes(1)) << "no reopening, no second handshake";
  EXPECT_TRUE(Orders(second_.sim).empty());
}

TEST_F(ClosedSelectorTest, AChoiceInTheOpenListWithArrowsAndEnterChangesThePort) {
  QTest::keyClick(ring_, Qt::Key_Space);  // opens the list
  ASSERT_TRUE(ring_->view()->isVisible());
  QTest::keyClick(ring_->view(), Qt::Key_Down);
  QTest::keyClick(ring_->view(), Qt::Key_Return);
  EXPECT_EQ(com, 2);
  EXPECT_EQ(Orders(second_.sim), Handshakes(2));
}

}  // namespace
