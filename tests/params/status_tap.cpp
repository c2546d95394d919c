// The status line's texts as the program sets them, through the run-time's
// text observer, so that texts replaced before any event are seen too.
#include <string>
#include <vector>

#include "link/link.h"
#include "tests/params/operator_panels.h"
#include "tests/support/ui_inspect.h"

namespace {
std::vector<std::string> gTexts;
}  // namespace

StatusRecorder::StatusRecorder() {
  gTexts.clear();
  SetTextObserver([](int panel, int control, const char *text) {
    if (panel == panelHandle && control == PANEL_STATUS && text != nullptr) {
      gTexts.emplace_back(text);
    }
  });
}

StatusRecorder::~StatusRecorder() {
  SetTextObserver({});
}

const std::vector<std::string> &StatusRecorder::texts() const {
  return gTexts;
}
