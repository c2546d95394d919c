// The echo check on the line: the request it sends, the answers it accepts,
// and its limit, the port time-out of 2.0 s.
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/util/waitprobe.h"
#include "tests/link/wire_fixture.h"

namespace {

using EchoCheck = LinkWire;

const std::vector<uint8_t> kEchoRequestWithDefaults = {
    0x00, 0x55, 0x00, 0x05, 0x00, 0x00, 0x01, 0xF4, 0x08, 0x00, 0x02, 0x00,
    0x03, 0xB6, 0x00, 0x14, 0x00, 0x01, 0x00, 0x64, 0x00, 0x08, 0x00, 0x01,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0xF4, 0x00, 0x00};

TEST_F(EchoCheck, SendsTheFullSetAndAcceptsTheSyncAnswer) {
  rx_flag = 1;
  EXPECT_EQ(CheckComLine(com), 1);
  EXPECT_EQ(Sim().received(), kEchoRequestWithDefaults);
  EXPECT_STREQ(szStatus, "Echo Check - Line Ok!");
  EXPECT_EQ(Status(), "Echo Check - Line Ok!");
  EXPECT_EQ(nBytesW, 36);
  EXPECT_EQ(nBytesR, 36);
  EXPECT_EQ(rx_flag, 1);  // neither cleared nor set: the answer was read directly
  EXPECT_EQ(GetInQLen(com), 0);
}

TEST_F(EchoCheck, SilenceIsATimeoutAfterThePortTimeOut) {
  SetFaults({.silent = true});
  const double t0 = Timer();
  EXPECT_EQ(CheckComLine(com), 0);
  EXPECT_GT(Timer() - t0, 2.0);
  EXPECT_EQ(Status(), "Timeout < 36 Bytes");
  EXPECT_STREQ(szStatus, "Timeout < 36 Bytes");
}

TEST_F(EchoCheck, ShortAnswerIsATimeout) {
  SetFaults({.truncateTo = 20});
  EXPECT_EQ(CheckComLine(com), 0);
  EXPECT_EQ(nBytesR, 20);
  EXPECT_EQ(Status(), "Timeout < 36 Bytes");
}

TEST_F(EchoCheck, WrongSyncWordIsAReadError) {
  SetFaults({.wrongSync = true});  // AA 00 instead of 00 AA
  EXPECT_EQ(CheckComLine(com), 0);
  EXPECT_EQ(Status(), "read error - not sync byte 0xAA!");
  EXPECT_STREQ(szStatus, "read error - not sync byte 0xAA!");
}

TEST_F(EchoCheck, FfHeaderStillPasses) {
  SetFaults({.ffHeader = true});
  EXPECT_EQ(CheckComLine(com), 1);
  EXPECT_EQ(static_cast<unsigned char>(szReadBuf[0]), 0xFF);
  EXPECT_EQ(Status(), "Echo Check - Line Ok!");
}

TEST_F(EchoCheck, AnswerWellInsideThePortTimeOutIsAcceptedOneWellAfterIsNot) {
  SetFaults({.answerDelay = 1.5});
  EXPECT_EQ(CheckComLine(com), 1);
  EXPECT_EQ(Status(), "Echo Check - Line Ok!");

  SetFaults({.answerDelay = 2.3});
  EXPECT_EQ(CheckComLine(com), 0);
  EXPECT_EQ(Status(), "Timeout < 36 Bytes");
}

// A loaded machine: the program is held up after its request, inside the
// pause before the read, past the time the simulator would skip the idle
// wait. The read then begins late, and the answer just past the time-out
// must stay past it.
std::atomic<bool> gHoldUp{false};
WaitsProbe gRuntimeProbe = nullptr;

void HeldUpLook() {
  if (gHoldUp.exchange(false)) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  if (gRuntimeProbe != nullptr) gRuntimeProbe();
}

TEST_F(EchoCheck, AnswerJustPastThePortTimeOutStaysPastItWhenTheReadBeginsLate) {
  SetFaults({.answerDelay = 2.3, .onRequest = [] { gHoldUp = true; }});
  gRuntimeProbe = SetWaitsProbe(HeldUpLook);
  const int result = CheckComLine(com);
  SetWaitsProbe(gRuntimeProbe);
  EXPECT_FALSE(gHoldUp) << "the program was not held up";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Status(), "Timeout < 36 Bytes");
}

}  // namespace
