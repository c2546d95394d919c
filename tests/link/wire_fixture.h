// Fixture of the wire tests: the main panel loaded from the real resource
// file (its PANEL_STATUS is the status line), the controller simulator on a
// pty, and the link's port opened on it as start-up opens it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "link/link.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "tests/link/link_port.h"
#include "tests/support/program_panels.h"
#include "tests/support/sim_line.h"
#include "ui/RVIMZEL4V14.h"

class LinkWire : public testing::Test {
 protected:
  void SetUp() override {
    panelHandle = testsupport::LoadProgramPanel(PANEL);
    ASSERT_GT(panelHandle, 0);
    SetParameterDefaults();
    maxmode = 0;
    ASSERT_TRUE(line_.ok());
    com = line_.port();
    ASSERT_EQ(OpenLinkPort(com), 0);
    ShowStatus("before");
    std::strcpy(szStatus, "previous");
  }

  void TearDown() override {
    CloseCom(com);
    if (panelHandle > 0) DiscardPanel(panelHandle);
  }

  sim::Simulator &Sim() { return line_.sim(); }

  void SetFaults(const sim::Faults &faults) { Sim().setFaults(faults); }

  static void ShowStatus(const char *text) { SetCtrlVal(panelHandle, PANEL_STATUS, text); }

  // The status line as shown.
  static std::string Status() {
    char text[kTextBytes] = "";
    GetCtrlVal(panelHandle, PANEL_STATUS, text);
    return text;
  }

  static QLabel *StatusLabel() {
    for (QWidget *top : QApplication::topLevelWidgets()) {
      if (auto *label = top->findChild<QLabel *>(QStringLiteral("PANEL_STATUS"))) return label;
    }
    return nullptr;
  }

  static sim::Words16 PP() {
    sim::Words16 words{};
    for (int i = 0; i < PNUM; ++i) words[static_cast<std::size_t>(i)] = pp[i];
    return words;
  }

  // Waits without processing events until the input queue holds `bytes`.
  static bool QueueHolds(int bytes, double seconds = 2.0) {
    return testsupport::WaitUntil([bytes] { return GetInQLen(com) >= bytes; }, seconds);
  }

  testsupport::SimLine line_{sim::Pacing::Line};
};
