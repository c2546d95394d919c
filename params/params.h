// Module params. Parameter panel mapping: the parameter variables to and from the controls
// of both panels, the mode texts of the main panel, and the coupling of the
// evaluation-mode and trigger-mode selectors.
#pragma once

#include <cstdint>

#include "params/panels.h"

// Controls to variables, then the mode texts.
void GetPanelValues();
// Variables to controls, then the mode texts.
void SetPanelValues();
// Rewrites the four mode text boxes from trigmode, evalmode, anamode, outmode.
void ShowModeTexts();

// Edit marks. The values the variables of a set (0 full, 1 channel B) now
// hold are what the controller or the parameter file holds: an input whose
// value differs from them is marked until a transfer moves it again.
enum { kHeldByController = 0, kHeldByFile = 1 };
void MarkSetHeld(uint16_t paraset, int holder);
// MarkSetHeld(paraset, kHeldByController) when the read just made was
// answered (rx_flag).
void MarkAnsweredSetHeld(uint16_t paraset);

// The words the system holds for each mode value.
const char *TrigModeText(uint16_t mode);
const char *EvalModeText(uint16_t mode);
const char *AnaModeText(uint16_t mode);
const char *OutModeText(uint16_t mode);

// Callbacks of the mode selectors, the storage target, Send/Get and the
// teach, reset and refresh commands.
int CC_DROP_EvalMode(int panel, int control, int event, void *callbackData, int eventData1,
                     int eventData2);
int CC_DropTrigmode(int panel, int control, int event, void *callbackData, int eventData1,
                    int eventData2);
int CC_RBTRam(int panel, int control, int event, void *callbackData, int eventData1,
              int eventData2);
int CC_RBTEeprom(int panel, int control, int event, void *callbackData, int eventData1,
                 int eventData2);
int CC_RBTFile(int panel, int control, int event, void *callbackData, int eventData1,
               int eventData2);
int CC_BTNSend(int panel, int control, int event, void *callbackData, int eventData1,
               int eventData2);
int CC_BTNGet(int panel, int control, int event, void *callbackData, int eventData1,
              int eventData2);
int CC_ButtonTeach(int panel, int control, int event, void *callbackData, int eventData1,
                   int eventData2);
int CC_ButtonReset(int panel, int control, int event, void *callbackData, int eventData1,
                   int eventData2);
int CC_ButtonRefresh(int panel, int control, int event, void *callbackData, int eventData1,
                     int eventData2);
