// Test helper program: records against its own simulated controller into the
// file named by argv[1] (interval 0, rows until killed) and writes every new
// value of the row counter to stdout as a line, unbuffered, so that a parent
// that kills it knows the last count it showed.
#include <unistd.h>

#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "tests/support/ui_inspect.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "recorder/recorder.h"
#include "tests/support/program_line.h"

namespace {

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
  if (!testsupport::LoadBothPanels()) return 1;
  testsupport::SimLine line(sim::Pacing::Line);
  if (!testsupport::OpenProgramLine(line)) return 1;
  std::strcpy(recfile_name, argv[1]);
  SetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, 0);
  SetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, 65535);

  int shown = -1;
  QTimer watch;
  watch.setInterval(0);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    const int count = Value(panelPopUp, POPUP_RECCOUNT);
    if (count == shown) return;
    shown = count;
    ReportCount(count);
  });
  watch.start();
  Click(panelHandle, PANEL_RECCTRL1);
  return 0;
}
