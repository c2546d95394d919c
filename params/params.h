// Parameter panel mapping: the parameter variables to and from the controls
// of both panels, the mode texts of the main panel, and the coupling of the
// evaluation-mode and trigger-mode selectors.
#pragma once

#include <cstdint>

#include "app/callbacks.h"  // CC_DROP_EvalMode, CC_DropTrigmode
#include "params/panels.h"

// Controls to variables, then the mode texts.
void GetPanelValues();
// Variables to controls, then the mode texts.
void SetPanelValues();
// Rewrites the four mode text boxes from trigmode, evalmode, anamode, outmode.
void ShowModeTexts();

// The words the system holds for each mode value.
const char *TrigModeText(uint16_t mode);
const char *EvalModeText(uint16_t mode);
const char *AnaModeText(uint16_t mode);
const char *OutModeText(uint16_t mode);
