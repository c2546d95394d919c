// Fixture of the readout tests: the program on a simulated line, opened by the
// program's start values and start-up handshake, and a data memory whose
// words tell where they came from.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/program_line.h"

class DataReadout : public testsupport::ProgramLine {
 protected:
  DataReadout() : ProgramLine({.openPort = false}) {}

  // Live answer words the tests control (words 8, 9, 14 and 15).
  static constexpr uint16_t kMinValA = 111;
  static constexpr uint16_t kMinValB = 222;

  void SetUp() override;
  void TearDown() override;

  // Live answers with these index words (before the program limits them).
  void SetLiveIndex(uint16_t indexA, uint16_t indexB);
  // Selects a graph source item of the ring, as the program would.
  static void SetGraphSource(int source);
  // The operator presses "Data readout".
  static void ClickDataReadout();

  // Block requests (order 9) since the last clearRecord: (offset, selector).
  std::vector<std::pair<int, int>> BlockRequests();

  static std::vector<GraphPlotInfo> Plots();
  static std::vector<double> Values(const uint16_t *words, int count);
  static std::vector<double> Constant(double value);

  // What the simulator's data memory holds: raw 0, normalised 1.
  static std::array<uint16_t, 256> Memory(int selector);
};
