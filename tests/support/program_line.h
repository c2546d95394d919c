// The program on a simulated line: both panels from the real resource file
// with the test program's callbacks bound, the controller simulator on a pty
// registered in the port table, and the port opened through the program's own
// OpenRS232. The simulator answers at once unless a test makes timing its
// subject and asks for the line's pace. Helpers act on the panels as the
// operator does and read what they show.
#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <optional>
#include <string>

#include "link/link.h"
#include "platform/ui/userint.h"
#include "sim/simulator.h"
#include "tests/support/sim_line.h"
#include "tests/support/ui_inspect.h"
#include "ui/RVIMZEL4V14.h"

namespace testsupport {

// Both panels into panelHandle and panelPopUp; false when one fails to load.
bool LoadBothPanels();
void DiscardBothPanels();
// com = the line's port, opened as the program opens it; false on failure.
bool OpenProgramLine(SimLine &line);

// The status line as shown.
std::string Status();
// A control's value: int (numbers, rings, radio buttons), double or text.
template <typename T = int>
T Value(int panel, int control);
template <>
int Value<int>(int panel, int control);
template <>
double Value<double>(int panel, int control);
template <>
std::string Value<std::string>(int panel, int control);
int Attribute(int panel, int control, int attribute);

template <typename W = QWidget>
W *Widget(int panel, int control) {
  return qobject_cast<W *>(ControlWidget(panel, control));
}
// A left mouse click on a control: press (left-click event), release (commit).
void Click(int panel, int control);
void Click(int control);  // on the main panel
// The operator opens a ring's list and picks the item with this value.
void Choose(int panel, int control, int value);
void Choose(int control, int value);  // on the main panel
// The word array pp as the simulator's word type.
sim::Words16 PP();

// What a fixture sets up before each case.
struct ProgramSetup {
  sim::Pacing pacing = sim::Pacing::Instant;
  bool panels = true;         // both panels loaded, callbacks bound
  bool simulator = true;      // a simulator on a pty in the port table
  bool openPort = true;       // com opened on it, parameters at their defaults
  bool skipIdleWaits = true;  // the simulator skips the program's idle waiting
};

class ProgramLine : public testing::Test {
 protected:
  explicit ProgramLine(ProgramSetup setup = {});

  void SetUp() override;
  // Closes the port this fixture opened and discards the panels it loaded.
  void TearDown() override;

  sim::Simulator &Sim() { return line_->sim(); }
  SimLine &Line() { return *line_; }
  void SetFaults(const sim::Faults &faults) { Sim().setFaults(faults); }

 private:
  ProgramSetup setup_;
  std::optional<SimLine> line_;
};

}  // namespace testsupport

// The case bodies name the helpers unqualified.
using testsupport::Attribute;
using testsupport::Choose;
using testsupport::Click;
using testsupport::PP;
using testsupport::Status;
using testsupport::Value;
using testsupport::Widget;
