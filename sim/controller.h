// The controller model behind the simulator: parameter sets in RAM and
// EEPROM, firmware text, data memory and moving live values. Not thread-safe;
// the simulator guards it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "sim/simulator.h"

namespace sim {

constexpr int kRam = 1;
constexpr int kEeprom = 2;

// One answer, and which of its parts the controller is free to choose: the
// header of every frame is; the rest as marked.
struct Answer {
  std::vector<uint8_t> bytes;
  bool frame = false;      // a 36-byte frame (not a bare block)
  bool syncWord = false;   // word 0 is the sync value 0x00AA (echo, info block)
  bool openWord0 = false;  // word 0 is free (parameter reads and commands)
  int openFrom = 16;       // words openFrom to 15 are free: nobody stores them
  bool optional = false;   // nobody waits for it; the controller may leave it out
};

class Controller {
 public:
  Controller();

  // The answer to one request (marked optional where nobody waits for it),
  // or nothing for orders the controller does not know.
  std::optional<Answer> handle(const RequestFrame &request);

  void setParameterSet(int store, int set, const Words16 &words);
  Words16 parameterSet(int store, int set) const;
  void setFirmwareText(const std::array<uint16_t, 32> &words) { firmware_ = words; }
  void setDataMemory(int selector, const std::array<uint16_t, 256> &words);
  void setLiveWords(const Words16 &words);
  void setLiveMoving(bool moving) { moving_ = moving; }

 private:
  static bool validSet(int store, int set);
  Words16 *setFor(int store, int set);
  void storeSet(int store, const Words16 &request);
  Answer readSet(int order, int store, const Words16 &request) const;
  Answer dataBlock(const Words16 &request) const;
  void advanceLive();
  void teach();

  std::array<std::array<Words16, 2>, 2> sets_{};  // [store - 1][set]
  std::array<uint16_t, 32> firmware_{};
  std::array<std::array<uint16_t, 256>, 2> memory_{};
  Words16 live_{};
  bool moving_ = true;
  long step_ = 0;
  double maxA_ = 1;
  double maxB_ = 1;
  std::array<uint16_t, 32> recentA_{};
  std::array<uint16_t, 32> recentB_{};
};

// Frame helpers shared with the simulator.
uint16_t WordAt(const RequestFrame &frame, int index);
std::vector<uint8_t> FrameBytes(int order, const Words16 &words);
std::vector<uint8_t> BlockBytes(const uint16_t *words, std::size_t count);

}  // namespace sim
