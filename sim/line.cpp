// Request framing and answer pacing of the simulator's line.
#include "sim/line.h"

#include <algorithm>

namespace sim {

std::optional<RequestFramer::Complete> RequestFramer::feed(uint8_t byte, Clock::time_point readTime,
                                                           Pacing pacing) {
  Clock::time_point arrived = readTime;
  if (pacing == Pacing::Line) {
    // Bytes written at once by the far end still cross the line one by one.
    lineFree_ = std::max(readTime, lineFree_) + kByteTime;
    arrived = lineFree_;
  }
  partial_.push_back(byte);
  auto inStep = [this] {
    return (partial_.empty() || partial_[0] == 0x00) &&
           (partial_.size() < 2 || partial_[1] == 0x55);
  };
  while (!inStep()) partial_.erase(partial_.begin());
  if (partial_.size() < std::tuple_size_v<RequestFrame>) return std::nullopt;
  Complete complete{};
  std::copy(partial_.begin(), partial_.end(), complete.frame.begin());
  complete.due = arrived;
  partial_.clear();
  return complete;
}

void RequestFramer::reset() {
  partial_.clear();
  lineFree_ = {};
}

Gaps ChunkGaps(std::size_t size, int chunk, Clock::duration pause) {
  Gaps gaps;
  if (chunk <= 0) return gaps;
  for (auto at = static_cast<std::size_t>(chunk); at < size;
       at += static_cast<std::size_t>(chunk)) {
    gaps.push_back(Gap{at, pause});
  }
  return gaps;
}

void OutputLine::schedule(const std::vector<uint8_t> &bytes, Clock::time_point earliest,
                          Pacing pacing, const Gaps &gaps) {
  const Clock::time_point start = std::max(earliest, lineFree_);
  Clock::duration offset{};
  auto gap = gaps.begin();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    for (; gap != gaps.end() && gap->offset <= i; ++gap) {
      if (gap->offset == i) offset += gap->pause;
    }
    if (pacing == Pacing::Line) offset += kByteTime;
    bytes_.push_back(Byte{bytes[i], start + offset, i + 1 == bytes.size()});
  }
  if (!bytes.empty()) lineFree_ = bytes_.back().due;
}

std::size_t OutputLine::takeDue(Clock::time_point now, uint8_t *out, std::size_t max) const {
  std::size_t count = 0;
  for (const Byte &byte : bytes_) {
    if (count == max || byte.due > now) break;
    out[count++] = byte.value;
  }
  return count;
}

void OutputLine::bringForward(Clock::duration by) {
  for (Byte &byte : bytes_) byte.due -= by;
  if (!bytes_.empty()) lineFree_ -= by;
}

std::size_t OutputLine::markSent(std::size_t n) {
  std::size_t answers = 0;
  for (std::size_t i = 0; i < n && !bytes_.empty(); ++i) {
    if (bytes_.front().endsAnswer) ++answers;
    bytes_.pop_front();
  }
  return answers;
}

void OutputLine::clear() {
  bytes_.clear();
  lineFree_ = {};
}

}  // namespace sim
