// The line monitor: a window beside a panel that shows the line's event
// stream (platform/util/linelog.h) as it happens, one row per event, newest
// at the bottom and followed unless the operator has scrolled up. Pause,
// Clear, a filter by group of events and by order, and "Save log..." (the
// rows shown, as tab-separated text). It stays open while the program runs
// its loops, and costs nothing while hidden.
#pragma once

// Shows the monitor (made on first use, as a window of `panel`) and raises
// it. Returns 0 or a negative UIE_ error.
int DisplayLineMonitor(int panel);
int HideLineMonitor();
// 1 while the monitor is shown.
int LineMonitorVisible();
// Takes in the events that came since the last look: the monitor does this
// itself from the event loop every kLineMonitorPollMs while shown.
void RefreshLineMonitor();
constexpr int kLineMonitorPollMs = 200;
// What "Save log..." did goes to this routine (nullptr: nowhere).
void SetLineMonitorReport(void (*report)(const char *text));
