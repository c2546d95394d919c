#include "tests/support/test_clock.h"

#include <atomic>
#include <chrono>
#include <cstdint>

#include "platform/util/clockseam.h"

namespace {

// Read by Timer() on any thread (the simulator runs on one of its own).
std::atomic<double> gOffsetSeconds{0.0};
std::atomic<bool> gFrozen{false};
std::atomic<double> gFrozenSteadySeconds{0.0};

// The steady clock at the program's last two reads of Timer().
using Steady = std::chrono::steady_clock;
std::atomic<int64_t> gPreviousRead{0};
std::atomic<int64_t> gLastRead{0};
// Reads further apart than this are not one wait's polling: its slices are
// 10 ms, and the window-system look may add as much again.
constexpr auto kPollGap = std::chrono::milliseconds(30);

int64_t Ticks(Steady::time_point t) {
  return t.time_since_epoch().count();
}

void NoteRead() {
  gPreviousRead.store(gLastRead.exchange(Ticks(Steady::now())));
}

double TestTimer() {
  NoteRead();
  const double base = gFrozen.load() ? gFrozenSteadySeconds.load() : SteadyClockSeconds();
  return base + gOffsetSeconds.load();
}

void Install() {
  SetTimerSourceForTest(TestTimer);
}

}  // namespace

void InstallTestTimer() {
  Install();
}

bool TimerPolledSince(Steady::time_point since) {
  const int64_t previous = gPreviousRead.load();
  const int64_t last = gLastRead.load();
  return previous >= Ticks(since) && last >= previous &&
         last - previous <= Ticks(Steady::time_point(kPollGap));
}

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
  gOffsetSeconds.store(0.0);  // left in place: a simulator may still watch its reads
}
