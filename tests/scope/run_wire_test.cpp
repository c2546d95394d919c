// The Run/Stop loop against the simulator over a pty, driven through the
// panel's buttons. A click on Run returns only when the loop has ended, so
// everything that happens during a run is scheduled before the click.
#include <QComboBox>

#include "scope/plots.h"
#include "tests/scope/scope_fixture.h"

namespace {

using RunStop = LiveScope;

TEST_F(RunStop, PingPongPlotsEachAnswerOnceBeforeTheNextRequest) {
  Choose(PANEL_RNGGRAPHSOURCE, 0);
  FillarrayRAW(kUnplotted, kUnplotted);
  int samples = 0, twoOutstanding = 0, requestBeforePlot = 0, dimmedWhileRunning = 0;
  int plottedAtStop = -1;
  std::size_t requestsAtStop = 0;
  QTimer probe;
  const auto stop = [&] {
    if (plottedAtStop >= 0) return;
    plottedAtStop = PlottedRawRecords();
    probe.stop();
    requestsAtStop = Sim().requestCount();
    Click(PANEL_BTNSTOP);
  };
  QObject::connect(&probe, &QTimer::timeout, [&] {
    // Requests first: the counts only grow, so a stale request count errs on the safe side.
    const std::size_t requests = Sim().requestCount();
    const std::size_t answers = Sim().answerCount();
    const int plotted = PlottedRawRecords();
    ++samples;
    twoOutstanding += requests > answers + 1;
    requestBeforePlot += requests > static_cast<std::size_t>(plotted) + 1;
    dimmedWhileRunning +=
        Dimmed(PANEL_ACQCTRL1) == 1 && Dimmed(PANEL_ACQCTRL2) == 1 && Visible(PANEL_DATAGRAPH) == 0;
    if (plotted >= 40 && samples > 100) stop();
  });
  QTimer stalled;  // a loop that stops plotting still ends, and the counts tell
  stalled.setSingleShot(true);
  QObject::connect(&stalled, &QTimer::timeout, stop);
  const double took = RunWith([&] {
    probe.start(0);
    stalled.start(20000);
  });
  EXPECT_GT(took, 1.4);
  testsupport::PumpFor(0.3);  // the request in flight at Stop reaches the simulator

  EXPECT_GT(samples, 100);
  EXPECT_EQ(twoOutstanding, 0);
  EXPECT_EQ(requestBeforePlot, 0);
  EXPECT_EQ(dimmedWhileRunning, samples);
  // Stopped after 40 answers, which take 1.5 s at the line's pace: well
  // inside one history.
  EXPECT_GT(plottedAtStop, 20);
  EXPECT_LT(plottedAtStop, kHistoryRecords);
  // Every request was answered and plotted once but the one in flight at Stop,
  // if any: its answer came after Stop (the simulator always answers) and was
  // never plotted.
  EXPECT_GE(Sim().requestCount(), static_cast<std::size_t>(plottedAtStop));
  EXPECT_LE(Sim().requestCount(), static_cast<std::size_t>(plottedAtStop) + 1);
  EXPECT_LE(Sim().requestCount(), requestsAtStop + 1) << "no request after Stop";
  EXPECT_EQ(Sim().answerCount(), Sim().requestCount());
  // Each request carries the full parameter set under order 8.
  CopyVarsToPP(0);
  const std::vector<uint8_t> expected = testsupport::RequestBytes(8, [] {
    sim::Words16 words{};
    for (int i = 0; i < PNUM; ++i) words[static_cast<std::size_t>(i)] = pp[i];
    return words;
  }());
  for (const sim::RequestFrame &frame : Sim().requests()) {
    ASSERT_TRUE(std::equal(frame.begin(), frame.end(), expected.begin()));
  }
  EXPECT_EQ(Status(), "Line Ok!");
  EXPECT_EQ(stop_flag, 1);
  EXPECT_EQ(Dimmed(PANEL_ACQCTRL1), 0);
  EXPECT_EQ(Dimmed(PANEL_ACQCTRL2), 0);
  EXPECT_TRUE(HistoriesAtReset());
  // The chart keeps its last picture: the live values of the answers.
  const std::vector<double> traceA = StripChartTrace(panelHandle, PANEL_RAWCHART, 1);
  ASSERT_FALSE(traceA.empty());
  EXPECT_EQ(traceA.back(), 1234);
  EXPECT_EQ(StripChartTrace(panelHandle, PANEL_RAWCHART, 2).back(), 4321);
}

// Stop with a request still in the output queue (the controller is not
// reading: its input is full) lets that request go out whole; none is cut.
TEST_F(RunStop, StopNeverCutsTheRequestInFlight) {
  Sim().setFaults({.stallAfterRequest = 1});
  RunWith([] { QTimer::singleShot(300, [] { Click(PANEL_BTNSTOP); }); });
  ASSERT_EQ(Sim().requestCount(), 1u);
  Sim().setFaults({});  // the controller reads again
  ASSERT_TRUE(testsupport::PumpUntil([&] { return Sim().requestCount() == 2; }));
  const std::vector<sim::RequestFrame> requests = Sim().requests();
  EXPECT_EQ(requests[1], requests[0]) << "the second live request, whole";
  EXPECT_EQ(Sim().received().size(), 2u * kFrameBytes);
}

TEST_F(RunStop, StopWithoutRunFlushesAndResetsSilently) {
  SetCtrlVal(panelHandle, PANEL_STATUS, "as before");
  FillarrayRAW(1, 2);
  FillarrayNORM(3, 4, 5);
  Sim().sendRaw(std::vector<uint8_t>(10, 0x11));  // fewer than a frame: no callback
  ASSERT_TRUE(testsupport::WaitUntil([] { return GetInQLen(com) == 10; }));
  Click(PANEL_BTNSTOP);
  EXPECT_EQ(GetInQLen(com), 0);
  EXPECT_EQ(rx_flag, 0);
  EXPECT_EQ(stop_flag, 1);
  EXPECT_TRUE(HistoriesAtReset());
  EXPECT_EQ(Status(), "as before");
  EXPECT_EQ(Dimmed(PANEL_ACQCTRL1), 0);
  EXPECT_EQ(Dimmed(PANEL_ACQCTRL2), 0);
  EXPECT_EQ(Sim().requestCount(), 0u);
}

TEST_F(RunStop, AnswerArrivingAfterStopIsNeverPlottedByTheNextRun) {
  Choose(PANEL_RNGGRAPHSOURCE, 0);
  Click(PANEL_BTNSTOP);
  // A late answer to the stopped run's last request: the receive callback
  // takes it while no loop runs.
  const uint16_t lastRequest[PNUM] = {};
  FillTxBuf(8, lastRequest);
  sim::Words16 stale{};
  stale[2] = 9999;
  stale[3] = 8888;
  const std::vector<uint8_t> frame = testsupport::RequestBytes(8, stale);
  Sim().sendRaw(frame);
  ASSERT_TRUE(testsupport::PumpUntil([] { return graphrefresh == 1; }));
  ASSERT_EQ(pp[2], 9999);
  FillarrayRAW(kUnplotted, kUnplotted);
  int plottedAtStop = -1;
  bool onlyLiveRecords = true;
  RunWith([&] {
    QTimer::singleShot(600, [&] {
      for (int r = 0; r < kHistoryRecords; ++r) {
        const double a = arrayRAW[2 * r];
        const double b = arrayRAW[2 * r + 1];
        onlyLiveRecords &= (a == kUnplotted && b == kUnplotted) || (a == 1234 && b == 4321);
      }
      plottedAtStop = PlottedRawRecords();
      Click(PANEL_BTNSTOP);
    });
  });
  testsupport::PumpFor(0.3);
  EXPECT_TRUE(onlyLiveRecords);
  EXPECT_GT(plottedAtStop, 0);
  // Every answered request was plotted. The request in flight at Stop may be
  // flushed before the controller has it, when Stop follows its write at once.
  const auto plotted = static_cast<std::size_t>(plottedAtStop);
  EXPECT_GE(Sim().requestCount(), plotted);
  EXPECT_LE(Sim().requestCount(), plotted + 1);
}

TEST_F(RunStop, SilentLineEndsTheRunAfterMoreThanTwoSecondsAndKeepsTheHistories) {
  Choose(PANEL_RNGGRAPHSOURCE, 0);
  FillarrayRAW(kUnplotted, kUnplotted);
  std::size_t requestsWhenSilenced = 0;
  RunWith([&] {
    When([] { return PlottedRawRecords() > 5; },
         [&] {
           Sim().setFaults({.silent = true});
           requestsWhenSilenced = Sim().requestCount();
         });
  });
  // The loop left on the pass that found more than 2.0 s since the last request.
  EXPECT_GT(tdiff, 2.0);
  EXPECT_GT(Timer() - tstart, 2.0);
  EXPECT_EQ(Status(), "Timeout RS232-Line!");
  EXPECT_EQ(stop_flag, 1);
  EXPECT_EQ(Dimmed(PANEL_ACQCTRL1), 0);
  EXPECT_EQ(Dimmed(PANEL_ACQCTRL2), 1);
  // At most the request in flight when the line fell silent went unanswered.
  EXPECT_LE(Sim().requestCount(), requestsWhenSilenced + 1);
  const int plotted = PlottedRawRecords();
  EXPECT_GT(plotted, 5);
  EXPECT_EQ(arrayRAW[kRawPoints - 2], 1234);
  const std::vector<double> shown = StripChartTrace(panelHandle, PANEL_RAWCHART, 1);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), 1234);

  testsupport::PumpFor(0.3);
  EXPECT_EQ(PlottedRawRecords(), plotted);
  EXPECT_EQ(Dimmed(PANEL_ACQCTRL2), 1);
  Click(PANEL_BTNSTOP);
  EXPECT_EQ(Dimmed(PANEL_ACQCTRL2), 0);
  EXPECT_TRUE(HistoriesAtReset());
  EXPECT_EQ(Status(), "Timeout RS232-Line!");
}

TEST_F(RunStop, GraphSourceChangedDuringARunMovesTheRefreshesToTheOtherChart) {
  Choose(PANEL_RNGGRAPHSOURCE, 0);
  ASSERT_EQ(Visible(PANEL_RAWCHART), 1);
  FillarrayRAW(kUnplotted, kUnplotted);
  int rawAtSwitch = -1, rawAtStop = -1, normAtStop = -1, normAtSwitch = -1;
  int typeAtSwitch = -1;
  RunWith([&] {
    When([] { return PlottedRawRecords() > 5; },
         [&] {
           rawAtSwitch = PlottedRawRecords();
           normAtSwitch = PlottedNormRecords();
           Choose(PANEL_RNGGRAPHSOURCE, 3);
           typeAtSwitch = type;
         });
    When([&] { return typeAtSwitch >= 0 && PlottedNormRecords() > 5; },
         [&] {
           rawAtStop = PlottedRawRecords();
           normAtStop = PlottedNormRecords();
           Click(PANEL_BTNSTOP);
         });
  });
  testsupport::PumpFor(0.3);
  EXPECT_EQ(typeAtSwitch, 1);
  EXPECT_EQ(Visible(PANEL_RAWCHART), 0);
  EXPECT_EQ(Visible(PANEL_NORMCHART), 1);
  EXPECT_GT(rawAtSwitch, 5);
  EXPECT_EQ(normAtSwitch, 0);
  EXPECT_EQ(rawAtStop, rawAtSwitch);
  EXPECT_GT(normAtStop, 5);
  // Every answered request was plotted; the request in flight at Stop may
  // not have reached the controller yet.
  const auto plotted = static_cast<std::size_t>(rawAtStop + normAtStop);
  EXPECT_GE(Sim().requestCount(), plotted);
  EXPECT_LE(Sim().requestCount(), plotted + 1);
  // Channel B's value in dark grey, over the whole redrawn history.
  EXPECT_EQ(StripChartTraceColor(panelHandle, PANEL_NORMCHART, 6), 0x404040);
  const std::vector<double> value = StripChartTrace(panelHandle, PANEL_NORMCHART, 6);
  ASSERT_FALSE(value.empty());
  EXPECT_EQ(value.back(), 620);
}

TEST_F(RunStop, FirstNormalisedRefreshShowsTheUnlimitedStartBandAndOneLiveRecord) {
  Choose(PANEL_RNGGRAPHSOURCE, 2);
  SetCtrlVal(panelHandle, PANEL_HWMODE, 0);  // separate tolerances: the band uses tolA
  SetCtrlVal(panelPopUp, POPUP_DROP_EVALMODE, 0);
  refA = 990;
  tolA = 20;
  anamode = 1;
  std::vector<double> upper, lower, reference, high, value;
  std::vector<double> history;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (arrayNORM[kNormPoints - 1] == 0) return;  // no live record yet
    probe.stop();
    history.assign(arrayNORM, arrayNORM + kNormPoints);
    upper = StripChartTrace(panelHandle, PANEL_NORMCHART, 1);
    lower = StripChartTrace(panelHandle, PANEL_NORMCHART, 2);
    reference = StripChartTrace(panelHandle, PANEL_NORMCHART, 3);
    high = StripChartTrace(panelHandle, PANEL_NORMCHART, 4);
    value = StripChartTrace(panelHandle, PANEL_NORMCHART, 6);
    Click(PANEL_BTNSTOP);
  });
  RunWith([&] { probe.start(0); });
  ASSERT_EQ(history.size(), static_cast<std::size_t>(kNormPoints));
  for (int r = 0; r < kHistoryRecords - 1; ++r) {
    const double expected[6] = {1010, 970, 990, 0, 0, 0};
    for (int i = 0; i < 6; ++i) ASSERT_EQ(history[6 * r + i], expected[i]) << r << "/" << i;
  }
  const double live[6] = {1000, 970, 990, 700, 700, 610};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(history[kNormPoints - 6 + i], live[i]) << i;
  // The chart got exactly that one refresh: 100 points per trace.
  ASSERT_EQ(upper.size(), 100u);
  EXPECT_EQ(upper.front(), 1010);
  EXPECT_EQ(upper.back(), 1000);
  EXPECT_EQ(lower.back(), 970);
  EXPECT_EQ(reference.back(), 990);
  EXPECT_EQ(high.back(), 700);
  EXPECT_EQ(value.front(), 0);
  EXPECT_EQ(value.back(), 610);
  EXPECT_EQ(StripChartTraceColor(panelHandle, PANEL_NORMCHART, 6), 0xFF0000);
}

// The inputs show the band's common tolerance only while it is drawn; after
// the run a Send carries the controller's own tolerances.
TEST_F(RunStop, ToleranceInputsShowTheCommonToleranceOnlyWhileTheBandIsDrawn) {
  Choose(PANEL_RNGGRAPHSOURCE, 2);
  SetCtrlVal(panelHandle, PANEL_HWMODE, 1);  // common tolerance
  for (const bool endByStop : {true, false}) {
    tolA = 513;
    tolB = 514;
    Sim().setFaults({});
    int shownDuringRun = -1;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
      if (PlottedNormRecords() == 0) return;
      probe.stop();
      GetCtrlVal(panelHandle, PANEL_TOLA, &shownDuringRun);
      if (endByStop) {
        Click(PANEL_BTNSTOP);
      } else {
        Sim().setFaults({.silent = true});
      }
    });
    FillarrayNORM(0, 0, 0);
    RunWith([&] { probe.start(0); });
    EXPECT_EQ(shownDuringRun, 25);
    int shownA = 0, shownB = 0;
    GetCtrlVal(panelHandle, PANEL_TOLA, &shownA);
    GetCtrlVal(panelHandle, PANEL_TOLB, &shownB);
    EXPECT_EQ(shownA, 513) << endByStop;
    EXPECT_EQ(shownB, 514) << endByStop;
  }
  Sim().setFaults({});
  Click(PANEL_BTNSTOP);  // gives the commands back after the time-out
  Sim().clearRecord();
  Click(PANEL_BTNSEND);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Sim().requestCount() == 2; }));
  EXPECT_EQ(Sim().parameterSet(1, 0)[3], 513);
  EXPECT_EQ(Sim().parameterSet(1, 1)[3], 514);
}

}  // namespace
