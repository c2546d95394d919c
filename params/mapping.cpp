// Copies the whole parameter set between the variables and the panel controls.
// The read and write orders differ on the popup; both are kept as the panels
// have always been handled.
#include <cstdio>

#include "link/link.h"
#include "params/params.h"
#include "platform/ui/userint.h"
#include "ui/RVIMZEL4V14.h"

namespace {

// A mode the selector has no item for gets one, so that the value the
// controller holds is shown and read back unchanged instead of being lost.
void ShowModeValue(int control, uint16_t mode) {
  if (SetCtrlVal(panelPopUp, control, mode) == 0) return;
  char label[16];
  std::snprintf(label, sizeof label, "%u: unknown", static_cast<unsigned>(mode));
  InsertListItem(panelPopUp, control, -1, label, mode);
  SetCtrlVal(panelPopUp, control, mode);
}

}  // namespace

void GetPanelValues() {
  GetCtrlVal(panelHandle, PANEL_POWERA, &powerA);
  GetCtrlVal(panelHandle, PANEL_POWERB, &powerB);
  GetCtrlVal(panelHandle, PANEL_REFA, &refA);
  GetCtrlVal(panelHandle, PANEL_REFB, &refB);
  GetCtrlVal(panelHandle, PANEL_TOLA, &tolA);
  GetCtrlVal(panelHandle, PANEL_TOLB, &tolB);
  GetCtrlVal(panelHandle, PANEL_HYSTERESIS, &hysteresis);
  GetCtrlVal(panelHandle, PANEL_HWMODE, &hwmode);
  GetCtrlVal(panelPopUp, POPUP_MAXMODE, &maxmode);
  GetCtrlVal(panelPopUp, POPUP_AVERAGE, &average);
  GetCtrlVal(panelPopUp, POPUP_POLARITY, &polarity);
  GetCtrlVal(panelPopUp, POPUP_HOLD, &hold);
  GetCtrlVal(panelPopUp, POPUP_DROP_EVALMODE, &evalmode);
  GetCtrlVal(panelPopUp, POPUP_TRIGLVLA, &triglvlA);
  GetCtrlVal(panelPopUp, POPUP_TRIGLVLB, &triglvlB);
  GetCtrlVal(panelPopUp, POPUP_DROPTRIGMODE, &trigmode);
  GetCtrlVal(panelPopUp, POPUP_SDELAY, &sdelay);
  GetCtrlVal(panelPopUp, POPUP_OUTMODE, &outmode);
  GetCtrlVal(panelPopUp, POPUP_ANAMODE, &anamode);
  ShowModeTexts();
}

void SetPanelValues() {
  SetCtrlVal(panelHandle, PANEL_POWERA, powerA);
  SetCtrlVal(panelHandle, PANEL_POWERB, powerB);
  SetCtrlVal(panelHandle, PANEL_REFA, refA);
  SetCtrlVal(panelHandle, PANEL_REFB, refB);
  SetCtrlVal(panelHandle, PANEL_TOLA, tolA);
  SetCtrlVal(panelHandle, PANEL_TOLB, tolB);
  SetCtrlVal(panelHandle, PANEL_HYSTERESIS, hysteresis);
  SetCtrlVal(panelHandle, PANEL_HWMODE, hwmode);
  SetCtrlVal(panelPopUp, POPUP_MAXMODE, maxmode);
  SetCtrlVal(panelPopUp, POPUP_AVERAGE, average);
  ShowModeValue(POPUP_DROP_EVALMODE, evalmode);
  SetCtrlVal(panelPopUp, POPUP_TRIGLVLA, triglvlA);
  SetCtrlVal(panelPopUp, POPUP_TRIGLVLB, triglvlB);
  SetCtrlVal(panelPopUp, POPUP_POLARITY, polarity);
  SetCtrlVal(panelPopUp, POPUP_HOLD, hold);
  SetCtrlVal(panelPopUp, POPUP_OUTMODE, outmode);
  ShowModeValue(POPUP_DROPTRIGMODE, trigmode);
  SetCtrlVal(panelPopUp, POPUP_SDELAY, sdelay);
  SetCtrlVal(panelPopUp, POPUP_ANAMODE, anamode);
  ShowModeTexts();
}
