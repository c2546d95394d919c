// Choices of the controller's latitude.
#include "sim/latitude.h"

#include <algorithm>

namespace sim {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

static_assert(kLongestDelay + (kMostPieces - 1) * kLongestGap <= milliseconds(250),
              "an answer's latitude stays far inside the shortest bound of 1.5 s");

void setWord(std::vector<uint8_t> *frame, int index, uint16_t word) {
  const auto at = static_cast<std::size_t>(4 + 2 * index);
  (*frame)[at] = static_cast<uint8_t>(word >> 8);
  (*frame)[at + 1] = static_cast<uint8_t>(word & 0xFF);
}

uint16_t wordOf(const std::vector<uint8_t> &frame, int index) {
  const auto at = static_cast<std::size_t>(4 + 2 * index);
  return static_cast<uint16_t>(frame[at] << 8 | frame[at + 1]);
}

}  // namespace

uint64_t SeededStream::next() {
  uint64_t z = state_ += 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

uint64_t SeededStream::below(uint64_t bound) {
  return bound == 0 ? 0 : next() % bound;
}

Clock::duration SeededStream::between(Clock::duration low, Clock::duration high) {
  const auto span = static_cast<uint64_t>((high - low).count());
  return low + Clock::duration(static_cast<Clock::rep>(below(span + 1)));
}

bool Latitude::sends() {
  return stream_.below(2) == 0;
}

void Latitude::vary(Answer *answer, bool keepHeader) {
  std::vector<uint8_t> &frame = answer->bytes;
  if (!answer->frame || frame.size() < 36) return;  // bare blocks are all content
  if (!keepHeader) {
    switch (stream_.below(3)) {
      case 0:
        break;  // 00 55 as sent
      case 1:
        frame[0] = frame[1] = 0xFF;
        break;
      default:
        frame[0] = static_cast<uint8_t>(stream_.next());
        frame[1] = static_cast<uint8_t>(stream_.next());
    }
  }
  if (answer->openFrom < 16) varyFreeWords(&frame, answer->openFrom);
  if (answer->openWord0) setWord(&frame, 0, word0(wordOf(frame, 0)));
}

uint16_t Latitude::word0(uint16_t asBuilt) {
  switch (stream_.below(5)) {
    case 0:
      return 0;
    case 1:
      return asBuilt;  // the request's set selector
    case 2:
      return 0x00AA;
    case 3:
      return 0xFFFF;
    default:
      return static_cast<uint16_t>(stream_.next());
  }
}

// The words as built (mostly the request's), all zero, or noise.
void Latitude::varyFreeWords(std::vector<uint8_t> *frame, int from) {
  const uint64_t kind = stream_.below(3);
  if (kind == 0) return;
  for (int i = from; i < 16; ++i) {
    setWord(frame, i, kind == 1 ? 0 : static_cast<uint16_t>(stream_.next()));
  }
}

// Mostly within 5 ms, often up to 25 ms, now and then up to kLongestDelay.
Clock::duration Latitude::delay() {
  const uint64_t pick = stream_.below(100);
  if (pick < 70) return stream_.between(Clock::duration::zero(), milliseconds(5));
  if (pick < 95) return stream_.between(milliseconds(5), milliseconds(25));
  return stream_.between(milliseconds(25), kLongestDelay);
}

// Half the answers in one piece; the others cut at up to three random places,
// mostly with short gaps.
Gaps Latitude::split(std::size_t size) {
  Gaps gaps;
  if (size < 2 || stream_.below(2) == 0) return gaps;
  const uint64_t cuts = 1 + stream_.below(kMostPieces - 1);
  for (uint64_t i = 0; i < cuts; ++i) {
    const std::size_t offset = 1 + stream_.below(size - 1);
    const Clock::duration pause = stream_.below(5) < 4
                                      ? stream_.between(microseconds(500), milliseconds(3))
                                      : stream_.between(milliseconds(3), kLongestGap);
    gaps.push_back(Gap{offset, pause});
  }
  std::sort(gaps.begin(), gaps.end(),
            [](const Gap &a, const Gap &b) { return a.offset < b.offset; });
  return gaps;
}

}  // namespace sim
