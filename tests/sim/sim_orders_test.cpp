// The simulated controller answers every order as the controller does.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "tests/sim/sim_client.h"
#include "tests/support/sim_line.h"

namespace {

using sim::Words16;

constexpr Words16 kFullDefaults = {0, 500, 2048, 512, 950, 20, 1, 100, 8, 1, 0, 0, 0, 0, 500, 0};
constexpr Words16 kSetBDefaults = {1, 500, 2048, 512, 950};

class SimOrders : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(simulator.start());
    client = std::make_unique<SimClient>(simulator.slavePath());
    ASSERT_TRUE(client->ok());
  }

  std::vector<uint8_t> ask(int order, const Words16 &words, std::size_t answerBytes = 36) {
    client->request(order, words);
    return client->read(answerBytes);
  }

  // Sends an order that has no answer and waits until the simulator took it.
  void tell(int order, const Words16 &words) {
    const std::size_t before = simulator.requestCount();
    client->request(order, words);
    for (int i = 0; i < 200 && simulator.requestCount() == before; ++i) client->readFor(0.01);
    ASSERT_EQ(simulator.requestCount(), before + 1);
  }

  static Words16 wordsOf(const std::vector<uint8_t> &frame) {
    Words16 words{};
    for (std::size_t i = 0; i < 16; ++i) words[i] = WordOf(frame, 4 + 2 * i);
    return words;
  }

  static void expectHeader(const std::vector<uint8_t> &frame, int order) {
    ASSERT_EQ(frame.size(), 36u);
    EXPECT_EQ(frame[0], 0x00);
    EXPECT_EQ(frame[1], 0x55);
    EXPECT_EQ(WordOf(frame, 2), order);
  }

  sim::Simulator simulator{sim::Pacing::Instant};
  std::unique_ptr<SimClient> client;
};

TEST_F(SimOrders, EchoCarriesTheSyncValueAndEchoesTheRest) {
  const std::vector<uint8_t> answer = ask(5, kFullDefaults);
  expectHeader(answer, 5);
  Words16 expected = kFullDefaults;
  expected[0] = 0x00AA;
  EXPECT_EQ(wordsOf(answer), expected);
  EXPECT_EQ(answer[4], 0x00);
  EXPECT_EQ(answer[5], 0xAA);
}

TEST_F(SimOrders, BothStoresStartWithTheParameterDefaults) {
  for (int store : {1, 2}) {
    EXPECT_EQ(simulator.parameterSet(store, 0), kFullDefaults);
    EXPECT_EQ(simulator.parameterSet(store, 1), kSetBDefaults);
  }
  std::vector<uint8_t> answer = ask(2, {0});
  expectHeader(answer, 2);
  EXPECT_EQ(wordsOf(answer), kFullDefaults);
  answer = ask(4, {1, 9, 9, 9, 9, 9, 9});
  expectHeader(answer, 4);
  EXPECT_EQ(wordsOf(answer), kSetBDefaults) << "channel-B words 5..15 are zero";
}

TEST_F(SimOrders, StoredSetsReadBackFromTheirOwnStore) {
  const Words16 full = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  const Words16 setB = {1, 601, 602, 603, 604, 77, 77};
  tell(1, full);
  tell(3, setB);
  EXPECT_TRUE(client->readFor(0.1).empty()) << "stores are not answered";
  EXPECT_EQ(simulator.answerCount(), 0u);
  EXPECT_EQ(simulator.parameterSet(1, 0), full);
  EXPECT_EQ(simulator.parameterSet(2, 0), kFullDefaults);
  const Words16 storedB = {1, 601, 602, 603, 604};
  EXPECT_EQ(simulator.parameterSet(2, 1), storedB);
  EXPECT_EQ(simulator.parameterSet(1, 1), kSetBDefaults);

  EXPECT_EQ(wordsOf(ask(2, {0})), full);
  const std::vector<uint8_t> answer = ask(4, {7});  // any selector but 0 means channel B
  Words16 expected = storedB;
  expected[0] = 7;
  EXPECT_EQ(wordsOf(answer), expected);
}

TEST_F(SimOrders, TeachResetAndRefreshApplyAndEchoTheRequest) {
  Words16 live{};
  live[0] = 700;
  live[1] = 300;
  simulator.setLiveWords(live);
  const Words16 request = {0, 11, 22, 33, 44, 55, 66, 77, 88, 99, 1, 2, 3, 4, 5, 6};

  std::vector<uint8_t> answer = ask(6, request);
  expectHeader(answer, 6);
  EXPECT_EQ(wordsOf(answer), request);
  EXPECT_EQ(simulator.parameterSet(1, 0)[2], 700);
  EXPECT_EQ(simulator.parameterSet(1, 1)[2], 300);
  EXPECT_EQ(simulator.parameterSet(2, 0)[2], 2048) << "teach changes RAM only";

  answer = ask(11, request);
  expectHeader(answer, 11);
  EXPECT_EQ(wordsOf(answer), request);
  EXPECT_EQ(simulator.parameterSet(1, 0)[2], 700) << "refresh changes nothing";

  answer = ask(10, request);
  expectHeader(answer, 10);
  EXPECT_EQ(wordsOf(answer), request);
  EXPECT_EQ(simulator.parameterSet(1, 0), kFullDefaults) << "reset copies EEPROM into RAM";
  EXPECT_EQ(simulator.parameterSet(1, 1), kSetBDefaults);
}

TEST_F(SimOrders, FirmwareTextIsABare64ByteBlock) {
  std::vector<uint8_t> answer = ask(7, kFullDefaults, 64);
  ASSERT_EQ(answer.size(), 64u);
  EXPECT_TRUE(client->readFor(0.1).empty());
  std::string text;
  for (std::size_t i = 0; i < 32; ++i) text += static_cast<char>(WordOf(answer, 2 * i));
  EXPECT_EQ(text, "ZEL4 SIM FW 1.4" + std::string(17, ' '));

  std::array<uint16_t, 32> custom{};
  custom.fill(0x20);
  custom[0] = 0x41;
  custom[1] = 0x142;
  simulator.setFirmwareText(custom);
  answer = ask(7, {}, 64);
  ASSERT_EQ(answer.size(), 64u);
  EXPECT_EQ(WordOf(answer, 0), 0x41);
  EXPECT_EQ(WordOf(answer, 2), 0x142);
  EXPECT_EQ(WordOf(answer, 62), 0x20);
}

TEST_F(SimOrders, LiveValuesMoveAndHangTogether) {
  std::vector<Words16> answers;
  for (int i = 0; i < 30; ++i) {
    const std::vector<uint8_t> answer = ask(8, kFullDefaults);
    expectHeader(answer, 8);
    answers.push_back(wordsOf(answer));
  }
  uint16_t lastAmax = 0;
  for (const Words16 &w : answers) {
    EXPECT_LE(w[2], 4095);
    EXPECT_LE(w[3], 4095);
    EXPECT_GE(w[4], w[2]) << "Amax is the running maximum";
    EXPECT_GE(w[5], w[3]);
    EXPECT_GE(w[4], lastAmax);
    lastAmax = w[4];
    EXPECT_NEAR(w[0], 1000.0 * w[2] / w[4], 1.0);
    EXPECT_NEAR(w[1], 1000.0 * w[3] / w[5], 1.0);
    EXPECT_GE(w[6], w[8]) << "MAXvalA >= MINvalA";
    EXPECT_GE(w[7], w[9]);
    EXPECT_EQ(w[10], 512) << "tolval is the tolerance of the set in RAM";
    EXPECT_GE(w[14], 1);
    EXPECT_LE(w[14], 128);
    EXPECT_GE(w[15], 1);
    EXPECT_LE(w[15], 128);
  }
  EXPECT_NE(answers.front()[2], answers.back()[2]);
  EXPECT_NE(answers.front()[14], answers.back()[14]);
}

TEST_F(SimOrders, FixedLiveWordsAreAnsweredAsGiven) {
  const Words16 live = {500, 600, 2000, 3000, 4000, 4000, 700, 800, 100, 200, 50, 1, 0, 1, 0, 300};
  simulator.setLiveWords(live);
  EXPECT_EQ(wordsOf(ask(8, {})), live);
  EXPECT_EQ(wordsOf(ask(8, {})), live);
  simulator.setLiveMoving(true);
  EXPECT_NE(wordsOf(ask(8, {})), live);
}

TEST_F(SimOrders, DataBlocksComeFromTheSelectedMemory) {
  std::array<uint16_t, 256> raw{};
  std::array<uint16_t, 256> norm{};
  for (std::size_t i = 0; i < 256; ++i) {
    raw[i] = static_cast<uint16_t>(3 * i);
    norm[i] = static_cast<uint16_t>(1000 - i);
  }
  simulator.setDataMemory(0, raw);
  simulator.setDataMemory(1, norm);
  auto block = [&](uint16_t offset, uint16_t selector) {
    const std::vector<uint8_t> bytes = ask(9, {offset, selector}, 128);
    std::vector<uint16_t> words;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) words.push_back(WordOf(bytes, i));
    return words;
  };
  std::vector<uint16_t> words = block(0, 0);
  ASSERT_EQ(words.size(), 64u);
  EXPECT_EQ(words[0], 0);
  EXPECT_EQ(words[63], 189);
  words = block(192, 1);
  ASSERT_EQ(words.size(), 64u);
  EXPECT_EQ(words[0], 1000 - 192);
  EXPECT_EQ(words[63], 1000 - 255);
  words = block(32, 0);
  EXPECT_EQ(words[0], 96);
  words = block(256, 0);
  ASSERT_EQ(words.size(), 64u);
  EXPECT_EQ(words, std::vector<uint16_t>(64, 0));
  EXPECT_TRUE(client->readFor(0.05).empty());
}

TEST_F(SimOrders, DefaultDataMemoryHoldsCurves) {
  const std::vector<uint8_t> raw = ask(9, {0, 0}, 128);
  const std::vector<uint8_t> norm = ask(9, {128, 1}, 128);
  ASSERT_EQ(raw.size(), 128u);
  ASSERT_EQ(norm.size(), 128u);
  bool allEqual = true;
  for (std::size_t i = 0; i < 128; i += 2) {
    EXPECT_LE(WordOf(raw, i), 4095);
    EXPECT_LE(WordOf(norm, i), 1000);
    allEqual = allEqual && WordOf(raw, i) == WordOf(raw, 0);
  }
  EXPECT_FALSE(allEqual);
}

TEST_F(SimOrders, InfoBlockAnswersTheSyncValue) {
  const std::vector<uint8_t> answer = ask(20, {5, 6});
  expectHeader(answer, 20);
  EXPECT_EQ(WordOf(answer, 4), 0x00AA);
}

TEST_F(SimOrders, UnknownOrdersAreNotAnswered) {
  tell(12, kFullDefaults);
  tell(0, kFullDefaults);
  EXPECT_TRUE(client->readFor(0.2).empty());
  EXPECT_EQ(simulator.answerCount(), 0u);
  EXPECT_EQ(simulator.requestCount(), 2u);
}

// The demo controller runs as long as the program: without a record it still
// answers and counts, but its memory does not grow with the traffic.
TEST_F(SimOrders, WithoutARecordItAnswersAndCountsButKeepsNoTraffic) {
  simulator.setKeepRecord(false);
  for (int i = 0; i < 3; ++i) expectHeader(ask(5, kFullDefaults), 5);
  EXPECT_EQ(simulator.requestCount(), 3u);
  EXPECT_EQ(simulator.answerCount(), 3u);
  EXPECT_TRUE(simulator.received().empty());
  EXPECT_TRUE(simulator.requests().empty());
}

TEST_F(SimOrders, FindsTheFrameAfterStrayBytes) {
  const std::vector<uint8_t> garbage = {0x12, 0x00, 0x00, 0x34, 0x55};
  client->send(garbage);
  const std::vector<uint8_t> answer = ask(5, kFullDefaults);
  expectHeader(answer, 5);
  ASSERT_EQ(simulator.requests().size(), 1u);
  const std::vector<uint8_t> frame = testsupport::RequestBytes(5, kFullDefaults);
  EXPECT_TRUE(std::equal(frame.begin(), frame.end(), simulator.requests()[0].begin()));
  std::vector<uint8_t> expected = garbage;
  expected.insert(expected.end(), frame.begin(), frame.end());
  EXPECT_EQ(simulator.received(), expected);
}

}  // namespace
