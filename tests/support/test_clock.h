// The tests' clock in the run-time's place: Timer() moves on without waiting
// (whole-second wrap-around, long time-outs at once) or holds still.
#pragma once

#include <chrono>

// Adds seconds to what Timer() returns on top of the steady clock.
void AdvanceTimerForTest(double seconds);
// Holds Timer() at its present reading (advances still add) until thawed:
// no wait can then run out of time, so a wait that ends did so for another
// reason. Thawing lets it go on from the steady clock again.
void FreezeTimerForTest();
void ThawTimerForTest();
// Thaws and sets the offset back to 0.
void ResetTimerForTest();

// Puts the tests' clock in place without moving it.
void InstallTestTimer();
// True when the program has read Timer() twice since `since`, the second
// read soon after the first: it polls a wait that measures its time from
// then on. One read alone may be a log entry's time stamp before a pause.
bool TimerPolledSince(std::chrono::steady_clock::time_point since);
