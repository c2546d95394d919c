// Each input and indicator is named by its row label and, where the panel
// has one column per channel, by its channel; buttons are named by their
// text already. Inputs, live values and charts carry a help text: what the
// value means, the range its control takes and its unit where the panels
// name one (a caption, an axis name). The same text is the tooltip and what
// a screen reader gives as description.
#include "app/accessible.h"

#include <cstdio>

#include "params/panels.h"
#include "platform/ui/accessible.h"
#include "platform/ui/userint.h"
#include "ui/RVIMZEL4V14.h"

namespace {

struct ControlText {
  bool onPopup;
  int control;
  const char *name;
  const char *help;  // nullptr: none (text indicators read out their text)
  const char *unit;  // after the range; nullptr: the control has no range
};

constexpr char kDigits[] = "digits";
constexpr char kNoUnit[] = "";
constexpr char kChartMenu[] =
    "Right click, the Menu key or Shift+F10: autoscale, save image, save data";

constexpr ControlText kTexts[] = {
    {false, PANEL_POWERA, "Power, channel A", "Power setting of channel A", kNoUnit},
    {false, PANEL_POWERB, "Power, channel B", "Power setting of channel B", kNoUnit},
    {false, PANEL_BINSWPOWER, "Power shown: channel A when checked, channel B when clear",
     "Checked: the power of channel A is shown; clear: the power of channel B", nullptr},
    {false, PANEL_REFA, "Reference, channel A", "Reference value (setpoint) of channel A", kDigits},
    {false, PANEL_REFB, "Reference, channel B", "Reference value (setpoint) of channel B", kDigits},
    {false, PANEL_TOLA, "Tolerance, channel A",
     "Tolerance about the reference, channel A; during a run or recording, the tolerance in use",
     kDigits},
    {false, PANEL_TOLB, "Tolerance, channel B",
     "Tolerance about the reference, channel B; during a run or recording, the tolerance in use",
     kDigits},
    {false, PANEL_HYSTERESIS, "Hysteresis", "Hysteresis", kDigits},
    {false, PANEL_HWMODE, "HW mode",
     "Hardware mode; the band of the normalised chart takes separate tolerances for A and B "
     "with 0 and 2, the controller's common tolerance with any other value",
     kNoUnit},
    {false, PANEL_TRIGMODETEXT, "Trigger mode", nullptr, nullptr},
    {false, PANEL_EVALMODETEXT, "Evaluation", nullptr, nullptr},
    {false, PANEL_ANAMODETEXT, "Analogue out", nullptr, nullptr},
    {false, PANEL_OUTMODETEXT, "Outputs", nullptr, nullptr},
    {false, PANEL_DROPDCOM, "Serial port",
     "Serial port of the controller; choosing one opens it and reads the controller's "
     "parameters and firmware text",
     nullptr},
    {false, PANEL_RBTRAM, "Store in RAM", "Send and Get use the controller's RAM", nullptr},
    {false, PANEL_RBTEEPROM, "Store in EEPROM", "Send and Get use the controller's EEPROM",
     nullptr},
    {false, PANEL_RBTFILE, "Store in file",
     "Send writes and Get reads a parameter file on this computer", nullptr},
    {false, PANEL_RNGGRAPHSOURCE, "Graph source",
     "What Run and the recorder draw and Read data memory reads: 0 raw ADC values A and B, "
     "1 normalised values A and B, 2 channel A in its tolerance band, 3 channel B in its band",
     kNoUnit},
    {false, PANEL_RAWCHART, "Raw ADC values, channels A and B", kChartMenu, nullptr},
    {false, PANEL_NORMCHART, "Normalised values", kChartMenu, nullptr},
    {false, PANEL_DATAGRAPH, "Data memory curves", kChartMenu, nullptr},
    {false, PANEL_VALA, "Normalised, channel A",
     "Normalised value of channel A, 1000 x A / Amax; after Read data memory, the minimum "
     "value of channel A",
     kNoUnit},
    {false, PANEL_ADCA, "ADC, channel A", "Raw ADC value of channel A", "ADC units"},
    {false, PANEL_AMAX, "Amax, channel A", "Maximum of channel A, the Amax of the normalisation",
     kNoUnit},
    {false, PANEL_MAXVALA, "Max value, channel A", "Maximum value of channel A", kNoUnit},
    {false, PANEL_MINVALA, "Min value, channel A", "Minimum value of channel A", kNoUnit},
    {false, PANEL_VALB, "Normalised, channel B",
     "Normalised value of channel B, on the scale of channel A; after Read data memory, the "
     "minimum value of channel B",
     kNoUnit},
    {false, PANEL_ADCB, "ADC, channel B", "Raw ADC value of channel B", "ADC units"},
    {false, PANEL_BMAX, "Bmax, channel B", "Maximum of channel B", kNoUnit},
    {false, PANEL_MAXVALB, "Max value, channel B", "Maximum value of channel B", kNoUnit},
    {false, PANEL_MINVALB, "Min value, channel B", "Minimum value of channel B", kNoUnit},
    {false, PANEL_IN0VAL, "Input 0", "Value of input 0", kNoUnit},
    {false, PANEL_IN1VAL, "Input 1", "Value of input 1", kNoUnit},
    {false, PANEL_STATUS, "Status", nullptr, nullptr},
    {true, POPUP_AVERAGE, "Average", "Averaging depth", kNoUnit},
    {true, POPUP_HOLD, "Hold", "Hold time", kNoUnit},
    {true, POPUP_POLARITY, "Polarity", "Output polarity", kNoUnit},
    {true, POPUP_MAXMODE, "Max mode", "Maximum mode", kNoUnit},
    {true, POPUP_SDELAY, "Delay", "Delay value", kNoUnit},
    {true, POPUP_TRIGLVLA, "Trigger level, channel A", "Trigger level of channel A", kNoUnit},
    {true, POPUP_TRIGLVLB, "Trigger level, channel B", "Trigger level of channel B", kNoUnit},
    {true, POPUP_OUTMODE, "Output mode",
     "Output mode: 1 BIN:(A->OUT0);(B->OUT1), 2 BIN:(A & B) -> OUT0, any other value "
     "(+)->OUT0; (-)->OUT1",
     kNoUnit},
    {true, POPUP_ANAMODE, "Analogue mode",
     "Analogue output mode: 1 MAXIMA-value, 2 MINIMA-value, 3 <MAX-MIN>-value, any other "
     "value DIRECT 0 .. 10V",
     kNoUnit},
    {true, POPUP_DROP_EVALMODE, "Evaluation mode",
     "Evaluation mode; mode 2 (TRIG-B -> EVAL-A) goes with trigger mode 2", kNoUnit},
    {true, POPUP_DROPTRIGMODE, "Trigger mode",
     "Trigger mode; mode 2 (TRIG-CHB -> EVAL-CHA) goes with evaluation mode 2", kNoUnit},
    {true, POPUP_NEDITRECTIME, "Recording interval in seconds",
     "Recording interval: one row of the record file per interval", "seconds"},
    {true, POPUP_NEDITRECSAMPLES, "Rows to record", "Rows a recording writes to the record file",
     "rows"},
    {true, POPUP_RECDAY, "Total recording time, days",
     "Total recording time (interval x rows), days", "days"},
    {true, POPUP_RECHOUR, "Total recording time, hours",
     "Total recording time (interval x rows), hours", "hours"},
    {true, POPUP_RECMIN, "Total recording time, minutes",
     "Total recording time (interval x rows), minutes", "minutes"},
    {true, POPUP_RECSEC, "Total recording time, seconds",
     "Total recording time (interval x rows), seconds", "seconds"},
    {true, POPUP_RECCOUNT, "Rows written", "Rows the recording has written", "rows"},
    {true, POPUP_RECFILENAME, "Record file", nullptr, nullptr},
    {true, POPUP_RECSTATE, "Recorder state", nullptr, nullptr},
};

// "Reference value (setpoint) of channel A.\nRange 0 to 65535 digits."
void ShowHelp(int panel, const ControlText &t) {
  if (t.help == nullptr) return;
  char text[400];
  int low = 0;
  int high = 0;
  const bool ranged = t.unit != nullptr &&
                      GetCtrlAttribute(panel, t.control, ATTR_MIN_VALUE, &low) == 0 &&
                      GetCtrlAttribute(panel, t.control, ATTR_MAX_VALUE, &high) == 0;
  if (ranged) {
    std::snprintf(text, sizeof text, "%s.\nRange %d to %d%s%s.", t.help, low, high,
                  *t.unit != '\0' ? " " : "", t.unit);
  } else {
    std::snprintf(text, sizeof text, "%s.", t.help);
  }
  SetCtrlAttribute(panel, t.control, ATTR_TOOLTIP_TEXT, text);
}

}  // namespace

void NameControlsForScreenReaders() {
  SetCtrlStatusBarRole(panelHandle, PANEL_STATUS);
  for (const ControlText &t : kTexts) {
    const int panel = t.onPopup ? panelPopUp : panelHandle;
    SetCtrlAccessibleName(panel, t.control, t.name);
    ShowHelp(panel, t);
  }
  SetPanelTabOrderByLayout(panelHandle);
  SetPanelTabOrderByLayout(panelPopUp);
}
