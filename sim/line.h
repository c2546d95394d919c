// The serial line as the simulator sees it: request frames cut out of the
// incoming bytes, and answer bytes queued with the time each has crossed the
// line (19200 baud, 10 bits a byte, when paced).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "sim/simulator.h"

namespace sim {

using Clock = std::chrono::steady_clock;
constexpr Clock::duration kByteTime = std::chrono::nanoseconds(520833);

// Finds request frames (they start 00 55) in the byte stream, dropping one byte
// at a time until the stream is in step again.
class RequestFramer {
 public:
  struct Complete {
    RequestFrame frame;
    Clock::time_point due;  // when the last byte has arrived
  };
  std::optional<Complete> feed(uint8_t byte, Clock::time_point readTime, Pacing pacing);
  void reset();

 private:
  std::vector<uint8_t> partial_;
  Clock::time_point lineFree_{};
};

// A pause on the line before the byte at `offset` of an answer; offsets ascend.
struct Gap {
  std::size_t offset;
  Clock::duration pause;
};
using Gaps = std::vector<Gap>;

// Pieces of `chunk` bytes with `pause` between them; none for chunk <= 0.
Gaps ChunkGaps(std::size_t size, int chunk, Clock::duration pause);

class OutputLine {
 public:
  void schedule(const std::vector<uint8_t> &bytes, Clock::time_point earliest, Pacing pacing,
                const Gaps &gaps);
  bool empty() const { return bytes_.empty(); }
  Clock::time_point nextDue() const { return bytes_.front().due; }
  // Copies up to max bytes that are due at `now` into out; returns the count.
  std::size_t takeDue(Clock::time_point now, uint8_t *out, std::size_t max) const;
  // Moves every byte still to send that much sooner.
  void bringForward(Clock::duration by);
  // Removes the first n bytes as sent; returns how many answers they completed.
  std::size_t markSent(std::size_t n);
  void clear();

 private:
  struct Byte {
    uint8_t value;
    Clock::time_point due;
    bool endsAnswer;
  };
  std::deque<Byte> bytes_;
  Clock::time_point lineFree_{};
};

}  // namespace sim
