// Clocks for the figures: wall time, the CPU time of the whole process and of
// the calling thread.
#pragma once

#include <time.h>

inline double secondsOf(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}
inline double WallSeconds() {
  return secondsOf(CLOCK_MONOTONIC);
}
inline double CpuSeconds() {
  return secondsOf(CLOCK_PROCESS_CPUTIME_ID);
}
inline double ThreadCpuSeconds() {
  return secondsOf(CLOCK_THREAD_CPUTIME_ID);
}
