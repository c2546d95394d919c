// Firmware text, data-memory blocks and the info block on the line.
#include "tests/link/wire_fixture.h"
#include "tests/support/test_clock.h"

namespace {

using testsupport::RequestBytes;

std::array<uint16_t, 32> FirmwareWords(const std::vector<uint16_t> &leading) {
  std::array<uint16_t, 32> words{};
  words.fill(0x0020);
  for (std::size_t i = 0; i < leading.size(); ++i) words[i] = leading[i];
  return words;
}

using FirmwareRead = LinkWire;

TEST_F(FirmwareRead, TextOfCharacterWordsIsShownAsIs) {
  Sim().setFirmwareText(FirmwareWords({0x0041, 0x0042}));
  for (int i = 0; i < PNUM; ++i) pp[i] = static_cast<uint16_t>(0x0100 + i);
  const std::vector<uint8_t> request = RequestBytes(7, PP());
  rx_flag = 1;
  EXPECT_EQ(GetVERSIONInfo(), 64);
  EXPECT_EQ(Sim().received(), request);  // the current pp, as it was
  EXPECT_EQ(order, 7);
  const std::string text = "AB" + std::string(30, ' ');
  EXPECT_EQ(std::string(szVersion), text);
  EXPECT_EQ(std::string(szStatus), text);
  EXPECT_EQ(Status(), text);
  EXPECT_EQ(rx_flag, 0);
  EXPECT_EQ(GetInQLen(com), 0);
}

TEST_F(FirmwareRead, ControlCharactersAndMarkupAreNeverInterpreted) {
  Sim().setFirmwareText(
      FirmwareWords({'<', 'b', '>', 0x0007, 0x0141, 0x00FF, 0x007F, 'Z', 0x0000, 'Q'}));
  EXPECT_EQ(GetVERSIONInfo(), 64);
  EXPECT_STREQ(szVersion, "<b>?A??Z");  // the low byte counts; NUL ends the text
  EXPECT_EQ(Status(), "<b>?A??Z");
  QLabel *label = StatusLabel();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QStringLiteral("<b>?A??Z"));
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

// An answer that is not a whole text: silence, too few bytes, more than a
// text. The read returns what came, shows no text (nor the one before) and
// says which it was.
struct FailedRead {
  const char *name;
  sim::Faults faults;
  bool instant;  // bytes that follow a pause may be the next thing on the line
  int result;
  double waited;  // the time-out waited out, on the program's clock
  const char *status;
};

const FailedRead kFailedReads[] = {
    {"silence", {.silent = true}, false, 0, 2.0, "Timeout - reading firmware info!"},
    {"short", {.truncateTo = 40}, false, 40, 0.0, "Timeout - reading firmware info!"},
    {"too long",
     {.extraBytes = 6, .splitChunk = 70},
     true,
     70,
     0.0,
     "Error reading firmware-info!"},
};

TEST_F(FirmwareRead, AnswerThatIsNotAWholeTextShowsNoTextAndSaysWhy) {
  for (const FailedRead &c : kFailedReads) {
    SCOPED_TRACE(c.name);
    if (c.instant) Sim().setPacing(sim::Pacing::Instant);
    SetFaults(c.faults);
    std::strcpy(szVersion, "old");
    const double t0 = Timer();
    EXPECT_EQ(GetVERSIONInfo(), c.result);
    if (c.waited > 0) {
      EXPECT_GT(Timer() - t0, c.waited);
    }
    EXPECT_STREQ(szVersion, "");
    EXPECT_STREQ(szStatus, c.status);
    EXPECT_EQ(Status(), c.status);
    SetFaults({});
    FlushInQ(com);
  }
}

TEST_F(FirmwareRead, AnswerWellInsideTwoSecondsIsTakenOneWellAfterIsNot) {
  Sim().setFirmwareText(FirmwareWords({'F', 'W'}));
  SetFaults({.onRequest = [] { AdvanceTimerForTest(1.0); }});
  EXPECT_EQ(GetVERSIONInfo(), 64);
  EXPECT_EQ(szVersion[0], 'F');

  SetFaults({.silent = true, .onRequest = [] { AdvanceTimerForTest(2.5); }});
  EXPECT_EQ(GetVERSIONInfo(), 0);
  EXPECT_EQ(Status(), "Timeout - reading firmware info!");
}

TEST_F(FirmwareRead, CallbackIsOnAgainAfterwards) {
  EXPECT_EQ(GetVERSIONInfo(), 64);
  const uint16_t live[PNUM] = {};
  FillTxBuf(8, live);  // a live request in flight
  Sim().sendRaw(RequestBytes(8, {77}));
  ASSERT_TRUE(testsupport::PumpUntil([] { return rx_flag == 1; }));
  EXPECT_EQ(pp[0], 77);
}

using DataBlock = LinkWire;

std::array<uint16_t, 256> Ramp(uint16_t base) {
  std::array<uint16_t, 256> words{};
  for (std::size_t i = 0; i < words.size(); ++i) words[i] = static_cast<uint16_t>(base + i);
  return words;
}

void FillCurves(uint16_t value) {
  for (int i = 0; i < 256; ++i) yArrayA[i] = yArrayB[i] = value;
}

TEST_F(DataBlock, FourBlocksFillBothCurvesByOffset) {
  Sim().setDataMemory(0, Ramp(1000));
  ReceiveCallbackOff();
  for (int offset : {0, 64, 128, 192}) {
    order = 9;
    EXPECT_EQ(ReadData64(offset, 0, order), 64);
  }
  ReceiveCallbackOn();
  for (int i = 0; i < 128; ++i) {
    ASSERT_EQ(yArrayA[i], 1000 + i) << i;
    ASSERT_EQ(yArrayB[i], 1128 + i) << i;
  }
  const std::vector<sim::RequestFrame> requests = Sim().requests();
  ASSERT_EQ(requests.size(), 4u);
  const std::vector<uint8_t> last(requests[3].begin(), requests[3].end());
  EXPECT_EQ(last, RequestBytes(9, {192, 0}));
  EXPECT_EQ(Status(), "Data[64] block received!");
}

TEST_F(DataBlock, Offset192FillsOnlyTheUpperHalfOfChannelB) {
  Sim().setDataMemory(1, Ramp(3000));
  FillCurves(0x7777);
  EXPECT_EQ(ReadData64(192, 1, 9), 64);
  EXPECT_EQ(Sim().received(), RequestBytes(9, {192, 1}));
  for (int i = 0; i < 256; ++i) {
    const bool filled = i >= 64 && i < 128;
    ASSERT_EQ(yArrayB[i], filled ? 3192 + (i - 64) : 0x7777) << i;
    ASSERT_EQ(yArrayA[i], 0x7777) << i;
  }
  EXPECT_STREQ(szStatus, "Data[64] block received!");
}

TEST_F(DataBlock, UnknownOffsetStoresNothingAndStillReturns64) {
  FillCurves(0x5555);
  EXPECT_EQ(ReadData64(32, 0, 9), 64);
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(yArrayA[i] == 0x5555 && yArrayB[i] == 0x5555) << i;
  EXPECT_EQ(Status(), "Data[64] block received!");
}

// A block that did not come whole: silence, too few bytes, more than a
// block. Like a time-out, each leaves no earlier curve that could pass for
// this block (the first 128 points of both curves are zeroed), and says which.
struct FailedBlock {
  const char *name;
  sim::Faults faults;
  bool instant;  // in one piece, as above
  int offset;
  double waited;  // the time-out waited out, on the program's clock
  const char *status;
};

const FailedBlock kFailedBlocks[] = {
    {"silence", {.silent = true}, false, 0, 1.5, "Timeout-RS-232 while reading 64 data-words!"},
    {"short", {.truncateTo = 100}, false, 64, 0.0, "Timeout-RS-232 while reading 64 data-words!"},
    {"too long",
     {.extraBytes = 4, .splitChunk = 132},
     true,
     0,
     0.0,
     "Error reading 64 data-words!"},
};

TEST_F(DataBlock, BlockThatIsNotWholeLeavesNoOldCurveAndSaysWhy) {
  for (const FailedBlock &c : kFailedBlocks) {
    SCOPED_TRACE(c.name);
    if (c.instant) Sim().setPacing(sim::Pacing::Instant);
    SetFaults(c.faults);
    FillCurves(0x3333);
    std::strcpy(szStatus, "Data[64] block received!");  // the previous block's
    const double t0 = Timer();
    EXPECT_EQ(ReadData64(c.offset, 0, 9), 0);
    if (c.waited > 0) {
      EXPECT_GT(Timer() - t0, c.waited);
    }
    for (int i = 0; i < 256; ++i) {
      ASSERT_EQ(yArrayA[i], i < 128 ? 0 : 0x3333) << i;
      ASSERT_EQ(yArrayB[i], i < 128 ? 0 : 0x3333) << i;
    }
    EXPECT_STREQ(szStatus, c.status);
    EXPECT_EQ(Status(), c.status);
    SetFaults({});
    FlushInQ(com);
  }
}

TEST_F(DataBlock, BlockWellInsideTheLimitIsTakenALateOneIsNotAndIsFlushedBeforeTheNext) {
  Sim().setDataMemory(0, Ramp(200));
  ReceiveCallbackOff();
  SetFaults({.onRequest = [] { AdvanceTimerForTest(0.75); }});
  EXPECT_EQ(ReadData64(0, 0, 9), 64);
  EXPECT_EQ(yArrayA[5], 205);

  SetFaults({.silent = true, .onRequest = [] { AdvanceTimerForTest(2.0); }});
  EXPECT_EQ(ReadData64(64, 0, 9), 0);
  EXPECT_EQ(yArrayA[5], 0);
  std::vector<uint8_t> late(128);
  for (std::size_t i = 0; i < late.size(); i += 2) late[i + 1] = 0x77;
  Sim().sendRaw(late);  // the late block arrives after all
  ASSERT_TRUE(QueueHolds(128, 3.0));

  SetFaults({});
  EXPECT_EQ(ReadData64(128, 0, 9), 64);
  EXPECT_EQ(yArrayB[0], 328);
  ReceiveCallbackOn();
}

using InfoBlock = LinkWire;

TEST_F(InfoBlock, AlwaysUsesPort1SoAnotherPortInUseFails) {
  rx_flag = 0;
  EXPECT_EQ(SendInfoBlockToFlash(0x1234, 0x5678), -1);
  EXPECT_STREQ(szStatus, "Timeout: SendInfoBlockToFlash < 36 Bytes");
  EXPECT_EQ(order, 20);
  testsupport::PumpFor(0.2);
  EXPECT_TRUE(Sim().received().empty());
  EXPECT_EQ(Status(), "before");  // the caller shows the outcome
}

// The simulator's line opened as port 1, as the info block expects it.
class InfoBlockOnPort1 : public LinkWire {
 protected:
  void SetUp() override {
    LinkWire::SetUp();
    if (HasFatalFailure()) return;
    CloseCom(com);
    ASSERT_EQ(OpenLinkPort(1, Line().device().c_str()), 0);
    com = 1;
  }
};

TEST_F(InfoBlockOnPort1, SendsBothArgumentsAndAcceptsTheSyncAnswer) {
  EXPECT_EQ(SendInfoBlockToFlash(0x1234, 0x5678), 1);
  EXPECT_EQ(Sim().received(), RequestBytes(20, {0x5678, 0x1234}));
  EXPECT_STREQ(szStatus, "ok:  SendInfoBlockToFlash!");
  EXPECT_EQ(Status(), "before");
}

TEST_F(InfoBlockOnPort1, WrongSyncWordAndShortAnswer) {
  SetFaults({.wrongSync = true});
  EXPECT_EQ(SendInfoBlockToFlash(1, 2), -2);
  EXPECT_STREQ(szStatus, "error : unknown F801 echo at order-20!");

  SetFaults({.truncateTo = 30});
  FlushInQ(1);
  EXPECT_EQ(SendInfoBlockToFlash(1, 2), -1);
  EXPECT_STREQ(szStatus, "Timeout: SendInfoBlockToFlash < 36 Bytes");
}

}  // namespace
