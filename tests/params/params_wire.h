// Both panels loaded, the controller simulator on a pty and the port opened
// on it as start-up opens it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "params/params.h"
#include "platform/serial/rs232.h"
#include "tests/params/operator_panels.h"

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
