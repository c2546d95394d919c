// Acting on the loaded panels as the operator does, and recording every text
// the status line takes while a callback runs.
#pragma once

#include <QLabel>
#include <QSpinBox>
#include <QString>
#include <QTest>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/params/loaded_panels.h"

// Every text shown in the status line, in order, even texts replaced before
// any event could be processed (see status_tap.cpp).
class StatusRecorder {
 public:
  StatusRecorder();
  ~StatusRecorder();
  StatusRecorder(const StatusRecorder &) = delete;
  StatusRecorder &operator=(const StatusRecorder &) = delete;

  const std::vector<std::string> &texts() const;
};

class OperatorPanels : public LoadedPanels {
 protected:
  using LoadedPanels::LoadedPanels;

  static QLabel *StatusLabel() { return Widget<QLabel>(panelHandle, PANEL_STATUS); }

  // Clicks on the round indicator of a radio button.
  static void ClickRadio(int control) {
    QWidget *radio = Widget(panelHandle, control);
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
  }

  // Types a number into a numeric control and commits it with Enter.
  static void Type(int panel, int control, int value) {
    auto *spin = Widget<QSpinBox>(panel, control);
    ASSERT_NE(spin, nullptr);
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QString::number(value));
    QTest::keyClick(spin, Qt::Key_Return);
    ASSERT_EQ(Value(panel, control), value);
  }

  // Which radio buttons are on: RAM, EEPROM, File.
  static std::vector<int> Radios() {
    return {Value(panelHandle, PANEL_RBTRAM), Value(panelHandle, PANEL_RBTEEPROM),
            Value(panelHandle, PANEL_RBTFILE)};
  }

  static std::array<uint16_t, 15> FullSetVariables() {
    return {powerA, refA,     tolA,     triglvlA, hysteresis, polarity, hold,   average,
            hwmode, evalmode, trigmode, outmode,  anamode,    sdelay,   maxmode};
  }
  static std::array<uint16_t, 4> ChannelBVariables() { return {powerB, refB, tolB, triglvlB}; }
};
