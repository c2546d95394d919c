#include "tests/support/test_clock.h"

#include <atomic>

#include "platform/util/clockseam.h"

namespace {

// Read by Timer() on any thread (the simulator runs on one of its own).
std::atomic<double> gOffsetSeconds{0.0};
std::atomic<bool> gFrozen{false};
std::atomic<double> gFrozenSteadySeconds{0.0};

double TestTimer() {
  const double base = gFrozen.load() ? gFrozenSteadySeconds.load() : SteadyClockSeconds();
  return base + gOffsetSeconds.load();
}

void Install() {
  SetTimerSourceForTest(TestTimer);
}

}  // namespace

void AdvanceTimerForTest(double seconds) {
  Install();
  double current = gOffsetSeconds.load();
  while (!gOffsetSeconds.compare_exchange_weak(current, current + seconds)) {
  }
}

void FreezeTimerForTest() {
  gFrozenSteadySeconds.store(SteadyClockSeconds());
  gFrozen.store(true);
  Install();
}

void ThawTimerForTest() {
  gFrozen.store(false);
}

void ResetTimerForTest() {
  gFrozen.store(false);
  gOffsetSeconds.store(0.0);
  SetTimerSourceForTest(nullptr);
}
