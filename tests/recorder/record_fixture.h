// Fixture of the recording-run tests: the program on a simulated line, a
// record file in a temporary directory, and a watcher that notes every
// change of the row counter while the run is inside its click.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "params/panels.h"
#include "tests/support/ui_inspect.h"
#include "platform/util/utility.h"
#include "recorder/recorder.h"
#include "scope/acquire.h"
#include "tests/recorder/record_file.h"
#include "tests/support/program_line.h"

// One observed value of the row counter, with the clock and the rows then on disk.
struct CountSeen {
  int count;
  double time;
  int rowsOnDisk;
};

class RecordRun : public testsupport::ProgramLine {
 protected:
  // The watcher sees every row only at the line's pace.
  RecordRun() : ProgramLine({.pacing = sim::Pacing::Line}) {}

  void SetUp() override {
    ProgramLine::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(tmp_.isValid());
    SetRecordFile(tmp_.filePath(QStringLiteral("RVimRecord.dat")).toStdString());
    SetCtrlVal(panelHandle, PANEL_STATUS, "before");
    Sim().setLiveWords(kLive);
  }

  static void SetRecordFile(const std::string &path) {
    ASSERT_LT(path.size(), static_cast<std::size_t>(kMaxPathname));
    std::strcpy(recfile_name, path.c_str());
  }
  static void Settings(int interval, int samples) {
    SetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, interval);
    SetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, samples);
  }

  // The operator clicks Start recording; returns when the run has ended.
  // onChange runs at every change of the row counter during the run. A run
  // still going after 30 s is stopped, and the test fails.
  void Record(const std::function<void(const CountSeen &)> &onChange = {}) {
    seen_.clear();
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [] {
      ADD_FAILURE() << "the run did not end by itself within 30 s";
      ClickStopRecording();
    });
    limit.start(30000);
    auto look = [&] {
      const int count = Value(panelPopUp, POPUP_RECCOUNT);
      if (!seen_.empty() && seen_.back().count == count) return;
      seen_.push_back({count, Timer(), static_cast<int>(Rows().size())});
      if (onChange) onChange(seen_.back());
    };
    QTimer watch;
    watch.setTimerType(Qt::PreciseTimer);
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, look);
    watch.start();
    Click(panelHandle, PANEL_RECCTRL1);
    watch.stop();
    // The last row's pass may end the run before the watch is due again.
    look();
    runEnd_ = Timer();
  }

  static void ClickStopRecording() { Click(panelHandle, PANEL_RECCTRL2); }

  static std::string File() { return ReadWholeFile(recfile_name); }
  static std::vector<std::string> Rows() { return RowLines(File()); }
  static std::string Header(int interval) {
    return std::string(kRecHeader) + std::to_string(interval) + "\n";
  }
  static std::string LiveRow() { return "1000\t64000\t0\t65535"; }

  // Times of the rows, from the counter changes seen during the run.
  std::vector<double> RowTimes() const {
    std::vector<double> times;
    for (const CountSeen &s : seen_)
      if (s.count > 0) times.push_back(s.time);
    return times;
  }

  // Every counter value seen was already on disk at that moment.
  void ExpectEveryCountOnDisk() const {
    for (const CountSeen &s : seen_) EXPECT_GE(s.rowsOnDisk, s.count) << "count " << s.count;
  }

  // Controls after a run that ended by itself (count, time-out, error).
  static void ExpectEndOfRunControls() {
    EXPECT_EQ(Attribute(panelHandle, PANEL_ACQCTRL1, ATTR_DIMMED), 0);
    EXPECT_EQ(Attribute(panelHandle, PANEL_ACQCTRL2, ATTR_DIMMED), 0);
    EXPECT_EQ(Attribute(panelPopUp, POPUP_RECCTRL, ATTR_DIMMED), 0);
    EXPECT_EQ(Attribute(panelHandle, PANEL_RECCTRL1, ATTR_DIMMED), 1);
    EXPECT_EQ(Value<std::string>(panelPopUp, POPUP_RECSTATE), "DATA-RECORDER");
    EXPECT_EQ(Attribute(panelPopUp, POPUP_RECSTATE, ATTR_TEXT_BGCOLOR), 0xE0E0E0);
    EXPECT_EQ(Attribute(panelPopUp, POPUP_RECSTATE, ATTR_TEXT_COLOR), 0x000000);
  }

  // Live words 0..3: normalised A, normalised B, raw A, raw B.
  static constexpr sim::Words16 kLive = {1000, 64000, 0,  65535, 10, 20, 30, 40,
                                         50,   60,    70, 80,    1,  0,  5,  6};

  QTemporaryDir tmp_;
  std::vector<CountSeen> seen_;
  double runEnd_ = 0;
};
