// Each input and indicator is named by its row label and, where the panel
// has one column per channel, by its channel; buttons are named by their
// text already.
#include "app/accessible.h"

#include "link/link.h"
#include "params/panels.h"
#include "platform/ui/accessible.h"
#include "ui/RVIMZEL4V14.h"

namespace {

struct AccessibleName {
  bool onPopup;
  int control;
  const char *name;
};

constexpr AccessibleName kNames[] = {
    {false, PANEL_POWERA, "Power, channel A"},
    {false, PANEL_POWERB, "Power, channel B"},
    {false, PANEL_BINSWPOWER, "Power shown: channel A when checked, channel B when clear"},
    {false, PANEL_REFA, "Reference, channel A"},
    {false, PANEL_REFB, "Reference, channel B"},
    {false, PANEL_TOLA, "Tolerance, channel A"},
    {false, PANEL_TOLB, "Tolerance, channel B"},
    {false, PANEL_HYSTERESIS, "Hysteresis"},
    {false, PANEL_HWMODE, "HW mode"},
    {false, PANEL_TRIGMODETEXT, "Trigger mode"},
    {false, PANEL_EVALMODETEXT, "Evaluation"},
    {false, PANEL_ANAMODETEXT, "Analogue out"},
    {false, PANEL_OUTMODETEXT, "Outputs"},
    {false, PANEL_DROPDCOM, "Serial port"},
    {false, PANEL_RBTRAM, "Store in RAM"},
    {false, PANEL_RBTEEPROM, "Store in EEPROM"},
    {false, PANEL_RBTFILE, "Store in file"},
    {false, PANEL_RNGGRAPHSOURCE, "Graph source"},
    {false, PANEL_RAWCHART, "Raw ADC values, channels A and B"},
    {false, PANEL_NORMCHART, "Normalised values"},
    {false, PANEL_DATAGRAPH, "Data memory curves"},
    {false, PANEL_VALA, "Normalised, channel A"},
    {false, PANEL_ADCA, "ADC, channel A"},
    {false, PANEL_AMAX, "Amax, channel A"},
    {false, PANEL_MAXVALA, "Max value, channel A"},
    {false, PANEL_MINVALA, "Min value, channel A"},
    {false, PANEL_VALB, "Normalised, channel B"},
    {false, PANEL_ADCB, "ADC, channel B"},
    {false, PANEL_BMAX, "Bmax, channel B"},
    {false, PANEL_MAXVALB, "Max value, channel B"},
    {false, PANEL_MINVALB, "Min value, channel B"},
    {false, PANEL_IN0VAL, "Input 0"},
    {false, PANEL_IN1VAL, "Input 1"},
    {false, PANEL_STATUS, "Status"},
    {true, POPUP_AVERAGE, "Average"},
    {true, POPUP_HOLD, "Hold"},
    {true, POPUP_POLARITY, "Polarity"},
    {true, POPUP_MAXMODE, "Max mode"},
    {true, POPUP_SDELAY, "Delay"},
    {true, POPUP_TRIGLVLA, "Trigger level, channel A"},
    {true, POPUP_TRIGLVLB, "Trigger level, channel B"},
    {true, POPUP_OUTMODE, "Output mode"},
    {true, POPUP_ANAMODE, "Analogue mode"},
    {true, POPUP_DROP_EVALMODE, "Evaluation mode"},
    {true, POPUP_DROPTRIGMODE, "Trigger mode"},
    {true, POPUP_NEDITRECTIME, "Recording interval in seconds"},
    {true, POPUP_NEDITRECSAMPLES, "Rows to record"},
    {true, POPUP_RECDAY, "Total recording time, days"},
    {true, POPUP_RECHOUR, "Total recording time, hours"},
    {true, POPUP_RECMIN, "Total recording time, minutes"},
    {true, POPUP_RECSEC, "Total recording time, seconds"},
    {true, POPUP_RECCOUNT, "Rows written"},
    {true, POPUP_RECFILENAME, "Record file"},
    {true, POPUP_RECSTATE, "Recorder state"},
};

}  // namespace

void NameControlsForScreenReaders() {
  for (const AccessibleName &n : kNames) {
    SetCtrlAccessibleName(n.onPopup ? panelPopUp : panelHandle, n.control, n.name);
  }
  SetPanelTabOrderByLayout(panelHandle);
  SetPanelTabOrderByLayout(panelPopUp);
}
