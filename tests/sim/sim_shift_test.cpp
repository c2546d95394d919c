// The simulator skipping the caller's idle waiting (setClockShift): how
// far it skips, when it does not, and that every answer keeps its time on the
// caller's clock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>

#include "tests/sim/sim_client.h"
#include "tests/support/sim_line.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The caller's clock as far as the tests need it: the seconds skipped.
std::atomic<double> gSkipped{0.0};
std::atomic<int> gSkips{0};

void Skip(double seconds) {
  gSkipped.fetch_add(seconds);
  ++gSkips;
}

class SimShift : public ::testing::Test {
 protected:
  void SetUp() override {
    gSkipped = 0.0;
    gSkips = 0;
    ASSERT_TRUE(simulator.start());
    client = std::make_unique<SimClient>(simulator.slavePath());
    ASSERT_TRUE(client->ok());
  }
  // Skips of at most `most` seconds.
  void Shifting(double most) { simulator.setClockShift(most, Skip); }

  sim::Simulator simulator{sim::Pacing::Instant};
  std::unique_ptr<SimClient> client;
};

TEST_F(SimShift, NothingComingSkipsAgainAndAgainUntilTurnedOff) {
  Shifting(1.0);
  simulator.setFaults({.silent = true});
  client->request(5);
  ASSERT_TRUE(testsupport::WaitUntil([] { return gSkips >= 3; }, 10.0));
  EXPECT_EQ(gSkipped.load(), gSkips * 1.0);
  simulator.setClockShift(0, nullptr);
  const int skips = gSkips;
  EXPECT_TRUE(client->readFor(0.3).empty());
  EXPECT_EQ(gSkips, skips);
}

TEST_F(SimShift, ShortAnswerIsOutBeforeTheFirstSkip) {
  Shifting(1.0);
  simulator.setFaults({.truncateTo = 10});
  client->request(5);
  EXPECT_EQ(client->read(10).size(), 10u);
  EXPECT_EQ(gSkips, 0);
  ASSERT_TRUE(testsupport::WaitUntil([] { return gSkips >= 2; }, 10.0));
  EXPECT_TRUE(client->readFor(0.1).empty());
}

// One skip, never past the answer: on the caller's clock it arrives no
// sooner than it was due.
TEST_F(SimShift, LateAnswerComesAfterOneSkipThatStopsShortOfIt) {
  Shifting(5.0);
  simulator.setFaults({.answerDelay = 1.0});
  const Clock::time_point sent = Clock::now();
  client->request(5);
  EXPECT_FALSE(simulator.idle()) << "the answer waits for its time";
  EXPECT_EQ(client->read(36, 5.0).size(), 36u);
  EXPECT_GE(SecondsSince(sent) + gSkipped, 1.0);
  EXPECT_EQ(gSkips, 1);
  EXPECT_GT(gSkipped, 0.0);
  EXPECT_LT(gSkipped, 1.0);
  EXPECT_TRUE(simulator.idle());
}

// The caller not yet waiting holds the skip back: a wait begun after it
// would last the skip longer on the caller's clock.
TEST_F(SimShift, SkipWaitsForTheCallerToWait) {
  std::atomic<bool> waiting{false};
  std::atomic<int64_t> askedAbout{0};
  simulator.setClockShift(5.0, Skip, [&](Clock::time_point request) {
    askedAbout = request.time_since_epoch().count();
    return waiting.load();
  });
  simulator.setFaults({.answerDelay = 1.0});
  const Clock::time_point sent = Clock::now();
  client->request(5);
  EXPECT_TRUE(client->readFor(0.3).empty());
  EXPECT_EQ(gSkips, 0) << "skipped while the caller was not waiting";
  EXPECT_GE(askedAbout.load(), sent.time_since_epoch().count()) << "asked about the request";
  waiting = true;
  EXPECT_EQ(client->read(36, 5.0).size(), 36u);
  EXPECT_EQ(gSkips, 1);
  EXPECT_GE(SecondsSince(sent) + gSkipped, 1.0);
}

TEST_F(SimShift, SkipsNeverMoreThanTheShift) {
  Shifting(0.25);
  simulator.setFaults({.answerDelay = 1.0});
  client->request(5);
  EXPECT_EQ(client->read(36, 5.0).size(), 36u);
  EXPECT_EQ(gSkips, 1);
  EXPECT_GT(gSkipped, 0.0);
  EXPECT_LE(gSkipped, 0.25);
}

// The second request finds the first answer on its way: one skip, short of
// that answer, brings both sooner.
TEST_F(SimShift, AnswersOnTheirWayAllKeepTheirTime) {
  Shifting(1.0);
  simulator.setFaults({.answerDelay = 0.5});
  const Clock::time_point sent = Clock::now();
  client->request(5);
  client->request(5);
  EXPECT_EQ(client->read(72, 5.0).size(), 72u);
  EXPECT_GE(SecondsSince(sent) + gSkipped, 0.5);
  EXPECT_LE(gSkips, 1);
  EXPECT_LT(gSkipped, 0.5);
}

// Table: answers that leave nothing to skip.
struct NoSkip {
  const char *name;
  double delay;
  int splitChunk;
};

class SimNoShift : public SimShift, public ::testing::WithParamInterface<NoSkip> {};

TEST_P(SimNoShift, AnswersComeAtTheirTimeWithoutASkip) {
  Shifting(1.0);
  simulator.setFaults({.answerDelay = GetParam().delay, .splitChunk = GetParam().splitChunk});
  client->request(5);
  EXPECT_EQ(client->read(36, 5.0).size(), 36u);
  EXPECT_TRUE(client->readFor(0.2).empty());
  EXPECT_EQ(gSkips, 0);
}

INSTANTIATE_TEST_SUITE_P(Answers, SimNoShift,
                         ::testing::Values(NoSkip{"AtOnce", 0.0, 0},
                                           NoSkip{"SoonerThanTheFirstSkip", 0.02, 0},
                                           NoSkip{"InPiecesFromTheStart", 0.0, 4}),
                         [](const auto &row) { return std::string(row.param.name); });

}  // namespace
