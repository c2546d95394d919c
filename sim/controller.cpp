// The controller model: what the controller does with each order.
#include "sim/controller.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sim {
namespace {

constexpr uint16_t kSyncValue = 0x00AA;
constexpr char kDefaultFirmware[] = "ZEL4 SIM FW 1.4";
constexpr Words16 kDefaultFullSet = {0, 500, 2048, 512, 950, 20, 1, 100, 8, 1, 0, 0, 0, 0, 500, 0};
constexpr Words16 kDefaultSetB = {1, 500, 2048, 512, 950, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

enum Order {
  kStoreRam = 1,
  kReadRam = 2,
  kStoreEeprom = 3,
  kReadEeprom = 4,
  kEcho = 5,
  kTeach = 6,
  kFirmware = 7,
  kLive = 8,
  kDataBlock = 9,
  kReset = 10,
  kRefresh = 11,
  kInfoBlock = 20
};

enum LiveWord {
  kNormA,
  kNormB,
  kAdcA,
  kAdcB,
  kAmax,
  kBmax,
  kMaxValA,
  kMaxValB,
  kMinValA,
  kMinValB,
  kTolVal,
  kBtnVal,
  kIn0Val,
  kIn1Val,
  kIndexA,
  kIndexB
};

constexpr double kTwoPi = 2.0 * std::numbers::pi;

uint16_t clampWord(double value, double low, double high) {
  return static_cast<uint16_t>(std::lround(std::clamp(value, low, high)));
}

// Smooth ADC waves of the two channels at step k, 0 .. 4095.
double waveA(long k) {
  return 2048 + 1400 * std::sin(kTwoPi * k / 90.0) + 300 * std::sin(kTwoPi * k / 17.0 + 0.5);
}
double waveB(long k) {
  return 2048 + 1200 * std::sin(kTwoPi * k / 120.0 + 1.3) + 200 * std::sin(kTwoPi * k / 23.0);
}

Words16 requestWords(const RequestFrame &request) {
  Words16 words{};
  for (int i = 0; i < 16; ++i) words[static_cast<std::size_t>(i)] = WordAt(request, i);
  return words;
}

Answer frameAnswer(int order, const Words16 &words) {
  return Answer{FrameBytes(order, words), true};
}

// The echo and the info block: word 0 is the sync value, the rest is free.
Answer syncAnswer(int order, Words16 words) {
  words[0] = kSyncValue;
  Answer answer = frameAnswer(order, words);
  answer.syncWord = true;
  answer.openFrom = 1;
  return answer;
}

// Acknowledges a command or a parameter send with the request's own words.
Answer acknowledgement(int order, const Words16 &words, bool optional = false) {
  Answer answer = frameAnswer(order, words);
  answer.openWord0 = true;
  answer.openFrom = 1;
  answer.optional = optional;
  return answer;
}

std::array<uint16_t, 32> defaultFirmware() {
  std::array<uint16_t, 32> words{};
  words.fill(' ');
  for (std::size_t i = 0; i + 1 < sizeof kDefaultFirmware; ++i) {
    words[i] = static_cast<uint8_t>(kDefaultFirmware[i]);
  }
  return words;
}

// Raw curves of both channels, and the same normalised to 1000 at their peaks.
std::array<std::array<uint16_t, 256>, 2> defaultMemory() {
  std::array<std::array<uint16_t, 256>, 2> memory{};
  for (std::size_t i = 0; i < 128; ++i) {
    memory[0][i] = clampWord(2048 + 1500 * std::sin(kTwoPi * i / 128.0), 0, 4095);
    memory[0][128 + i] = clampWord(2048 + 1000 * std::sin(kTwoPi * i / 128.0 + 1.0), 0, 4095);
  }
  for (std::size_t half = 0; half < 2; ++half) {
    const auto begin = memory[0].begin() + static_cast<std::ptrdiff_t>(128 * half);
    const double peak = *std::max_element(begin, begin + 128);
    for (std::size_t i = 0; i < 128; ++i) {
      memory[1][128 * half + i] = clampWord(1000.0 * memory[0][128 * half + i] / peak, 0, 1000);
    }
  }
  return memory;
}

uint16_t windowMax(const std::array<uint16_t, 32> &window, std::size_t filled) {
  return *std::max_element(window.begin(), window.begin() + static_cast<std::ptrdiff_t>(filled));
}
uint16_t windowMin(const std::array<uint16_t, 32> &window, std::size_t filled) {
  return *std::min_element(window.begin(), window.begin() + static_cast<std::ptrdiff_t>(filled));
}

}  // namespace

uint16_t WordAt(const RequestFrame &frame, int index) {
  const auto at = static_cast<std::size_t>(4 + 2 * index);
  return static_cast<uint16_t>(frame[at] << 8 | frame[at + 1]);
}

std::vector<uint8_t> BlockBytes(const uint16_t *words, std::size_t count) {
  std::vector<uint8_t> bytes;
  bytes.reserve(2 * count);
  for (std::size_t i = 0; i < count; ++i) {
    bytes.push_back(static_cast<uint8_t>(words[i] >> 8));
    bytes.push_back(static_cast<uint8_t>(words[i] & 0xFF));
  }
  return bytes;
}

std::vector<uint8_t> FrameBytes(int order, const Words16 &words) {
  std::vector<uint8_t> bytes = {0x00, 0x55, static_cast<uint8_t>(order >> 8),
                                static_cast<uint8_t>(order & 0xFF)};
  const std::vector<uint8_t> body = BlockBytes(words.data(), words.size());
  bytes.insert(bytes.end(), body.begin(), body.end());
  return bytes;
}

Controller::Controller() : firmware_(defaultFirmware()), memory_(defaultMemory()) {
  for (auto &store : sets_) store = {kDefaultFullSet, kDefaultSetB};
  step_ = -1;
  advanceLive();
}

bool Controller::validSet(int store, int set) {
  return (store == kRam || store == kEeprom) && (set == 0 || set == 1);
}

Words16 *Controller::setFor(int store, int set) {
  if (!validSet(store, set)) return nullptr;
  return &sets_[static_cast<std::size_t>(store - 1)][static_cast<std::size_t>(set)];
}

void Controller::setParameterSet(int store, int set, const Words16 &words) {
  if (Words16 *target = setFor(store, set)) *target = words;
}

Words16 Controller::parameterSet(int store, int set) const {
  if (!validSet(store, set)) return Words16{};
  return sets_[static_cast<std::size_t>(store - 1)][static_cast<std::size_t>(set)];
}

void Controller::setDataMemory(int selector, const std::array<uint16_t, 256> &words) {
  if (selector == 0 || selector == 1) memory_[static_cast<std::size_t>(selector)] = words;
}

void Controller::setLiveWords(const Words16 &words) {
  live_ = words;
  moving_ = false;
}

std::optional<Answer> Controller::handle(const RequestFrame &request) {
  const int order = request[2] << 8 | request[3];
  Words16 words = requestWords(request);
  switch (order) {
    case kStoreRam:
      storeSet(kRam, words);
      return acknowledgement(order, words, true);
    case kStoreEeprom:
      storeSet(kEeprom, words);
      return acknowledgement(order, words, true);
    case kReadRam:
      return readSet(order, kRam, words);
    case kReadEeprom:
      return readSet(order, kEeprom, words);
    case kEcho:
    case kInfoBlock:
      return syncAnswer(order, words);
    case kTeach:
      teach();
      return acknowledgement(order, words);
    case kReset:
      sets_[kRam - 1] = sets_[kEeprom - 1];
      return acknowledgement(order, words);
    case kRefresh:
      return acknowledgement(order, words);
    case kFirmware:
      return Answer{BlockBytes(firmware_.data(), firmware_.size()), false, false};
    case kLive:
      if (moving_) advanceLive();
      return frameAnswer(order, live_);
    case kDataBlock:
      return dataBlock(words);
    default:
      return std::nullopt;
  }
}

// Word 0 selects the set: 0 the full set, anything else the channel-B set.
void Controller::storeSet(int store, const Words16 &request) {
  Words16 &target = *setFor(store, request[0] == 0 ? 0 : 1);
  if (request[0] == 0) {
    target = request;
    return;
  }
  target = Words16{};
  target[0] = 1;
  std::copy_n(request.begin() + 1, 4, target.begin() + 1);
}

Answer Controller::readSet(int order, int store, const Words16 &request) const {
  const bool full = request[0] == 0;
  const Words16 &stored = sets_[static_cast<std::size_t>(store - 1)][full ? 0 : 1];
  Words16 words{};
  words[0] = request[0];
  std::copy_n(stored.begin() + 1, full ? 15 : 4, words.begin() + 1);
  Answer answer = frameAnswer(order, words);
  answer.openWord0 = true;
  answer.openFrom = full ? 16 : 5;  // a channel-B answer's words 5 to 15 are ignored
  return answer;
}

// 64 words from offset word 0 of data set word 1; outside the memory: zeros.
Answer Controller::dataBlock(const Words16 &request) const {
  std::array<uint16_t, 64> block{};
  const int offset = request[0];
  const int selector = request[1];
  if (offset <= 192 && (selector == 0 || selector == 1)) {
    const auto &memory = memory_[static_cast<std::size_t>(selector)];
    std::copy_n(memory.begin() + offset, 64, block.begin());
  }
  return Answer{BlockBytes(block.data(), block.size()), false, false};
}

void Controller::teach() {
  sets_[kRam - 1][0][2] = live_[kNormA];
  sets_[kRam - 1][1][2] = live_[kNormB];
}

void Controller::advanceLive() {
  ++step_;
  const double a = std::clamp(waveA(step_), 0.0, 4095.0);
  const double b = std::clamp(waveB(step_), 0.0, 4095.0);
  maxA_ = std::max(maxA_, std::round(a));
  maxB_ = std::max(maxB_, std::round(b));
  const uint16_t normA = clampWord(1000.0 * std::round(a) / maxA_, 0, 1000);
  const uint16_t normB = clampWord(1000.0 * std::round(b) / maxB_, 0, 1000);
  const auto slot = static_cast<std::size_t>(step_ % 32);
  recentA_[slot] = normA;
  recentB_[slot] = normB;
  const auto filled = static_cast<std::size_t>(std::min<long>(step_ + 1, 32));
  live_ = {normA,
           normB,
           clampWord(a, 0, 4095),
           clampWord(b, 0, 4095),
           static_cast<uint16_t>(maxA_),
           static_cast<uint16_t>(maxB_),
           windowMax(recentA_, filled),
           windowMax(recentB_, filled),
           windowMin(recentA_, filled),
           windowMin(recentB_, filled),
           sets_[kRam - 1][0][3],
           0,
           static_cast<uint16_t>(step_ / 40 % 2),
           static_cast<uint16_t>(step_ / 65 % 2),
           static_cast<uint16_t>(step_ % 128 + 1),
           static_cast<uint16_t>((step_ + 64) % 128 + 1)};
}

}  // namespace sim
