// rvim_bench [figure]: measures each figure (or the one named) and prints
// "name: value" lines. "rvim_bench soak" runs the long soak instead.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/figures.h"
#include "bench/soak.h"
#include "platform/ui/userint.h"

namespace {

constexpr Figure kFigures[] = {
    {"idle_loop_cpu_percent", IdleLoopCpuPercent},
    {"pty_bytes_per_second_line_paced", PtyBytesPerSecondLinePaced},
    {"startup_read_seconds", StartupReadSeconds},
    {"startup_read_line_minimum_seconds", StartupReadLineMinimumSeconds},
    {"record_row_write_ms_fsync", RecordRowWriteMsFsync},
    {"record_row_write_ms_nosync", RecordRowWriteMsNoSync},
    {"record_rows_per_second", RecordRowsPerSecond},
    {"record_share_of_line_limit", RecordShareOfLineLimit},
    {"live_answers_per_second_line_paced", LiveAnswersPerSecondLinePaced},
    {"live_share_of_line_limit", LiveShareOfLineLimit},
    {"live_cpu_percent_line_paced", LiveCpuPercentLinePaced},
    {"live_answers_per_second_instant", LiveAnswersPerSecondInstant},
    {"live_cycle_ms_instant", LiveCycleMsInstant},
    {"refresh_raw_ms", RefreshRawMs},
    {"refresh_norm_ms", RefreshNormMs},
    {"datamem_readout_seconds", DataReadoutSeconds},
    {"datamem_readout_line_minimum_seconds", DataReadoutLineMinimumSeconds},
};

}  // namespace

int main(int argc, char **argv) {
  const char *only = argc > 1 ? argv[1] : nullptr;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);  // no window is ever shown
  if (InitCVIRTE(nullptr, argv, nullptr) == 0) {
    std::fprintf(stderr, "rvim_bench: cannot start the run-time\n");
    return 1;
  }
  if (only != nullptr && std::strcmp(only, "soak") == 0) return RunSoak();
  bool ran = false;
  for (const Figure &figure : kFigures) {
    if (only != nullptr && std::strcmp(only, figure.name) != 0) continue;
    ran = true;
    std::printf("%s: %.3f\n", figure.name, figure.measure());
    std::fflush(stdout);
  }
  if (!ran) {
    std::fprintf(stderr, "rvim_bench: no figure named %s\n", only);
    return 2;
  }
  return 0;
}
