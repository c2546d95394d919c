// Test helpers for the serial line: a simulated controller on a pty that is
// registered in the port table, and loops that wait with a time limit.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/simulator.h"

namespace testsupport {

// A started simulator whose slave device is in the port table, with the run's
// latitude (tests/support/latitude.h).
class SimLine {
 public:
  explicit SimLine(sim::Pacing pacing = sim::Pacing::Line);
  ~SimLine();  // closes the port if open, then stops the simulator
  SimLine(const SimLine &) = delete;
  SimLine &operator=(const SimLine &) = delete;

  bool ok() const { return port_ > 0; }  // started and registered
  int port() const { return port_; }
  const std::string &device() const { return device_; }
  sim::Simulator &sim() { return sim_; }
  // Opens the port as the program does (19200 8N1, queues of 4096) and sets
  // the time-out. Returns the result of OpenComConfig or SetComTime.
  int open(double timeoutSeconds = 2.0);

 private:
  sim::Simulator sim_;
  std::string device_;
  int port_ = -1;
};

// Opens a port as the program does: 19200 8N1, queues of 4096.
int OpenAsTheProgramDoes(int port);

// The simulator skips the program's idle waiting (the clock seam): every
// exchange keeps its timing on the program's clock, in a fraction of the
// real time. For every test whose subject is not real time itself.
void SkipIdleWaits(sim::Simulator &controller);

// While it lives, the program's clock runs ahead: a thread of its own moves
// it on `seconds` every tenth of a second. For waits that nothing can end
// any more, on a line that is closed or gone.
class ClockRunAhead {
 public:
  explicit ClockRunAhead(double seconds);
  ~ClockRunAhead();
  ClockRunAhead(const ClockRunAhead &) = delete;
  ClockRunAhead &operator=(const ClockRunAhead &) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread thread_;
};

// Processes events (ProcessSystemEvents) until done() holds or the time is
// up; returns done().
bool PumpUntil(const std::function<bool()> &done, double seconds = 2.0);
// Processes events for the given time.
void PumpFor(double seconds);
// Waits without processing events, checking every millisecond.
bool WaitUntil(const std::function<bool()> &done, double seconds = 2.0);

// A 36-byte request frame: 00 55, the order, sixteen big-endian words.
std::vector<uint8_t> RequestBytes(int order, const sim::Words16 &words);
// Word i of an answer frame (big-endian at bytes 4 + 2i).
uint16_t AnswerWord(const std::vector<uint8_t> &frame, int index);

}  // namespace testsupport
