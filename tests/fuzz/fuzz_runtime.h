// Shared start of the fuzz targets: the run-time offscreen, once per process,
// whether libFuzzer or the corpus replay calls the target first.
#pragma once

#include <cstdlib>

#include "platform/ui/userint.h"

namespace fuzzsupport {

inline bool StartRuntime() {
  static const bool started = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static char name[] = "rvim_fuzz";
    static char *argv[] = {name, nullptr};
    return InitCVIRTE(nullptr, argv, nullptr) == 1;
  }();
  return started;
}

}  // namespace fuzzsupport
