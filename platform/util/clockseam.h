// Test seam of the run-time clock: moves Timer() forward without waiting, so
// tests can reach whole-second wrap-around or long time-outs at once, or
// holds it still.
#pragma once

// Adds seconds to the offset that Timer() returns on top of the steady clock.
void AdvanceTimerForTest(double seconds);
// Holds Timer() at its present reading (advances still add) until thawed:
// no wait can then run out of time, so a wait that ends did so for another
// reason. Thawing lets it go on from the steady clock again.
void FreezeTimerForTest();
void ThawTimerForTest();
// Thaws and sets the offset back to 0.
void ResetTimerForTest();
