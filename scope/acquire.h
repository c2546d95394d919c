// The live scope's Run/Stop loop and its flags.
#pragma once

extern int stop_flag;  // 1: no loop may run / stop requested; 0: a loop runs
extern int type;       // chart the loop refreshes: 0 raw, 1 normalised
