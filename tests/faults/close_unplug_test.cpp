// The far end hanging up, and the operator closing the main window, while a
// recording, a data readout, a Get or a command is under way. The program
// runs as a whole (WinMain); the action starts from inside its event loop.
#include <QTemporaryDir>
#include <cstdio>
#include <optional>

#include "recorder/recorder.h"
#include "tests/app/app_fixture.h"
#include "tests/recorder/record_file.h"

namespace {

using namespace apptest;

enum class Action { Record, ReadData, Get, Teach };
enum class Event { Unplug, Close };

struct Case {
  const char *name;
  Action action;
  Event event;
  int atRequest;       // the request the event comes with (from 1)
  const char *status;  // the status line when the action has ended
};

// Unplug: the controller hangs up on that request. Close: the window is
// closed while the program waits for that request's answer (answers come
// 0.3 s late, so the close always lands in a wait). Then nothing can reach
// the program any more, and its clock runs ahead through the waits left.
const Case kCases[] = {
    {"RecordUnplug", Action::Record, Event::Unplug, 6, "Timeout RS232-Line!"},
    {"RecordClose", Action::Record, Event::Close, 6, "Timeout RS232-Line!"},
    {"ReadDataUnplug", Action::ReadData, Event::Unplug, 3,
     "Timeout-RS-232 while reading 64 data-words!"},
    {"ReadDataClose", Action::ReadData, Event::Close, 1,
     "Timeout-RS-232 while reading 64 data-words!"},
    // Which set the hang-up catches depends on when the far end goes.
    {"GetUnplug", Action::Get, Event::Unplug, 2, "Parameter-frame NOT received - set "},
    {"GetClose", Action::Get, Event::Close, 1, "Parameter-frame NOT received - set 0!"},
    {"TeachUnplug", Action::Teach, Event::Unplug, 1, "Timeout RS-232!!"},
    {"TeachClose", Action::Teach, Event::Close, 1, "Timeout RS-232!!"},
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

class CloseAndUnplug : public ::testing::TestWithParam<Case> {};

TEST_P(CloseAndUnplug, RowsStayTheRunEndsThePortClosesAndTheProgramEndsWithZero) {
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
  bool closedByUs = false;
  std::optional<testsupport::ClockRunAhead> closedLine;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (closedByUs || controller.sim.requestCount() < static_cast<std::size_t>(c.atRequest)) return;
    closedByUs = true;
    PanelWidget(panelHandle)->close();
    closedLine.emplace(1.35);
  });
  // First thing in the event loop, after the start-up handshake.
  QTimer::singleShot(0, [&] {
    std::snprintf(recfile_name, sizeof recfile_name, "%s",
                  tmp.filePath(QStringLiteral("RVimRecord.dat")).toUtf8().constData());
    SetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, 0);
    SetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, 60000);
    controller.sim.clearRecord();
    if (c.event == Event::Unplug) {
      sim::Faults faults;
      faults.hangUpAtRequest = c.atRequest;
      controller.sim.setFaults(faults);
    } else {
      sim::Faults faults;
      faults.answerDelay = 0.3;
      controller.sim.setFaults(faults);
      watcher.start(1);
    }
    QTest::mouseClick(ControlWidget(panelHandle, ControlOf(c.action)), Qt::LeftButton);
    watcher.stop();
    closedLine.reset();
    status = Status();
    record = ReadWholeFile(recfile_name);
    GetCtrlVal(panelPopUp, POPUP_RECCOUNT, &shownRows);
    // The port is closed (by the window's close) or dead (hung up).
    EXPECT_LT(GetInQLen(com), 0);
    if (c.event == Event::Unplug) PanelWidget(panelHandle)->close();
  });
  static char name[] = "RVIMZEL4V14";
  static char *argv[] = {name, nullptr};
  EXPECT_EQ(WinMain(1, argv), 0);

  EXPECT_EQ(status.rfind(c.status, 0), 0u) << status;  // starts with the stated text
  EXPECT_EQ(closedByUs, c.event == Event::Close);
  if (c.action == Action::Record) {
    // Every row counted is on disk, each a whole live row; the rows before
    // the event are all there.
    const std::vector<std::string> rows = RowLines(record);
    EXPECT_GE(static_cast<int>(rows.size()), c.atRequest - 2);
    EXPECT_EQ(static_cast<int>(rows.size()), shownRows);
    for (const std::string &row : rows) EXPECT_EQ(row, "1000\t64000\t0\t65535");
  }
}

INSTANTIATE_TEST_SUITE_P(Actions, CloseAndUnplug, ::testing::ValuesIn(kCases),
                         [](const auto &row) { return std::string(row.param.name); });

}  // namespace
