// The built-in demo controller behind the port table's demo entry.
#pragma once

#include <string>

// Starts the simulated controller (once) and returns the device to open.
std::string StartDemoController();
void StopDemoController();
