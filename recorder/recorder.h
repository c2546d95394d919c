// Module popup, time part: total recording time and the choice of the record file.
#pragma once

#include "app/callbacks.h"  // CC_NEDITRecTime, CC_NEDITRecSamples, CC_RecordFileNameBtn
#include "platform/userint.h"

// Path of the record file.
extern char recfile_name[kMaxPathname];

// Shows interval x sample count as days, hours, minutes, seconds on the popup
// and resets the row count shown there.
void CalcRecTime();
