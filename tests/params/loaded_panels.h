// Test fixture: both panels loaded from the real resource file beside the
// test binary, callbacks bound through the program's registry, and lookups of
// the Qt widgets behind the controls so that tests can act as an operator.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "link/link.h"
#include "params/panels.h"
#include "platform/ui/testing.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "tests/support/program_panels.h"
#include "ui/RVIMZEL4V14.h"

class LoadedPanels : public ::testing::Test {
 protected:
  void SetUp() override {
    panelHandle = testsupport::LoadProgramPanel(PANEL);
    ASSERT_GT(panelHandle, 0);
    panelPopUp = testsupport::LoadProgramPanel(POPUP);
    ASSERT_GT(panelPopUp, 0);
  }

  void TearDown() override {
    if (panelPopUp > 0) DiscardPanel(panelPopUp);
    if (panelHandle > 0) DiscardPanel(panelHandle);
  }

  // The widget behind a control, for acting as the operator and looking at it.
  template <typename W = QWidget>
  static W *Widget(int panel, int control) {
    return qobject_cast<W *>(ControlWidget(panel, control));
  }

  static int Value(int panel, int control) {
    int v = -1;
    GetCtrlVal(panel, control, &v);
    return v;
  }
};
