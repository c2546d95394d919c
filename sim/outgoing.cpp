// Faults and latitude applied to one answer.
#include "sim/outgoing.h"

#include <algorithm>

namespace sim {
namespace {

constexpr uint8_t kLiveOrder = 8;

std::vector<uint8_t> withFaults(const Answer &answer, const Faults &faults) {
  std::vector<uint8_t> bytes = answer.bytes;
  if (faults.wrongSync && answer.syncWord && bytes.size() >= 6) {
    bytes[4] = 0xAA;
    bytes[5] = 0x00;
  }
  if (faults.ffHeader && answer.frame && bytes.size() >= 2) bytes[0] = bytes[1] = 0xFF;
  if (faults.header >= 0 && answer.frame && bytes.size() >= 2) {
    bytes[0] = static_cast<uint8_t>(faults.header >> 8);
    bytes[1] = static_cast<uint8_t>(faults.header);
  }
  if (faults.answerWord0 >= 0 && answer.frame && !answer.syncWord && bytes.size() >= 6 &&
      bytes[3] != kLiveOrder) {
    bytes[4] = static_cast<uint8_t>(faults.answerWord0 >> 8);
    bytes[5] = static_cast<uint8_t>(faults.answerWord0);
  }
  if (faults.truncateTo >= 0 && static_cast<std::size_t>(faults.truncateTo) < bytes.size()) {
    bytes.resize(static_cast<std::size_t>(faults.truncateTo));
  }
  if (faults.extraBytes > 0)
    bytes.insert(bytes.end(), static_cast<std::size_t>(faults.extraBytes), 0xEE);
  static constexpr uint8_t kNoise[] = {0x12, 0x34, 0xEE, 0x56, 0xFF, 0x78, 0x9A};
  std::vector<uint8_t> noise;
  for (int i = 0; i < faults.garbageBefore; ++i) noise.push_back(kNoise[i % sizeof kNoise]);
  bytes.insert(bytes.begin(), noise.begin(), noise.end());
  return bytes;
}

// The one data block request the faults leave unanswered.
bool dropped(const RequestFrame &request, const Faults &faults) {
  constexpr int kDataBlockOrder = 9;
  const int order = request[2] << 8 | request[3];
  return order == kDataBlockOrder && faults.dropOrder9Offset >= 0 &&
         WordAt(request, 0) == faults.dropOrder9Offset;
}

Clock::duration seconds(double value) {
  return std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(std::max(0.0, value)));
}

}  // namespace

std::optional<Outgoing> Shape(Answer answer, const RequestFrame &request, const Faults &faults,
                              Latitude *latitude) {
  if (faults.silent || dropped(request, faults)) return std::nullopt;
  if (answer.optional && !(latitude != nullptr && latitude->sends())) return std::nullopt;
  if (latitude != nullptr) latitude->vary(&answer, faults.ffHeader || faults.header >= 0);
  Outgoing out;
  out.bytes = withFaults(answer, faults);
  const bool ownDelay = latitude != nullptr && faults.answerDelay <= 0;
  out.delay = ownDelay ? latitude->delay() : seconds(faults.answerDelay);
  const bool ownSplit = latitude != nullptr && faults.splitChunk <= 0;
  out.gaps = ownSplit ? latitude->split(out.bytes.size())
                      : ChunkGaps(out.bytes.size(), faults.splitChunk, seconds(faults.splitPause));
  return out;
}

}  // namespace sim
