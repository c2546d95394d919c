// Both panels loaded, the controller simulator on a pty and the port opened
// on it as start-up opens it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "params/params.h"
#include "platform/serial/rs232.h"
#include "tests/params/operator_panels.h"

// What the controller holds before a case: distinct from the panels' values.
inline constexpr sim::Words16 kStoredFull = {0,    1001, 1002, 1003, 1004, 1005, 1006, 1007,
                                             1008, 1009, 1010, 1011, 1012, 1013, 1014, 1015};
inline constexpr sim::Words16 kStoredB = {1, 2001, 2002, 2003, 2004};

class ParamsWire : public OperatorPanels {
 protected:
  ParamsWire() : OperatorPanels(testsupport::ProgramSetup{}) {}

  void SetUp() override {
    OperatorPanels::SetUp();
    if (HasFatalFailure()) return;
    SetPanelValues();
    target = RAM;
    SetCtrlVal(panelHandle, PANEL_STATUS, "before");
  }
  // The words CopyVarsToPP builds now for a set.
  static sim::Words16 SetWords(uint16_t paraset) {
    CopyVarsToPP(paraset);
    return PP();
  }

  static std::vector<uint8_t> Bytes(const sim::RequestFrame &frame) {
    return {frame.begin(), frame.end()};
  }
  static int OrderOf(const sim::RequestFrame &frame) { return frame[2] << 8 | frame[3]; }
};
