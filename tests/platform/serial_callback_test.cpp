// The receive callback over a real pty: it runs only inside event
// processing, once the notify count is reached, and may read and flush the
// port itself as the program's callback does.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/util/waitprobe.h"
#include "sim/pty.h"
#include "tests/support/sim_line.h"

using testsupport::AnswerWord;
using testsupport::PumpFor;
using testsupport::PumpUntil;
using testsupport::RequestBytes;
using testsupport::SimLine;
using testsupport::WaitUntil;

namespace {

struct Calls {
  int count = 0;
  int lastEvents = 0;
  int lastPort = 0;
  int queueAtCall = 0;
};

void record(int port, int events, void *data) {
  Calls &calls = *static_cast<Calls *>(data);
  ++calls.count;
  calls.lastEvents = events;
  calls.lastPort = port;
  calls.queueAtCall = GetInQLen(port);
}

// Opens the line's port with the counting callback on it: count 36, event
// character 0x55.
bool Listen(SimLine &line, int eventMask, Calls *calls) {
  return line.ok() && line.open() == 0 &&
         InstallComCallback(line.port(), eventMask, 36, 0x55, record, calls) == 0;
}

// What the program's callback does: read one frame, keep it, drop the rest.
struct FrameReader {
  int calls = 0;
  std::vector<uint8_t> frame;
};

void readFrame(int port, int events, void *data) {
  auto &reader = *static_cast<FrameReader *>(data);
  if ((events & LWRS_RECEIVE) == 0) return;
  ++reader.calls;
  reader.frame.assign(36, 0);
  ComRd(port, reinterpret_cast<char *>(reader.frame.data()), 36);
  FlushInQ(port);
}

void closeOwnPort(int port, int /*events*/, void *data) {
  ++*static_cast<int *>(data);
  CloseCom(port);
}

// Times this thread has gone to sleep: each is a wake-up later.
long OwnWakeUps() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_nvcsw;
}

std::vector<uint8_t> filler(int count) {
  return std::vector<uint8_t>(static_cast<std::size_t>(count), 0x11);
}

}  // namespace

TEST(SerialCallback, RunsOnlyInsideEventProcessingOnceNotifyCountIsReached) {
  SimLine line;
  Calls calls;
  ASSERT_TRUE(Listen(line, LWRS_RECEIVE, &calls));

  line.sim().sendRaw(filler(35));
  ASSERT_TRUE(WaitUntil([&] { return GetInQLen(line.port()) == 35; }));
  PumpFor(0.3);
  EXPECT_EQ(calls.count, 0) << "35 bytes are below the notify count";

  line.sim().sendRaw(filler(1));
  ASSERT_TRUE(WaitUntil([&] { return GetInQLen(line.port()) == 36; }));
  EXPECT_EQ(calls.count, 0) << "no event processing, no callback";
  EXPECT_TRUE(PumpUntil([&] { return calls.count == 1; }));
  EXPECT_EQ(calls.lastEvents, LWRS_RECEIVE);
  EXPECT_EQ(calls.lastPort, line.port());
  EXPECT_EQ(calls.queueAtCall, 36);
}

TEST(SerialCallback, ProgramStyleCallbackReadsTheAnswerAndDropsSurplus) {
  SimLine line(sim::Pacing::Instant);
  ASSERT_TRUE(line.ok());
  ASSERT_EQ(line.open(), 0);
  sim::Faults faults;
  faults.extraBytes = 4;
  line.sim().setFaults(faults);
  FrameReader reader;
  ASSERT_EQ(InstallComCallback(line.port(), 0x8006, 36, 0x55, readFrame, &reader), 0);

  const std::vector<uint8_t> request = RequestBytes(5, {0, 500, 2048, 512, 950, 20, 1, 100, 8, 1});
  ASSERT_EQ(ComWrt(line.port(), reinterpret_cast<const char *>(request.data()), 36), 36);
  ASSERT_TRUE(PumpUntil([&] { return reader.calls == 1; }));
  EXPECT_EQ(AnswerWord(reader.frame, 0), 0x00AA);
  EXPECT_EQ(AnswerWord(reader.frame, 2), 2048);
  PumpFor(0.2);
  EXPECT_EQ(reader.calls, 1) << "the surplus bytes were flushed, not delivered";
  EXPECT_EQ(GetInQLen(line.port()), 0);
}

TEST(SerialCallback, EventCharacterAloneGivesRxFlagOnly) {
  SimLine line;
  Calls calls;
  ASSERT_TRUE(Listen(line, LWRS_RXFLAG, &calls));
  line.sim().sendRaw({0x01, 0x55});
  ASSERT_TRUE(PumpUntil([&] { return calls.count == 1; }));
  EXPECT_EQ(calls.lastEvents, LWRS_RXFLAG);
}

// The event character is reported as it comes; the count when it is there.
TEST(SerialCallback, EventCharacterComesAtOnceAndTheCountWhenItIsThere) {
  SimLine line;
  Calls calls;
  ASSERT_TRUE(Listen(line, 0x8006, &calls));
  line.sim().sendRaw({0x01, 0x55});
  ASSERT_TRUE(PumpUntil([&] { return calls.count >= 1; }));
  EXPECT_EQ(calls.lastEvents, LWRS_RXFLAG);
  line.sim().sendRaw(filler(34));
  ASSERT_TRUE(PumpUntil([&] { return calls.count >= 2; }));
  PumpFor(0.1);
  EXPECT_EQ(calls.count, 2);
  EXPECT_EQ(calls.lastEvents, LWRS_RECEIVE);
  EXPECT_EQ(calls.queueAtCall, 36);
}

// An answer that crosses the line at its pace wakes the program a few times,
// not once per byte, and still comes whole in one call.
// Real time is the subject: the line's pace against the loop's wake-ups.
TEST(SerialCallbackTiming, AnswerAtTheLinesPaceWakesTheProgramAFewTimesNotPerByte) {
  SimLine line;
  Calls calls;
  ASSERT_TRUE(Listen(line, LWRS_RECEIVE, &calls));
  const std::vector<uint8_t> request = RequestBytes(8, {});
  const long wakeUpsBefore = OwnWakeUps();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(ComWrt(line.port(), reinterpret_cast<const char *>(request.data()), 36), 36);
  ASSERT_TRUE(PumpUntil([&] { return calls.count >= 1; }));
  // About 37.5 ms: the first byte, the pause's end, the last few bytes and
  // the idle wake-ups of the loop, one per 10 ms however long a busy machine
  // makes it; one wake-up per byte would be 36 more.
  const auto idleWakeUps =
      std::chrono::ceil<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
          .count() /
      10;
  EXPECT_LT(OwnWakeUps() - wakeUpsBefore, 20 + idleWakeUps);
  EXPECT_EQ(calls.count, 1);
  EXPECT_EQ(calls.queueAtCall, 36);
}

// The count the line waits for follows the bytes already taken in, and a read
// of fewer bytes than the count never waits for the count.
TEST(SerialCallback, BytesTakenInBeforeTheCountStillCount) {
  SimLine line;
  Calls calls;
  ASSERT_TRUE(Listen(line, LWRS_RECEIVE, &calls));
  line.sim().sendRaw(filler(10));
  ASSERT_TRUE(WaitUntil([&] { return GetInQLen(line.port()) == 10; }));
  char window[36];
  ASSERT_EQ(ComPeek(line.port(), window, 36), 10);
  line.sim().sendRaw(filler(26));
  ASSERT_TRUE(PumpUntil([&] { return calls.count >= 1; }));
  EXPECT_EQ(calls.queueAtCall, 36);

  FlushInQ(line.port());
  ASSERT_EQ(SetComTime(line.port(), 2.0), 0);
  std::thread later([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    line.sim().sendRaw(filler(5));
  });
  char five[5];
  EXPECT_EQ(ComRd(line.port(), five, 5), 5) << "5 bytes end a read of 5";
  later.join();
}

// A read that has to wait looks at the window system now and then (so that a
// close of the main window ends it); that look runs the event dispatcher.
// Bytes that come in just before each look stay the read's: none of them is
// taken into the callback's buffer behind its back, and the count the callback
// waits for does not hold the read's wake-up back.
namespace {
WaitsProbe gRuntimeProbe = nullptr;
SimLine *gFeedLine = nullptr;
std::vector<int> gPieces;  // one piece of the answer before each look

void FeedBeforeLook() {
  if (!gPieces.empty()) {
    const int piece = gPieces.front();
    gPieces.erase(gPieces.begin());
    gFeedLine->sim().sendRaw(filler(piece));
    WaitUntil([piece] { return GetInQLen(gFeedLine->port()) >= piece; });
  }
  gRuntimeProbe();
}
}  // namespace

TEST(SerialCallback, ReadKeepsTheBytesThatComeWhileItLooksAtTheWindowSystem) {
  SimLine line;
  Calls calls;
  ASSERT_TRUE(Listen(line, LWRS_RECEIVE, &calls));
  ASSERT_EQ(SetComTime(line.port(), 2.0), 0);
  gRuntimeProbe = SetWaitsProbe(FeedBeforeLook);
  ASSERT_NE(gRuntimeProbe, nullptr) << "the run-time installs its probe";
  gFeedLine = &line;
  gPieces = {10, 25};
  line.sim().sendRaw(filler(1));
  ASSERT_TRUE(WaitUntil([&] { return GetInQLen(line.port()) == 1; }));

  char answer[36];
  const int got = ComRd(line.port(), answer, 36);
  SetWaitsProbe(gRuntimeProbe);
  EXPECT_EQ(got, 36);
  EXPECT_TRUE(gPieces.empty()) << "the read looked at the window system between the pieces";
  EXPECT_EQ(GetInQLen(line.port()), 0);
  PumpFor(0.05);
  EXPECT_EQ(calls.count, 0) << "the read took the whole count";
}

// Asking how many bytes wait changes nothing of the wake-up. After a count's
// first byte the loop rests for the rest's time on the line (here its bound,
// 50 ms); bytes that complete the count meanwhile are offered when the rest
// ends, not because the program asked about them. The far end is a bare pty
// written from this thread, so that nothing but this test decides the timing;
// an attempt that a loaded machine delays beyond the rest is repeated. Real
// time is the subject: it runs alone.
TEST(SerialCallbackTiming, QueryOfTheQueueLeavesTheRestAsItIs) {
  sim::PtyPair pty;
  ASSERT_TRUE(sim::OpenRawPty(&pty));
  const int port = PortTableAddDevice(pty.slavePath);
  ASSERT_EQ(OpenComConfig(port, "", 19200, 0, 8, 1, 4096, 4096), 0);
  Calls calls;
  ASSERT_EQ(InstallComCallback(port, LWRS_RECEIVE | LWRS_RXFLAG, 200, 0x55, record, &calls), 0);
  const std::vector<uint8_t> rest = filler(199);
  bool decided = false;
  for (int attempt = 0; attempt < 20 && !decided; ++attempt) {
    calls = {};
    ASSERT_EQ(::write(pty.master, "\x55", 1), 1);  // the event character: the rest begins
    ASSERT_TRUE(PumpUntil([&] { return calls.count == 1; }));
    const auto restBegan = std::chrono::steady_clock::now();
    ASSERT_EQ(::write(pty.master, rest.data(), rest.size()), 199);
    ASSERT_TRUE(WaitUntil([&] { return GetInQLen(port) == 200; }));
    QCoreApplication::processEvents();
    decided = std::chrono::steady_clock::now() - restBegan < std::chrono::milliseconds(30);
    if (decided) {
      EXPECT_EQ(calls.count, 1) << "the query ended the rest";
    }
    ASSERT_TRUE(PumpUntil([&] { return calls.count == 2; }));
    EXPECT_EQ(calls.lastEvents, LWRS_RECEIVE);
    EXPECT_EQ(calls.queueAtCall, 200);
    FlushInQ(port);
  }
  EXPECT_TRUE(decided) << "every attempt came too late to see the rest";
  CloseCom(port);
  sim::ClosePty(&pty);
}

TEST(SerialCallback, TransmitEmptyComesFromTheEventLoopAfterAWrite) {
  SimLine line;
  Calls calls;
  ASSERT_TRUE(Listen(line, LWRS_TXEMPTY, &calls));
  ASSERT_EQ(ComWrt(line.port(), "\x01\x02", 2), 2);
  EXPECT_EQ(calls.count, 0);
  ASSERT_TRUE(PumpUntil([&] { return calls.count == 1; }));
  EXPECT_EQ(calls.lastEvents, LWRS_TXEMPTY);
}

TEST(SerialCallback, MaskZeroOrNoFunctionSwitchesItOff) {
  SimLine line;
  Calls calls;
  ASSERT_TRUE(Listen(line, 0x8006, &calls));
  ASSERT_EQ(InstallComCallback(line.port(), 0, 36, 0x55, nullptr, nullptr), 0);
  line.sim().sendRaw(filler(40));
  ASSERT_TRUE(PumpUntil([&] { return GetInQLen(line.port()) == 40; }));
  PumpFor(0.2);
  EXPECT_EQ(calls.count, 0);

  FlushInQ(line.port());
  ASSERT_EQ(InstallComCallback(line.port(), LWRS_RECEIVE, 36, 0x55, nullptr, &calls), 0);
  line.sim().sendRaw(filler(40));
  PumpFor(0.2);
  EXPECT_EQ(calls.count, 0);

  // On again: queued bytes call back only when new ones arrive.
  ASSERT_EQ(InstallComCallback(line.port(), LWRS_RECEIVE, 36, 0x55, record, &calls), 0);
  line.sim().sendRaw(filler(1));
  EXPECT_TRUE(PumpUntil([&] { return calls.count == 1; }));
}

TEST(SerialCallback, CallbackMayCloseItsOwnPort) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  ASSERT_EQ(line.open(), 0);
  int calls = 0;
  ASSERT_EQ(InstallComCallback(line.port(), LWRS_RECEIVE, 1, 0, closeOwnPort, &calls), 0);
  line.sim().sendRaw(filler(5));
  ASSERT_TRUE(PumpUntil([&] { return calls == 1; }));
  PumpFor(0.1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(GetInQLen(line.port()), kRS232PortNotOpen);
  EXPECT_EQ(line.open(), 0) << "the device is free again";
}
