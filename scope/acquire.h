// The live scope's Run/Stop loop and its flags.
#pragma once

extern int stop_flag;  // 1: no loop may run / stop requested; 0: a loop runs
extern int type;       // chart the loop refreshes: 0 raw, 1 normalised

void FlushBothQueues();
// First request of a run: "Line Ok!" once all 36 bytes are written.
void SendFirstLiveRequest();
// The request after an answer; restarts the answer stopwatch (tstart).
void SendNextLiveRequest();
