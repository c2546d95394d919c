// Figures of the device link: the start-up read (echo check, both parameter
// sets from RAM, firmware text) against the line-paced simulator, and the
// least time the bytes of that read need on the line.
#include <algorithm>
#include <array>

#include "bench/clock.h"
#include "bench/figures.h"
#include "bench/link_port.h"
#include "link/link.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "sim/simulator.h"

namespace {

// Echo 36 + 36, two parameter reads 2 x (36 + 36), firmware 36 + 64.
constexpr int kStartupReadLineBytes = 72 + 2 * 72 + 100;

// The simulator's line, opened as start-up opens its port. Returns the port
// number, or -1.
int OpenStartupPort(const sim::Simulator &simulator) {
  const int port = PortTableAddDevice(simulator.slavePath());
  if (port < 0 || OpenLinkPortForBench(port) < 0) return -1;
  return port;
}

// One start-up read; its wall time in seconds, or -1 when a step failed.
double TimeOneStartupRead() {
  const double start = WallSeconds();
  if (CheckComLine(com) != 1) return -1;
  PushGET(RAM, 0);
  if (rx_flag != 1) return -1;
  PushGET(RAM, 1);
  if (rx_flag != 1) return -1;
  if (GetVERSIONInfo() != 64) return -1;
  return WallSeconds() - start;
}

}  // namespace

double StartupReadSeconds() {
  constexpr int kRuns = 5;
  sim::Simulator simulator(sim::Pacing::Line);
  if (!simulator.start()) return -1;
  com = OpenStartupPort(simulator);
  if (com < 0) return -1;
  std::array<double, kRuns> times{};
  for (double &time : times) {
    time = TimeOneStartupRead();
    if (time < 0) break;
  }
  CloseCom(com);
  if (*std::min_element(times.begin(), times.end()) < 0) return -1;
  std::sort(times.begin(), times.end());
  return times[kRuns / 2];  // the median
}

double StartupReadLineMinimumSeconds() {
  return kStartupReadLineBytes / kLineBytesPerSecond;
}
