// The parameter read and the receive callback on the line.
#include "tests/link/wire_fixture.h"
#include "tests/support/test_clock.h"

namespace {

using ParameterRead = LinkWire;
using testsupport::RequestBytes;

constexpr sim::Words16 kRamFull = {0,    1001, 1002, 1003, 1004, 1005, 1006, 1007,
                                   1008, 1009, 1010, 1011, 1012, 1013, 1014, 1015};
constexpr sim::Words16 kEepromB = {1, 2001, 2002, 2003, 2004};

std::array<uint16_t, 15> FullSetVariables() {
  return {powerA, refA,     tolA,     triglvlA, hysteresis, polarity, hold,   average,
          hwmode, evalmode, trigmode, outmode,  anamode,    sdelay,   maxmode};
}

std::array<uint16_t, 4> ChannelBVariables() {
  return {powerB, refB, tolB, triglvlB};
}

TEST_F(ParameterRead, RamFullSetRequestsWithTheVariablesAndStoresTheAnswer) {
  Sim().setParameterSet(1, 0, kRamFull);
  CopyVarsToPP(0);
  const std::vector<uint8_t> expected = RequestBytes(2, PP());
  PushGET(RAM, 0);
  EXPECT_EQ(Sim().received(), expected);
  EXPECT_EQ(rx_flag, 1);
  EXPECT_EQ(order, 2);
  EXPECT_EQ(Status(), "Parameter-frame received! - Line Ok!");
  const std::array<uint16_t, 15> vars = FullSetVariables();
  for (int i = 0; i < 15; ++i) EXPECT_EQ(vars[static_cast<std::size_t>(i)], 1001 + i);
  EXPECT_EQ(ChannelBVariables(), (std::array<uint16_t, 4>{500, 2048, 512, 950}));
}

TEST_F(ParameterRead, EepromChannelBUsesOrder4AndChangesOnlyTheFourChannelBVariables) {
  Sim().setParameterSet(2, 1, kEepromB);
  powerB = 11;
  refB = 12;
  tolB = 13;
  triglvlB = 14;
  const std::array<uint16_t, 15> fullBefore = FullSetVariables();
  PushGET(EEPROM, 1);
  EXPECT_EQ(Sim().received(), RequestBytes(4, {1, 11, 12, 13, 14}));
  EXPECT_EQ(ChannelBVariables(), (std::array<uint16_t, 4>{2001, 2002, 2003, 2004}));
  EXPECT_EQ(FullSetVariables(), fullBefore);
  EXPECT_EQ(Status(), "Parameter-frame received! - Line Ok!");
}

TEST_F(ParameterRead, FileTargetWritesNothingToTheLine) {
  rx_flag = 1;
  const std::array<uint16_t, 15> fullBefore = FullSetVariables();
  PushGET(DATFILE, 0);
  testsupport::PumpFor(0.3);
  EXPECT_TRUE(Sim().received().empty());
  EXPECT_EQ(FullSetVariables(), fullBefore);
  EXPECT_EQ(rx_flag, 1);
  EXPECT_EQ(Status(), "before");
}

TEST_F(ParameterRead, SilenceSaysTheSetWasNotReceivedAndKeepsTheVariables) {
  SetFaults({.silent = true});
  const std::array<uint16_t, 15> fullBefore = FullSetVariables();
  const double t0 = Timer();
  PushGET(RAM, 0);
  EXPECT_GT(Timer() - t0, 1.5);
  EXPECT_EQ(rx_flag, 0);
  EXPECT_EQ(ret, 0);
  EXPECT_STREQ(szStatus, "Timeout-RS-232...");
  EXPECT_EQ(Status(), "Parameter-frame NOT received - set 0!");
  EXPECT_EQ(FullSetVariables(), fullBefore);
  EXPECT_EQ(Sim().requestCount(), 1u);
}

TEST_F(ParameterRead, AnswerWellInsideTheLimitIsTakenOneWellAfterIsNot) {
  Sim().setParameterSet(1, 1, kEepromB);
  SetFaults({.onRequest = [] { AdvanceTimerForTest(0.75); }});
  PushGET(RAM, 1);
  EXPECT_EQ(rx_flag, 1);
  EXPECT_EQ(powerB, 2001);

  Sim().setParameterSet(1, 1, {1, 3001, 3002, 3003, 3004});
  SetFaults({.silent = true, .onRequest = [] { AdvanceTimerForTest(2.0); }});
  PushGET(RAM, 1);
  EXPECT_EQ(rx_flag, 0);
  EXPECT_EQ(powerB, 2001);
  EXPECT_EQ(Status(), "Parameter-frame NOT received - set 1!");
}

// The full set's answer crawls over the bound, two bytes every 9 ms from
// 1.4 s on: its late rest must not open the channel-B answer.
TEST_F(ParameterRead, LateRestOfATimedOutAnswerStaysOutOfTheNextRead) {
  Sim().setParameterSet(1, 0, kRamFull);
  Sim().setParameterSet(1, 1, kEepromB);
  SetFaults({.answerDelay = 1.4, .splitChunk = 2, .splitPause = 0.008});
  const std::array<uint16_t, 15> fullBefore = FullSetVariables();
  PushGET(RAM, 0);
  ASSERT_EQ(rx_flag, 0);
  EXPECT_GT(GetInQLen(com), 0);  // the first part came in time
  SetFaults({});
  PushGET(RAM, 1);
  EXPECT_EQ(rx_flag, 1);
  EXPECT_EQ(ChannelBVariables(), (std::array<uint16_t, 4>{2001, 2002, 2003, 2004}));
  EXPECT_EQ(FullSetVariables(), fullBefore);
}

// The full set's answer comes 2.3 s late: sent at once, the channel-B read
// would get it inside its wait, and nothing but time tells the two apart. The
// channel-B read waits until the late answer has come and gone.
TEST_F(ParameterRead, LateAnswerIsNotTakenForTheNextReadOfTheSameOrder) {
  Sim().setPacing(sim::Pacing::Instant);
  Sim().setParameterSet(1, 0, kRamFull);
  SetFaults({.answerDelay = 2.3});
  const std::array<uint16_t, 4> before = ChannelBVariables();
  PushGET(RAM, 0);
  ASSERT_EQ(rx_flag, 0);
  PushGET(RAM, 1);
  EXPECT_EQ(rx_flag, 0);
  EXPECT_EQ(ChannelBVariables(), before);
  EXPECT_EQ(Status(), "Parameter-frame NOT received - set 1!");
}

TEST_F(ParameterRead, FfHeaderAnswerDecodesLikeAnyOther) {
  Sim().setParameterSet(1, 0, kRamFull);
  SetFaults({.ffHeader = true});
  PushGET(RAM, 0);
  EXPECT_EQ(rx_flag, 1);
  EXPECT_EQ(powerA, 1001);
  EXPECT_EQ(maxmode, 1015);
}

TEST_F(ParameterRead, SurplusBytesAfterTheAnswerAreDropped) {
  Sim().setPacing(sim::Pacing::Instant);
  Sim().setParameterSet(1, 0, kRamFull);
  // In one piece: bytes that come after a pause may be the start of what
  // follows, which stays for the next request's flush.
  SetFaults({.extraBytes = 4, .splitChunk = 40});
  PushGET(RAM, 0);
  EXPECT_EQ(rx_flag, 1);
  EXPECT_EQ(sdelay, 1014);
  testsupport::PumpFor(0.2);
  EXPECT_EQ(GetInQLen(com), 0);
}

using ReceiveCallback = LinkWire;

std::vector<uint8_t> AnswerFrame(int order, uint16_t first) {
  sim::Words16 words{};
  for (int i = 0; i < PNUM; ++i)
    words[static_cast<std::size_t>(i)] = static_cast<uint16_t>(first + i);
  return testsupport::RequestBytes(order, words);
}

// The live request in flight.
void BuildLiveRequest() {
  const uint16_t words[PNUM] = {};
  FillTxBuf(8, words);
}

TEST_F(ReceiveCallback, FortyBytesWaitingDecodesTheFirst36AndDropsTheRest) {
  BuildLiveRequest();
  rx_flag = 0;
  graphrefresh = 0;
  std::vector<uint8_t> bytes = AnswerFrame(8, 100);
  bytes.insert(bytes.end(), {0x00, 0x55, 0x00, 0x09});
  Sim().sendRaw(bytes);
  ASSERT_TRUE(QueueHolds(40));
  ASSERT_TRUE(testsupport::PumpUntil([] { return rx_flag == 1; }));
  EXPECT_EQ(order, 8);
  EXPECT_EQ(PP(), (sim::Words16{100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112,
                                113, 114, 115}));
  EXPECT_EQ(graphrefresh, 1);
  EXPECT_EQ(GetInQLen(com), 0);

  // A frame answering another request is never taken; passed over whole, it
  // leaves the next answer to be decoded from its own first byte.
  rx_flag = 0;
  Sim().sendRaw(AnswerFrame(11, 500));
  ASSERT_TRUE(QueueHolds(36));
  testsupport::PumpFor(0.1);
  EXPECT_EQ(rx_flag, 0);
  EXPECT_EQ(order, 8);
  Sim().sendRaw(AnswerFrame(8, 500));
  ASSERT_TRUE(testsupport::PumpUntil([] { return rx_flag == 1; }));
  EXPECT_EQ(order, 8);
  EXPECT_EQ(pp[0], 500);
  EXPECT_EQ(GetInQLen(com), 0);
}

TEST_F(ReceiveCallback, EventCharacterOrTransmitEmptyAloneReadsNothing) {
  BuildLiveRequest();
  rx_flag = 0;
  Sim().sendRaw(AnswerFrame(8, 7));
  ASSERT_TRUE(QueueHolds(36));
  RX_Receive_Function(com, LWRS_RXFLAG, nullptr);
  RX_Receive_Function(com, LWRS_TXEMPTY, nullptr);
  EXPECT_EQ(GetInQLen(com), 36);
  EXPECT_EQ(rx_flag, 0);
  RX_Receive_Function(com, LWRS_RECEIVE, nullptr);
  EXPECT_EQ(rx_flag, 1);
  EXPECT_EQ(pp[15], 22);
  EXPECT_EQ(GetInQLen(com), 0);
}

TEST_F(ReceiveCallback, SwitchedOffItLeavesFramesWaitingAndOnAgainItFlushesAndDecodes) {
  BuildLiveRequest();
  ReceiveCallbackOff();
  rx_flag = 0;
  Sim().sendRaw(AnswerFrame(8, 1));
  ASSERT_TRUE(QueueHolds(36));
  testsupport::PumpFor(0.3);
  EXPECT_EQ(rx_flag, 0);
  EXPECT_EQ(GetInQLen(com), 36);

  ReceiveCallbackOn();
  EXPECT_EQ(GetInQLen(com), 0);
  Sim().sendRaw(AnswerFrame(8, 40));
  ASSERT_TRUE(testsupport::PumpUntil([] { return rx_flag == 1; }));
  EXPECT_EQ(pp[0], 40);
}

// The frame taken is the answer to the request in flight (the one last built):
// its order word, and for a parameter read its set in word 0. Line noise and
// frames answering something else ahead of it are passed over.
struct Arrival {
  const char *name;
  int order;     // of the request in flight
  uint16_t set;  // its word 0
  std::vector<uint8_t> before;
  int restAfter;  // the answer's bytes from here on come a moment later; 36: at once
};

class AnswerBehind : public LinkWire, public testing::WithParamInterface<Arrival> {};

TEST_P(AnswerBehind, IsTakenFromItsOwnFirstByte) {
  const Arrival &a = GetParam();
  uint16_t request[PNUM] = {a.set};
  FillTxBuf(a.order, request);
  rx_flag = 0;
  const std::vector<uint8_t> answer = AnswerFrame(a.order, a.set);
  std::vector<uint8_t> first = a.before;
  first.insert(first.end(), answer.begin(), answer.begin() + a.restAfter);
  Sim().sendRaw(first);
  testsupport::PumpFor(0.1);
  if (a.restAfter < kFrameBytes) {
    EXPECT_EQ(rx_flag, 0);
    Sim().sendRaw({answer.begin() + a.restAfter, answer.end()});
  }
  ASSERT_TRUE(testsupport::PumpUntil([] { return rx_flag == 1; }));
  EXPECT_EQ(order, a.order);
  EXPECT_EQ(pp[0], a.set);
  EXPECT_EQ(pp[15], a.set + 15);
  EXPECT_EQ(std::vector<uint8_t>(szReadBuf, szReadBuf + kFrameBytes), answer);
  EXPECT_EQ(GetInQLen(com), 0);
}

const std::vector<uint8_t> kNoise = {0x12, 0x34, 0xEE, 0x56, 0xFF};

std::vector<uint8_t> Joined(std::vector<uint8_t> a, const std::vector<uint8_t> &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// More noise than a frame: the callback runs before the answer has come.
const std::vector<uint8_t> kLongNoise =
    Joined(Joined(kNoise, kNoise), std::vector<uint8_t>(30, 0xEE));

// An echo answer whose words 9 and 10 read like a set-1 read's order and set.
std::vector<uint8_t> EchoWithALookalikeInside() {
  sim::Words16 words{0x00AA};
  words[9] = 2;
  words[10] = 1;
  return testsupport::RequestBytes(5, words);
}

INSTANTIATE_TEST_SUITE_P(
    Arrivals, AnswerBehind,
    testing::Values(Arrival{"Noise", 8, 0, kNoise, 36}, Arrival{"LongNoise", 8, 0, kLongNoise, 36},
                    Arrival{"LongNoiseThenAnswerInTwoParts", 8, 0, kLongNoise, 20},
                    // The header is not examined: noise ending like a frame's start.
                    Arrival{"NoiseEndingInASyncWord", 8, 0, {0xEE, 0x00, 0x55}, 36},
                    Arrival{"AnswerToAnotherOrder", 8, 0, AnswerFrame(11, 500), 36},
                    Arrival{"AnswerFromTheOtherStore", 2, 1, AnswerFrame(4, 0), 36},
                    Arrival{"LookalikeInsideAnotherFrame", 2, 1, EchoWithALookalikeInside(), 36},
                    Arrival{"NoiseAndTheOtherStoreThenAnswerInTwoParts", 4, 0,
                            Joined(kNoise, AnswerFrame(2, 1)), 10}),
    [](const auto &row) { return std::string(row.param.name); });

// Word 0 and the header of an answer are the controller's: whatever it puts
// there, both sets of both stores are read, and word 0 is stored nowhere.
TEST_F(ParameterRead, AnyWord0AndAnyHeaderYieldTheSameVariables) {
  struct Latitude {
    int word0;
    int header;
  };
  const Latitude latitudes[] = {{0x00AA, 0x0055}, {0xFFFF, 0xFFFF}, {0x5C17, 0x9A3B},
                                {0x0000, 0xFFFF}, {0x0001, 0x1234}, {0x0002, 0x0000}};
  Sim().setParameterSet(1, 0, kRamFull);
  Sim().setParameterSet(2, 1, kEepromB);
  for (const Latitude &l : latitudes) {
    SCOPED_TRACE(testing::Message() << std::hex << "word 0 " << l.word0 << " header " << l.header);
    SetFaults({.header = l.header, .answerWord0 = l.word0});
    SetParameterDefaults();
    maxmode = 0;
    PushGET(RAM, 0);
    EXPECT_EQ(rx_flag, 1);
    EXPECT_EQ(Status(), "Parameter-frame received! - Line Ok!");
    EXPECT_EQ(powerA, 1001);
    EXPECT_EQ(maxmode, 1015);
    PushGET(EEPROM, 1);
    EXPECT_EQ(rx_flag, 1);
    EXPECT_EQ(ChannelBVariables(), (std::array<uint16_t, 4>{2001, 2002, 2003, 2004}));
    EXPECT_EQ(Status(), "Parameter-frame received! - Line Ok!");
  }
}

}  // namespace
