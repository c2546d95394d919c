// Test helper program: records against its own simulated controller into the
// file named by argv[1] (interval 0, rows until killed) and writes every new
// value of the row counter to stdout as a line, unbuffered, so that a parent
// that kills it knows the last count it showed.
#include <unistd.h>

#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "link/link.h"
#include "params/panels.h"
#include "platform/serial/porttable.h"
#include "platform/ui/testing.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "recorder/recorder.h"
#include "sim/simulator.h"
#include "tests/link/link_port.h"
#include "tests/support/program_panels.h"
#include "ui/RVIMZEL4V14.h"

namespace {

int LoadBothPanels() {
  panelHandle = testsupport::LoadProgramPanel(PANEL);
  panelPopUp = testsupport::LoadProgramPanel(POPUP);
  return panelHandle > 0 && panelPopUp > 0 ? 0 : -1;
}

// One line per change of the counter; write(2) so nothing waits in a buffer.
void ReportCount(int count) {
  char line[16];
  const int n = std::snprintf(line, sizeof line, "%d\n", count);
  if (write(STDOUT_FILENO, line, static_cast<size_t>(n)) != n) _exit(3);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2 || std::strlen(argv[1]) >= kMaxPathname) return 2;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (InitCVIRTE(nullptr, argv, nullptr) == 0) return 1;
  if (LoadBothPanels() != 0) return 1;
  SetParameterDefaults();
  sim::Simulator simulator(sim::Pacing::Line);
  if (!simulator.start()) return 1;
  com = PortTableAddDevice(simulator.slavePath());
  if (com < 0 || OpenLinkPort(com) != 0) return 1;
  std::strcpy(recfile_name, argv[1]);
  SetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, 0);
  SetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, 65535);

  int shown = -1;
  QTimer watch;
  watch.setInterval(0);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    int count = 0;
    GetCtrlVal(panelPopUp, POPUP_RECCOUNT, &count);
    if (count == shown) return;
    shown = count;
    ReportCount(count);
  });
  watch.start();
  QTest::mouseClick(ControlWidget(panelHandle, PANEL_RECCTRL1), Qt::LeftButton);
  return 0;
}
