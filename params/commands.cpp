// Teach, reset and refresh: one command frame with the panels' full set,
// then, once the controller has answered, the full set read back from RAM.
#include <cstdint>

#include "link/link.h"
#include "params/params.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "ui/RVIMZEL4V14.h"

namespace {

constexpr int kTeachOrder = 6;
constexpr int kResetOrder = 10;
constexpr int kRefreshOrder = 11;

// Waits for the command's answer, processing events so that the receive
// callback can deliver it; an answer is followed by the read-back. tstart and
// tdiff are the shared stopwatch: after a read-back they hold its wait, so a
// read-back that times out also ends in the time-out text.
void AwaitAnswerAndReadBack() {
  tstart = Timer();
  do {
    if (rx_flag == 1) {
      PushGET(RAM, 0);
      // The panels show what the controller now holds, so that the next
      // Send does not undo the command.
      if (rx_flag == 1) SetPanelValues();
      MarkAnsweredSetHeld(0);
      break;
    }
    tdiff = Timer() - tstart;
    ProcessSystemEvents();
    if (rx_flag == 0 && WaitsEnded() != 0) {  // the main window closed
      MarkLineUnsettled();
      return;
    }
  } while (tdiff < TIMEOUT);
  if (tdiff > TIMEOUT) {
    LogAnswerMissing(TIMEOUT);
    MarkLineUnsettled();
    ShowStatus("Timeout RS-232!!");
  }
}

void RunCommand(int code, bool teach) {
  SettleLine(code);
  FlushInQ(com);
  FlushOutQ(com);
  order = code;
  GetPanelValues();
  CopyVarsToPP(0);
  rx_flag = 0;
  if (SendRequest(com, order, pp) != kFrameBytes) {
    ShowStatus("Transmit ERROR - command NOT sent!");
    return;
  }
  ShowStatus("Line Ok!");
  if (teach) ShowStatus("New setpoint value teached!");
  AwaitAnswerAndReadBack();
}

}  // namespace

int CC_ButtonTeach(int, int, int event, void *, int, int) {
  if (event == EVENT_LEFT_CLICK) ShowStatus("Teach new Reference-Value ...");
  if (event == EVENT_COMMIT) RunCommand(kTeachOrder, true);
  return 0;
}

int CC_ButtonReset(int, int, int event, void *, int, int) {
  if (event == EVENT_COMMIT) RunCommand(kResetOrder, false);
  return 0;
}

int CC_ButtonRefresh(int, int, int event, void *, int, int) {
  if (event == EVENT_COMMIT) RunCommand(kRefreshOrder, false);
  return 0;
}
