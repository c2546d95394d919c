// Test helpers for the serial line.
#include "tests/support/sim_line.h"

#include <chrono>
#include <thread>

#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "tests/support/latitude.h"
#include "tests/support/test_clock.h"

namespace testsupport {
namespace {

using Clock = std::chrono::steady_clock;

// Less than the link's shortest wait for an answer (1.5 s) less the 40 ms
// before a skip.
constexpr double kIdleSkipSeconds = 1.35;

Clock::time_point after(double seconds) {
  return Clock::now() +
         std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

SimLine::SimLine(sim::Pacing pacing) : sim_(pacing) {
  ApplyLatitude(sim_);
  if (!sim_.start()) return;
  device_ = sim_.slavePath();
  port_ = PortTableAddDevice(device_);
}

SimLine::~SimLine() {
  if (port_ > 0) CloseCom(port_);
  sim_.stop();
}

int OpenAsTheProgramDoes(int port) {
  return OpenComConfig(port, "", 19200, 0, 8, 1, 4096, 4096);
}

int SimLine::open(double timeoutSeconds) {
  const int opened = OpenAsTheProgramDoes(port_);
  if (opened < 0) return opened;
  return SetComTime(port_, timeoutSeconds);
}

void SkipIdleWaits(sim::Simulator &controller) {
  InstallTestTimer();
  controller.setClockShift(kIdleSkipSeconds, AdvanceTimerForTest, TimerPolledSince);
}

ClockRunAhead::ClockRunAhead(double seconds)
    : thread_([this, seconds] {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::milliseconds(100), [this] { return done_; })) {
          AdvanceTimerForTest(seconds);
        }
      }) {}

ClockRunAhead::~ClockRunAhead() {
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

bool PumpUntil(const std::function<bool()> &done, double seconds) {
  const auto until = after(seconds);
  while (!done()) {
    if (Clock::now() > until) return false;
    ProcessSystemEvents();
  }
  return true;
}

void PumpFor(double seconds) {
  const auto until = after(seconds);
  while (Clock::now() < until) ProcessSystemEvents();
}

bool WaitUntil(const std::function<bool()> &done, double seconds) {
  const auto until = after(seconds);
  while (!done()) {
    if (Clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::vector<uint8_t> RequestBytes(int order, const sim::Words16 &words) {
  std::vector<uint8_t> frame = {0x00, 0x55, static_cast<uint8_t>(order >> 8),
                                static_cast<uint8_t>(order & 0xFF)};
  for (uint16_t word : words) {
    frame.push_back(static_cast<uint8_t>(word >> 8));
    frame.push_back(static_cast<uint8_t>(word & 0xFF));
  }
  return frame;
}

uint16_t AnswerWord(const std::vector<uint8_t> &frame, int index) {
  const auto at = static_cast<std::size_t>(4 + 2 * index);
  if (frame.size() < at + 2) return 0;
  return static_cast<uint16_t>(frame[at] << 8 | frame[at + 1]);
}

}  // namespace testsupport
