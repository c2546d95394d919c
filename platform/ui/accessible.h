// Controls as screen readers present them.
#pragma once

// Gives the control its accessible name (e.g. "Reference, channel A"). A text
// indicator (a text message, or a string or text box the operator cannot edit)
// is read by its text instead: its name is the text it shows, kept current
// whenever the program sets it, and `name` becomes its description, so a
// screen reader says "Timeout RS232-Line!" and not "Status". Returns 0 or a
// negative UIE_ error.
int SetCtrlAccessibleName(int panel, int control, const char *name);
// Makes the control (a text message) read as the status bar of its window, so
// that a screen reader's "read the status bar" command finds it. Returns 0 or
// a negative UIE_ error.
int SetCtrlStatusBarRole(int panel, int control);
// Makes the Tab key go through the panel's controls in the order they are
// laid out: within each group and on the panel itself top to bottom, then
// left to right; a group's controls follow one another. Returns 0 or a
// negative UIE_ error.
int SetPanelTabOrderByLayout(int panel);
