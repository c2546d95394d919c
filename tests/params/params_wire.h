// Both panels loaded, the controller simulator on a pty and the link's port
// opened on it as start-up opens it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "params/params.h"
#include "platform/serial/rs232.h"
#include "tests/link/link_port.h"
#include "tests/params/operator_panels.h"
#include "tests/support/sim_line.h"

class ParamsWire : public OperatorPanels {
 protected:
  void SetUp() override {
    OperatorPanels::SetUp();
    if (HasFatalFailure()) return;
    SetParameterDefaults();
    SetPanelValues();
    target = RAM;
    ASSERT_TRUE(line_.ok());
    com = line_.port();
    ASSERT_EQ(OpenLinkPort(com), 0);
    SetCtrlVal(panelHandle, PANEL_STATUS, "before");
  }

  void TearDown() override {
    CloseCom(com);
    OperatorPanels::TearDown();
  }

  sim::Simulator &Sim() { return line_.sim(); }

  static sim::Words16 PP() {
    sim::Words16 words{};
    for (int i = 0; i < PNUM; ++i) words[static_cast<std::size_t>(i)] = pp[i];
    return words;
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

  testsupport::SimLine line_{sim::Pacing::Line};
};
