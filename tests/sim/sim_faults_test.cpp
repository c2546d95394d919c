// Fault modes, recording, hang-up and line pacing of the simulator.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>

#include "sim/line.h"
#include "tests/sim/sim_client.h"
#include "tests/support/sim_line.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr sim::Words16 kEchoWords = {0, 500, 2048, 512, 950, 20, 1, 100, 8, 1, 0, 0, 0, 0, 500, 0};

std::atomic<int> gRequestsSeen{0};

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

class SimFaults : public ::testing::Test {
 protected:
  void start(sim::Pacing pacing = sim::Pacing::Instant) {
    simulator = std::make_unique<sim::Simulator>(pacing);
    ASSERT_TRUE(simulator->start());
    client = std::make_unique<SimClient>(simulator->slavePath());
    ASSERT_TRUE(client->ok());
  }
  void setFaults(void (*change)(sim::Faults &)) {
    sim::Faults faults;
    change(faults);
    simulator->setFaults(faults);
  }

  std::unique_ptr<sim::Simulator> simulator;
  std::unique_ptr<SimClient> client;
};

TEST_F(SimFaults, SilentControllerTakesRequestsButAnswersNothing) {
  start();
  setFaults([](sim::Faults &f) { f.silent = true; });
  client->request(5, kEchoWords);
  EXPECT_TRUE(client->readFor(0.3).empty());
  EXPECT_EQ(simulator->requestCount(), 1u);
  EXPECT_EQ(simulator->answerCount(), 0u);
}

TEST_F(SimFaults, OnRequestRunsForEveryRequestBeforeAnyAnswer) {
  start();
  setFaults([](sim::Faults &f) {
    f.silent = true;
    f.onRequest = [] { ++gRequestsSeen; };
  });
  client->request(5, kEchoWords);
  EXPECT_TRUE(client->readFor(0.2).empty());
  EXPECT_EQ(gRequestsSeen, 1);
  setFaults([](sim::Faults &f) { f.onRequest = [] { ++gRequestsSeen; }; });
  client->request(5, kEchoWords);
  ASSERT_EQ(client->read(36, 2.0).size(), 36u);
  EXPECT_EQ(gRequestsSeen, 2);
}

TEST_F(SimFaults, AnswerDelayHoldsTheAnswerBack) {
  start();
  setFaults([](sim::Faults &f) { f.answerDelay = 0.6; });
  client->request(5, kEchoWords);
  EXPECT_TRUE(client->read(1, 0.3).empty());
  EXPECT_EQ(client->read(36, 2.0).size(), 36u);
}

TEST_F(SimFaults, ShortAndLongAnswers) {
  start();
  setFaults([](sim::Faults &f) { f.truncateTo = 10; });
  client->request(5, kEchoWords);
  EXPECT_EQ(client->read(10).size(), 10u);
  EXPECT_TRUE(client->readFor(0.2).empty());

  setFaults([](sim::Faults &f) { f.extraBytes = 4; });
  client->request(5, kEchoWords);
  const std::vector<uint8_t> answer = client->read(40);
  EXPECT_TRUE(client->readFor(0.2).empty());
  ASSERT_EQ(answer.size(), 40u);
  EXPECT_EQ(answer[5], 0xAA);
  EXPECT_EQ(std::vector<uint8_t>(answer.end() - 4, answer.end()), std::vector<uint8_t>(4, 0xEE));
  EXPECT_EQ(simulator->answerCount(), 2u);
}

TEST_F(SimFaults, WrongSyncAndFfHeader) {
  start();
  setFaults([](sim::Faults &f) {
    f.wrongSync = true;
    f.ffHeader = true;
  });
  std::vector<uint8_t> answer = (client->request(5, kEchoWords), client->read(36));
  ASSERT_EQ(answer.size(), 36u);
  EXPECT_EQ(answer[0], 0xFF);
  EXPECT_EQ(answer[1], 0xFF);
  EXPECT_EQ(answer[4], 0xAA);
  EXPECT_EQ(answer[5], 0x00);
  answer = (client->request(2, {}), client->read(36));
  EXPECT_EQ(answer[0], 0xFF);
  EXPECT_EQ(WordOf(answer, 6), 500) << "sync fault touches echo and info answers only";
  answer = (client->request(7, {}), client->read(64));
  EXPECT_EQ(answer[0], 0x00) << "bare blocks have no header to spoil";
  EXPECT_EQ(answer[1], 'Z');
}

TEST_F(SimFaults, SplitAnswersArriveInPiecesButWhole) {
  start();
  setFaults([](sim::Faults &f) { f.splitChunk = 4; });
  const Clock::time_point begin = Clock::now();
  client->request(5, kEchoWords);
  const std::vector<uint8_t> answer = client->read(36);
  const double span = secondsSince(begin);
  ASSERT_EQ(answer.size(), 36u);
  EXPECT_EQ(answer[5], 0xAA);
  EXPECT_GT(span, 0.12) << "nine chunks with pauses between them";
}

TEST_F(SimFaults, InjectedBytesRecordAndClear) {
  start();
  simulator->sendRaw({0x00, 0x55, 0x00, 0x08});
  EXPECT_EQ(client->read(4), (std::vector<uint8_t>{0x00, 0x55, 0x00, 0x08}));
  client->request(5, kEchoWords);
  EXPECT_EQ(client->read(36).size(), 36u);
  EXPECT_EQ(simulator->received().size(), 36u);
  EXPECT_EQ(simulator->answerCount(), 1u);
  simulator->clearRecord();
  EXPECT_TRUE(simulator->received().empty());
  EXPECT_EQ(simulator->requestCount(), 0u);
  EXPECT_EQ(simulator->answerCount(), 0u);
}

TEST_F(SimFaults, HangUpReachesTheFarEnd) {
  start();
  simulator->hangUp();
  EXPECT_TRUE(client->hungUp(1.0));
  simulator->stop();
}

TEST_F(SimFaults, NoiseBeforeTheAnswerHoldsNoFrameStart) {
  start();
  setFaults([](sim::Faults &f) { f.garbageBefore = 9; });
  client->request(5, kEchoWords);
  const std::vector<uint8_t> answer = client->read(45, 5.0);
  ASSERT_EQ(answer.size(), 45u);
  for (std::size_t i = 0; i + 1 < 9; ++i) {
    EXPECT_FALSE(answer[i] == 0x00 && answer[i + 1] == 0x55) << "at " << i;
  }
  EXPECT_EQ(answer[9], 0x00);
  EXPECT_EQ(answer[10], 0x55);
}

TEST_F(SimFaults, HangUpAtTheNthRequestAnswersTheOnesBefore) {
  start();
  setFaults([](sim::Faults &f) { f.hangUpAtRequest = 2; });
  client->request(5, kEchoWords);
  EXPECT_EQ(client->read(36).size(), 36u);
  client->request(5, kEchoWords);
  EXPECT_TRUE(client->hungUp(1.0));
  EXPECT_EQ(simulator->requestCount(), 2u);
  EXPECT_EQ(simulator->answerCount(), 1u);
}

TEST_F(SimFaults, StrayBytesComeAtTheNthRequestBeforeItsAnswer) {
  start();
  setFaults([](sim::Faults &f) {
    f.strayAtRequest = 2;
    f.strayBytes = {0x12, 0x34, 0x56};
  });
  client->request(5, kEchoWords);
  EXPECT_EQ(client->read(36).size(), 36u);
  client->request(5, kEchoWords);
  const std::vector<uint8_t> came = client->read(39);
  ASSERT_EQ(came.size(), 39u);
  EXPECT_EQ(std::vector<uint8_t>(came.begin(), came.begin() + 3),
            (std::vector<uint8_t>{0x12, 0x34, 0x56}));
  EXPECT_EQ(came[3], 0x00);  // then the answer's header
  EXPECT_TRUE(client->readFor(0.1).empty()) << "once only";
}

TEST_F(SimFaults, ClosingOurSideKeepsTheSimulatorAlive) {
  start();
  const std::string device = simulator->slavePath();
  client.reset();
  client = std::make_unique<SimClient>(device);
  client->request(5, kEchoWords);
  EXPECT_EQ(client->read(36).size(), 36u);
}

// Real time is the subject of the line's pace: these run alone.
using SimFaultsTiming = SimFaults;

TEST_F(SimFaultsTiming, LinePacingTakesTheLineTime) {
  start(sim::Pacing::Line);
  const Clock::time_point begin = Clock::now();
  client->request(5, kEchoWords);
  ASSERT_EQ(client->read(36).size(), 36u);
  // 36 bytes in and 36 bytes out at 19200 baud: 37.5 ms at the least.
  EXPECT_GT(secondsSince(begin), 0.036);
}

// The pace itself: answers to requests written at once leave one byte time
// apart, after the first request has crossed the line, however late the
// reader comes; and requests written at once are complete on the line one
// frame time apart.
TEST_F(SimFaultsTiming, LinePacingGivesAbout1920BytesPerSecond) {
  start(sim::Pacing::Line);
  const Clock::time_point begin = Clock::now();
  for (int i = 0; i < 20; ++i) client->request(7, {});
  const std::vector<uint8_t> answers = client->read(20 * 64, 10.0);
  const double span = secondsSince(begin);
  ASSERT_EQ(answers.size(), 20u * 64);
  const double byteTime = std::chrono::duration<double>(sim::kByteTime).count();
  EXPECT_NEAR(1.0 / byteTime, 1920.0, 0.01);
  EXPECT_GE(span, (36 + 20 * 64) * byteTime - 1e-6);

  const std::vector<double> complete = simulator->requestTimes();
  ASSERT_EQ(complete.size(), 20u);
  for (std::size_t i = 1; i < complete.size(); ++i) {
    EXPECT_GE(complete[i] - complete[i - 1], 36 * byteTime - 1e-6) << "request " << i;
  }
  sim::OutputLine line;
  line.schedule(std::vector<uint8_t>(64, 0x11), Clock::time_point{}, sim::Pacing::Line, {});
  uint8_t due[64];
  EXPECT_EQ(line.takeDue(Clock::time_point{} + 63 * sim::kByteTime, due, 64), 63u);
  EXPECT_EQ(line.takeDue(Clock::time_point{} + 64 * sim::kByteTime, due, 64), 64u);
}

// Stop leaves the answers still to send: far more than stop could write.
TEST_F(SimFaults, StopIsPrompt) {
  start(sim::Pacing::Line);
  for (int i = 0; i < 60; ++i) client->request(9, {});
  ASSERT_TRUE(testsupport::WaitUntil([&] { return simulator->requestCount() > 0; }));
  simulator->stop();
  EXPECT_LT(simulator->answerCount(), 60u);
}

}  // namespace
