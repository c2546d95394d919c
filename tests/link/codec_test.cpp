// The frame encoder and decoder and the wait for an answer frame, without a
// line.
#include <gtest/gtest.h>

#include <QTimer>
#include <cstring>
#include <string>

#include "link/link.h"
#include "platform/util/utility.h"
#include "tests/link/all_defaults.h"
#include "tests/support/sim_line.h"
#include "tests/support/test_clock.h"

namespace {

std::string Hex(const char *bytes, int count) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (int i = 0; i < count; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (i > 0) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

TEST(FrameCodec, EchoRequestWithDefaultsIsExactAndTouchesOnlyBytes0To35) {
  std::memset(szWriteBuf, 0xEE, sizeof szWriteBuf);
  AllDefaults();
  CopyVarsToPP(0);
  FillTxBuf(5, pp);
  EXPECT_EQ(Hex(szWriteBuf, kFrameBytes),
            "00 55 00 05 00 00 01 F4 08 00 02 00 03 B6 00 14 00 01 00 64 00 08 00 01 00 00 00 00 "
            "00 00 00 00 01 F4 00 00");
  for (int i = kFrameBytes; i < kBufBytes; ++i) {
    ASSERT_EQ(static_cast<unsigned char>(szWriteBuf[i]), 0xEE) << "byte " << i;
  }
  FillTxBuf(0x1234, pp);
  EXPECT_EQ(Hex(szWriteBuf, 4), "00 55 12 34");
}

TEST(FrameCodec, AnswerWithAnyHeaderDecodesOrderAndSixteenWords) {
  const unsigned char frame[kFrameBytes] = {0xFF, 0xFF, 0x00, 0x08, 0x00, 0xAA, 0xFF, 0xFE};
  std::memcpy(szReadBuf, frame, sizeof frame);
  for (int i = 2; i < PNUM; ++i) {
    szReadBuf[4 + 2 * i] = static_cast<char>(i);
    szReadBuf[5 + 2 * i] = static_cast<char>(0x80 + i);
  }
  order = 0;
  GetRxBuf(PNUM);
  EXPECT_EQ(order, 8);
  EXPECT_EQ(pp[0], 0x00AA);
  EXPECT_EQ(pp[1], 0xFFFE);
  for (int i = 2; i < PNUM; ++i) EXPECT_EQ(pp[i], i * 256 + 0x80 + i);

  szReadBuf[2] = static_cast<char>(0xFF);
  szReadBuf[3] = static_cast<char>(0xFF);
  GetRxBuf(PNUM);
  EXPECT_EQ(order, 65535);
}

TEST(AnswerWait, FlagAlreadySetReturnsAtOnceAfterProcessingEvents) {
  rx_flag = 1;
  bool ran = false;
  bool ranAgain = false;  // an event of the next pass
  QTimer::singleShot(0, [&] {
    ran = true;
    QTimer::singleShot(0, [&ranAgain] { ranAgain = true; });
  });
  EXPECT_EQ(WaitRxFull(), 1);
  EXPECT_TRUE(ran);  // events were processed once
  EXPECT_FALSE(ranAgain);
  EXPECT_EQ(ret, 1);
  testsupport::PumpUntil([&ranAgain] { return ranAgain; });
}

TEST(AnswerWait, NoAnswerTimesOutAfterOneAndAHalfSeconds) {
  rx_flag = 0;
  // Most of the wait at once, on the first pass; the rest it waits out.
  QTimer::singleShot(0, [] { AdvanceTimerForTest(1.4); });
  const double t0 = Timer();
  EXPECT_EQ(WaitRxFull(), 0);
  EXPECT_GT(Timer() - t0, 1.5);
  EXPECT_GT(tdiff, 1.5);
  EXPECT_EQ(ret, 0);
  EXPECT_STREQ(szStatus, "Timeout-RS-232...");
  EXPECT_EQ(rx_flag, 0);
}

}  // namespace
