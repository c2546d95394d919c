// Figures of the data readout: the Data readout command (live refresh and the
// four blocks of the normalised data set) against the line-paced simulator,
// and the least time its bytes need on the line.
#include <algorithm>
#include <array>
#include <cstring>

#include "app/callbacks.h"
#include "app/startup.h"
#include "bench/clock.h"
#include "bench/figures.h"
#include "bench/link_port.h"
#include "bench/panels.h"
#include "link/link.h"
#include "params/panels.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "sim/simulator.h"
#include "ui/RVIMZEL4V14.h"

namespace {

// Live request and answer 36 + 36, four blocks of 36 + 128.
constexpr int kReadoutLineBytes = 72 + 4 * (36 + 128);
constexpr int kRuns = 5;
constexpr int kNormalisedSource = 1;

// One readout; its wall time in seconds, or -1 when a block did not arrive.
double TimeOneReadout() {
  std::strcpy(szStatus, "");
  const double start = WallSeconds();
  CC_BTNData(panelHandle, PANEL_BTNDATA, EVENT_COMMIT, nullptr, 0, 0);
  const double took = WallSeconds() - start;
  return std::strcmp(szStatus, "Data[64] block received!") == 0 ? took : -1;
}

double MedianReadoutSeconds() {
  std::array<double, kRuns> times{};
  for (double &time : times) {
    time = TimeOneReadout();
    if (time < 0) return -1;
  }
  std::sort(times.begin(), times.end());
  return times[kRuns / 2];
}

}  // namespace

double DataReadoutSeconds() {
  sim::Simulator simulator(sim::Pacing::Line);
  if (!simulator.start() || !PanelsReady()) return -1;
  const int port = PortTableAddDevice(simulator.slavePath());
  if (port < 0 || OpenLinkPortForBench(port) < 0) return -1;
  const int previousCom = com;
  com = port;
  SetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, kNormalisedSource);
  const double seconds = MedianReadoutSeconds();
  const bool allRequests = simulator.requestCount() == 5 * kRuns;
  CloseCom(port);
  com = previousCom;
  return allRequests ? seconds : -1;
}

double DataReadoutLineMinimumSeconds() {
  return kReadoutLineBytes / kLineBytesPerSecond;
}
