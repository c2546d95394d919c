// The controller's latitude: what the protocol leaves to the controller, chosen
// afresh for every answer from a seeded stream, so that a run can be repeated
// exactly. Fixed content (order word, sync value, parameter and live words,
// firmware text, data blocks) is never touched.
#pragma once

#include <cstdint>

#include "sim/controller.h"
#include "sim/line.h"

namespace sim {

// splitmix64: small, and the same stream for the same seed everywhere.
class SeededStream {
 public:
  explicit SeededStream(uint64_t seed) : state_(seed) {}
  uint64_t next();
  uint64_t below(uint64_t bound);  // 0 .. bound - 1
  Clock::duration between(Clock::duration low, Clock::duration high);

 private:
  uint64_t state_;
};

// Delays and gaps stay far inside the shortest answer bound (1.5 s, with up to
// 67 ms of line time for a data block) and mostly short, so that suites run
// under latitude are hardly slower.
constexpr Clock::duration kLongestDelay = std::chrono::milliseconds(150);
constexpr Clock::duration kLongestGap = std::chrono::milliseconds(20);
constexpr int kMostPieces = 4;

class Latitude {
 public:
  explicit Latitude(uint64_t seed) : stream_(seed) {}

  // Whether an optional answer goes out at all.
  bool sends();
  // Header, word 0 and the free words, as far as the answer leaves them open.
  void vary(Answer *answer, bool keepHeader);
  Clock::duration delay();
  // The answer in one to kMostPieces pieces.
  Gaps split(std::size_t size);

 private:
  uint16_t word0(uint16_t asBuilt);
  void varyFreeWords(std::vector<uint8_t> *frame, int from);

  SeededStream stream_;
};

}  // namespace sim
