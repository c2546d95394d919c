// Where a panel window lies on the screen, to put it back there next run.
#pragma once

// The top-left corner of the panel's window frame. Returns 0, or a negative
// UIE_ error for an unknown panel.
int GetPanelPlace(int panel, int *top, int *left);
// Moves the panel's window; a place off every screen is ignored (returns 0
// without moving), so a monitor unplugged since the last run hides nothing.
int SetPanelPlace(int panel, int top, int left);

// Keeps the panel window's place, size and maximised state in the settings
// under `key`: puts the kept ones back now (fitted onto a screen) and writes
// them whenever the window is moved, resized, maximised or hidden. Returns 1
// when kept ones were put back, 0 when there were none, or a negative UIE_
// error for an unknown panel.
int KeepPanelGeometry(int panel, const char *key);
// Writes the control's value (as GetCtrlVal reads it into an int) to the
// settings under `key` whenever the operator changes it. Returns 0, or a
// negative UIE_ error.
int KeepCtrlValue(int panel, int control, const char *key);
