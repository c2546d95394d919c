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
    {"record_share_of_line_limit_median_cycle", RecordShareOfLineLimitMedianCycle},
    {"live_answers_per_second_line_paced", LiveAnswersPerSecondLinePaced},
    {"live_share_of_line_limit", LiveShareOfLineLimit},
    {"live_share_of_line_limit_median_cycle", LiveShareOfLineLimitMedianCycle},
    {"live_cpu_percent_line_paced", LiveCpuPercentLinePaced},
    {"live_program_cpu_percent_line_paced", LiveProgramCpuPercentLinePaced},
    {"live_share_of_line_limit_monitor_open", LiveShareOfLineLimitMonitorOpen},
    {"live_share_of_line_limit_median_cycle_monitor_open",
     LiveShareOfLineLimitMedianCycleMonitorOpen},
    {"live_program_cpu_percent_monitor_open", LiveProgramCpuPercentMonitorOpen},
    {"live_answers_per_second_instant", LiveAnswersPerSecondInstant},
    {"live_cycle_ms_instant", LiveCycleMsInstant},
    {"refresh_raw_ms", RefreshRawMs},
    {"refresh_norm_ms", RefreshNormMs},
    {"monitor_look_ms", MonitorLookMs},
    {"datamem_readout_seconds", DataReadoutSeconds},
    {"datamem_readout_line_minimum_seconds", DataReadoutLineMinimumSeconds},
};

}  // namespace

bool Named(const char *name, int argc, char **argv) {
  if (argc < 2) return true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return true;
  }
  return false;
}

// No argument: every figure. Arguments: the figures so named, from one run of
// the program (figures of the same run share its measurement).
int main(int argc, char **argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);  // no window is ever shown
  if (InitCVIRTE(nullptr, argv, nullptr) == 0) {
    std::fprintf(stderr, "rvim_bench: cannot start the run-time\n");
    return 1;
  }
  if (argc == 2 && std::strcmp(argv[1], "soak") == 0) return RunSoak();
  int ran = 0;
  for (const Figure &figure : kFigures) {
    if (!Named(figure.name, argc, argv)) continue;
    ++ran;
    std::printf("%s: %.3f\n", figure.name, figure.measure());
    std::fflush(stdout);
  }
  if (argc > 1 && ran != argc - 1) {
    std::fprintf(stderr, "rvim_bench: a named figure is unknown\n");
    return 2;
  }
  return 0;
}
