// Figures of the live scope: the Run loop in the started program against the
// simulator, paced by the line or instant, and the cost of one chart refresh.
#include <QCoreApplication>
#include <QTimer>

#include "app/callbacks.h"
#include "app/startup.h"
#include "bench/clock.h"
#include "bench/cycles.h"
#include "bench/figures.h"
#include "link/link.h"
#include "platform/serial/porttable.h"
#include "platform/ui/linemonitor.h"
#include "platform/ui/userint.h"
#include "scope/history.h"
#include "scope/plots.h"
#include "sim/simulator.h"
#include "ui/RVIMZEL4V14.h"

namespace {

constexpr double kLineAnswersPerSecond = 1920.0 / 72;  // 36 + 36 bytes at 19200 baud
constexpr double kLineRunSeconds = 10.0;
constexpr double kInstantRunSeconds = 3.0;
constexpr int kRefreshes = 500;
constexpr double kSettleSeconds = 1.2;  // past the wait after a request left in flight

struct RunFigures {
  double answersPerSecond = -1;  // from the click on Run to the end of Stop
  CycleRates cycles;
  double cpuPercent = -1;         // whole process, one core = 100
  double programCpuPercent = -1;  // the process without the simulator's thread
  double mainCpuMsPerCycle = -1;  // the program's own thread
};

// The program started as WinMain starts it, talking to one simulator.
struct Session {
  sim::Simulator simulator{sim::Pacing::Line};
  bool ok = false;

  Session() {
    if (!simulator.start()) return;
    const int port = PortTableAddDevice(simulator.slavePath());
    char name[] = "rvim_bench";
    char *argv[] = {name, nullptr};
    if (port < 0 || StartProgram(1, argv) != 0) return;
    com = port;
    InitRS232(com);
    ok = simulator.answerCount() >= 4;  // echo, both parameter sets, firmware text
  }
};

Session &session() {
  static Session s;
  return s;
}

// One Run of `seconds`, ended by Stop from a timer, as the operator would.
RunFigures MeasureRun(sim::Pacing pacing, double seconds) {
  RunFigures figures;
  Session &s = session();
  if (!s.ok) return figures;
  // Stop leaves the line unsettled (the answer to the request in flight may
  // still come), so a Run within a second of it waits out the rest of that
  // second first; every measured run starts from a settled line.
  const double settled = WallSeconds() + kSettleSeconds;
  while (WallSeconds() < settled) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  s.simulator.setPacing(pacing);
  s.simulator.clearRecord();
  QTimer::singleShot(static_cast<int>(seconds * 1000),
                     [] { CC_BTNStop(panelHandle, PANEL_BTNSTOP, EVENT_COMMIT, nullptr, 0, 0); });
  const double wall0 = WallSeconds();
  const double cpu0 = CpuSeconds();
  const double thread0 = ThreadCpuSeconds();
  const double simulator0 = s.simulator.threadCpuSeconds();
  CC_BTNRun(panelHandle, PANEL_BTNRUN, EVENT_COMMIT, nullptr, 0, 0);
  const double wall = WallSeconds() - wall0;
  const double cpu = CpuSeconds() - cpu0;
  const double thread = ThreadCpuSeconds() - thread0;
  const double simulator = s.simulator.threadCpuSeconds() - simulator0;
  // Every request but the last was answered and plotted.
  const auto plotted = static_cast<double>(s.simulator.requestCount()) - 1;
  if (plotted < 1) return figures;
  figures.answersPerSecond = plotted / wall;
  figures.cycles = RatesOfRequests(s.simulator.requestTimes());
  figures.cpuPercent = 100.0 * cpu / wall;
  figures.programCpuPercent = 100.0 * (cpu - simulator) / wall;
  figures.mainCpuMsPerCycle = 1000.0 * thread / plotted;
  return figures;
}

const RunFigures &LineRun() {
  static const RunFigures figures = MeasureRun(sim::Pacing::Line, kLineRunSeconds);
  return figures;
}

// The same run with the line monitor open beside the panel, following it.
const RunFigures &LineRunMonitorOpen() {
  static const RunFigures figures = [] {
    if (session().ok) DisplayLineMonitor(panelHandle);
    const RunFigures run = MeasureRun(sim::Pacing::Line, kLineRunSeconds);
    HideLineMonitor();
    return run;
  }();
  return figures;
}

const RunFigures &InstantRun() {
  static const RunFigures figures = MeasureRun(sim::Pacing::Instant, kInstantRunSeconds);
  return figures;
}

// Mean time of a refresh and the repaint it causes, with a live answer in pp.
template <typename Refresh>
double MeanRefreshMs(Refresh refresh) {
  if (!session().ok) return -1;
  for (int i = 0; i < PNUM; ++i) pp[i] = static_cast<uint16_t>(300 + 10 * i);
  const double start = WallSeconds();
  for (int i = 0; i < kRefreshes; ++i) {
    pp[0] = static_cast<uint16_t>(300 + i % 400);
    refresh();
    QCoreApplication::processEvents();
  }
  return 1000.0 * (WallSeconds() - start) / kRefreshes;
}

}  // namespace

double LiveAnswersPerSecondLinePaced() {
  return LineRun().answersPerSecond;
}

double LiveShareOfLineLimit() {
  const double rate = LineRun().cycles.steadyPerSecond;
  return rate < 0 ? -1 : rate / kLineAnswersPerSecond;
}

double LiveShareOfLineLimitMedianCycle() {
  const double rate = LineRun().cycles.medianPerSecond;
  return rate < 0 ? -1 : rate / kLineAnswersPerSecond;
}

double LiveCpuPercentLinePaced() {
  return LineRun().cpuPercent;
}

double LiveProgramCpuPercentLinePaced() {
  return LineRun().programCpuPercent;
}

double LiveShareOfLineLimitMonitorOpen() {
  const double rate = LineRunMonitorOpen().cycles.steadyPerSecond;
  return rate < 0 ? -1 : rate / kLineAnswersPerSecond;
}

double LiveShareOfLineLimitMedianCycleMonitorOpen() {
  const double rate = LineRunMonitorOpen().cycles.medianPerSecond;
  return rate < 0 ? -1 : rate / kLineAnswersPerSecond;
}

double LiveProgramCpuPercentMonitorOpen() {
  return LineRunMonitorOpen().programCpuPercent;
}

double LiveAnswersPerSecondInstant() {
  return InstantRun().answersPerSecond;
}

double LiveCycleMsInstant() {
  return InstantRun().mainCpuMsPerCycle;
}

double RefreshRawMs() {
  SetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, 0);
  SetCtrlAttribute(panelHandle, PANEL_RAWCHART, ATTR_VISIBLE, 1);
  return MeanRefreshMs([] { PlotRAWValues(); });
}

double RefreshNormMs() {
  SetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, 2);
  SetCtrlAttribute(panelHandle, PANEL_NORMCHART, ATTR_VISIBLE, 1);
  return MeanRefreshMs([] { PlotNORMValues(arrayNORM); });
}
