// Edited, not sent: each parameter input is compared with the value the
// controller (or the parameter file) last held for it, i.e. the value last
// read, sent or loaded. An input the operator has changed away from it is
// tinted, and its tooltip says what the controller holds.
#include <cstdio>

#include "link/link.h"
#include "params/params.h"
#include "platform/ui/userint.h"
#include "ui/RVIMZEL4V14.h"

namespace {

struct ParameterInput {
  uint16_t *variable;
  bool onPopup;
  int control;
  uint16_t set;  // 0 full set, 1 channel-B set
};

const ParameterInput kInputs[] = {
    {&powerA, false, PANEL_POWERA, 0},
    {&powerB, false, PANEL_POWERB, 1},
    {&refA, false, PANEL_REFA, 0},
    {&refB, false, PANEL_REFB, 1},
    {&tolA, false, PANEL_TOLA, 0},
    {&tolB, false, PANEL_TOLB, 1},
    {&hysteresis, false, PANEL_HYSTERESIS, 0},
    {&hwmode, false, PANEL_HWMODE, 0},
    {&maxmode, true, POPUP_MAXMODE, 0},
    {&average, true, POPUP_AVERAGE, 0},
    {&polarity, true, POPUP_POLARITY, 0},
    {&hold, true, POPUP_HOLD, 0},
    {&evalmode, true, POPUP_DROP_EVALMODE, 0},
    {&triglvlA, true, POPUP_TRIGLVLA, 0},
    {&triglvlB, true, POPUP_TRIGLVLB, 1},
    {&trigmode, true, POPUP_DROPTRIGMODE, 0},
    {&sdelay, true, POPUP_SDELAY, 0},
    {&outmode, true, POPUP_OUTMODE, 0},
    {&anamode, true, POPUP_ANAMODE, 0},
};

}  // namespace

void MarkSetHeld(uint16_t paraset, int holder) {
  const uint16_t set = paraset == 0 ? 0 : 1;
  const char *who = holder == kHeldByFile ? "file" : "controller";
  for (const ParameterInput &input : kInputs) {
    if (input.set != set) continue;
    const int panel = input.onPopup ? panelPopUp : panelHandle;
    char line[48];
    std::snprintf(line, sizeof line, "%s holds %u", who, static_cast<unsigned>(*input.variable));
    SetCtrlAttribute(panel, input.control, ATTR_MARK_TEXT, line);
    SetCtrlAttribute(panel, input.control, ATTR_MARK_REFERENCE, *input.variable);
  }
}

void MarkAnsweredSetHeld(uint16_t paraset) {
  if (rx_flag == 1) MarkSetHeld(paraset, kHeldByController);
}
