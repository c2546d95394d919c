// Paths and the curve abscissa that start-up sets and the panel routines read;
// the panels' handles live with the panels (ui/ui.h).
#pragma once

#include <cstdint>

#include "ui/ui.h"  // panelHandle, panelPopUp

extern char proj_dir[260];    // the program's directory
extern char file_name[260];   // parameter file path
extern uint16_t xArray[256];  // abscissa of the data curves: 0, 1, ..., 255
