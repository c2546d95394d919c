// Total recording time of the popup's interval and sample count.
#include <cstdint>

#include "params/panels.h"
#include "recorder/recorder.h"
#include "ui/RVIMZEL4V14.h"

namespace {
constexpr uint32_t kSecondsPerDay = 86400;
constexpr uint32_t kSecondsPerHour = 3600;
constexpr uint32_t kSecondsPerMinute = 60;

// Shows total / unit in the control and returns what is left.
uint32_t ShowPart(uint32_t total, uint32_t unit, int control) {
  const uint32_t part = total / unit;
  SetCtrlVal(panelPopUp, control, part);
  return total - part * unit;
}
}  // namespace

void CalcRecTime() {
  uint16_t interval = 0;
  uint16_t samples = 0;
  GetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, &interval);
  GetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, &samples);
  SetCtrlVal(panelPopUp, POPUP_RECCOUNT, 0);
  // 65535 x 65535 still fits in 32 unsigned bits.
  uint32_t total = static_cast<uint32_t>(interval) * samples;
  total = ShowPart(total, kSecondsPerDay, POPUP_RECDAY);
  total = ShowPart(total, kSecondsPerHour, POPUP_RECHOUR);
  total = ShowPart(total, kSecondsPerMinute, POPUP_RECMIN);
  SetCtrlVal(panelPopUp, POPUP_RECSEC, total);
}

int CC_NEDITRecTime(int, int, int event, void *, int, int) {
  if (event == EVENT_COMMIT) CalcRecTime();
  return 0;
}

int CC_NEDITRecSamples(int, int, int event, void *, int, int) {
  if (event == EVENT_COMMIT) CalcRecTime();
  return 0;
}
