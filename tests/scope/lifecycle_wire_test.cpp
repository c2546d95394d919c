// The live loop at the edges of the program's life: the main panel closed
// during a run, and the far end of the line hanging up.
#include <time.h>

#include <chrono>
#include <optional>
#include <vector>

#include "app/portselect.h"
#include "tests/scope/scope_fixture.h"

namespace {

using RunEdges = LiveScope;
using RunEdgesTiming = LiveScope;  // real time is the subject: run alone

// The program's thread alone: the simulator's thread is not the program.
double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

TEST_F(RunEdges, ClosingTheMainPanelDuringARunEndsTheRunAtOnceAndThenTheProgram) {
  Choose(PANEL_RNGGRAPHSOURCE, 0);
  double closedAt = 0;
  double runReturnedAt = 0;
  std::size_t requestsAtClose = 0;
  std::optional<testsupport::ClockRunAhead> closedLine;  // nothing can end the waits left
  QTimer::singleShot(0, [&] {
    Click(PANEL_BTNRUN);
    runReturnedAt = Timer();
  });
  QTimer running;  // closes once the run is well under way
  const auto close = [&] {
    if (closedAt > 0) return;
    running.stop();
    requestsAtClose = Sim().requestCount();
    closedAt = Timer();
    PanelWidget(panelHandle)->close();  // the close box
    closedLine.emplace(1.35);
  };
  QObject::connect(&running, &QTimer::timeout, [&] {
    if (Sim().requestCount() > 10) close();
  });
  running.start(0);
  QTimer stalled;  // a run that never gets going is closed all the same
  stalled.setSingleShot(true);
  QObject::connect(&stalled, &QTimer::timeout, close);
  stalled.start(20000);
  const int code = RunUserInterface();
  closedLine.reset();
  EXPECT_EQ(code, 0);
  ASSERT_GT(closedAt, 0);
  ASSERT_GT(runReturnedAt, 0);
  // The run ends on the close, not on its time-out.
  EXPECT_EQ(Status(), "Line Ok!");
  EXPECT_EQ(stop_flag, 1);
  EXPECT_LT(ComWrt(com, szWriteBuf, kFrameBytes), 0);
  testsupport::PumpFor(0.2);
  EXPECT_LE(Sim().requestCount(), requestsAtClose + 1);
  EXPECT_GT(requestsAtClose, 10u);
  EndProgram();
  started_ = false;
}

TEST_F(RunEdgesTiming, HangUpEndsTheRunByTimeOutWithoutSpinningAndChoosingAPortRecovers) {
  Choose(PANEL_RNGGRAPHSOURCE, 0);
  double hungUpAt = 0;
  double cpuAtHangUp = 0;
  double lastRequestAt = 0;  // monotonic seconds, as the simulator records them
  RunWith([&] {
    QTimer::singleShot(500, [&] {
      const std::vector<double> times = Sim().requestTimes();
      lastRequestAt = times.empty() ? 0 : times.back();
      Sim().hangUp();
      hungUpAt = Timer();
      cpuAtHangUp = ThreadCpuSeconds();
    });
  });
  const double wall = Timer() - hungUpAt;
  const double cpu = ThreadCpuSeconds() - cpuAtHangUp;
  // The time-out counts from the request in flight, which a controller that
  // answers late may have taken well before the hang-up.
  const double sinceLastRequest =
      std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count() -
      lastRequestAt;
  EXPECT_GT(sinceLastRequest, 1.9);
  EXPECT_LT(cpu / wall, 0.3) << "cpu " << cpu << " s in " << wall << " s";
  EXPECT_EQ(Status(), "Timeout RS232-Line!");
  Click(PANEL_BTNSTOP);
  EXPECT_EQ(Dimmed(PANEL_ACQCTRL1), 0);
  EXPECT_EQ(Dimmed(PANEL_ACQCTRL2), 0);

  // A controller on a new line, named through the selector's "Other device".
  testsupport::SimLine replacement(sim::Pacing::Line);
  ASSERT_TRUE(replacement.ok());
  sim::Words16 live = kLive;
  live[2] = 2222;
  replacement.sim().setLiveWords(live);
  SetPromptAnswer([&](const std::string &, const std::string &, std::string *answer) {
    *answer = replacement.device();
    return true;
  });
  Choose(PANEL_DROPDCOM, kOtherDeviceItem);
  SetPromptAnswer({});
  ASSERT_EQ(com, replacement.port());
  replacement.sim().clearRecord();

  FillarrayRAW(kUnplotted, kUnplotted);
  int plotted = -1;
  RunWith([&] {
    When([] { return PlottedRawRecords() > 5; },
         [&] {
           plotted = PlottedRawRecords();
           Click(PANEL_BTNSTOP);
         });
  });
  EXPECT_EQ(Status(), "Line Ok!");
  EXPECT_GT(plotted, 5);
  EXPECT_EQ(StripChartTrace(panelHandle, PANEL_RAWCHART, 1).back(), 2222);
}

}  // namespace
