// The mode texts of the main panel: one line each, replaced whole.
#include "link/link.h"
#include "params/params.h"
#include "platform/ui/userint.h"
#include "ui/RVIMZEL4V14.h"

const char *TrigModeText(uint16_t mode) {
  switch (mode) {
    case 1:
      return "INTERN-CHA-scan128";
    case 2:
      return "TRIG-CHB -> EVAL-CHA";
    case 3:
      return "EXT-IN0-HIGH (cont.)";
    case 4:
      return "EXT-IN0-L/H-scan128";
    default:
      return "CONTINOUS";
  }
}

const char *EvalModeText(uint16_t mode) {
  switch (mode) {
    case 1:
      return "NORM (A & B)";
    case 2:
      return "TRIG-B -> EVAL-A";
    default:
      return "NORM-A: A/Amax";
  }
}

const char *AnaModeText(uint16_t mode) {
  switch (mode) {
    case 1:
      return "MAXIMA-value";
    case 2:
      return "MINIMA-value";
    case 3:
      return "<MAX-MIN>-value";
    default:
      return "DIRECT 0 .. 10V";
  }
}

const char *OutModeText(uint16_t mode) {
  switch (mode) {
    case 1:
      return "BIN:(A->OUT0);(B->OUT1)";
    case 2:
      return "BIN:(A & B) -> OUT0";
    default:
      return "(+)->OUT0; (-)->OUT1";
  }
}

void ShowModeTexts() {
  ReplaceTextBoxLine(panelHandle, PANEL_TRIGMODETEXT, 0, TrigModeText(trigmode));
  ReplaceTextBoxLine(panelHandle, PANEL_EVALMODETEXT, 0, EvalModeText(evalmode));
  ReplaceTextBoxLine(panelHandle, PANEL_ANAMODETEXT, 0, AnaModeText(anamode));
  ReplaceTextBoxLine(panelHandle, PANEL_OUTMODETEXT, 0, OutModeText(outmode));
}
