// Run-time operations that only tests use: the port table's size, a device
// put at a fixed port number, and the item count of a ring.
#pragma once

#include <string>

// Entries the port table lists now.
int PortTableCount();
// Puts a device path at a given port number, in place of whatever the number
// held (a detected device, an added path or the demo), so that a simulated
// controller can sit at the program's default port 1. Returns the number, or a
// negative result for an empty path or a number out of range.
int PortTableAssign(int number, const std::string &devicePath);
// Items of a ring or drop-down; 0 or a negative UIE_ error.
int GetNumListItems(int panel, int control, int *count);
