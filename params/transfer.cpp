// Storage target choice and the Send and Get buttons.
#include <cstdint>

#include "link/link.h"
#include "params/parafile.h"
#include "params/params.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "ui/RVIMZEL4V14.h"

namespace {

constexpr int kStoreRamOrder = 1;
constexpr int kStoreEepromOrder = 3;
// The controller needs this pause to store the first set before the second.
constexpr double kBetweenSetsSeconds = 0.1;

bool IsOn(int panel, int control) {
  int on = 0;
  GetCtrlVal(panel, control, &on);
  return on != 0;
}

// Exactly one radio button stays on; switching the one that is on off falls
// back to RAM.
void ChooseTarget(int panel, int control, int chosen, int otherA, int otherB, int value) {
  if (IsOn(panel, control)) {
    SetCtrlVal(panelHandle, chosen, 1);
    target = value;
    SetCtrlVal(panelHandle, otherA, 0);
    SetCtrlVal(panelHandle, otherB, 0);
  } else {
    target = RAM;
    SetCtrlVal(panelHandle, PANEL_RBTRAM, 1);
  }
}

// One set to the controller, without flushing and without awaiting an answer.
bool SendSet(uint16_t paraset) {
  CopyVarsToPP(paraset);
  return SendRequest(com, order, pp) == kFrameBytes;
}

void SendToController() {
  const int code = target == EEPROM ? kStoreEepromOrder : kStoreRamOrder;
  SettleLine(code);
  order = code;
  GetPanelValues();
  const bool fullSetSent = SendSet(0);
  if (fullSetSent) MarkSetHeld(0, kHeldByController);
  ShowStatus(fullSetSent ? "Transmit para1 Ok!" : "Transmit ERROR - para1 NOT sent!");
  Delay(kBetweenSetsSeconds);
  const bool channelBSent = SendSet(1);
  if (channelBSent) MarkSetHeld(1, kHeldByController);
  // A lost full set stays shown: the last text tells about the whole Send.
  if (fullSetSent)
    ShowStatus(channelBSent ? "Transmit para Ok!" : "Transmit ERROR - para NOT sent!");
}

}  // namespace

int CC_RBTRam(int panel, int control, int event, void *, int, int) {
  if (event != EVENT_VAL_CHANGED) return 0;
  ChooseTarget(panel, control, PANEL_RBTRAM, PANEL_RBTEEPROM, PANEL_RBTFILE, RAM);
  return 0;
}

int CC_RBTEeprom(int panel, int control, int event, void *, int, int) {
  if (event != EVENT_VAL_CHANGED) return 0;
  ChooseTarget(panel, control, PANEL_RBTEEPROM, PANEL_RBTRAM, PANEL_RBTFILE, EEPROM);
  return 0;
}

int CC_RBTFile(int panel, int control, int event, void *, int, int) {
  if (event != EVENT_VAL_CHANGED) return 0;
  ChooseTarget(panel, control, PANEL_RBTFILE, PANEL_RBTEEPROM, PANEL_RBTRAM, DATFILE);
  return 0;
}

// Acts on the mouse press itself: a commit from the keyboard sends nothing.
int CC_BTNSend(int, int, int event, void *, int, int) {
  if (event != EVENT_LEFT_CLICK) return 0;
  ShowStatus("Transmit...");
  if (target == DATFILE) {
    if (SelectParaFile(VAL_OK_BUTTON) != VAL_NO_FILE_SELECTED) SendParaToFile();
    return 0;
  }
  SendToController();
  return 0;
}

int CC_BTNGet(int, int, int event, void *, int, int) {
  if (event == EVENT_LEFT_CLICK) ShowStatus("Receive...");
  if (event != EVENT_COMMIT) return 0;
  if (target == DATFILE) {
    ReadParaFromFile();
  } else {
    PushGET(target, 0);
    const int fullSetArrived = rx_flag;
    MarkAnsweredSetHeld(0);
    PushGET(target, 1);
    MarkAnsweredSetHeld(1);
    // An answered channel-B set must not hide a lost full set.
    if (fullSetArrived != 1) ShowStatus("Parameter-frame NOT received - set 0!");
  }
  // Also after a cancelled or failed read: the panels show the variables.
  SetPanelValues();
  return 0;
}
