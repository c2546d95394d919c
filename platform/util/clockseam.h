// Test seam of the run-time clock: moves Timer() forward without waiting, so
// tests can reach whole-second wrap-around or long time-outs at once.
#pragma once

// Adds seconds to the offset that Timer() returns on top of the steady clock.
void AdvanceTimerForTest(double seconds);
// Sets the offset back to 0.
void ResetTimerForTest();
// True once either call above has run: a wait that sleeps until a Timer()
// deadline then wakes often enough to see the clock jump.
bool TimerSeamInUse();
