// The one hook of the run-time clock: where Timer() reads the time. The
// program reads the steady clock; a test may put a clock of its own in its
// place (tests/support/test_clock.h moves it on or holds it still).
#pragma once

// Seconds of the steady clock since its origin.
double SteadyClockSeconds();

// Timer() returns what source returns; nullptr restores the steady clock.
// Read on any thread (the simulator runs on one of its own).
using TimerSource = double (*)();
void SetTimerSourceForTest(TimerSource source);
