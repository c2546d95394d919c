// Start values, the port opening and the start-up handshake.
#include "app/startup.h"

#include <cstdio>
#include <cstring>

#include "app/portselect.h"
#include "branding/branding.h"
#include "link/link.h"
#include "link/syncword.h"
#include "params/panels.h"
#include "params/params.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "recorder/recorder.h"
#include "scope/acquire.h"
#include "scope/chartlabels.h"
#include "scope/history.h"
#include "ui/RVIMZEL4V14.h"

namespace {

void CopyText(char *to, std::size_t size, const char *from) {
  std::strncpy(to, from, size - 1);
  to[size - 1] = '\0';
}

// The storage target falls back to RAM with every handshake; the radio
// buttons follow, so the panel never offers EEPROM or file while a Send
// would go to RAM.
void ShowTargetRam() {
  SetCtrlVal(panelHandle, PANEL_RBTRAM, 1);
  SetCtrlVal(panelHandle, PANEL_RBTEEPROM, 0);
  SetCtrlVal(panelHandle, PANEL_RBTFILE, 0);
}

int gSetsRead = 0;  // the last handshake read both parameter sets

}  // namespace

int HandshakeReadSets() {
  return gSetsRead;
}

const char *OpenErrorText(int result) {
  switch (result) {
    case kRS232UnknownSysError:
      return "Unknown system error";
    case kRS232InvalidPort:
      return "Invalid port number";
    case kRS232PortNotOpen:
      return "Port is not open";
    case kRS232UnknownIOError:
      return "Unknown I/0 error";
    case kRS232NoPortFound:
      return "No serial port found";
    case kRS232CannotOpenPort:
      return "Cannot open port";
    case kRS232InvalidParameter:
      return "Invalid parameter";
    case kRS232Timeout:
      return "Timeout";
    default:
      return "RS-232 error!";
  }
}

void InitVars() {
  SetParameterDefaults();
  com = 1;
  sync = 0x55;
  order = 1;
  target = RAM;
  type = 1;
  rx_flag = 1;
  stop_flag = 1;
  CopyText(szStatus, sizeof szStatus, "InitVars");
  CopyText(recfile_name, sizeof recfile_name, "RVimRecord.dat");
  CopyText(file_name, sizeof file_name, "ZEL4para.cfg");
  MakePathname(proj_dir, "RVimRecord.dat", recfile_name);
  SetCtrlVal(panelPopUp, POPUP_RECFILENAME, recfile_name);
  CalcRecTime();
  CopyText(szSoftname, sizeof szSoftname, "R-VIM-ZEL4-Diruz");
  CopyText(szSoftversion, sizeof szSoftversion, "V1.4");
  ShowLogo(2);
  ShowStatus(szStatus);
  SetCtrlAttribute(panelHandle, PANEL_POWERB, ATTR_VISIBLE, 0);
  SetCtrlAttribute(panelHandle, PANEL_POWERA, ATTR_VISIBLE, 1);
  GetPanelValues();
  FillarrayRAW(0, 0);
  FillarrayNORM(tol10Bit, ref10Bit, 0);
  LabelChartsOfGraphSource();
  SetChartSaveReport(ShowStatus);  // a chart's save reports on the status line
  for (int i = 0; i < 256; ++i) {
    xArray[i] = static_cast<uint16_t>(i);
    yArrayA[i] = 0;
    yArrayB[i] = 0;
  }
}

void OpenFailureText(int result, char *text, std::size_t size) {
  ComOpenFailure failure;
  GetComOpenFailure(&failure);
  const char *cause = result == kRS232CannotOpenPort ? OpenCauseText(failure.cause) : nullptr;
  if (cause == nullptr) {
    CopyText(text, size, OpenErrorText(result));
  } else if (failure.cause == kComOpenInUse && failure.holderPid > 0) {
    std::snprintf(text, size, "%s - %s (%s, PID %d)", OpenErrorText(result), cause,
                  failure.holderName, failure.holderPid);
  } else {
    std::snprintf(text, size, "%s - %s", OpenErrorText(result), cause);
  }
}

int OpenAndCheckLine(int port) {
  int result = OpenRS232(port);
  if (result < 0) {
    OpenFailureText(result, szStatus, sizeof szStatus);
    ShowStatus(szStatus);
    return 0;
  }
  if (CheckComLine(port) != 1) {
    ShowStatus(szStatus);
    return 0;
  }
  return 1;
}

// The handshake goes on after a set that got no answer, but ends on that
// set's text: the panels then hold values the controller never sent.
void InitRS232(int port) {
  gSetsRead = 0;
  if (OpenAndCheckLine(port) == 0) return;
  target = RAM;
  ShowTargetRam();
  const char *lostSet = nullptr;
  PushGET(RAM, 0);
  if (rx_flag != 1) lostSet = "Parameter-frame NOT received - set 0!";
  MarkAnsweredSetHeld(0);
  target = RAM;
  PushGET(RAM, 1);
  if (rx_flag != 1 && lostSet == nullptr) lostSet = "Parameter-frame NOT received - set 1!";
  MarkAnsweredSetHeld(1);
  gSetsRead = lostSet == nullptr ? 1 : 0;
  SetPanelValues();
  if (GetVERSIONInfo() != 64) CopyText(szStatus, sizeof szStatus, "Error reading firmware-info!");
  if (lostSet != nullptr) CopyText(szStatus, sizeof szStatus, lostSet);
  ShowStatus(szStatus);
}
