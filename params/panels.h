// Handles and paths that start-up sets and every panel routine reads. The main
// panel's handle, panelHandle, comes with the device link (link/link.h).
#pragma once

#include <cstdint>

extern int panelPopUp;        // handle of the second panel (POPUP)
extern char proj_dir[260];    // the program's directory
extern char file_name[260];   // parameter file path
extern uint16_t xArray[256];  // abscissa of the data curves: 0, 1, ..., 255
