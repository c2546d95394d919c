// Run/Stop of the live scope: a ping-pong of live requests and answers inside
// the Run callback, one chart refresh per answer, until Stop or a silent line.
#include "scope/acquire.h"

#include "link/link.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "scope/history.h"
#include "scope/plots.h"
#include "scope/scope.h"
#include "ui/RVIMZEL4V14.h"

namespace {

constexpr double kAnswerTimeout = 2.0;  // seconds since the last request

void DimCommands(int dimmed) {
  SetCtrlAttribute(panelHandle, PANEL_ACQCTRL1, ATTR_DIMMED, dimmed);
  SetCtrlAttribute(panelHandle, PANEL_ACQCTRL2, ATTR_DIMMED, dimmed);
}

// pp still holds the answer here; the next request overwrites it.
void PlotPendingAnswer() {
  if (graphrefresh != 1) return;
  PlotChart(type);
  graphrefresh = 0;
}

void SendNextRequest() {
  if (rx_flag == 1) SendNextLiveRequest();
}

// True when the last request has waited too long; the run ends then.
bool AnswerOverdue() {
  tdiff = Timer() - tstart;
  if (tdiff <= kAnswerTimeout) return false;
  LogAnswerMissing(kAnswerTimeout);
  ShowStatus("Timeout RS232-Line!");
  MarkLineUnsettled();
  stop_flag = 1;
  return true;
}

void RunLoop() {
  do {
    PlotPendingAnswer();
    SendNextRequest();
    if (AnswerOverdue()) break;
    ProcessSystemEvents();
    if (WaitsEnded() != 0) stop_flag = 1;  // the main window closed
  } while (stop_flag == 0);
}

}  // namespace

int CC_BTNRun(int, int, int event, void *, int, int) {
  if (event != EVENT_COMMIT) return 0;
  SetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_VISIBLE, 0);
  DimCommands(1);
  ShowChartOfGraphSource();
  SendFirstLiveRequest();
  tstart = Timer();
  stop_flag = 0;
  graphrefresh = 0;
  FillarrayNORM(tolA, refA, 0);
  RunLoop();
  ShowParameterTolerances();
  rx_flag = 0;
  FlushBothQueues();
  graphrefresh = 0;
  SetCtrlAttribute(panelHandle, PANEL_ACQCTRL1, ATTR_DIMMED, 0);
  return 0;
}

int CC_BTNStop(int, int, int event, void *, int, int) {
  if (event != EVENT_COMMIT) return 0;
  rx_flag = 0;
  FlushBothQueues();
  MarkLineUnsettled();  // the answer to the request in flight may still come
  stop_flag = 1;
  graphrefresh = 0;
  DimCommands(0);
  FillarrayRAW(0, 0);
  FillarrayNORM(tol10Bit, ref10Bit, 0);
  return 0;
}
