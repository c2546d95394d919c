// Fixture of the recording-run tests: both panels from the real resource
// file, the controller simulator on a pty opened as start-up opens the port,
// a record file in a temporary directory, and a watcher that notes every
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

#include "link/link.h"
#include "params/panels.h"
#include "platform/serial/rs232.h"
#include "platform/ui/testing.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "recorder/recorder.h"
#include "scope/acquire.h"
#include "tests/link/link_port.h"
#include "tests/recorder/record_file.h"
#include "tests/support/program_panels.h"
#include "tests/support/sim_line.h"
#include "ui/RVIMZEL4V14.h"

// One observed value of the row counter, with the clock and the rows then on disk.
struct CountSeen {
  int count;
  double time;
  int rowsOnDisk;
};

class RecordRun : public testing::Test {
 protected:
  void SetUp() override {
    panelHandle = testsupport::LoadProgramPanel(PANEL);
    ASSERT_GT(panelHandle, 0);
    panelPopUp = testsupport::LoadProgramPanel(POPUP);
    ASSERT_GT(panelPopUp, 0);
    SetParameterDefaults();
    ASSERT_TRUE(line_.ok());
    com = line_.port();
    ASSERT_EQ(OpenLinkPort(com), 0);
    ASSERT_TRUE(tmp_.isValid());
    SetRecordFile(tmp_.filePath(QStringLiteral("RVimRecord.dat")).toStdString());
    SetCtrlVal(panelHandle, PANEL_STATUS, "before");
    line_.sim().setLiveWords(kLive);
  }

  void TearDown() override {
    CloseCom(com);
    if (panelPopUp > 0) DiscardPanel(panelPopUp);
    if (panelHandle > 0) DiscardPanel(panelHandle);
  }

  sim::Simulator &Sim() { return line_.sim(); }

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
    QTimer watch;
    watch.setTimerType(Qt::PreciseTimer);
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
      const int count = Value(panelPopUp, POPUP_RECCOUNT);
      if (!seen_.empty() && seen_.back().count == count) return;
      seen_.push_back({count, Timer(), static_cast<int>(Rows().size())});
      if (onChange) onChange(seen_.back());
    });
    watch.start();
    QTest::mouseClick(ControlWidget(panelHandle, PANEL_RECCTRL1), Qt::LeftButton);
    watch.stop();
    runEnd_ = Timer();
  }

  static void ClickStopRecording() {
    QTest::mouseClick(ControlWidget(panelHandle, PANEL_RECCTRL2), Qt::LeftButton);
  }

  static std::string File() { return ReadWholeFile(recfile_name); }
  static std::vector<std::string> Rows() { return RowLines(File()); }
  static std::string Header(int interval) {
    return std::string(kRecHeader) + std::to_string(interval) + "\n";
  }
  static std::string LiveRow() { return "1000\t64000\t0\t65535"; }

  static int Value(int panel, int control) {
    int v = -1;
    GetCtrlVal(panel, control, &v);
    return v;
  }
  static int Attribute(int panel, int control, int attribute) {
    int v = -1;
    GetCtrlAttribute(panel, control, attribute, &v);
    return v;
  }
  static std::string Text(int panel, int control) {
    char text[kTextBytes] = "";
    GetCtrlVal(panel, control, text);
    return text;
  }
  static std::string Status() { return Text(panelHandle, PANEL_STATUS); }

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
    EXPECT_EQ(Text(panelPopUp, POPUP_RECSTATE), "DATA-RECORDER");
    EXPECT_EQ(Attribute(panelPopUp, POPUP_RECSTATE, ATTR_TEXT_BGCOLOR), 0xE0E0E0);
    EXPECT_EQ(Attribute(panelPopUp, POPUP_RECSTATE, ATTR_TEXT_COLOR), 0x000000);
  }

  // Live words 0..3: normalised A, normalised B, raw A, raw B.
  static constexpr sim::Words16 kLive = {1000, 64000, 0,  65535, 10, 20, 30, 40,
                                         50,   60,    70, 80,    1,  0,  5,  6};

  testsupport::SimLine line_{sim::Pacing::Line};
  QTemporaryDir tmp_;
  std::vector<CountSeen> seen_;
  double runEnd_ = 0;
};
