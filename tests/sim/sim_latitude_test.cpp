// The controller's latitude: what the protocol fixes stays fixed for every
// seed, what it leaves open varies, a fault the test sets wins, and a seed
// repeats its answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>

#include "sim/outgoing.h"
#include "tests/sim/sim_client.h"
#include "tests/support/sim_line.h"

namespace {

using sim::Words16;
using std::chrono::milliseconds;

constexpr uint64_t kSeeds = 300;
constexpr Words16 kFullSet = {0, 500, 2048, 512, 950, 20, 1, 100, 8, 1, 0, 0, 0, 0, 500, 0};
constexpr Words16 kSetB = {1, 500, 2048, 512, 950};
constexpr Words16 kLive = {1000, 999, 4095, 17, 4000, 3000, 990, 980, 10, 20, 512, 1, 0, 1, 64, 65};

sim::RequestFrame Frame(int order, const Words16 &words) {
  const std::vector<uint8_t> bytes = testsupport::RequestBytes(order, words);
  sim::RequestFrame frame{};
  std::copy(bytes.begin(), bytes.end(), frame.begin());
  return frame;
}

// The first answer of a fresh controller to one request, under the seed's
// latitude (no latitude for seed 0).
std::optional<sim::Outgoing> AnswerUnder(uint64_t seed, int order, const Words16 &words,
                                         const sim::Faults &faults = {}) {
  sim::Controller model;
  model.setLiveWords(kLive);
  std::optional<sim::Latitude> latitude;
  if (seed != 0) latitude.emplace(seed);
  const sim::RequestFrame request = Frame(order, words);
  const std::optional<sim::Answer> answer = model.handle(request);
  if (!answer) return std::nullopt;
  return sim::Shape(*answer, request, faults, latitude ? &*latitude : nullptr);
}

uint16_t Word(const std::vector<uint8_t> &frame, int index) {
  return testsupport::AnswerWord(frame, index);
}

struct FixedCase {
  const char *what;
  int order;
  Words16 request;
  bool frame;
  int fixedFrom, fixedTo;  // the words the protocol fixes (frames)
};

const FixedCase kFixed[] = {
    {"echo: the sync value", 5, kFullSet, true, 0, 1},
    {"info block: the sync value", 20, {7, 8}, true, 0, 1},
    {"RAM read of the full set: its words", 2, kFullSet, true, 1, 16},
    {"EEPROM read of the channel-B set: its words", 4, kSetB, true, 1, 5},
    {"live values: all sixteen", 8, kFullSet, true, 0, 16},
    {"teach: the order word", 6, kFullSet, true, 0, 0},
    {"reset: the order word", 10, kFullSet, true, 0, 0},
    {"refresh: the order word", 11, kFullSet, true, 0, 0},
    {"RAM send, when answered: the order word", 1, kFullSet, true, 0, 0},
    {"EEPROM send, when answered: the order word", 3, kSetB, true, 0, 0},
    {"firmware text: all 64 bytes", 7, kFullSet, false, 0, 0},
    {"data block: all 128 bytes", 9, {64, 1}, false, 0, 0},
};

TEST(SimLatitude, WhatTheProtocolFixesHoldsForEverySeed) {
  for (const FixedCase &c : kFixed) {
    const std::vector<uint8_t> plain = c.order == 1 || c.order == 3
                                           ? testsupport::RequestBytes(c.order, c.request)
                                           : AnswerUnder(0, c.order, c.request)->bytes;
    for (uint64_t seed = 1; seed <= kSeeds; ++seed) {
      SCOPED_TRACE(testing::Message() << c.what << ", seed " << seed);
      const std::optional<sim::Outgoing> out = AnswerUnder(seed, c.order, c.request);
      if (!out) {
        ASSERT_TRUE(c.order == 1 || c.order == 3) << "only parameter sends may go unanswered";
        continue;
      }
      ASSERT_EQ(out->bytes.size(), plain.size());
      if (!c.frame) {
        EXPECT_EQ(out->bytes, plain);
      } else {
        EXPECT_EQ(out->bytes[2] << 8 | out->bytes[3], c.order) << "the order word, repeated";
        for (int i = c.fixedFrom; i < c.fixedTo; ++i)
          EXPECT_EQ(Word(out->bytes, i), Word(plain, i));
      }
      sim::Clock::duration paced = out->delay;
      for (const sim::Gap &gap : out->gaps) {
        EXPECT_GT(gap.offset, 0u);
        EXPECT_LT(gap.offset, out->bytes.size());
        paced += gap.pause;
      }
      EXPECT_LE(paced, milliseconds(250)) << "far inside the shortest bound of 1.5 s";
    }
  }
}

TEST(SimLatitude, WhatTheProtocolLeavesOpenVaries) {
  std::set<std::pair<int, int>> headers;
  std::set<uint16_t> readWord0, echoWords, teachWords;
  std::set<std::size_t> pieces;
  std::set<sim::Clock::rep> delays;
  int sendsAnswered = 0;
  for (uint64_t seed = 1; seed <= kSeeds; ++seed) {
    const std::vector<uint8_t> read = AnswerUnder(seed, 4, kSetB)->bytes;
    headers.insert({read[0], read[1]});
    readWord0.insert(Word(read, 0));
    echoWords.insert(Word(AnswerUnder(seed, 5, kFullSet)->bytes, 2));
    teachWords.insert(Word(AnswerUnder(seed, 6, kFullSet)->bytes, 7));
    const std::optional<sim::Outgoing> live = AnswerUnder(seed, 8, kFullSet);
    pieces.insert(live->gaps.size() + 1);
    delays.insert(live->delay.count());
    if (AnswerUnder(seed, 1, kFullSet)) ++sendsAnswered;
  }
  EXPECT_TRUE(headers.count({0x00, 0x55}) && headers.count({0xFF, 0xFF}));
  EXPECT_GT(headers.size(), 4u) << "random headers too";
  for (uint16_t word0 : {0x0000, 0x0001, 0x00AA, 0xFFFF}) EXPECT_TRUE(readWord0.count(word0));
  EXPECT_GT(readWord0.size(), 6u) << "random words 0 too";
  EXPECT_GT(echoWords.size(), 3u) << "the echo's words after the sync value";
  EXPECT_GT(teachWords.size(), 3u) << "a command answer's words";
  EXPECT_GT(pieces.size(), 2u);
  EXPECT_GT(delays.size(), kSeeds / 2);
  EXPECT_GT(*delays.rbegin(), milliseconds(25).count()) << "now and then a longer delay";
  EXPECT_GT(sendsAnswered, 0);
  EXPECT_LT(sendsAnswered, static_cast<int>(kSeeds));
}

TEST(SimLatitude, AFaultTheTestSetsWinsOverTheLatitude) {
  const sim::Faults faults{
      .answerDelay = 0.3, .wrongSync = true, .ffHeader = true, .splitChunk = 4, .splitPause = 0.01};
  const sim::Gaps chunks = sim::ChunkGaps(36, 4, milliseconds(10));
  for (uint64_t seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    const std::optional<sim::Outgoing> echo = AnswerUnder(seed, 5, kFullSet, faults);
    EXPECT_EQ(echo->delay, milliseconds(300));
    ASSERT_EQ(echo->gaps.size(), chunks.size());
    EXPECT_TRUE(std::equal(echo->gaps.begin(), echo->gaps.end(), chunks.begin(),
                           [](const sim::Gap &a, const sim::Gap &b) {
                             return a.offset == b.offset && a.pause == b.pause;
                           }));
    EXPECT_EQ(echo->bytes[0], 0xFF);
    EXPECT_EQ(echo->bytes[1], 0xFF);
    EXPECT_EQ(Word(echo->bytes, 0), 0xAA00);
  }
}

// A header and a word 0 the test chose hold whatever the seed; live values
// keep their word 0, which is data.
TEST(SimLatitude, AChosenHeaderAndWord0WinOverTheLatitude) {
  const sim::Faults faults{.header = 0x1234, .answerWord0 = 0x00AA};
  struct Case {
    int order;
    uint16_t word0;
  };
  const Case cases[] = {{2, 0x00AA}, {4, 0x00AA}, {6, 0x00AA}, {10, 0x00AA}, {8, kLive[0]}};
  for (const Case &c : cases) {
    for (uint64_t seed = 1; seed <= kSeeds; ++seed) {
      SCOPED_TRACE(testing::Message() << "order " << c.order << ", seed " << seed);
      const std::optional<sim::Outgoing> out = AnswerUnder(seed, c.order, kFullSet, faults);
      ASSERT_TRUE(out);
      EXPECT_EQ(out->bytes[0] << 8 | out->bytes[1], 0x1234);
      EXPECT_EQ(Word(out->bytes, 0), c.word0);
    }
  }
}

// Two controllers with the same seed answer the same requests alike on the line.
TEST(SimLatitude, TheSameSeedRepeatsItsAnswers) {
  struct Asked {
    int order;
    Words16 words;
    std::size_t bytes;
  };
  const Asked asked[] = {{5, kFullSet, 36}, {2, kFullSet, 36}, {4, kSetB, 36},  {6, kFullSet, 36},
                         {8, kFullSet, 36}, {7, kFullSet, 64}, {9, {0, 0}, 128}};
  auto answers = [&asked](uint64_t seed) {
    sim::Simulator simulator(sim::Pacing::Instant);
    simulator.setLatitude(seed);
    std::vector<uint8_t> all;
    if (!simulator.start()) return all;
    SimClient client(simulator.slavePath());
    for (const Asked &a : asked) {
      client.request(a.order, a.words);
      const std::vector<uint8_t> answer = client.read(a.bytes);
      all.insert(all.end(), answer.begin(), answer.end());
    }
    return all;
  };
  const std::vector<uint8_t> first = answers(42);
  ASSERT_EQ(first.size(), 36u * 5 + 64 + 128);
  EXPECT_EQ(answers(42), first);
  EXPECT_NE(answers(43), first);
}

}  // namespace
