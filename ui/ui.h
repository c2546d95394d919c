// Handles of the program's two panels, PANEL and POPUP, that start-up loads
// and every panel routine reads.
#pragma once

extern int panelHandle;  // the main panel
extern int panelPopUp;   // the second panel
