// The soak run: a long recording, watched from a timer in the event loop that
// the recorder's own loop keeps turning.
#include "bench/soak.h"

#include <dirent.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/callbacks.h"
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

constexpr double kLineRowsPerSecond = 1920.0 / 72.0;
constexpr int kWatchMs = 5;

long ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int OpenDescriptors() {
  DIR *dir = opendir("/proc/self/fd");
  if (dir == nullptr) return -1;
  int count = 0;
  while (readdir(dir) != nullptr) ++count;
  closedir(dir);
  return count - 3;  // ".", ".." and the one opendir holds
}

int SoakSeconds() {
  const char *text = std::getenv("RVIM_SOAK_SECONDS");
  const int seconds = text != nullptr ? std::atoi(text) : 600;
  return seconds > 0 ? seconds : 600;
}

int RowLines(const char *path) {
  std::ifstream file(path);
  std::string line;
  int rows = -1;  // the header line
  while (std::getline(file, line)) ++rows;
  return std::max(rows, 0);
}

bool LoadPanels() {
  char dir[kMaxPathname] = "";
  char path[kMaxPathname] = "";
  if (GetProjectDir(dir) != 0 || MakePathname(dir, "RVIMZEL4V14.uir", path) != 0) return false;
  RegisterCallbacks(kCallbackTable, kCallbackCount);
  panelHandle = LoadPanel(0, path, PANEL);
  panelPopUp = LoadPanel(0, path, POPUP);
  return panelHandle > 0 && panelPopUp > 0;
}

// What the watcher sees during the run.
struct Watch {
  QElapsedTimer clock;
  qint64 lastMs = 0;
  qint64 maxGapMs = 0;
  long rssAfterWarmUp = -1;
  qint64 warmUpMs = 0;
};

void OnTick(Watch *watch) {
  const qint64 now = watch->clock.elapsed();
  watch->maxGapMs = std::max(watch->maxGapMs, now - watch->lastMs - kWatchMs);
  watch->lastMs = now;
  if (watch->rssAfterWarmUp < 0 && now >= watch->warmUpMs) watch->rssAfterWarmUp = ResidentKb();
}

}  // namespace

int RunSoak() {
  const int seconds = SoakSeconds();
  sim::Simulator simulator(sim::Pacing::Line);
  simulator.setKeepRecord(false);  // its traffic log would count as the program's growth
  if (!LoadPanels() || !simulator.start()) return 1;
  com = PortTableAddDevice(simulator.slavePath());
  if (com < 0 || OpenLinkPortForBench(com) < 0) return 1;
  SetParameterDefaults();
  char dir[kMaxPathname] = "";
  if (GetProjectDir(dir) != 0 || MakePathname(dir, "soak_record.dat", recfile_name) != 0) return 1;
  const int rows = std::min(65535, static_cast<int>(seconds * kLineRowsPerSecond * 0.97));
  SetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, 0);
  SetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, rows);

  Watch watch;
  watch.warmUpMs = std::min(60, std::max(1, seconds / 10)) * 1000LL;
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  QObject::connect(&tick, &QTimer::timeout, [&watch] { OnTick(&watch); });
  const int fdsBefore = OpenDescriptors();
  watch.clock.start();
  tick.start(kWatchMs);
  CC_BTNStartRecord(panelHandle, PANEL_RECCTRL1, EVENT_COMMIT, nullptr, 0, 0);
  // Taken at once: the request sent with the last row cannot be answered yet
  // (an answer takes 37 ms on the line), so these are the run's own answers.
  const long answers = static_cast<long>(simulator.answerCount());
  tick.stop();
  const long rssEnd = ResidentKb();
  const int fdsAfter = OpenDescriptors();
  const int written = RowLines(recfile_name);
  CloseCom(com);
  CVI_DeleteFile(recfile_name);

  std::printf("soak_seconds: %.3f\n", watch.clock.elapsed() / 1000.0);
  std::printf("soak_rows: %d\n", written);
  std::printf("soak_rss_growth_kb: %ld\n", rssEnd - watch.rssAfterWarmUp);
  std::printf("soak_fd_growth: %d\n", fdsAfter - fdsBefore);
  std::printf("soak_rows_lost: %ld\n", answers - written);
  std::printf("soak_max_stall_ms: %lld\n", static_cast<long long>(watch.maxGapMs));
  return written == rows ? 0 : 1;
}
