// Module scope: the callbacks of the live scope; its parts are declared in
// acquire.h, history.h and plots.h.
#pragma once

// Run/Stop of the live loop, the graph source and the power switch.
int CC_BTNRun(int panel, int control, int event, void *callbackData, int eventData1,
              int eventData2);
int CC_BTNStop(int panel, int control, int event, void *callbackData, int eventData1,
               int eventData2);
int CC_RNGGraphSource(int panel, int control, int event, void *callbackData, int eventData1,
                      int eventData2);
int CC_BINSWpower(int panel, int control, int event, void *callbackData, int eventData1,
                  int eventData2);
