// Figures of the event loop.
#include "bench/clock.h"
#include "bench/figures.h"
#include "platform/ui/userint.h"

double IdleLoopCpuPercent() {
  constexpr double kSeconds = 2.0;
  const double wallStart = WallSeconds();
  const double cpuStart = CpuSeconds();
  while (WallSeconds() - wallStart < kSeconds) ProcessSystemEvents();
  const double wall = WallSeconds() - wallStart;
  return 100.0 * (CpuSeconds() - cpuStart) / wall;
}
