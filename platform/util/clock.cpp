// Clock of the run-time: the steady clock in seconds plus a test offset, and a
// plain sleep.
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/util/clockseam.h"
#include "platform/util/utility.h"

namespace {

// Read by Timer() on any thread (the simulator runs on one of its own).
std::atomic<double> gTestOffsetSeconds{0.0};
std::atomic<bool> gSeamInUse{false};

}  // namespace

double Timer(void) {
  const auto sinceOrigin = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(sinceOrigin).count() + gTestOffsetSeconds.load();
}

int Delay(double seconds) {
  if (!(seconds > 0.0)) return 0;
  // sleep_for resumes after signals, so the whole pause is kept.
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  return 0;
}

void AdvanceTimerForTest(double seconds) {
  gSeamInUse.store(true);
  double current = gTestOffsetSeconds.load();
  while (!gTestOffsetSeconds.compare_exchange_weak(current, current + seconds)) {
  }
}

void ResetTimerForTest() {
  gSeamInUse.store(true);
  gTestOffsetSeconds.store(0.0);
}

bool TimerSeamInUse() {
  return gSeamInUse.load(std::memory_order_relaxed);
}
