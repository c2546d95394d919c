// Controls as screen readers present them.
#pragma once

// Gives the control an accessible name (e.g. "Reference, channel A") and its
// control name (e.g. "PANEL_REFA") as accessible description. Returns 0 or a
// negative UIE_ error.
int SetCtrlAccessibleName(int panel, int control, const char *name);
// Makes the Tab key go through the panel's controls in the order they are
// laid out: within each group and on the panel itself top to bottom, then
// left to right; a group's controls follow one another. Returns 0 or a
// negative UIE_ error.
int SetPanelTabOrderByLayout(int panel);
