// Test fixture for the program's start-up: a simulated controller on a pty at
// the program's default port 1, the real start-up (StartProgram) with the real
// resource file, and ways to act on the port selector as the operator does.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "link/link.h"
#include "params/panels.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "recorder/recorder.h"
#include "sim/simulator.h"
#include "tests/support/latitude.h"
#include "tests/support/param_controls.h"
#include "tests/support/program_line.h"
#include "tests/support/program_panels.h"
#include "tests/support/runtime_extras.h"
#include "tests/support/ui_inspect.h"
#include "ui/RVIMZEL4V14.h"

namespace apptest {

// Distinct parameter sets, none equal to the resource file's values.
inline const sim::Words16 kFullSet = {0,  611, 1234, 345, 777, 33, 0,    222,
                                      16, 2,   1,    3,   1,   2,  1500, 1};
inline const sim::Words16 kSetB = {1, 622, 1876, 456, 888, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
inline const char kFirmware[] = "ZEL4 TEST FW 9.87";

// The firmware text as the controller sends it: one character a word, blank-padded.
inline std::array<uint16_t, 32> FirmwareWords(const std::string &text) {
  std::array<uint16_t, 32> words{};
  words.fill(' ');
  for (std::size_t i = 0; i < text.size() && i < words.size(); ++i) {
    words[i] = static_cast<uint8_t>(text[i]);
  }
  return words;
}

// The status line after a successful handshake: all 32 characters.
inline std::string FirmwareStatus(const std::string &text) {
  std::string status = text;
  status.resize(32, ' ');
  return status;
}

inline std::vector<int> Orders(const sim::Simulator &controller) {
  std::vector<int> orders;
  for (const sim::RequestFrame &frame : controller.requests()) {
    orders.push_back(frame[2] << 8 | frame[3]);
  }
  return orders;
}

// The order codes of `count` complete start-up handshakes.
inline std::vector<int> Handshakes(int count) {
  std::vector<int> orders;
  for (int i = 0; i < count; ++i) {
    for (int order : {5, 2, 2, 7}) orders.push_back(order);
  }
  return orders;
}

// A controller simulator that started and sits at a port number of its own,
// skipping the program's idle waiting.
struct Controller {
  Controller() { testsupport::ApplyLatitude(sim); }

  sim::Simulator sim{sim::Pacing::Line};
  int port = -1;

  // number 0: a number added to the table; otherwise that number.
  bool startAt(int number) {
    if (!sim.start()) return false;
    testsupport::SkipIdleWaits(sim);
    port =
        number > 0 ? PortTableAssign(number, sim.slavePath()) : PortTableAddDevice(sim.slavePath());
    return port > 0;
  }
  void loadDistinctSet() {
    sim.setParameterSet(1, 0, kFullSet);
    sim.setParameterSet(1, 1, kSetB);
    sim.setFirmwareText(FirmwareWords(kFirmware));
  }
};

// Runs `action` once from the program's event loop, as soon as the start-up
// handshake's four requests have reached `controller`: from a timer, which
// runs in full event processing only, never inside the handshake's polls.
class AfterStartUp {
 public:
  AfterStartUp(const sim::Simulator &controller, std::function<void()> action) {
    QObject::connect(&timer_, &QTimer::timeout, [this, &controller, action] {
      if (controller.requestCount() < Handshakes(1).size()) return;
      timer_.stop();
      action();
    });
    timer_.start(5);
  }

 private:
  QTimer timer_;
};

// The next recording goes into `dir`, every answer a row, up to 60000 rows.
inline void RecordEveryAnswerInto(const QTemporaryDir &dir) {
  std::snprintf(recfile_name, sizeof recfile_name, "%s",
                dir.filePath(QStringLiteral("RVimRecord.dat")).toUtf8().constData());
  SetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, 0);
  SetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, 60000);
}

class StartupTest : public testsupport::ProgramLine {
 protected:
  StartupTest() : ProgramLine({.panels = false, .simulator = false, .openPort = false}) {}

  void TearDown() override {
    if (started_) EndProgram();
    SetPromptAnswer({});
  }

  // The program's start-up, up to the event loop.
  int Start() {
    static char name[] = "RVIMZEL4V14";
    static char *argv[] = {name, nullptr};
    const int result = StartProgram(1, argv);
    started_ = result == 0;
    return result;
  }

  // Chooses the selector item with the given value through the ring's list,
  // as the operator does with the mouse or the keyboard.
  static void ChooseComPort(int value) { Choose(PANEL_DROPDCOM, value); }

  static std::vector<int> SelectorValues() {
    auto *ring = qobject_cast<QComboBox *>(ControlWidget(panelHandle, PANEL_DROPDCOM));
    std::vector<int> values;
    for (int i = 0; ring != nullptr && i < ring->count(); ++i) {
      values.push_back(ring->itemData(i).toInt());
    }
    return values;
  }

  static std::string SelectorText() {
    auto *ring = qobject_cast<QComboBox *>(ControlWidget(panelHandle, PANEL_DROPDCOM));
    return ring != nullptr ? ring->currentText().toStdString() : std::string();
  }

  bool started_ = false;
};

// The parameter controls' values of a pair of panels, in kParamControls order.
inline std::vector<int> ParamValues(int mainPanel, int popupPanel) {
  std::vector<int> values;
  for (const ParamControl &param : kParamControls) {
    values.push_back(Value(param.onPopup ? popupPanel : mainPanel, param.control));
  }
  return values;
}

// The same values as the resource file gives them, from a fresh load (after
// start-up, which registers the callbacks the file names).
inline std::vector<int> ResourceFileParamValues() {
  const int mainPanel = testsupport::LoadProgramPanel(PANEL);
  const int popupPanel = testsupport::LoadProgramPanel(POPUP);
  std::vector<int> values = ParamValues(mainPanel, popupPanel);
  DiscardPanel(popupPanel);
  DiscardPanel(mainPanel);
  return values;
}

// What the panels show for a controller's two sets, in kParamControls order.
inline std::vector<int> ExpectedParamValues(const sim::Words16 &full, const sim::Words16 &setB) {
  // powerA, powerB, refA, refB, tolA, tolB, hysteresis, hwmode, maxmode, average,
  // polarity, hold, evalmode, triglvlA, triglvlB, trigmode, sdelay, outmode, anamode
  return {full[1], setB[1],  full[2],  setB[2],  full[3], setB[3],  full[5],
          full[9], full[15], full[8],  full[6],  full[7], full[10], full[4],
          setB[4], full[11], full[14], full[12], full[13]};
}

}  // namespace apptest
