// Figures of the data recorder: the cost of one durable row and the row rate
// of a recording with interval 0 against the line-paced simulator.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/callbacks.h"
#include "bench/clock.h"
#include "bench/cycles.h"
#include "bench/figures.h"
#include "bench/link_port.h"
#include "link/link.h"
#include "params/panels.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "recorder/recorder.h"
#include "sim/simulator.h"
#include "ui/RVIMZEL4V14.h"

namespace {

constexpr int kTimedRows = 200;
// One exchange is a 36-byte request and a 36-byte answer at 1920 bytes/s.
constexpr double kLineRowsPerSecond = 1920.0 / 72.0;

// A scratch file beside the program, where the record file lives by default.
bool ScratchPath(const char *name, char path[kMaxPathname]) {
  char dir[kMaxPathname] = "";
  return GetProjectDir(dir) == 0 && MakePathname(dir, name, path) == 0;
}

double RowWriteMs(bool synced) {
  char path[kMaxPathname] = "";
  if (!ScratchPath("bench_rows.dat", path)) return -1;
  CVI_DeleteFile(path);
  const uint32_t row[4] = {1000, 64000, 2375, 3273};
  const char text[] = "1000\t64000\t2375\t3273\n";
  const double start = WallSeconds();
  for (int i = 0; i < kTimedRows; ++i) {
    if (synced) {
      if (ArrayToFile(path, row, VAL_UNSIGNED_INTEGER, 4, 4, VAL_GROUPS_TOGETHER,
                      VAL_GROUPS_AS_COLUMNS, VAL_SEP_BY_TAB, 4, VAL_ASCII, VAL_APPEND) != 0) {
        return -1;
      }
    } else {
      // The same open, append and close without the sync.
      const int fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
      if (fd < 0) return -1;
      const bool ok = write(fd, text, sizeof text - 1) == static_cast<ssize_t>(sizeof text - 1);
      close(fd);
      if (!ok) return -1;
    }
  }
  const double ms = 1000.0 * (WallSeconds() - start) / kTimedRows;
  CVI_DeleteFile(path);
  return ms;
}

bool LoadPanels() {
  char path[kMaxPathname] = "";
  if (!ScratchPath("RVIMZEL4V14.uir", path)) return false;
  RegisterCallbacks(kCallbackTable, kCallbackCount);
  panelHandle = LoadPanel(0, path, PANEL);
  panelPopUp = LoadPanel(0, path, POPUP);
  return panelHandle > 0 && panelPopUp > 0;
}

void DiscardPanels() {
  if (panelPopUp > 0) DiscardPanel(panelPopUp);
  if (panelHandle > 0) DiscardPanel(panelHandle);
  panelPopUp = panelHandle = 0;
}

struct Recording {
  double rowsPerSecond = -1;  // from the click to the end of the run
  CycleRates cycles;
};

// One recording of kTimedRows rows.
Recording TimeOneRecording() {
  Recording recording;
  sim::Simulator simulator(sim::Pacing::Line);
  if (!simulator.start()) return recording;
  com = PortTableAddDevice(simulator.slavePath());
  if (com < 0 || OpenLinkPortForBench(com) < 0) return recording;
  SetParameterDefaults();
  if (!ScratchPath("bench_record.dat", recfile_name)) return recording;
  SetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, 0);
  SetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, kTimedRows);
  const double start = WallSeconds();
  CC_BTNStartRecord(panelHandle, PANEL_RECCTRL1, EVENT_COMMIT, nullptr, 0, 0);
  const double seconds = WallSeconds() - start;
  int rows = 0;
  GetCtrlVal(panelPopUp, POPUP_RECCOUNT, &rows);
  CloseCom(com);
  CVI_DeleteFile(recfile_name);
  if (rows != kTimedRows) return recording;
  recording.rowsPerSecond = rows / seconds;
  recording.cycles = RatesOfRequests(simulator.requestTimes());
  return recording;
}

// A recording with interval 0, measured once for all its figures.
const Recording &MeasuredRecording() {
  static const Recording measured = [] {
    Recording recording;
    if (LoadPanels()) recording = TimeOneRecording();
    DiscardPanels();
    return recording;
  }();
  return measured;
}

double ShareOfLine(double rate) {
  return rate < 0 ? -1 : rate / kLineRowsPerSecond;
}

}  // namespace

double RecordRowWriteMsFsync() {
  return RowWriteMs(true);
}

double RecordRowWriteMsNoSync() {
  return RowWriteMs(false);
}

double RecordRowsPerSecond() {
  return MeasuredRecording().rowsPerSecond;
}

double RecordShareOfLineLimit() {
  return ShareOfLine(MeasuredRecording().cycles.steadyPerSecond);
}

double RecordShareOfLineLimitMedianCycle() {
  return ShareOfLine(MeasuredRecording().cycles.medianPerSecond);
}
