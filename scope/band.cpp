// Threshold band and hold traces of the normalised display. The band is
// limited to the normalised scale 1..1000; the hold traces park at 1005,
// just above it, when there is nothing to hold.
#include "link/link.h"
#include "params/panels.h"
#include "platform/ui/userint.h"
#include "scope/history.h"
#include "ui/RVIMZEL4V14.h"

namespace {
constexpr int kGraphChannelA = 2;
constexpr int kGraphChannelB = 3;
constexpr int32_t kBandCeiling = 1000;
constexpr int32_t kBandFloor = 1;
constexpr uint16_t kHoldParked = 1005;

// Hardware modes 0 and 2 keep separate tolerances per channel.
int UsesCommonTolerance() {
  int hw = 0;
  GetCtrlVal(panelHandle, PANEL_HWMODE, &hw);
  return (hw == 0 || hw == 2) ? 0 : 1;
}

int32_t BandTolerance(int common) {
  int eval = 0;
  GetCtrlVal(panelPopUp, POPUP_DROP_EVALMODE, &eval);
  switch (eval) {
    case 0:
    case 2:
      return common ? tolval : tolA;
    case 1:
    case 3:
      return common ? tolval : tolB;
    default:
      return tolA;
  }
}

void SetBand(uint16_t ref, int32_t tol, int32_t value) {
  upTHR = ref + tol;
  loTHR = ref - tol;
  valREF = ref;
  valNORM = value;
}

void SetHold(uint16_t high, uint16_t low) {
  holdHigh = high;
  holdLow = low;
}

void ChannelAHold() {
  switch (anamode) {
    case 0:
      SetHold(static_cast<uint16_t>(valNORM), static_cast<uint16_t>(valNORM));
      break;
    case 1:
      SetHold(MAXvalA, MAXvalA);
      break;
    case 2:
      SetHold(MINvalA, MINvalA);
      break;
    case 3:
      SetHold(MAXvalA, MINvalA);
      break;
    default:
      break;
  }
}

// With the direct analogue output channel B has no hold traces.
void ChannelBHold() {
  switch (anamode) {
    case 1:
      SetHold(MAXvalB, MAXvalB);
      break;
    case 2:
      SetHold(MINvalB, MINvalB);
      break;
    case 3:
      SetHold(MAXvalB, MINvalB);
      break;
    default:
      break;
  }
}
}  // namespace

int ComputeNormBand(int graphSource) {
  const int common = UsesCommonTolerance();
  const int32_t tol = BandTolerance(common);
  if (graphSource == kGraphChannelA) SetBand(refA, tol, valNORMA);
  if (graphSource == kGraphChannelB) SetBand(refB, tol, valNORMB);
  if (upTHR > kBandCeiling) upTHR = kBandCeiling;
  if (loTHR < kBandFloor) loTHR = kBandFloor;
  SetHold(kHoldParked, kHoldParked);
  if (graphSource == kGraphChannelA) ChannelAHold();
  if (graphSource == kGraphChannelB) ChannelBHold();
  return common;
}
