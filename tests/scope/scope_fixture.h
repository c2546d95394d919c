// Fixture of the live-scope tests: the program started as WinMain starts it,
// the controller simulator on a pty chosen through the port selector, and
// the operator's buttons and rings of the main panel.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

#include "app/startup.h"
#include "link/link.h"
#include "params/panels.h"
#include "platform/serial/rs232.h"
#include "platform/ui/testing.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "scope/acquire.h"
#include "scope/history.h"
#include "tests/support/sim_line.h"
#include "ui/RVIMZEL4V14.h"

// Fixed live words: normalised A/B, ADC A/B, Amax, Bmax, MAX A/B, MIN A/B,
// common tolerance, button, inputs 0/1, indexes A/B.
constexpr sim::Words16 kLive = {610, 620, 1234, 4321, 3000, 3100, 700, 710,
                                500, 510, 25,   0,    1,    0,    5,   6};
// A raw history value no live answer ever plots.
constexpr int kUnplotted = -7;

class LiveScope : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(line_.ok());
    Sim().setLiveWords(kLive);
    char name[] = "scope_tests";
    char *argv[] = {name, nullptr};
    ASSERT_EQ(StartProgram(1, argv), 0);
    started_ = true;
    ChoosePort(line_.port());
    ASSERT_EQ(com, line_.port());
    ASSERT_EQ(Sim().requestCount(), Sim().answerCount());
    Sim().clearRecord();
  }

  void TearDown() override {
    if (started_) EndProgram();
  }

  sim::Simulator &Sim() { return line_.sim(); }

  template <typename W = QWidget>
  static W *Widget(int control) {
    return qobject_cast<W *>(ControlWidget(panelHandle, control));
  }

  static void Click(int control) {
    QTest::mouseClick(Widget<QAbstractButton>(control), Qt::LeftButton);
  }

  // The operator picks the item with this value: index change, then activation.
  static void Choose(int control, int value) {
    auto *ring = Widget<QComboBox>(control);
    ASSERT_NE(ring, nullptr);
    const int index = ring->findData(value);
    ASSERT_GE(index, 0) << "no item " << value;
    ring->setCurrentIndex(index);
    emit ring->activated(index);
  }

  static void ChoosePort(int port) { Choose(PANEL_DROPDCOM, port); }

  static int Dimmed(int control) {
    int dimmed = -1;
    GetCtrlAttribute(panelHandle, control, ATTR_DIMMED, &dimmed);
    return dimmed;
  }

  static int Visible(int control) {
    int visible = -1;
    GetCtrlAttribute(panelHandle, control, ATTR_VISIBLE, &visible);
    return visible;
  }

  static std::string Status() {
    char text[kTextBytes] = "";
    GetCtrlVal(panelHandle, PANEL_STATUS, text);
    return text;
  }

  // Raw records written since the history was filled with kUnplotted.
  static int PlottedRawRecords() {
    int count = 0;
    for (int r = 0; r < kHistoryRecords; ++r) count += arrayRAW[2 * r] != kUnplotted;
    return count;
  }

  // Normalised records with a live value (the value trace of a fill is 0).
  static int PlottedNormRecords() {
    int count = 0;
    for (int r = 0; r < kHistoryRecords; ++r) count += arrayNORM[6 * r + 5] != 0;
    return count;
  }

  static bool HistoriesAtReset() {
    for (int r = 0; r < kHistoryRecords; ++r) {
      const double *raw = &arrayRAW[2 * r];
      const double *norm = &arrayNORM[6 * r];
      if (raw[0] != 0 || raw[1] != 0) return false;
      const double reset[6] = {2560, 1536, 2048, 0, 0, 0};
      for (int i = 0; i < 6; ++i) {
        if (norm[i] != reset[i]) return false;
      }
    }
    return true;
  }

  // Clicks Run after `plan` has scheduled what happens during the run; returns
  // the seconds Run took.
  static double RunWith(const std::function<void()> &plan) {
    plan();
    const double start = Timer();
    Click(PANEL_BTNRUN);
    return Timer() - start;
  }

  testsupport::SimLine line_{sim::Pacing::Line};
  bool started_ = false;
};
