#include "tests/datamem/readout_fixture.h"

#include "app/startup.h"
#include "link/link.h"
#include "params/panels.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "ui/RVIMZEL4V14.h"

void DataReadout::SetUp() {
  ProgramLine::SetUp();
  if (HasFatalFailure()) return;
  Sim().setDataMemory(0, Memory(0));
  Sim().setDataMemory(1, Memory(1));
  SetLiveIndex(5, 6);
  InitVars();
  com = Line().port();
  InitRS232(com);
  ASSERT_EQ(std::string(szVersion).substr(0, 4), "ZEL4");  // the handshake went through
  DisplayPanel(panelHandle);
  Sim().clearRecord();
}

void DataReadout::TearDown() {
  CloseCom(com);
  ProgramLine::TearDown();
}

void DataReadout::SetLiveIndex(uint16_t indexA, uint16_t indexB) {
  Sim().setLiveWords({500, 600, 2000, 2100, 4000, 4001, 900, 950, kMinValA, kMinValB, 50, 0, 1, 0,
                      indexA, indexB});
}

void DataReadout::SetGraphSource(int source) {
  ASSERT_EQ(SetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, source), 0);
}

void DataReadout::ClickDataReadout() {
  Click(PANEL_BTNDATA);
}

std::vector<std::pair<int, int>> DataReadout::BlockRequests() {
  std::vector<std::pair<int, int>> blocks;
  for (const sim::RequestFrame &frame : Sim().requests()) {
    if (frame[2] == 0 && frame[3] == 9) {
      blocks.emplace_back(frame[4] << 8 | frame[5], frame[6] << 8 | frame[7]);
    }
  }
  return blocks;
}

std::vector<GraphPlotInfo> DataReadout::Plots() {
  return GraphPlots(panelHandle, PANEL_DATAGRAPH);
}

std::vector<double> DataReadout::Values(const uint16_t *words, int count) {
  return std::vector<double>(words, words + count);
}

std::vector<double> DataReadout::Constant(double value) {
  return std::vector<double>(128, value);
}

// Raw: A rises from 100 in steps of 3, B from 2000 in steps of 1.
// Normalised: A rises from 0 in steps of 5, B falls from 900 in steps of 2.
std::array<uint16_t, 256> DataReadout::Memory(int selector) {
  std::array<uint16_t, 256> words{};
  for (int i = 0; i < 128; ++i) {
    const auto a = static_cast<std::size_t>(i);
    words[a] = static_cast<uint16_t>(selector == 0 ? 100 + 3 * i : 5 * i);
    words[a + 128] = static_cast<uint16_t>(selector == 0 ? 2000 + i : 900 - 2 * i);
  }
  return words;
}
