// Which of the waiting bytes is the answer, without a line: the decisions the
// receive callback follows, one after another as it follows them, over every
// shape of arrival.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "link/link.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr unsigned kGet = 2;
constexpr unsigned kLive = 8;
constexpr int kWindow = 4 * kFrameBytes;  // as much as the callback looks at

// A frame: header, order word, word 0 and then the given words; the rest are
// words no order code can be read from, at any byte position.
Bytes Frame(uint16_t header, unsigned order, uint16_t word0, std::vector<uint16_t> words = {}) {
  words.insert(words.begin(), word0);
  while (words.size() < PNUM) words.push_back(static_cast<uint16_t>(0x3C40 + words.size()));
  Bytes bytes = {static_cast<uint8_t>(header >> 8), static_cast<uint8_t>(header),
                 static_cast<uint8_t>(order >> 8), static_cast<uint8_t>(order)};
  for (uint16_t w : words) {
    bytes.push_back(static_cast<uint8_t>(w >> 8));
    bytes.push_back(static_cast<uint8_t>(w));
  }
  return bytes;
}

Bytes Answer(unsigned order = kGet) {
  return Frame(0x0055, order, 0);
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes &part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes Head(const Bytes &bytes, std::size_t count) {
  return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count)};
}

const Bytes kNoise = {0x12, 0x34, 0xEE, 0x56, 0xFF};

// The decisions over the bytes, applied as the callback applies them, up to a
// take or a wait: "noise 5, frame, take@0".
std::string Trace(Bytes bytes, unsigned asked) {
  std::string trace;
  for (int step = 0; step < 16; ++step) {
    const int seen = std::min(static_cast<int>(bytes.size()), kWindow);
    const AnswerDecision d =
        DecideAnswer(reinterpret_cast<const char *>(bytes.data()), seen, asked);
    switch (d.step) {
      case AnswerStep::Wait:
        return trace + "wait";
      case AnswerStep::Take:
        if (d.offset + d.count > seen || d.count != kFrameBytes) return trace + "take beyond";
        return trace + "take@" + std::to_string(d.offset);
      case AnswerStep::SkipNoise:
        trace += "noise " + std::to_string(d.count) + ", ";
        break;
      case AnswerStep::SkipFrame:
        if (d.count != kFrameBytes) return trace + "frame of " + std::to_string(d.count);
        trace += "frame, ";
        break;
    }
    if (d.count <= 0 || d.count > seen) return trace + "bad count";
    bytes.erase(bytes.begin(), bytes.begin() + d.count);
  }
  return trace + "...";
}

struct Shape {
  const char *name;
  Bytes bytes;
  unsigned asked;
  const char *trace;
};

class AnswerDecisions : public testing::TestWithParam<Shape> {};

TEST_P(AnswerDecisions, FollowTheOrderWordAlone) {
  EXPECT_EQ(Trace(GetParam().bytes, GetParam().asked), GetParam().trace);
}

// A live answer whose words hold the parameter read's order word at a word's
// place and across two words.
const Bytes kLateLive = Frame(0x0055, kLive, 17, {0x0002, 0x1200, 0x0215});
// A late parameter answer (average = 8) while a live request is in flight.
const Bytes kLateGet = Frame(0x0055, kGet, 0, {500, 2048, 512, 950, 20, 1, 100, 8});

INSTANTIATE_TEST_SUITE_P(
    Shapes, AnswerDecisions,
    testing::Values(
        Shape{"AnswerAtTheStart", Answer(), kGet, "take@0"},
        Shape{"AnswerAndSurplus", Join({Answer(), {0xEE, 0xEE, 0x00, 0x02}}), kGet, "take@0"},
        Shape{"NoiseBefore", Join({kNoise, Answer()}), kGet, "take@5"},
        Shape{"NoiseLongerThanTheWindow", Join({Bytes(150, 0xEE), Answer()}), kGet,
              "noise 141, take@9"},
        Shape{"PartialAnswer", Head(Answer(), 20), kGet, "wait"},
        Shape{"NoiseThenPartialAnswer", Join({kNoise, Head(Answer(), 20)}), kGet, "noise 5, wait"},
        Shape{"LateAnswerOfAnotherOrder", Join({kLateLive, Answer()}), kGet, "frame, take@0"},
        Shape{"LateAnswerWithTheOrderWordAsWord0", Join({Frame(0x0055, kLive, 2), Answer()}), kGet,
              "frame, take@0"},
        Shape{"LateGetBeforeALiveAnswer", Join({kLateGet, Answer(kLive)}), kLive, "frame, take@0"},
        Shape{"TwoLateAnswersThenTheAnswer", Join({kLateLive, kLateLive, Answer()}), kGet,
              "frame, frame, take@0"},
        Shape{"NoiseThenALateAnswer", Join({kNoise, kLateLive, Answer()}), kGet,
              "noise 5, frame, take@0"},
        Shape{"LateAnswerAloneWaitsForWhatFollows", kLateLive, kGet, "wait"},
        Shape{"LateAnswerAndTheAnswersHeader", Join({kLateLive, Head(Answer(), 3)}), kGet, "wait"},
        Shape{"LateAnswerAndTheAnswersOrderWord", Join({kLateLive, Head(Answer(), 4)}), kGet,
              "frame, wait"},
        Shape{"LateAnswerWithoutTheOrderWordIsPassedOverAlone",
              Join({Frame(0x0055, kLive, 3), Head(Answer(), 4)}), kGet, "frame, wait"},
        // Noise that reads like another order's frame start, with the answer
        // inside it: nothing frame-like follows where a late answer would end.
        Shape{"NoiseLikeAFrameStartThenTheAnswer", Join({{0xEE, 0xEE, 0x00, 0x08}, Answer()}), kGet,
              "take@4"},
        Shape{"OrderWordInTheNoisesFirstBytes", Join({{0x00, 0x02, 0xEE}, Answer()}), kGet,
              "take@3"},
        // The last bytes seen may begin the order word: they stay.
        Shape{"OrderWordStraddlingTheEnd", Join({kNoise, Head(Answer(), 3)}), kGet,
              "noise 5, wait"},
        Shape{"AnswerOfTheSameOrderWhateverItsWord0", Frame(0xFFFF, kGet, 0x0001), kGet, "take@0"}),
    [](const auto &row) { return std::string(row.param.name); });

// Whatever the controller puts in the header and in word 0, an answer is
// taken, from its first byte, at the start and behind a late answer; behind
// noise as well unless its header reads like an order word (noise then stands
// for the header, and the bytes cannot tell).
TEST(AnswerDecisions, HeaderAndWord0AreNeverExamined) {
  struct Header {
    uint16_t word;
    bool behindNoise;
  };
  const Header headers[] = {{0x0055, true}, {0xFFFF, true},  {0x9A3B, true},
                            {0x0000, true}, {0x0008, false}, {0x0002, false}};
  const uint16_t words0[] = {0x0000, 0x0001, 0x00AA, 0xFFFF, 0x5C17, 0x0002, 0x0008};
  for (const Header &header : headers) {
    for (uint16_t word0 : words0) {
      SCOPED_TRACE(testing::Message()
                   << std::hex << "header " << header.word << " word 0 " << word0);
      const Bytes answer = Frame(header.word, kGet, word0);
      EXPECT_EQ(Trace(answer, kGet), "take@0");
      EXPECT_EQ(Trace(Join({kLateLive, answer}), kGet), "frame, take@0");
      if (header.behindNoise) {
        EXPECT_EQ(Trace(Join({kNoise, answer}), kGet), "take@5");
      }
    }
  }
}

}  // namespace
