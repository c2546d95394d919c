// The simulator's I/O thread: reads requests from the pty master, lets the
// controller model answer when a request is complete, and writes the answer
// bytes when they are due.
#include "sim/simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "sim/controller.h"
#include "sim/latitude.h"
#include "sim/line.h"
#include "sim/outgoing.h"
#include "sim/pty.h"

namespace sim {
namespace {

// Longest sleep of the I/O thread when nothing is due; a wake-up pipe cuts
// it short for stop, hang-up and injected bytes.
constexpr auto kIdlePoll = std::chrono::milliseconds(20);
// From a request to the first skip of the caller's clock, and between the
// skips while nothing is on its way: an answer sooner than this is not
// worth a skip.
constexpr auto kShiftAfter = std::chrono::milliseconds(40);
// How soon a skip held back until the caller waits is tried again.
constexpr auto kShiftRetry = std::chrono::milliseconds(5);

Clock::duration span(double seconds) {
  return std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(std::max(0.0, seconds)));
}

double seconds(Clock::duration span) {
  return std::chrono::duration<double>(span).count();
}
// A stalled line's input is kept full with these: more than the master's
// input buffer holds (4 KiB), never the start of a request (00 55).
constexpr std::size_t kFillerBytes = 8192;
constexpr uint8_t kFiller = 0xFE;

}  // namespace

struct Simulator::Impl {
  explicit Impl(Pacing p) : pacing(p) {}

  void run();
  void readInput();
  void stallInput();
  void answerDue(Clock::time_point now);
  void planShift(bool whole, double delay, Clock::time_point requestDue);
  void shiftDue(Clock::time_point now);
  void writeDue(Clock::time_point now);
  bool writeImmediate();
  timespec pollTimeout(Clock::time_point now) const;
  void wake() const;
  void drainWake() const;
  void closeLine();

  mutable std::mutex mutex;
  std::condition_variable hangUpDone;
  Pacing pacing;
  Faults faults;
  std::optional<uint64_t> latitudeSeed;
  std::optional<Latitude> latitude;
  Controller model;
  PtyPair pty;
  int wakeRead = -1;
  int wakeWrite = -1;
  std::thread thread;
  bool running = false;
  bool stopRequested = false;
  bool hangUpRequested = false;

  std::vector<uint8_t> receivedBytes;
  std::vector<RequestFrame> requestFrames;
  std::vector<Clock::time_point> requestTimes;
  bool keepRecord = true;
  std::size_t requests = 0;
  std::size_t answers = 0;
  int requestsSinceFaults = 0;
  bool stalled = false;
  std::size_t fillerLeft = 0;  // filler bytes still ahead in the input

  RequestFramer framer;
  std::deque<RequestFramer::Complete> pending;  // complete, waiting for their time
  std::vector<uint8_t> immediate;               // injected bytes, written at once
  OutputLine output;
  bool waitingWritable = false;

  // Skipping of the caller's idle waiting (setClockShift), and the next skip.
  double clockShift = 0;
  std::function<void(double)> shiftClock;
  std::function<bool(Clock::time_point)> callerWaiting;
  struct Shift {
    Clock::time_point at = Clock::time_point::max();
    Clock::time_point request{};  // the request whose wait it skips
    double seconds = 0;
    bool repeat = false;  // nothing more is coming: again until the next request
  } shift;
};

void Simulator::Impl::run() {
  std::unique_lock lock(mutex);
  while (!stopRequested) {
    if (hangUpRequested) {
      closeLine();
      hangUpRequested = false;
      hangUpDone.notify_all();
    }
    const Clock::time_point now = Clock::now();
    answerDue(now);
    shiftDue(now);
    writeDue(now);
    pollfd fds[2] = {{wakeRead, POLLIN, 0}, {pty.master, stalled ? short{0} : short{POLLIN}, 0}};
    if (waitingWritable) fds[1].events |= POLLOUT;
    const nfds_t count = pty.master >= 0 ? 2 : 1;
    const timespec timeout = pollTimeout(now);
    lock.unlock();
    ::ppoll(fds, count, &timeout, nullptr);
    lock.lock();
    drainWake();
    if (count < 2 || pty.master < 0) continue;
    if ((fds[1].revents & POLLOUT) != 0) waitingWritable = false;
    if ((fds[1].revents & POLLIN) != 0) {
      readInput();
    } else if ((fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      closeLine();  // cannot happen while our own slave is open; never spin on it
    }
  }
}

void Simulator::Impl::readInput() {
  uint8_t chunk[4096];
  for (;;) {
    const ssize_t n = ::read(pty.master, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    const Clock::time_point now = Clock::now();
    for (ssize_t i = 0; i < n; ++i) {
      if (fillerLeft > 0 && chunk[i] == kFiller) {
        --fillerLeft;
        continue;
      }
      fillerLeft = 0;  // the far end flushed the rest away
      if (keepRecord) receivedBytes.push_back(chunk[i]);
      if (auto complete = framer.feed(chunk[i], now, pacing)) pending.push_back(*complete);
    }
  }
}

// What came before the stall is taken in; then the master's input buffer is
// filled through the simulator's own slave, so that the far end's next bytes
// stay in its output queue, where a flush of that queue would discard them.
void Simulator::Impl::stallInput() {
  if (pty.master < 0 || stalled) return;
  readInput();
  stalled = true;
  const std::vector<uint8_t> filler(kFillerBytes, kFiller);
  if (::fcntl(pty.slave, F_SETFL, O_NONBLOCK) != 0) return;
  const ssize_t n = ::write(pty.slave, filler.data(), filler.size());
  fillerLeft = n > 0 ? static_cast<std::size_t>(n) : 0;
}

void Simulator::Impl::answerDue(Clock::time_point now) {
  while (!pending.empty() && pending.front().due <= now) {
    const RequestFramer::Complete request = pending.front();
    pending.pop_front();
    ++requests;
    if (keepRecord) {
      requestFrames.push_back(request.frame);
      requestTimes.push_back(request.due);
    }
    if (faults.onRequest) faults.onRequest();
    ++requestsSinceFaults;
    if (requestsSinceFaults == faults.hangUpAtRequest) {
      planShift(false, 0, request.due);
      closeLine();  // the far end goes away in the middle of the exchange
      return;
    }
    if (requestsSinceFaults == faults.stallAfterRequest) stallInput();
    if (requestsSinceFaults == faults.strayAtRequest) {
      immediate.insert(immediate.end(), faults.strayBytes.begin(), faults.strayBytes.end());
    }
    const std::optional<Answer> answer = model.handle(request.frame);
    if (!answer) {
      shift = {};
      continue;
    }
    const bool silenced =
        faults.silentFromRequest > 0 && requestsSinceFaults >= faults.silentFromRequest;
    if (silenced || requestsSinceFaults == faults.silentAtRequest) {
      planShift(false, 0, request.due);
      continue;
    }
    const std::optional<Outgoing> out =
        Shape(*answer, request.frame, faults, latitude ? &*latitude : nullptr);
    if (answer->optional) {  // a store: nobody waits for an answer
      shift = {};
    } else if (!out) {
      planShift(false, 0, request.due);
    } else {
      const bool whole = faults.truncateTo < 0 ||
                         static_cast<std::size_t>(faults.truncateTo) >= answer->bytes.size();
      planShift(whole, seconds(out->delay), request.due);
    }
    if (!out) continue;
    if (out->bytes.empty()) {
      ++answers;
      continue;
    }
    output.schedule(out->bytes, request.due + out->delay, pacing, out->gaps);
  }
}

// A request ends the skipping planned for the one before.
void Simulator::Impl::planShift(bool whole, double delay, Clock::time_point requestDue) {
  shift = {};
  if (!shiftClock || !(clockShift > 0)) return;
  const Clock::time_point at = requestDue + kShiftAfter;
  if (!whole) {
    shift = {at, requestDue, clockShift, true};
  } else if (delay > seconds(kShiftAfter)) {
    shift = {at, requestDue, std::min(clockShift, delay - seconds(kShiftAfter)), false};
  }
}

// Skips never past a byte still to send, so each keeps its time on the
// caller's clock.
void Simulator::Impl::shiftDue(Clock::time_point now) {
  if (shift.at > now || !shiftClock) return;
  if (callerWaiting && !callerWaiting(shift.request)) {
    shift.at = now + kShiftRetry;
    return;
  }
  if (shift.repeat) {
    shift.at = now + kShiftAfter;
    if (output.empty() && immediate.empty()) shiftClock(shift.seconds);
    return;
  }
  const double skip =
      output.empty() ? shift.seconds : std::min(shift.seconds, seconds(output.nextDue() - now));
  shift = {};
  if (skip <= 0) return;
  shiftClock(skip);
  output.bringForward(span(skip));
}

// True when everything injected has been written.
bool Simulator::Impl::writeImmediate() {
  while (!immediate.empty()) {
    const ssize_t n = ::write(pty.master, immediate.data(), immediate.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      waitingWritable = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
      if (!waitingWritable) immediate.clear();
      return false;
    }
    immediate.erase(immediate.begin(), immediate.begin() + n);
  }
  return true;
}

void Simulator::Impl::writeDue(Clock::time_point now) {
  if (pty.master < 0) {
    immediate.clear();
    output.clear();
    return;
  }
  if (waitingWritable || !writeImmediate()) return;
  uint8_t chunk[256];
  while (!output.empty()) {
    const std::size_t count = output.takeDue(now, chunk, sizeof chunk);
    if (count == 0) return;
    const ssize_t n = ::write(pty.master, chunk, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      waitingWritable = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
      if (!waitingWritable) output.clear();
      return;
    }
    answers += output.markSent(static_cast<std::size_t>(n));
    if (static_cast<std::size_t>(n) < count) {
      waitingWritable = true;
      return;
    }
  }
}

// Nanosecond time-outs: bytes are due every 0.52 ms, and a wake-up rounded
// to whole milliseconds would make every answer late.
timespec Simulator::Impl::pollTimeout(Clock::time_point now) const {
  Clock::time_point next = std::min(now + kIdlePoll, shift.at);
  if (!pending.empty()) next = std::min(next, pending.front().due);
  if (!waitingWritable && pty.master >= 0) {
    if (!immediate.empty()) next = now;
    if (!output.empty()) next = std::min(next, output.nextDue());
  }
  const auto ns = std::clamp<long long>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(next - now).count(), 0,
      std::chrono::duration_cast<std::chrono::nanoseconds>(kIdlePoll).count());
  return timespec{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

void Simulator::Impl::wake() const {
  const char byte = 1;
  // A full pipe already holds a wake-up; nothing else can go wrong here.
  if (wakeWrite >= 0 && ::write(wakeWrite, &byte, 1) < 0) return;
}

void Simulator::Impl::drainWake() const {
  char sink[64];
  while (::read(wakeRead, sink, sizeof sink) > 0) {
  }
}

void Simulator::Impl::closeLine() {
  ClosePty(&pty);
  framer.reset();
  pending.clear();
  immediate.clear();
  output.clear();
  waitingWritable = false;
}

Simulator::Simulator(Pacing pacing) : impl_(std::make_unique<Impl>(pacing)) {}

Simulator::~Simulator() {
  stop();
}

bool Simulator::start() {
  std::lock_guard lock(impl_->mutex);
  Impl &s = *impl_;
  if (s.running) return true;
  int pipeFds[2];
  if (!OpenRawPty(&s.pty)) return false;
  if (::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0) {
    ClosePty(&s.pty);
    return false;
  }
  s.wakeRead = pipeFds[0];
  s.wakeWrite = pipeFds[1];
  s.framer.reset();
  s.output.clear();
  s.running = true;
  s.stopRequested = false;
  s.thread = std::thread([&s] { s.run(); });
  return true;
}

double Simulator::threadCpuSeconds() const {
  std::lock_guard lock(impl_->mutex);
  if (!impl_->running) return 0.0;
  clockid_t clock{};
  timespec used{};
  if (pthread_getcpuclockid(impl_->thread.native_handle(), &clock) != 0 ||
      clock_gettime(clock, &used) != 0) {
    return 0.0;
  }
  return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
}

std::string Simulator::slavePath() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->pty.slavePath;
}

void Simulator::stop() {
  Impl &s = *impl_;
  {
    std::lock_guard lock(s.mutex);
    if (!s.running) return;
    s.stopRequested = true;
    s.wake();
  }
  s.thread.join();
  std::lock_guard lock(s.mutex);
  s.closeLine();
  CloseFd(&s.wakeRead);
  CloseFd(&s.wakeWrite);
  s.running = false;
  s.hangUpRequested = false;
  s.hangUpDone.notify_all();
}

void Simulator::hangUp() {
  std::unique_lock lock(impl_->mutex);
  Impl &s = *impl_;
  if (!s.running) {
    s.closeLine();
    return;
  }
  s.hangUpRequested = true;
  s.wake();
  s.hangUpDone.wait(lock, [&s] { return !s.hangUpRequested || !s.running; });
}

void Simulator::setFaults(const Faults &faults) {
  std::lock_guard lock(impl_->mutex);
  impl_->faults = faults;
  impl_->requestsSinceFaults = 0;
  impl_->shift = {};
  impl_->stalled = false;
  if (faults.stallAfterRequest == 0) impl_->stallInput();
  impl_->wake();  // a line no longer stalled is read again
}

void Simulator::setClockShift(double most, std::function<void(double seconds)> shift,
                              std::function<bool(Clock::time_point)> waiting) {
  std::lock_guard lock(impl_->mutex);
  impl_->clockShift = most;
  impl_->shiftClock = std::move(shift);
  impl_->callerWaiting = std::move(waiting);
  impl_->shift = {};
}

void Simulator::setLatitude(std::optional<uint64_t> seed) {
  std::lock_guard lock(impl_->mutex);
  impl_->latitudeSeed = seed;
  impl_->latitude.reset();
  if (seed) impl_->latitude.emplace(*seed);
}

std::optional<uint64_t> Simulator::latitude() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->latitudeSeed;
}

void Simulator::setPacing(Pacing pacing) {
  std::lock_guard lock(impl_->mutex);
  impl_->pacing = pacing;
}

std::vector<uint8_t> Simulator::received() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->receivedBytes;
}

std::vector<RequestFrame> Simulator::requests() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->requestFrames;
}

std::vector<double> Simulator::requestTimes() const {
  std::lock_guard lock(impl_->mutex);
  std::vector<double> seconds;
  seconds.reserve(impl_->requestTimes.size());
  for (const Clock::time_point time : impl_->requestTimes) {
    seconds.push_back(std::chrono::duration<double>(time.time_since_epoch()).count());
  }
  return seconds;
}

std::size_t Simulator::requestCount() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->requests;
}

void Simulator::setKeepRecord(bool keep) {
  std::lock_guard lock(impl_->mutex);
  impl_->keepRecord = keep;
}

bool Simulator::idle() const {
  std::lock_guard lock(impl_->mutex);
  const Impl &s = *impl_;
  // poll, not FIONREAD: it also sees bytes the kernel has yet to hand over.
  pollfd unread{s.pty.master, POLLIN, 0};
  const bool readable =
      s.pty.master >= 0 && ::poll(&unread, 1, 0) == 1 && (unread.revents & POLLIN) != 0;
  return !readable && s.pending.empty() && s.output.empty() && s.immediate.empty();
}

std::size_t Simulator::answerCount() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->answers;
}

void Simulator::clearRecord() {
  std::lock_guard lock(impl_->mutex);
  impl_->receivedBytes.clear();
  impl_->requestFrames.clear();
  impl_->requestTimes.clear();
  impl_->requests = 0;
  impl_->answers = 0;
}

void Simulator::sendRaw(const std::vector<uint8_t> &bytes) {
  std::lock_guard lock(impl_->mutex);
  impl_->immediate.insert(impl_->immediate.end(), bytes.begin(), bytes.end());
  impl_->wake();
}

void Simulator::setParameterSet(int store, int set, const Words16 &words) {
  std::lock_guard lock(impl_->mutex);
  impl_->model.setParameterSet(store, set, words);
}

Words16 Simulator::parameterSet(int store, int set) const {
  std::lock_guard lock(impl_->mutex);
  return impl_->model.parameterSet(store, set);
}

void Simulator::setFirmwareText(const std::array<uint16_t, 32> &words) {
  std::lock_guard lock(impl_->mutex);
  impl_->model.setFirmwareText(words);
}

void Simulator::setDataMemory(int selector, const std::array<uint16_t, 256> &words) {
  std::lock_guard lock(impl_->mutex);
  impl_->model.setDataMemory(selector, words);
}

void Simulator::setLiveWords(const Words16 &words) {
  std::lock_guard lock(impl_->mutex);
  impl_->model.setLiveWords(words);
}

void Simulator::setLiveMoving(bool moving) {
  std::lock_guard lock(impl_->mutex);
  impl_->model.setLiveMoving(moving);
}

}  // namespace sim
