// Fixture of the live-scope tests: the program started as WinMain starts it,
// and the controller simulator on a pty chosen through the port selector.
#pragma once

#include <gtest/gtest.h>

#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "params/panels.h"
#include "platform/serial/rs232.h"
#include "platform/util/utility.h"
#include "scope/acquire.h"
#include "scope/history.h"
#include "tests/support/program_line.h"

// Fixed live words: normalised A/B, ADC A/B, Amax, Bmax, MAX A/B, MIN A/B,
// common tolerance, button, inputs 0/1, indexes A/B.
constexpr sim::Words16 kLive = {610, 620, 1234, 4321, 3000, 3100, 700, 710,
                                500, 510, 25,   0,    1,    0,    5,   6};
// A raw history value no live answer ever plots.
constexpr int kUnplotted = -7;

class LiveScope : public testsupport::ProgramLine {
 protected:
  // The live loop at the line's pace is what these tests watch.
  LiveScope() : ProgramLine({.pacing = sim::Pacing::Line, .panels = false, .openPort = false}) {}

  void SetUp() override {
    ProgramLine::SetUp();
    if (HasFatalFailure()) return;
    Sim().setLiveWords(kLive);
    char name[] = "scope_tests";
    char *argv[] = {name, nullptr};
    ASSERT_EQ(StartProgram(1, argv), 0);
    started_ = true;
    ChoosePort(Line().port());
    ASSERT_EQ(com, Line().port());
    ASSERT_EQ(Sim().requestCount(), Sim().answerCount());
    Sim().clearRecord();
  }

  void TearDown() override {
    if (started_) EndProgram();
  }

  static void ChoosePort(int port) { Choose(PANEL_DROPDCOM, port); }

  static int Dimmed(int control) { return Attribute(panelHandle, control, ATTR_DIMMED); }
  static int Visible(int control) { return Attribute(panelHandle, control, ATTR_VISIBLE); }

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

  // Runs `action` once, from the event loop, as soon as `ready()` holds: what
  // happens during a run follows the run's progress, not the clock, whatever
  // pace the controller keeps.
  void When(std::function<bool()> ready, std::function<void()> action) {
    QTimer &timer = *watches_.emplace_back(std::make_unique<QTimer>());
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&timer, ready, action] {
      if (!ready()) return;
      timer.stop();
      action();
    });
    timer.start();
  }

  bool started_ = false;

 private:
  std::vector<std::unique_ptr<QTimer>> watches_;
};
