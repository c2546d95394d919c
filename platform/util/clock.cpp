// Clock of the run-time: the steady clock in seconds plus a test offset (or
// held still by a test), and a sleep that the end of the waits cuts short.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/util/clockseam.h"
#include "platform/util/utility.h"

namespace {

constexpr std::chrono::milliseconds kDelaySlice{5};

// Read by Timer() on any thread (the simulator runs on one of its own).
std::atomic<double> gTestOffsetSeconds{0.0};
std::atomic<bool> gFrozen{false};
std::atomic<double> gFrozenSteadySeconds{0.0};

double SteadySeconds() {
  const auto sinceOrigin = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(sinceOrigin).count();
}

}  // namespace

double Timer(void) {
  const double base = gFrozen.load() ? gFrozenSteadySeconds.load() : SteadySeconds();
  return base + gTestOffsetSeconds.load();
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

void AdvanceTimerForTest(double seconds) {
  double current = gTestOffsetSeconds.load();
  while (!gTestOffsetSeconds.compare_exchange_weak(current, current + seconds)) {
  }
}

void FreezeTimerForTest() {
  gFrozenSteadySeconds.store(SteadySeconds());
  gFrozen.store(true);
}

void ThawTimerForTest() {
  gFrozen.store(false);
}

void ResetTimerForTest() {
  gFrozen.store(false);
  gTestOffsetSeconds.store(0.0);
}
