// Brand banner of the main panel, its info texts, and the toggle that shows
// and hides the second panel.
#pragma once

// The program's own name and version; start-up fills them before ShowLogo.
extern char szSoftname[64];
extern char szSoftversion[64];

// Dresses the banner for a brand 0..6; 5 and anything outside 0..6 change nothing.
void ShowLogo(int brand);
// Creates one bold text on the main panel at (left, top), colours 0xRRGGBB.
void ShowInfoText(int bgColor, int textColor, const char *text, int left, int top, int pointSize);

// Shows or hides the second panel.
int CC_TOGBTNparaII(int panel, int control, int event, void *callbackData, int eventData1,
                    int eventData2);
