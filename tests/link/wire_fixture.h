// Fixture of the wire tests: the program on a simulated line, with a status
// line that reads "before" and a status buffer that reads "previous", so that
// a test sees what a transaction shows and what it only stores.
#pragma once

#include <QLabel>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/serial/rs232.h"
#include "platform/util/utility.h"
#include "tests/link/link_port.h"
#include "tests/support/program_line.h"

class LinkWire : public testsupport::ProgramLine {
 protected:
  void SetUp() override {
    ProgramLine::SetUp();
    if (HasFatalFailure()) return;
    maxmode = 0;
    ShowStatus("before");
    std::strcpy(szStatus, "previous");
  }

  static QLabel *StatusLabel() { return Widget<QLabel>(panelHandle, PANEL_STATUS); }

  // Waits without processing events until the input queue holds `bytes`.
  static bool QueueHolds(int bytes, double seconds = 2.0) {
    return testsupport::WaitUntil([bytes] { return GetInQLen(com) >= bytes; }, seconds);
  }
};
