// The recording run against the simulated controller: the record file byte
// for byte, the end by count, stop and time-out, the row counter and the
// control states.
#include <sys/stat.h>

#include <cmath>

#include "platform/util/files.h"
#include "tests/recorder/record_fixture.h"
#include "tests/support/test_clock.h"

namespace {

// The controller's clock moves on this much at each request: rows a few
// seconds apart come after a few dozen quick exchanges. Each exchange takes
// at least this long on the program's clock, however fast the machine.
constexpr double kExchangeSeconds = 0.25;

void TakeTimePerExchange(sim::Simulator &controller) {
  controller.setFaults({.onRequest = [] { AdvanceTimerForTest(kExchangeSeconds); }});
}

// The most requests from one row to the next (or from the start to the
// first): a row is due at most `interval` seconds after the last and is taken
// at the first answer then, one exchange later at most; one more request
// goes out in the row's own pass, and one more while the watcher comes a
// pass late.
std::size_t MostRequestsPerRow(int interval) {
  return static_cast<std::size_t>((interval + kExchangeSeconds) / kExchangeSeconds) + 2;
}

TEST_F(RecordRun, SampleCountZeroWritesTheHeaderAloneForIntervalsFiveAndTen) {
  for (int interval : {5, 10}) {
    Settings(interval, 0);
    Record();
    EXPECT_EQ(File(), Header(interval));
    EXPECT_EQ(Status(), "Line Ok!");
    ExpectEndOfRunControls();
    ClickStopRecording();  // gives the start button back for the next run
  }
  EXPECT_EQ(Header(10).size(), 44u + 2u + 1u);
}

TEST_F(RecordRun, IntervalZeroRecordsEveryAnswerAndStopsAtTheCount) {
  Settings(0, 5);
  Record();
  EXPECT_EQ(File(), Header(0) + (LiveRow() + "\n") + (LiveRow() + "\n") + (LiveRow() + "\n") +
                        (LiveRow() + "\n") + (LiveRow() + "\n"));
  EXPECT_EQ(Value(panelPopUp, POPUP_RECCOUNT), 5);
  // One request per row plus the one sent in the pass of the last row, which
  // the end of the run lets go out whole; the loop ends in that pass, so no
  // later answer is asked for.
  ASSERT_TRUE(testsupport::PumpUntil([&] { return Sim().requestCount() == 6u; }));
  testsupport::PumpFor(0.3);
  EXPECT_EQ(Sim().requestCount(), 6u);
  for (const sim::RequestFrame &request : Sim().requests()) EXPECT_EQ(request[3], 8);
  ExpectEveryCountOnDisk();
  ExpectEndOfRunControls();
  EXPECT_EQ(stop_flag, 1);
}

// The end of a run never cuts the request it sent last, even when that one
// still waits in the output queue (the controller is not reading, its input
// full): it goes out whole once the controller reads again.
TEST_F(RecordRun, EndOfTheRunNeverCutsTheLastRequest) {
  struct End {
    int samples;
    int stallAfterRequest;  // the controller stops reading after this request
    std::size_t requests;   // that reach it in the end
  };
  for (const End end : {End{0, 0, 1}, End{2, 2, 3}}) {
    SCOPED_TRACE(testing::Message() << end.samples << " samples");
    Sim().clearRecord();
    Sim().setFaults({.stallAfterRequest = end.stallAfterRequest});
    Settings(0, end.samples);
    Record();
    EXPECT_EQ(Value(panelPopUp, POPUP_RECCOUNT), end.samples);
    Sim().setFaults({});
    ASSERT_TRUE(testsupport::PumpUntil([&] { return Sim().requestCount() == end.requests; }))
        << Sim().requestCount();
    EXPECT_EQ(Sim().received().size(), end.requests * kFrameBytes);
    for (const sim::RequestFrame &request : Sim().requests()) {
      EXPECT_EQ(request, Sim().requests()[0]);
    }
    ClickStopRecording();  // gives the start button back for the next run
  }
}

TEST_F(RecordRun, RowsTakeTheFourLiveValuesOfTheAnswerWhateverTheChart) {
  sim::Words16 live = kLive;
  live[0] = 7;
  live[1] = 0;
  live[2] = 12345;
  live[3] = 9;
  Sim().setLiveWords(live);
  SetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, 2);  // normalised chart
  Settings(0, 2);
  Record();
  EXPECT_EQ(File(), Header(0) + "7\t0\t12345\t9\n7\t0\t12345\t9\n");
  EXPECT_EQ(Attribute(panelHandle, PANEL_RAWCHART, ATTR_VISIBLE), 0);
  EXPECT_EQ(Attribute(panelHandle, PANEL_NORMCHART, ATTR_VISIBLE), 1);
  // The live chart kept running: the newest point is the last answer's value.
  const std::vector<double> trace = StripChartTrace(panelHandle, PANEL_NORMCHART, 6);
  ASSERT_FALSE(trace.empty());
  EXPECT_DOUBLE_EQ(trace.back(), 7.0);
}

TEST_F(RecordRun, ToleranceInputsShowTheParameterTolerancesAgainWhenTheCountIsReached) {
  SetCtrlVal(panelHandle, PANEL_HWMODE, 1);  // the band uses the common tolerance
  SetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, 2);
  tolA = 513;
  tolB = 514;
  int shownDuringRun = -1;
  Settings(0, 3);
  Record([&](const CountSeen &seen) {
    if (seen.count >= 1 && shownDuringRun < 0) shownDuringRun = Value(panelHandle, PANEL_TOLA);
  });
  EXPECT_EQ(shownDuringRun, kLive[10]);
  EXPECT_EQ(Value(panelHandle, PANEL_TOLA), 513);
  EXPECT_EQ(Value(panelHandle, PANEL_TOLB), 514);
}

TEST_F(RecordRun, ControlsAndStateWhileRecording) {
  SetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_VISIBLE, 1);
  Settings(0, 3);
  int checked = 0;
  Record([&](const CountSeen &) {
    if (checked++ > 0) return;
    EXPECT_EQ(Value<std::string>(panelPopUp, POPUP_RECSTATE), "DATA-RECORDER active ...");
    EXPECT_EQ(Attribute(panelPopUp, POPUP_RECSTATE, ATTR_TEXT_BGCOLOR), 0xFF0000);
    EXPECT_EQ(Attribute(panelPopUp, POPUP_RECSTATE, ATTR_TEXT_COLOR), 0xFFFFFF);
    for (int control : {PANEL_ACQCTRL1, PANEL_ACQCTRL2, PANEL_RECCTRL1})
      EXPECT_EQ(Attribute(panelHandle, control, ATTR_DIMMED), 1) << control;
    EXPECT_EQ(Attribute(panelPopUp, POPUP_RECCTRL, ATTR_DIMMED), 1);
    EXPECT_EQ(Attribute(panelHandle, PANEL_DATAGRAPH, ATTR_VISIBLE), 0);
    EXPECT_EQ(Value<std::string>(panelPopUp, POPUP_RECFILENAME), std::string(recfile_name));
  });
  EXPECT_GT(checked, 0);
  ExpectEndOfRunControls();
  EXPECT_EQ(Attribute(panelHandle, PANEL_DATAGRAPH, ATTR_VISIBLE), 0);
}

TEST_F(RecordRun, ANewRunKeepsTheOldRecordingAsideUnderItsModificationTime) {
  const std::string old = "R-VIM-ZEL4-RECORDER-FILE: Time-Interval[s]: 1\n1\t2\t3\t4\n";
  std::ofstream(recfile_name) << old;
  struct stat written {};
  ASSERT_EQ(stat(recfile_name, &written), 0);
  Settings(0, 1);
  Record();
  EXPECT_EQ(File(), Header(0) + LiveRow() + "\n");
  EXPECT_EQ(ReadWholeFile(rvutil::AsideName(recfile_name, written.st_mtime, 1)), old);
}

TEST_F(RecordRun, RowsAreDueOnWholeSecondsOfTheInterval) {
  TakeTimePerExchange(Sim());
  Settings(3, 4);
  std::vector<std::size_t> requests;  // at the start, then at each row
  Record([&](const CountSeen &) { requests.push_back(Sim().requestCount()); });
  ASSERT_EQ(Rows().size(), 4u);
  const std::vector<double> times = RowTimes();
  ASSERT_EQ(times.size(), 4u);
  ASSERT_EQ(requests.size(), 5u);
  for (std::size_t i = 1; i < requests.size(); ++i) {
    EXPECT_LE(requests[i] - requests[i - 1], MostRequestsPerRow(3)) << "row " << i;
  }
  for (std::size_t i = 1; i < times.size(); ++i) {
    EXPECT_GT(times[i] - times[i - 1], 2.0) << "row " << i;
  }
  ExpectEveryCountOnDisk();
}

TEST_F(RecordRun, PacingHoldsAcrossTheWrapOfTheSixteenBitSeconds) {
  // Just below a multiple of 65536 s, so the rows fall on both sides of it.
  const double now = Timer();
  const double wrap = (std::floor(now / 65536.0) + 1.0) * 65536.0;
  AdvanceTimerForTest(wrap - 4.5 - now);
  TakeTimePerExchange(Sim());
  Settings(3, 3);
  std::vector<std::size_t> requests;  // at the start, then at each row
  Record([&](const CountSeen &) { requests.push_back(Sim().requestCount()); });
  ResetTimerForTest();
  const std::vector<double> times = RowTimes();
  ASSERT_EQ(times.size(), 3u);
  EXPECT_EQ(Rows().size(), 3u);
  EXPECT_LT(times[0], wrap);
  EXPECT_GT(times[2], wrap);
  ASSERT_EQ(requests.size(), 4u);
  for (std::size_t i = 1; i < requests.size(); ++i) {
    EXPECT_LE(requests[i] - requests[i - 1], MostRequestsPerRow(3)) << "row " << i;
  }
  for (std::size_t i = 1; i < times.size(); ++i) {
    EXPECT_GT(times[i] - times[i - 1], 2.0) << "row " << i;
  }
}

TEST_F(RecordRun, StopKeepsTheRowsSoFarAndWritesNoneAfter) {
  Settings(0, 1000);
  Record([](const CountSeen &seen) {
    if (seen.count == 3) ClickStopRecording();
  });
  const int shown = Value(panelPopUp, POPUP_RECCOUNT);
  EXPECT_GE(shown, 3);
  EXPECT_LT(shown, 1000);
  const std::string file = File();
  EXPECT_EQ(RowLines(file).size(), static_cast<std::size_t>(shown));
  testsupport::PumpFor(0.5);
  EXPECT_EQ(File(), file);
  EXPECT_EQ(Status(), "Line Ok!");
  // Stop gives every recorder control back, the start button included.
  for (int control : {PANEL_ACQCTRL1, PANEL_ACQCTRL2, PANEL_RECCTRL1, PANEL_RECCTRL2})
    EXPECT_EQ(Attribute(panelHandle, control, ATTR_DIMMED), 0) << control;
  EXPECT_EQ(Attribute(panelPopUp, POPUP_RECCTRL, ATTR_DIMMED), 0);
  EXPECT_EQ(Value<std::string>(panelPopUp, POPUP_RECSTATE), "DATA-RECORDER");
  EXPECT_EQ(stop_flag, 1);
}

TEST_F(RecordRun, ControllerFallingSilentEndsTheRunWithTheTimeOut) {
  Settings(0, 1000);
  double silentAt = 0;
  std::size_t requestsAtSilence = 0;
  Record([&](const CountSeen &seen) {
    if (seen.count != 3) return;
    sim::Faults silent;
    silent.silent = true;
    Sim().setFaults(silent);
    silentAt = Timer();
    requestsAtSilence = Sim().requestCount();
  });
  EXPECT_EQ(Status(), "Timeout RS232-Line!");
  const int shown = Value(panelPopUp, POPUP_RECCOUNT);
  EXPECT_GE(shown, 3);
  EXPECT_LE(shown, 4);  // at most the answer already on its way
  EXPECT_EQ(File().substr(0, Header(0).size()), Header(0));
  EXPECT_EQ(Rows(), std::vector<std::string>(static_cast<std::size_t>(shown), LiveRow()));
  EXPECT_GT(runEnd_ - silentAt, 1.5 - 0.1);
  // The run ends at the first time-out: at most the request after the
  // answer already on its way goes out, none after it.
  EXPECT_LE(Sim().requestCount(), requestsAtSilence + 1);
  ExpectEndOfRunControls();
}

TEST_F(RecordRun, ControllerSilentFromTheStartLeavesTheHeaderAlone) {
  sim::Faults silent;
  silent.silent = true;
  Sim().setFaults(silent);
  Settings(1, 10);
  const double start = Timer();
  Record();
  EXPECT_GT(Timer() - start, 1.5);
  EXPECT_EQ(Status(), "Timeout RS232-Line!");
  EXPECT_EQ(File(), Header(1));
  ExpectEndOfRunControls();
}

TEST_F(RecordRun, SecondRunShowsTheOldCountUntilItsFirstRow) {
  Settings(0, 20);
  Record();
  ASSERT_EQ(Value(panelPopUp, POPUP_RECCOUNT), 20);
  Settings(0, 3);
  Record();  // the start button is still dimmed: nothing happens
  EXPECT_TRUE(seen_.empty() || seen_[0].count == 20);
  EXPECT_EQ(Rows().size(), 20u);
  ClickStopRecording();
  EXPECT_EQ(Value(panelPopUp, POPUP_RECCOUNT), 20);
  Record();
  ASSERT_GE(seen_.size(), 2u);
  EXPECT_EQ(seen_[0].count, 20);
  EXPECT_EQ(seen_[1].count, 1);
  EXPECT_EQ(Rows().size(), 3u);
}

TEST_F(RecordRun, StopWithoutARunOnlyGivesTheControlsBack) {
  SetCtrlAttribute(panelHandle, PANEL_RECCTRL1, ATTR_DIMMED, 1);
  ClickStopRecording();
  EXPECT_EQ(Attribute(panelHandle, PANEL_RECCTRL1, ATTR_DIMMED), 0);
  EXPECT_EQ(stop_flag, 1);
  EXPECT_EQ(Status(), "before");
  EXPECT_EQ(Sim().requestCount(), 0u);
}

}  // namespace
