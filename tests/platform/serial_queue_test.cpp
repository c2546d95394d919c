// The input queue over a real pty: what it counts, what flushing drops, how
// reads end, and that every byte value passes unchanged.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <numeric>
#include <thread>

#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/util/utility.h"
#include "sim/pty.h"
#include "tests/support/sim_line.h"
#include "tests/support/test_clock.h"

using testsupport::PumpFor;
using testsupport::PumpUntil;
using testsupport::SimLine;
using testsupport::WaitUntil;

namespace {

std::vector<uint8_t> sequence(int first, int count) {
  std::vector<uint8_t> bytes(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    bytes[static_cast<std::size_t>(i)] = static_cast<uint8_t>(first + i);
  return bytes;
}

// A port time-out longer than any test may run: only the clock seam ends it.
constexpr double kLongTimeOut = 1000.0;

// While it lives, a thread moves the run-time's clock to just short of the
// long time-out, gives a wait that would end too soon the time to show it,
// then on past the time-out again and again, for a wait that began late.
class ClockJumps {
 public:
  ClockJumps()
      : thread_([this] {
          std::this_thread::sleep_for(std::chrono::milliseconds(50));
          AdvanceTimerForTest(kLongTimeOut - 1.0);
          while (!done_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            AdvanceTimerForTest(kLongTimeOut);
          }
        }) {}
  ~ClockJumps() {
    done_ = true;
    thread_.join();
  }
  ClockJumps(const ClockJumps &) = delete;
  ClockJumps &operator=(const ClockJumps &) = delete;

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

}  // namespace

TEST(SerialQueue, CountsBytesNoEventProcessingHasSeen) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  ASSERT_EQ(line.open(), 0);
  EXPECT_EQ(GetInQLen(line.port()), 0);
  line.sim().sendRaw(sequence(1, 10));
  EXPECT_TRUE(WaitUntil([&] { return GetInQLen(line.port()) == 10; }));
  // Bytes the event loop has drained into the port count just the same.
  PumpFor(0.1);
  line.sim().sendRaw(sequence(11, 5));
  EXPECT_TRUE(WaitUntil([&] { return GetInQLen(line.port()) == 15; }));
}

TEST(SerialQueue, FlushInQDropsBufferedAndKernelBytes) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  ASSERT_EQ(line.open(0.2), 0);
  line.sim().sendRaw(sequence(0, 40));
  ASSERT_TRUE(PumpUntil([&] { return GetInQLen(line.port()) == 40; }));
  PumpFor(0.05);  // drained into the port's buffer
  line.sim().sendRaw(sequence(40, 20));
  ASSERT_TRUE(WaitUntil([&] { return GetInQLen(line.port()) == 60; }));
  EXPECT_EQ(FlushInQ(line.port()), 0);
  EXPECT_EQ(GetInQLen(line.port()), 0);
  char buffer[8];
  EXPECT_EQ(ComRd(line.port(), buffer, 8), 0);
}

TEST(SerialQueue, ComRdTakesBufferedBytesFirstInOrder) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  ASSERT_EQ(line.open(1.0), 0);
  line.sim().sendRaw(sequence(0, 100));
  ASSERT_TRUE(PumpUntil([&] { return GetInQLen(line.port()) == 100; }));
  PumpFor(0.05);
  line.sim().sendRaw(sequence(100, 100));
  char buffer[200];
  ASSERT_EQ(ComRd(line.port(), buffer, 200), 200);
  for (int i = 0; i < 200; ++i) ASSERT_EQ(static_cast<uint8_t>(buffer[i]), i) << "byte " << i;
}

TEST(SerialQueue, ComRdReturnsShortCountAtTimeOut) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  ASSERT_EQ(line.open(kLongTimeOut), 0);
  line.sim().sendRaw(sequence(0, 10));
  ASSERT_TRUE(WaitUntil([&] { return GetInQLen(line.port()) == 10; }));
  char buffer[36];
  const double start = Timer();
  const ClockJumps jumps;
  EXPECT_EQ(ComRd(line.port(), buffer, 36), 10);
  EXPECT_GE(Timer() - start, kLongTimeOut);
}

TEST(SerialQueue, EveryByteValuePassesBothWays) {
  SimLine line(sim::Pacing::Instant);
  ASSERT_TRUE(line.ok());
  ASSERT_EQ(line.open(2.0), 0);
  const std::vector<uint8_t> all = sequence(0, 256);
  ASSERT_EQ(ComWrt(line.port(), reinterpret_cast<const char *>(all.data()), 256), 256);
  EXPECT_TRUE(WaitUntil([&] { return line.sim().received().size() >= 256; }));
  EXPECT_EQ(line.sim().received(), all);

  line.sim().sendRaw(all);
  std::vector<uint8_t> back(256);
  ASSERT_EQ(ComRd(line.port(), reinterpret_cast<char *>(back.data()), 256), 256);
  EXPECT_EQ(back, all);
}

TEST(SerialQueue, WritesEndAtTheTimeOutWhenNobodyReads) {
  // A far end that never reads: a bare pty whose master stays untouched.
  sim::PtyPair pty;
  ASSERT_TRUE(sim::OpenRawPty(&pty));
  const int port = PortTableAddDevice(pty.slavePath);
  ASSERT_EQ(OpenComConfig(port, "", 19200, 0, 8, 1, 4096, 4096), 0);
  ASSERT_EQ(SetComTime(port, kLongTimeOut), 0);
  std::vector<char> block(1 << 20, 0x11);
  const double start = Timer();
  const ClockJumps jumps;
  const int written = ComWrt(port, block.data(), static_cast<int>(block.size()));
  EXPECT_GE(Timer() - start, kLongTimeOut);
  EXPECT_GE(written, 0);
  EXPECT_LT(written, static_cast<int>(block.size()));
  CloseCom(port);
  sim::ClosePty(&pty);
}

// Peeking shows buffered and kernel bytes alike, takes none of them and never
// waits; a closed port gives its error.
TEST(SerialQueue, ComPeekCopiesWaitingBytesAndLeavesThemForComRd) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  ASSERT_EQ(line.open(kLongTimeOut), 0);  // a peek that waited would never end
  char buffer[64] = {};
  EXPECT_EQ(ComPeek(line.port(), buffer, 64), 0);
  line.sim().sendRaw(sequence(1, 10));
  ASSERT_TRUE(PumpUntil([&] { return GetInQLen(line.port()) == 10; }));
  PumpFor(0.05);  // drained into the port's buffer
  line.sim().sendRaw(sequence(11, 5));
  ASSERT_TRUE(WaitUntil([&] { return GetInQLen(line.port()) == 15; }));

  EXPECT_EQ(ComPeek(line.port(), buffer, 64), 15);
  EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 15), sequence(1, 15));
  EXPECT_EQ(ComPeek(line.port(), buffer, 4), 4);
  EXPECT_EQ(GetInQLen(line.port()), 15);
  char read[15] = {};
  EXPECT_EQ(ComRd(line.port(), read, 15), 15);
  EXPECT_EQ(std::vector<uint8_t>(read, read + 15), sequence(1, 15));

  CloseCom(line.port());
  EXPECT_LT(ComPeek(line.port(), buffer, 4), 0);
}

// Once the waits are ended (the main window closed), a read on a silent line
// returns with what it has and a write sends nothing. The clock stands still,
// so the read cannot have ended on its time-out.
TEST(SerialQueue, EndedWaitsEndAReadAtOnceAndWriteNothing) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  ASSERT_EQ(line.open(2.0), 0);
  line.sim().setFaults({.silent = true});
  FreezeTimerForTest();
  EndWaitsNow();
  char buffer[36] = {};
  const int read = ComRd(line.port(), buffer, 36);
  const int written = ComWrt(line.port(), buffer, 36);
  ResumeWaits();
  ResetTimerForTest();
  EXPECT_EQ(read, 0);
  EXPECT_EQ(written, 0);
  PumpFor(0.05);
  EXPECT_TRUE(line.sim().received().empty());
}

// The port's line after a pull and a quick plug-in: gone, when the path names
// another device node or the line hung up.
TEST(SerialQueue, ALineIsGoneWhenItsPathNamesAnotherNodeOrItHungUp) {
  SimLine line;
  ASSERT_TRUE(line.ok());
  sim::Simulator other(sim::Pacing::Instant);
  ASSERT_TRUE(other.start());
  const std::string link = testing::TempDir() + "/rvim_line_gone_tty";
  unlink(link.c_str());
  ASSERT_EQ(symlink(line.device().c_str(), link.c_str()), 0);
  ASSERT_EQ(OpenComConfig(line.port(), link.c_str(), 19200, 0, 8, 1, 4096, 4096), 0);
  EXPECT_EQ(ComLineGone(line.port()), 0);
  ASSERT_EQ(unlink(link.c_str()), 0);
  ASSERT_EQ(symlink(other.slavePath().c_str(), link.c_str()), 0);
  EXPECT_EQ(ComLineGone(line.port()), 1);
  unlink(link.c_str());
  CloseCom(line.port());
  EXPECT_EQ(ComLineGone(line.port()), kRS232PortNotOpen);
}

namespace {

// Bytes read off a bare pty's master until it stays empty for a moment.
std::vector<uint8_t> ReadMaster(int master) {
  std::vector<uint8_t> bytes;
  char chunk[4096];
  for (int idle = 0; idle < 50;) {
    const ssize_t n = ::read(master, chunk, sizeof chunk);
    if (n > 0) {
      bytes.insert(bytes.end(), chunk, chunk + n);
      idle = 0;
    } else {
      ++idle;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  return bytes;
}

}  // namespace

// A far end that is not reading yet, its input full: the request waits in our
// output queue. Flushing that queue lets it go out whole when the far end
// reads again, never a part of it.
TEST(SerialQueue, FlushOutQNeverDiscardsWhatWasWritten) {
  sim::PtyPair pty;
  ASSERT_TRUE(sim::OpenRawPty(&pty));
  const int port = PortTableAddDevice(pty.slavePath);
  ASSERT_EQ(OpenComConfig(port, "", 19200, 0, 8, 1, 4096, 4096), 0);
  const std::vector<char> backlog(8192, 0x11);  // more than the far end's input holds
  ASSERT_EQ(ComWrt(port, backlog.data(), static_cast<int>(backlog.size())), 8192);
  const std::vector<uint8_t> request = sequence(0x40, 36);
  ASSERT_EQ(ComWrt(port, reinterpret_cast<const char *>(request.data()), 36), 36);
  EXPECT_EQ(FlushOutQ(port), 0);

  const std::vector<uint8_t> arrived = ReadMaster(pty.master);
  ASSERT_EQ(arrived.size(), backlog.size() + request.size());
  EXPECT_EQ(std::vector<uint8_t>(arrived.end() - 36, arrived.end()), request);
  CloseCom(port);
  sim::ClosePty(&pty);
}
