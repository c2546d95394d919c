// The status line's texts as the program sets them. The test executables are
// linked with --wrap for SetCtrlVal(int, int, const char *), so every call
// from the program's objects passes through here on its way to the run-time.
#include <string>
#include <vector>

#include "link/link.h"
#include "tests/params/operator_panels.h"

namespace {
bool gRecording = false;
std::vector<std::string> gTexts;
}  // namespace

extern "C" int __real__Z10SetCtrlValiiPKc(int panel, int control, const char *text);

extern "C" int __wrap__Z10SetCtrlValiiPKc(int panel, int control, const char *text) {
  if (gRecording && panel == panelHandle && control == PANEL_STATUS && text != nullptr) {
    gTexts.emplace_back(text);
  }
  return __real__Z10SetCtrlValiiPKc(panel, control, text);
}

StatusRecorder::StatusRecorder() {
  gTexts.clear();
  gRecording = true;
}

StatusRecorder::~StatusRecorder() {
  gRecording = false;
}

const std::vector<std::string> &StatusRecorder::texts() const {
  return gTexts;
}
