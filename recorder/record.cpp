// Module popup, recorder part: the recording run and its stop request.
// The run polls the controller back to back, plots every answer as the live
// scope does, and appends one row per interval to the record file.
#include <cstdint>

#include "link/link.h"
#include "params/panels.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "recorder/recorder.h"
#include "scope/acquire.h"
#include "scope/history.h"
#include "scope/plots.h"
#include "ui/RVIMZEL4V14.h"

namespace {

constexpr char kHeader[] = "R-VIM-ZEL4-RECORDER-FILE: Time-Interval[s]: ";
constexpr int kRowValues = 4;
constexpr int kStatusRed = 0xFF0000;
constexpr int kIdleGray = 0xE0E0E0;
// A lost row must not go unnoticed: the run ends with this text instead.
constexpr char kWriteError[] = "Record file write error - recording stopped!";

// Whole seconds of the clock, modulo 65536.
uint16_t WholeSeconds(double seconds) {
  return static_cast<uint16_t>(static_cast<unsigned>(seconds));
}

void DimRunControls(int dimmed) {
  SetCtrlAttribute(panelHandle, PANEL_ACQCTRL1, ATTR_DIMMED, dimmed);
  SetCtrlAttribute(panelHandle, PANEL_ACQCTRL2, ATTR_DIMMED, dimmed);
  SetCtrlAttribute(panelPopUp, POPUP_RECCTRL, ATTR_DIMMED, dimmed);
}

void ShowRecState(const char *text, int background, int color) {
  ResetTextBox(panelPopUp, POPUP_RECSTATE, text);
  SetCtrlAttribute(panelPopUp, POPUP_RECSTATE, ATTR_TEXT_BGCOLOR, background);
  SetCtrlAttribute(panelPopUp, POPUP_RECSTATE, ATTR_TEXT_COLOR, color);
}

void ShowChartOfSource() {
  int source = 0;
  GetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, &source);
  const int raw = source < 2 ? 1 : 0;
  SetCtrlAttribute(panelHandle, PANEL_RAWCHART, ATTR_VISIBLE, raw);
  SetCtrlAttribute(panelHandle, PANEL_NORMCHART, ATTR_VISIBLE, 1 - raw);
}

// Line 1: the header text as raw bytes, then the interval in ASCII, synced.
// Returns kFileOk or the first error.
int WriteHeader(uint16_t interval) {
  const int written =
      ArrayToFile(recfile_name, kHeader, VAL_CHAR, StringLength(kHeader), 1, VAL_GROUPS_TOGETHER,
                  VAL_GROUPS_AS_COLUMNS, VAL_SEP_BY_TAB, 4, VAL_BINARY, VAL_APPEND);
  if (written != kFileOk) return written;
  const uint32_t seconds = interval;
  const int intervalWritten =
      ArrayToFile(recfile_name, &seconds, VAL_UNSIGNED_INTEGER, 1, 1, VAL_GROUPS_TOGETHER,
                  VAL_GROUPS_AS_COLUMNS, VAL_SEP_BY_TAB, 4, VAL_ASCII, VAL_APPEND);
  return intervalWritten == kFileOk ? SyncHeldFile() : intervalWritten;
}

// One row of the four live values; in the file when this returns kFileOk,
// on the disk after SyncHeldFile.
int WriteRow() {
  const uint32_t row[kRowValues] = {static_cast<uint32_t>(valNORMA),
                                    static_cast<uint32_t>(valNORMB), adcCHA, adcCHB};
  return ArrayToFile(recfile_name, row, VAL_UNSIGNED_INTEGER, kRowValues, kRowValues,
                     VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS, VAL_SEP_BY_TAB, 4, VAL_ASCII,
                     VAL_APPEND);
}

void PlotAnswer() {
  int source = 0;
  GetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, &source);
  PlotChart(ChartOfGraphSource(source));
}

void StopWithStatus(const char *text) {
  ShowStatus(text);
  stop_flag = 1;
}

// The row goes to the disk while the request is on its way, so the disk's
// time overlaps the controller's instead of delaying the request. The sync's
// own time is left out of the answer's stopwatch: a slow disk is no silent
// controller. False when the sync failed: the run stops.
bool SyncWrittenRow(bool *unsynced) {
  if (!*unsynced) return true;
  *unsynced = false;
  const double syncStart = Timer();
  const int synced = SyncHeldFile();
  tstart += Timer() - syncStart;
  if (synced == kFileOk) return true;
  StopWithStatus(kWriteError);
  return false;
}

// The request/answer loop. Rows are due on whole seconds: a row is taken at
// the first answer once (whole seconds at the last row) + interval is reached.
void RecordLoop(uint16_t interval, uint16_t samples) {
  uint16_t mark = WholeSeconds(Timer());
  uint16_t rows = 0;
  bool rowUnsynced = false;
  stop_flag = 0;
  graphrefresh = 0;
  do {
    const uint16_t elapsed = WholeSeconds(Timer() - mark);
    if (graphrefresh == 1) {
      PlotAnswer();
      if (elapsed >= interval) {
        if (HeldFileInPlace(recfile_name) == 0) {
          StopWithStatus("Record file deleted or replaced - recording stopped!");
          return;
        }
        // Written before it is counted: a counted row is always in the file.
        if (WriteRow() != kFileOk) {
          StopWithStatus(kWriteError);
          return;
        }
        rowUnsynced = true;
        ++rows;
        SetCtrlVal(panelPopUp, POPUP_RECCOUNT, rows);
        mark = WholeSeconds(Timer());
      }
      graphrefresh = 0;
    }
    if (rx_flag == 1) {
      SendNextLiveRequest();
    }
    if (!SyncWrittenRow(&rowUnsynced)) return;
    tdiff = Timer() - tstart;
    if (tdiff > TIMEOUT) {
      LogAnswerMissing(TIMEOUT);
      StopWithStatus("Timeout RS232-Line!");
      return;
    }
    if (rows >= samples) stop_flag = 1;
    ProcessSystemEvents();
    if (WaitsEnded() != 0) stop_flag = 1;  // the main window closed; the rows stay
  } while (stop_flag == 0);
}

void EndOfRun() {
  CloseHeldFile();
  MarkLineUnsettled();  // a run ends with its last request unanswered
  rx_flag = 0;
  FlushBothQueues();
  graphrefresh = 0;
  DimRunControls(0);
  ShowParameterTolerances();
  ShowRecState("DATA-RECORDER", kIdleGray, VAL_BLACK);
}

}  // namespace

int CC_BTNStartRecord(int, int, int event, void *, int, int) {
  if (event != EVENT_COMMIT) return 0;
  SetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_VISIBLE, 0);
  SetCtrlAttribute(panelHandle, PANEL_RECCTRL1, ATTR_DIMMED, 1);
  DimRunControls(1);
  ShowChartOfSource();
  ShowRecState("DATA-RECORDER active ...", kStatusRed, VAL_WHITE);

  uint16_t samples = 0;
  uint16_t interval = 0;
  GetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, &samples);
  GetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, &interval);
  SetCtrlVal(panelPopUp, POPUP_RECFILENAME, recfile_name);

  // A fresh file, held and locked for the run: never rows appended to an
  // old recording, nor two programs recording into one file.
  const int created = CreateHeldFile(recfile_name);
  if (created == kFileInUse) {
    StopWithStatus("Record file in use by another program - recording NOT started!");
  } else if (created != kFileOk) {
    StopWithStatus("Record file cannot be created - recording NOT started!");
  } else if (WriteHeader(interval) == kFileOk) {
    SendFirstLiveRequest();
    tstart = Timer();
    RecordLoop(interval, samples);
  } else {
    StopWithStatus(kWriteError);
  }
  EndOfRun();
  return 0;
}

int CC_BTNStopRecord(int, int, int event, void *, int, int) {
  if (event != EVENT_COMMIT) return 0;
  stop_flag = 1;
  DimRunControls(0);
  SetCtrlAttribute(panelHandle, PANEL_RECCTRL1, ATTR_DIMMED, 0);
  SetCtrlAttribute(panelHandle, PANEL_RECCTRL2, ATTR_DIMMED, 0);
  return 0;
}
