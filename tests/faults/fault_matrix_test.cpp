// The fault matrix: each command that talks to the controller against each
// misbehaviour of the line. One case per command runs every fault in turn on
// the started program and prints its row of the outcome table. For each cell:
// the command sends no more requests than it has exchanges, the status line
// shows the expected text, the controller's stored sets and the record file
// hold nothing they should not, and the next command works (on a newly chosen
// port where the far end hung up). The simulator skips the program's clock
// over the idle part of each wait, so a cell takes a fraction of its time on
// that clock while every answer keeps its place in it.
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>

#include "app/portselect.h"
#include "recorder/recorder.h"
#include "tests/app/app_fixture.h"
#include "tests/recorder/record_file.h"
#include "tests/support/test_clock.h"

namespace {

using namespace apptest;

enum class Fault {
  None,
  Silent,
  LateBeyond,
  LateWithin,
  Short,
  Long,
  Garbage,
  WrongSync,
  Split,
  HangUp
};
constexpr Fault kFaults[] = {Fault::Silent,    Fault::LateBeyond, Fault::LateWithin,
                             Fault::Short,     Fault::Long,       Fault::Garbage,
                             Fault::WrongSync, Fault::Split,      Fault::HangUp};

enum class Command { Startup, PortChange, Get, Send, Teach, Reset, Refresh, Run, ReadData, Record };

const char *Name(Command c) {
  static const char *names[] = {"start-up", "port change", "Get", "Send",      "Teach",
                                "Reset",    "Refresh",     "Run", "Read data", "Record"};
  return names[static_cast<int>(c)];
}
const char *Name(Fault f) {
  static const char *names[] = {"none", "silent",        "late>bound", "late<bound",   "short",
                                "long", "garbage first", "wrong sync", "split 1-byte", "hang-up"};
  return names[static_cast<int>(f)];
}

// Answers later than every wait of the link (1.5 s frames and blocks, 2.0 s
// echo, firmware and live loop), or well within all of them.
constexpr double kLateBeyond = 2.3;
constexpr double kLateWithin = 0.3;
// The most the simulator skips at one go: less than every wait of the link.
constexpr double kClockShift = 1.35;
// The program's clock moves on by this much at each request of a live run,
// which leaves the loop's wait for an answer 1.5 s. The operator stops a run
// still going after this many requests: beyond the loop's answer time-out
// (2.0 s) on that clock.
constexpr double kRunStepSeconds = 0.5;
constexpr std::size_t kRunStopRequests = 6;

// How long an answer may still be on its way after a command gave up.
// A piece longer than any answer (a data block and what a fault adds to it).
constexpr int kWholeAnswer = 256;

// Mid-transaction: after the first exchange where a command has several.
int HangUpRequest(Command c) {
  switch (c) {
    case Command::Startup:
    case Command::PortChange:
    case Command::Get:
    case Command::ReadData:
    case Command::Record:
      return 2;
    default:
      return 1;
  }
}

sim::Faults FaultsFor(Fault f, Command c) {
  sim::Faults faults;
  if (c == Command::Run) faults.onRequest = [] { AdvanceTimerForTest(kRunStepSeconds); };
  switch (f) {
    case Fault::None:
      break;
    case Fault::Silent:
      faults.silent = true;
      break;
    case Fault::LateBeyond:
      faults.answerDelay = kLateBeyond;
      break;
    case Fault::LateWithin:
      faults.answerDelay = kLateWithin;
      break;
    case Fault::Short:
      faults.truncateTo = 20;
      break;
    case Fault::Long:
      faults.extraBytes = 4;
      // In one piece: bytes that come after a pause may be the next thing on
      // the line rather than part of this answer.
      faults.splitChunk = kWholeAnswer;
      break;
    case Fault::Garbage:
      faults.garbageBefore = 5;
      // In one piece, as for Long: a data block is taken by its count, so a
      // pause just after the count would make noise and block one "block".
      faults.splitChunk = kWholeAnswer;
      break;
    case Fault::WrongSync:
      faults.wrongSync = true;
      faults.ffHeader = true;
      break;
    case Fault::Split:
      // A byte at a time, each its own arrival, the whole answer well within
      // its bound: a trickle past the bound is the short and late faults' case.
      faults.splitChunk = 1;
      faults.splitPause = 0.002;
      break;
    case Fault::HangUp:
      faults.hangUpAtRequest = HangUpRequest(c);
      break;
  }
  return faults;
}

// The most requests a command sends, whatever the line does: one per
// exchange, never a repeat. The live loop has no fixed count.
std::size_t MaxRequests(Command c) {
  switch (c) {
    case Command::Startup:
      return 4;  // echo, the two parameter sets, the firmware text
    case Command::PortChange:
      return 2 * 4;  // the choice comes as a value change and a commit
    case Command::Get:
    case Command::Send:
    case Command::Teach:
    case Command::Reset:
    case Command::Refresh:
      return 2;
    case Command::ReadData:
      return 5;  // refresh, four blocks
    case Command::Record:
      return 3 + 1;  // the three rows; the last one's answer asks for more
    case Command::Run:
      break;
  }
  return SIZE_MAX;
}

// The outcome of a cell: the status text and what the panels show.
struct Outcome {
  std::string status;
  std::string data;
};
// The outcome table.
const std::map<std::pair<Command, Fault>, Outcome> &Expected();

// A live value that no broken frame turns into by chance.
const sim::Words16 kLive = {1000, 64000, 0, 65535, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr char kLiveRow[] = "1000\t64000\t0\t65535";

class FaultMatrix : public StartupTest, public ::testing::WithParamInterface<Command> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp_.isValid());
    current_ = NewController(1);
    ASSERT_NE(current_, nullptr);
    ASSERT_EQ(Start(), 0);
    ASSERT_EQ(Status(), FirmwareStatus(kFirmware));
    std::snprintf(recfile_name, sizeof recfile_name, "%s",
                  tmp_.filePath(QStringLiteral("RVimRecord.dat")).toUtf8().constData());
    SetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, 0);
    SetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, 3);
  }

  std::unique_ptr<Controller> NewController(int number) {
    auto controller = std::make_unique<Controller>();
    controller->sim.setPacing(sim::Pacing::Instant);
    if (!controller->startAt(number)) return nullptr;
    controller->loadDistinctSet();
    controller->sim.setLiveWords(kLive);
    return controller;
  }

  // The operator picks another port from the selector: a fresh controller.
  void ChooseNewController(Fault fault, Command command) {
    previous_ = std::move(current_);
    current_ = NewController(0);
    ASSERT_NE(current_, nullptr);
    current_->sim.setFaults(FaultsFor(fault, command));
    FillPortSelector();
    ChooseComPort(current_->port);
  }

  void Perform(Command c, Fault fault) {
    switch (c) {
      case Command::Startup:
        CloseCom(com);
        InitRS232(com);
        break;
      case Command::PortChange:
        ChooseNewController(fault, c);
        break;
      case Command::Get:
        Click(PANEL_BTNGET);
        break;
      case Command::Send:
        Click(PANEL_BTNSEND);
        break;
      case Command::Teach:
        Click(PANEL_BUTTONTEACH);
        break;
      case Command::Reset:
        Click(PANEL_BUTTONRESET);
        break;
      case Command::Refresh:
        Click(PANEL_BUTTONREFRESH);
        break;
      case Command::Run: {
        QTimer stop;
        QObject::connect(&stop, &QTimer::timeout, [this, &stop] {
          if (current_->sim.requestCount() < kRunStopRequests) return;
          stop.stop();
          Click(PANEL_BTNSTOP);
        });
        stop.start(10);
        Click(PANEL_BTNRUN);
        stop.stop();
        Click(PANEL_BTNSTOP);  // a run that timed out leaves the commands dimmed until Stop
        break;
      }
      case Command::ReadData:
        Click(PANEL_BTNDATA);
        break;
      case Command::Record:
        Click(PANEL_RECCTRL2);  // the previous run left Start dimmed
        Click(PANEL_RECCTRL1);
        break;
    }
  }

  static void Click(int control) {
    QWidget *w = ControlWidget(panelHandle, control);
    ASSERT_NE(w, nullptr) << control;
    QTest::mouseClick(w, Qt::LeftButton);
  }

  // One cell; returns its line of the table.
  std::string Cell(Command c, Fault fault) {
    SetCtrlVal(panelHandle, PANEL_STATUS, "before");
    CVI_DeleteFile(recfile_name);
    current_->sim.clearRecord();
    if (c != Command::PortChange) current_->sim.setFaults(FaultsFor(fault, c));
    const sim::Words16 ram0 = current_->sim.parameterSet(1, 0);
    const sim::Words16 eeprom0 = current_->sim.parameterSet(2, 0);
    const std::vector<int> shownBefore = ParamValues(panelHandle, panelPopUp);

    const double start = Timer();
    Perform(c, fault);
    const double took = Timer() - start;  // on the program's clock
    const std::string status = Status();
    const std::string data = DataShown(shownBefore);
    const std::size_t requests = current_->sim.requestCount();

    const std::string where = std::string(Name(c)) + " / " + Name(fault);
    EXPECT_LE(requests, MaxRequests(c)) << where;
    const auto it = Expected().find({c, fault});
    const Outcome expected = it != Expected().end() ? it->second : Outcome{"?", "?"};
    // An empty text: the outcome depends on timing and is not fixed here.
    if (!expected.status.empty()) {
      EXPECT_EQ(status, expected.status) << where;
      EXPECT_EQ(data, expected.data) << where;
    }
    // Teach and Reset alone change what the controller holds in RAM.
    if (c != Command::Teach && c != Command::Reset) {
      EXPECT_EQ(current_->sim.parameterSet(1, 0), ram0) << where;
    }
    EXPECT_EQ(current_->sim.parameterSet(2, 0), eeprom0) << where;

    current_->sim.setFaults({});
    if (fault == Fault::HangUp) ChooseNewController(Fault::None, c);
    // An answer later than the wait, or one trickling in byte by byte after
    // the command gave up, still arrives; the operator's next command comes
    // after it (taken as that command's answer otherwise).
    EXPECT_TRUE(testsupport::PumpUntil([this] { return current_->sim.idle(); }, 30.0)) << where;
    testsupport::PumpFor(0.05);
    ExpectNextCommandWorks(c, fault);

    char line[240];
    std::snprintf(line, sizeof line, "| %-11s | %-13s | %5.2f s | %2zu | %-4s | %s", Name(c),
                  Name(fault), took, requests, data.c_str(), status.c_str());
    return line;
  }

  // "ok" when the panels show the controller's sets or what they showed
  // before, and every record row is a whole live answer; "WRONG" otherwise.
  std::string DataShown(const std::vector<int> &before) const {
    const std::vector<int> now = ParamValues(panelHandle, panelPopUp);
    const sim::Simulator &controller = current_->sim;
    const bool panelsOk =
        now == before ||
        now == ExpectedParamValues(controller.parameterSet(1, 0), controller.parameterSet(1, 1));
    bool rowsOk = true;
    for (const std::string &row : RowLines(ReadWholeFile(recfile_name))) {
      rowsOk = rowsOk && row == kLiveRow;
    }
    return panelsOk && rowsOk ? "ok" : "WRONG";
  }

  void ExpectNextCommandWorks(Command c, Fault fault) {
    current_->sim.clearRecord();
    CVI_DeleteFile(recfile_name);
    SetCtrlVal(panelHandle, PANEL_STATUS, "before");
    Click(PANEL_BTNGET);
    EXPECT_EQ(Status(), "Parameter-frame received! - Line Ok!")
        << "Get after " << Name(c) << " / " << Name(fault);
    EXPECT_EQ(Orders(current_->sim), (std::vector<int>{2, 2}));
    EXPECT_EQ(DataShown({}), "ok") << "Get after " << Name(c) << " / " << Name(fault);
  }

  QTemporaryDir tmp_;
  std::unique_ptr<Controller> current_;
  std::unique_ptr<Controller> previous_;
};

TEST_P(FaultMatrix, EveryFault) {
  const Command c = GetParam();
  std::ostringstream table;
  for (Fault fault : kFaults) table << Cell(c, fault) << "\n";
  std::printf("%s", table.str().c_str());
  std::fflush(stdout);
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultMatrix,
                         ::testing::Values(Command::Startup, Command::PortChange, Command::Get,
                                           Command::Send, Command::Teach, Command::Reset,
                                           Command::Refresh, Command::Run, Command::ReadData,
                                           Command::Record),
                         [](const auto &row) {
                           std::string name = Name(row.param);
                           std::erase(name, ' ');
                           std::erase(name, '-');
                           return name;
                         });

// The status text of each cell, and "ok": the panels and the record file hold
// only what the controller sent. A late answer is never taken for the next
// request's, nor line noise for a frame.
const std::map<std::pair<Command, Fault>, Outcome> &Expected() {
  static const std::string kFirmwareStatus = FirmwareStatus(kFirmware);
  static const std::map<std::pair<Command, Fault>, Outcome> table = {
      {{Command::Startup, Fault::Silent}, {"Timeout < 36 Bytes", "ok"}},
      {{Command::Startup, Fault::LateBeyond}, {"Timeout < 36 Bytes", "ok"}},
      {{Command::Startup, Fault::LateWithin}, {kFirmwareStatus, "ok"}},
      {{Command::Startup, Fault::Short}, {"Timeout < 36 Bytes", "ok"}},
      {{Command::Startup, Fault::Long}, {"Error reading firmware-info!", "ok"}},
      {{Command::Startup, Fault::Garbage}, {"read error - not sync byte 0xAA!", "ok"}},
      {{Command::Startup, Fault::WrongSync}, {"read error - not sync byte 0xAA!", "ok"}},
      {{Command::Startup, Fault::Split}, {kFirmwareStatus, "ok"}},
      {{Command::Startup, Fault::HangUp}, {"Parameter-frame NOT received - set 0!", "ok"}},
      {{Command::PortChange, Fault::Silent}, {"Timeout < 36 Bytes", "ok"}},
      {{Command::PortChange, Fault::LateBeyond}, {"Timeout < 36 Bytes", "ok"}},
      {{Command::PortChange, Fault::LateWithin}, {kFirmwareStatus, "ok"}},
      {{Command::PortChange, Fault::Short}, {"Timeout < 36 Bytes", "ok"}},
      {{Command::PortChange, Fault::Long}, {"Error reading firmware-info!", "ok"}},
      {{Command::PortChange, Fault::Garbage}, {"read error - not sync byte 0xAA!", "ok"}},
      {{Command::PortChange, Fault::WrongSync}, {"read error - not sync byte 0xAA!", "ok"}},
      {{Command::PortChange, Fault::Split}, {kFirmwareStatus, "ok"}},
      {{Command::PortChange, Fault::HangUp}, {"", ""}},
      {{Command::Get, Fault::Silent}, {"Parameter-frame NOT received - set 0!", "ok"}},
      {{Command::Get, Fault::LateBeyond}, {"Parameter-frame NOT received - set 0!", "ok"}},
      {{Command::Get, Fault::LateWithin}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Get, Fault::Short}, {"Parameter-frame NOT received - set 0!", "ok"}},
      {{Command::Get, Fault::Long}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Get, Fault::Garbage}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Get, Fault::WrongSync}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Get, Fault::Split}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Get, Fault::HangUp}, {"Parameter-frame NOT received - set 1!", "ok"}},
      {{Command::Send, Fault::Silent}, {"Transmit para Ok!", "ok"}},
      {{Command::Send, Fault::LateBeyond}, {"Transmit para Ok!", "ok"}},
      {{Command::Send, Fault::LateWithin}, {"Transmit para Ok!", "ok"}},
      {{Command::Send, Fault::Short}, {"Transmit para Ok!", "ok"}},
      {{Command::Send, Fault::Long}, {"Transmit para Ok!", "ok"}},
      {{Command::Send, Fault::Garbage}, {"Transmit para Ok!", "ok"}},
      {{Command::Send, Fault::WrongSync}, {"Transmit para Ok!", "ok"}},
      {{Command::Send, Fault::Split}, {"Transmit para Ok!", "ok"}},
      {{Command::Send, Fault::HangUp}, {"Transmit ERROR - para NOT sent!", "ok"}},
      {{Command::Teach, Fault::Silent}, {"Timeout RS-232!!", "ok"}},
      {{Command::Teach, Fault::LateBeyond}, {"Timeout RS-232!!", "ok"}},
      {{Command::Teach, Fault::LateWithin}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Teach, Fault::Short}, {"Timeout RS-232!!", "ok"}},
      {{Command::Teach, Fault::Long}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Teach, Fault::Garbage}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Teach, Fault::WrongSync}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Teach, Fault::Split}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Teach, Fault::HangUp}, {"Timeout RS-232!!", "ok"}},
      {{Command::Reset, Fault::Silent}, {"Timeout RS-232!!", "ok"}},
      {{Command::Reset, Fault::LateBeyond}, {"Timeout RS-232!!", "ok"}},
      {{Command::Reset, Fault::LateWithin}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Reset, Fault::Short}, {"Timeout RS-232!!", "ok"}},
      {{Command::Reset, Fault::Long}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Reset, Fault::Garbage}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Reset, Fault::WrongSync}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Reset, Fault::Split}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Reset, Fault::HangUp}, {"Timeout RS-232!!", "ok"}},
      {{Command::Refresh, Fault::Silent}, {"Timeout RS-232!!", "ok"}},
      {{Command::Refresh, Fault::LateBeyond}, {"Timeout RS-232!!", "ok"}},
      {{Command::Refresh, Fault::LateWithin}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Refresh, Fault::Short}, {"Timeout RS-232!!", "ok"}},
      {{Command::Refresh, Fault::Long}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Refresh, Fault::Garbage}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Refresh, Fault::WrongSync}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Refresh, Fault::Split}, {"Parameter-frame received! - Line Ok!", "ok"}},
      {{Command::Refresh, Fault::HangUp}, {"Timeout RS-232!!", "ok"}},
      {{Command::Run, Fault::Silent}, {"Timeout RS232-Line!", "ok"}},
      {{Command::Run, Fault::LateBeyond}, {"Timeout RS232-Line!", "ok"}},
      {{Command::Run, Fault::LateWithin}, {"Line Ok!", "ok"}},
      {{Command::Run, Fault::Short}, {"Timeout RS232-Line!", "ok"}},
      {{Command::Run, Fault::Long}, {"Line Ok!", "ok"}},
      {{Command::Run, Fault::Garbage}, {"Line Ok!", "ok"}},
      {{Command::Run, Fault::WrongSync}, {"Line Ok!", "ok"}},
      {{Command::Run, Fault::Split}, {"Line Ok!", "ok"}},
      {{Command::Run, Fault::HangUp}, {"Timeout RS232-Line!", "ok"}},
      {{Command::ReadData, Fault::Silent}, {"Timeout-RS-232 while reading 64 data-words!", "ok"}},
      {{Command::ReadData, Fault::LateBeyond}, {"Data[64] block received!", "ok"}},
      {{Command::ReadData, Fault::LateWithin}, {"Data[64] block received!", "ok"}},
      {{Command::ReadData, Fault::Short}, {"Timeout-RS-232 while reading 64 data-words!", "ok"}},
      {{Command::ReadData, Fault::Long}, {"Error reading 64 data-words!", "ok"}},
      {{Command::ReadData, Fault::Garbage}, {"Error reading 64 data-words!", "ok"}},
      {{Command::ReadData, Fault::WrongSync}, {"Data[64] block received!", "ok"}},
      {{Command::ReadData, Fault::Split}, {"Data[64] block received!", "ok"}},
      {{Command::ReadData, Fault::HangUp}, {"Timeout-RS-232 while reading 64 data-words!", "ok"}},
      {{Command::Record, Fault::Silent}, {"Timeout RS232-Line!", "ok"}},
      {{Command::Record, Fault::LateBeyond}, {"Timeout RS232-Line!", "ok"}},
      {{Command::Record, Fault::LateWithin}, {"Line Ok!", "ok"}},
      {{Command::Record, Fault::Short}, {"Timeout RS232-Line!", "ok"}},
      {{Command::Record, Fault::Long}, {"Line Ok!", "ok"}},
      {{Command::Record, Fault::Garbage}, {"Line Ok!", "ok"}},
      {{Command::Record, Fault::WrongSync}, {"Line Ok!", "ok"}},
      {{Command::Record, Fault::Split}, {"Line Ok!", "ok"}},
      {{Command::Record, Fault::HangUp}, {"Timeout RS232-Line!", "ok"}},
  };
  return table;
}

}  // namespace
