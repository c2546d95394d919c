#include "tests/support/program_line.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

#include "platform/serial/rs232.h"
#include "tests/support/program_panels.h"

namespace testsupport {

bool LoadBothPanels() {
  panelHandle = LoadProgramPanel(PANEL);
  panelPopUp = LoadProgramPanel(POPUP);
  return panelHandle > 0 && panelPopUp > 0;
}

void DiscardBothPanels() {
  if (panelPopUp > 0) DiscardPanel(panelPopUp);
  if (panelHandle > 0) DiscardPanel(panelHandle);
  panelPopUp = 0;
  panelHandle = 0;
}

bool OpenProgramLine(SimLine &line) {
  if (!line.ok()) return false;
  SetParameterDefaults();
  com = line.port();
  return OpenRS232(com) == 0;
}

std::string Status() {
  return Value<std::string>(panelHandle, PANEL_STATUS);
}

template <>
int Value<int>(int panel, int control) {
  int value = -1;
  GetCtrlVal(panel, control, &value);
  return value;
}

template <>
double Value<double>(int panel, int control) {
  double value = -1;
  GetCtrlVal(panel, control, &value);
  return value;
}

template <>
std::string Value<std::string>(int panel, int control) {
  char text[kTextBytes] = "";
  GetCtrlVal(panel, control, text);
  return text;
}

int Attribute(int panel, int control, int attribute) {
  int value = -1;
  GetCtrlAttribute(panel, control, attribute, &value);
  return value;
}

void Click(int panel, int control) {
  QWidget *widget = ControlWidget(panel, control);
  ASSERT_NE(widget, nullptr) << "no control " << control;
  QTest::mouseClick(widget, Qt::LeftButton);
}

void Click(int control) {
  Click(panelHandle, control);
}

void Choose(int panel, int control, int value) {
  auto *ring = Widget<QComboBox>(panel, control);
  ASSERT_NE(ring, nullptr) << "no ring " << control;
  const int index = ring->findData(value);
  ASSERT_GE(index, 0) << "no item with value " << value;
  ring->showPopup();
  QAbstractItemView *list = ring->view();
  list->setCurrentIndex(list->model()->index(index, 0));
  QTest::keyClick(list, Qt::Key_Return);
}

void Choose(int control, int value) {
  Choose(panelHandle, control, value);
}

sim::Words16 PP() {
  sim::Words16 words{};
  for (int i = 0; i < PNUM; ++i) words[static_cast<std::size_t>(i)] = pp[i];
  return words;
}

ProgramLine::ProgramLine(ProgramSetup setup) : setup_(setup) {
  if (setup_.simulator) line_.emplace(setup_.pacing);
  if (setup_.simulator && setup_.skipIdleWaits) SkipIdleWaits(line_->sim());
}

void ProgramLine::SetUp() {
  if (setup_.panels) {
    ASSERT_TRUE(LoadBothPanels());
  }
  if (setup_.simulator) {
    ASSERT_TRUE(line_->ok());
  }
  if (setup_.openPort) {
    ASSERT_TRUE(OpenProgramLine(*line_));
  }
}

void ProgramLine::TearDown() {
  if (setup_.openPort) CloseCom(com);
  if (setup_.panels) DiscardBothPanels();
}

}  // namespace testsupport
