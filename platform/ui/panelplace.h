// Where a panel window lies on the screen, to put it back there next run.
#pragma once

// The top-left corner of the panel's window frame. Returns 0, or a negative
// UIE_ error for an unknown panel.
int GetPanelPlace(int panel, int *top, int *left);
// Moves the panel's window; a place off every screen is ignored (returns 0
// without moving), so a monitor unplugged since the last run hides nothing.
int SetPanelPlace(int panel, int top, int left);
