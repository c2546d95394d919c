// The live loop at the edges of the program's life: the main panel closed
// during a run, and the far end of the line hanging up.
#include <time.h>

#include "app/portselect.h"
#include "tests/scope/scope_fixture.h"

namespace {

using RunEdges = LiveScope;

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

TEST_F(RunEdges, ClosingTheMainPanelDuringARunEndsTheRunAtOnceAndThenTheProgram) {
  Choose(PANEL_RNGGRAPHSOURCE, 0);
  double closedAt = 0;
  double runReturnedAt = 0;
  std::size_t requestsAtClose = 0;
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

TEST_F(RunEdges, HangUpEndsTheRunByTimeOutWithoutSpinningAndChoosingAPortRecovers) {
  Choose(PANEL_RNGGRAPHSOURCE, 0);
  double hungUpAt = 0;
  double cpuAtHangUp = 0;
  RunWith([&] {
    QTimer::singleShot(500, [&] {
      Sim().hangUp();
      hungUpAt = Timer();
      cpuAtHangUp = CpuSeconds();
    });
  });
  const double wall = Timer() - hungUpAt;
  const double cpu = CpuSeconds() - cpuAtHangUp;
  EXPECT_GT(wall, 1.9);
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
    QTimer::singleShot(600, [&] {
      plotted = PlottedRawRecords();
      Click(PANEL_BTNSTOP);
    });
  });
  EXPECT_EQ(Status(), "Line Ok!");
  EXPECT_GT(plotted, 5);
  EXPECT_EQ(StripChartTrace(panelHandle, PANEL_RAWCHART, 1).back(), 2222);
}

}  // namespace
