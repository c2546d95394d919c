// Evaluation mode 2 and trigger mode 2 describe the same way of working, so
// the two selectors only ever show 2 together. Only the selectors change
// here; the variables and the mode texts follow at the next GetPanelValues.
#include <cstdint>

#include "params/params.h"
#include "platform/ui/userint.h"
#include "ui/RVIMZEL4V14.h"

namespace {
constexpr uint16_t kCoupledMode = 2;
}

int CC_DROP_EvalMode(int panel, int, int event, void *, int, int) {
  if (event != EVENT_COMMIT) return 0;
  uint16_t eval = 0;
  uint16_t trig = 0;
  GetCtrlVal(panel, POPUP_DROP_EVALMODE, &eval);
  GetCtrlVal(panel, POPUP_DROPTRIGMODE, &trig);
  if (eval == kCoupledMode) {
    SetCtrlVal(panel, POPUP_DROPTRIGMODE, kCoupledMode);
  } else if (trig == kCoupledMode) {
    SetCtrlVal(panel, POPUP_DROPTRIGMODE, 0);
  }
  return 0;
}

int CC_DropTrigmode(int panel, int, int event, void *, int, int) {
  if (event != EVENT_COMMIT) return 0;
  uint16_t trig = 0;
  uint16_t eval = 0;
  GetCtrlVal(panel, POPUP_DROPTRIGMODE, &trig);
  GetCtrlVal(panel, POPUP_DROP_EVALMODE, &eval);
  if (trig == kCoupledMode) {
    SetCtrlVal(panel, POPUP_DROP_EVALMODE, kCoupledMode);
  } else if (eval == kCoupledMode) {
    SetCtrlVal(panel, POPUP_DROP_EVALMODE, 0);
  }
  return 0;
}
