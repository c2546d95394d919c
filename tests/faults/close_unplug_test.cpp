// The far end hanging up while a recording, a data readout, a Get or a
// command is under way; the operator then closes the main window. The program
// runs as a whole (WinMain); the action starts from inside its event loop.
// (A close during an action: close_ends_waits_test.cpp.)
#include <QTemporaryDir>

#include "recorder/recorder.h"
#include "tests/app/app_fixture.h"
#include "tests/recorder/record_file.h"

namespace {

using namespace apptest;

enum class Action { Record, ReadData, Get, Teach };

struct Case {
  const char *name;
  Action action;
  int atRequest;       // the controller hangs up on this request (from 1)
  const char *status;  // the status line when the action has ended
};

const Case kCases[] = {
    {"RecordUnplug", Action::Record, 6, "Timeout RS232-Line!"},
    {"ReadDataUnplug", Action::ReadData, 3, "Timeout-RS-232 while reading 64 data-words!"},
    // Which set the hang-up catches depends on when the far end goes.
    {"GetUnplug", Action::Get, 2, "Parameter-frame NOT received - set "},
    {"TeachUnplug", Action::Teach, 1, "Timeout RS-232!!"},
};

int ControlOf(Action action) {
  switch (action) {
    case Action::Record:
      return PANEL_RECCTRL1;
    case Action::ReadData:
      return PANEL_BTNDATA;
    case Action::Get:
      return PANEL_BTNGET;
    case Action::Teach:
      return PANEL_BUTTONTEACH;
  }
  return -1;
}

class Unplug : public ::testing::TestWithParam<Case> {};

TEST_P(Unplug, RowsStayTheRunEndsThePortClosesAndTheProgramEndsWithZero) {
  const Case &c = GetParam();
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  Controller controller;
  controller.sim.setPacing(sim::Pacing::Instant);
  ASSERT_TRUE(controller.startAt(1));
  controller.loadDistinctSet();
  controller.sim.setLiveWords({1000, 64000, 0, 65535});

  std::string status;
  std::string record;
  int shownRows = -1;
  const AfterStartUp action(controller.sim, [&] {
    RecordEveryAnswerInto(tmp);
    controller.sim.clearRecord();
    sim::Faults faults;
    faults.hangUpAtRequest = c.atRequest;
    controller.sim.setFaults(faults);
    QTest::mouseClick(ControlWidget(panelHandle, ControlOf(c.action)), Qt::LeftButton);
    status = Status();
    record = ReadWholeFile(recfile_name);
    GetCtrlVal(panelPopUp, POPUP_RECCOUNT, &shownRows);
    EXPECT_LT(GetInQLen(com), 0);  // dead: hung up
    PanelWidget(panelHandle)->close();
  });
  static char name[] = "RVIMZEL4V14";
  static char *argv[] = {name, nullptr};
  EXPECT_EQ(WinMain(1, argv), 0);

  EXPECT_EQ(status.rfind(c.status, 0), 0u) << status;  // starts with the stated text
  if (c.action == Action::Record) {
    // Every row counted is on disk, each a whole live row; the rows before
    // the event are all there.
    const std::vector<std::string> rows = RowLines(record);
    EXPECT_GE(static_cast<int>(rows.size()), c.atRequest - 2);
    EXPECT_EQ(static_cast<int>(rows.size()), shownRows);
    for (const std::string &row : rows) EXPECT_EQ(row, "1000\t64000\t0\t65535");
  }
}

INSTANTIATE_TEST_SUITE_P(Actions, Unplug, ::testing::ValuesIn(kCases),
                         [](const auto &row) { return std::string(row.param.name); });

}  // namespace
