// Test fixture: both panels loaded from the real resource file beside the
// test binary, callbacks bound through the program's registry, no line.
#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "params/panels.h"
#include "platform/util/utility.h"
#include "tests/support/program_line.h"

class LoadedPanels : public testsupport::ProgramLine {
 protected:
  explicit LoadedPanels(testsupport::ProgramSetup setup = {.simulator = false, .openPort = false})
      : ProgramLine(setup) {}
};
