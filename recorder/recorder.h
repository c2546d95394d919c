// Module recorder: total recording time, the choice of the record file and
// the recording run.
#pragma once

#include "platform/ui/userint.h"

// Path of the record file.
extern char recfile_name[kMaxPathname];

// Shows interval x sample count as days, hours, minutes, seconds on the popup
// and resets the row count shown there.
void CalcRecTime();

// Recording time, record file and Start/Stop of the recording run.
int CC_NEDITRecTime(int panel, int control, int event, void *callbackData, int eventData1,
                    int eventData2);
int CC_NEDITRecSamples(int panel, int control, int event, void *callbackData, int eventData1,
                       int eventData2);
int CC_RecordFileNameBtn(int panel, int control, int event, void *callbackData, int eventData1,
                         int eventData2);
int CC_BTNStartRecord(int panel, int control, int event, void *callbackData, int eventData1,
                      int eventData2);
int CC_BTNStopRecord(int panel, int control, int event, void *callbackData, int eventData1,
                     int eventData2);
