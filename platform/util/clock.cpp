// Clock of the run-time: the steady clock in seconds (or a test's clock in
// its place), and a sleep that the end of the waits cuts short.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/util/clockseam.h"
#include "platform/util/utility.h"

namespace {

constexpr std::chrono::milliseconds kDelaySlice{5};

std::atomic<TimerSource> gTimerSource{nullptr};

}  // namespace

double SteadyClockSeconds() {
  const auto sinceOrigin = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(sinceOrigin).count();
}

void SetTimerSourceForTest(TimerSource source) {
  gTimerSource.store(source);
}

double Timer(void) {
  const TimerSource source = gTimerSource.load();
  return source != nullptr ? source() : SteadyClockSeconds();
}

// In slices, so that the end of the waits cuts a pause short.
int Delay(double seconds) {
  if (!(seconds > 0.0)) return 0;
  using Clock = std::chrono::steady_clock;
  const auto until = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(seconds));
  while (WaitsEnded() == 0) {
    const auto left = until - Clock::now();
    if (left <= Clock::duration::zero()) break;
    // sleep_for resumes after signals, so the whole pause is kept.
    std::this_thread::sleep_for(std::min<Clock::duration>(left, kDelaySlice));
  }
  return 0;
}
