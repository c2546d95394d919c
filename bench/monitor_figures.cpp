// Figures of the line monitor: what one look at the line costs while the
// window follows a live run.
#include <QCoreApplication>

#include "bench/clock.h"
#include "bench/figures.h"
#include "bench/panels.h"
#include "link/linedecode.h"
#include "platform/ui/linemonitor.h"
#include "platform/ui/userint.h"
#include "platform/util/linelog.h"
#include "ui/RVIMZEL4V14.h"
#include "ui/ui.h"

namespace {

constexpr int kLooks = 300;
constexpr int kEventsPerLook = 11;  // 200 ms of a live run: five requests, five answers, a flush

// A live request and its answer, as the ring holds them.
void RecordExchange(int i) {
  uint8_t frame[36] = {0x00, 0x55, 0x00, 0x08};
  for (int b = 4; b < 36; ++b) frame[b] = static_cast<uint8_t>(b * 7 + i);
  LineLogRecord(i % 2 == 0 ? kLineWrite : kLineFrameIn, 1, 36, 36, 0, frame, 36);
}

}  // namespace

double MonitorLookMs() {
  if (!PanelsReady()) return -1;  // the main panel owns the monitor
  const int panel = panelHandle;
  SetLineEventReader(LinkEventReader());
  for (int i = 0; i < 200; ++i) RecordExchange(i);
  DisplayPanel(panel);
  DisplayLineMonitor(panel);
  QCoreApplication::processEvents();
  const double start = ThreadCpuSeconds();
  for (int look = 0; look < kLooks; ++look) {
    for (int i = 0; i < kEventsPerLook; ++i) RecordExchange(i);
    RefreshLineMonitor();
    QCoreApplication::processEvents();  // the layout the new rows ask for
    QCoreApplication::processEvents();  // the repaint
  }
  const double ms = 1000.0 * (ThreadCpuSeconds() - start) / kLooks;
  HideLineMonitor();
  return ms;
}
