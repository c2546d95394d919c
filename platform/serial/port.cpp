// One open serial port over termios. Reads and writes are synchronous and
// bounded by the port time-out; the event loop's socket notifier drains the
// line into the port's buffer and runs the receive callback.
#include "platform/serial/port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <thread>

#include "platform/serial/internal.h"
#include "platform/util/callbackhold.h"
#include "platform/util/linelog.h"
#include "platform/util/utility.h"

namespace {

// How long a flush of the output queue waits for it to go out: two frames at
// 19200 baud, with margin.
constexpr auto kDrainLimit = std::chrono::milliseconds(50);
constexpr auto kDrainPoll = std::chrono::milliseconds(1);

// More than enough for any answer; beyond it the notifier pauses until the
// program reads, so a flooding line cannot grow memory or spin the loop.
constexpr std::size_t kMaxBuffered = 64 * 1024;
// A synchronous read or write looks this often whether the waits are ended.
constexpr int kWaitSliceMs = 10;

struct BaudRate {
  long rate;
  speed_t speed;
};

constexpr BaudRate kBaudRates[] = {
    {110, B110},     {300, B300},     {600, B600},       {1200, B1200},
    {2400, B2400},   {4800, B4800},   {9600, B9600},     {19200, B19200},
    {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
};

bool speedFor(long rate, speed_t *speed) {
  for (const BaudRate &entry : kBaudRates) {
    if (entry.rate != rate) continue;
    *speed = entry.speed;
    return true;
  }
  return false;
}

tcflag_t parityFlags(int parity) {
  switch (parity) {
    case 1:
      return PARENB | PARODD;
    case 2:
      return PARENB;
    case 3:
      return PARENB | PARODD | CMSPAR;
    case 4:
      return PARENB | CMSPAR;
    default:
      return 0;
  }
}

tcflag_t sizeFlag(int dataBits) {
  switch (dataBits) {
    case 5:
      return CS5;
    case 6:
      return CS6;
    case 7:
      return CS7;
    default:
      return CS8;
  }
}

// Raw bytes, no echo, no flow control: the line carries binary frames.
bool configureLine(int fd, const PortSettings &settings) {
  speed_t speed = B0;
  termios tio{};
  if (!speedFor(settings.baudRate, &speed) || tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  // cfmakeraw leaves IXOFF and IXANY: either would let the line pause or
  // resume on bytes of a binary frame.
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  tio.c_cflag |= sizeFlag(settings.dataBits) | parityFlags(settings.parity) | CLOCAL | CREAD;
  if (settings.stopBits == 2) tio.c_cflag |= CSTOPB;
  // VMIN 1: with O_NONBLOCK an empty line reads EAGAIN and 0 means hang-up
  // (VMIN 0 would read 0 for an empty line as well).
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &tio) == 0;
}

bool wouldBlock() {
  return errno == EAGAIN || errno == EWOULDBLOCK;
}

int OpenCauseOf(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return kComOpenNoPermission;
    case EBUSY:
      return kComOpenInUse;
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
      return kComOpenNoDevice;
    default:
      return kComOpenOtherCause;
  }
}

}  // namespace

int SerialPort::activeCallbacks_ = 0;

bool PortSettingsValid(const PortSettings &settings) {
  speed_t speed = B0;
  return speedFor(settings.baudRate, &speed) && settings.parity >= 0 && settings.parity <= 4 &&
         settings.dataBits >= 5 && settings.dataBits <= 8 &&
         (settings.stopBits == 1 || settings.stopBits == 2);
}

std::unique_ptr<SerialPort> SerialPort::Open(int number, const std::string &device,
                                             const PortSettings &settings, int *error,
                                             OpenFailure *failure) {
  *error = kRS232CannotOpenPort;
  *failure = OpenFailure{};
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    failure->cause = OpenCauseOf(errno);
    if (failure->cause == kComOpenInUse)
      failure->holderPid = FindLockHolder(device, &failure->holder);
    return nullptr;
  }
  // flock stops every process, root too; TIOCEXCL also keeps out programs
  // that open the device without taking the lock.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    failure->cause = wouldBlock() ? kComOpenInUse : kComOpenOtherCause;
    ::close(fd);
    failure->holderPid = FindLockHolder(device, &failure->holder);
    return nullptr;
  }
  if (::ioctl(fd, TIOCEXCL) != 0 || !configureLine(fd, settings)) {
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
    return nullptr;
  }
  *error = 0;
  std::unique_ptr<SerialPort> port(new SerialPort(number, fd));
  port->device_ = device;
  struct stat node {};
  if (::fstat(fd, &node) == 0) {
    port->openedNode_[0] = node.st_dev;
    port->openedNode_[1] = node.st_ino;
    port->openedNode_[2] = node.st_rdev;
  }
  port->savedSerialFlags_ = RequestLowLatency(fd);
  const int bits = 1 + settings.dataBits + (settings.parity != 0 ? 1 : 0) + settings.stopBits;
  port->byteSeconds_ = bits / static_cast<double>(settings.baudRate);
  return port;
}

SerialPort::SerialPort(int number, int fd) : number_(number), fd_(fd) {
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { onReadable(); });
  restPause_ = new QTimer(this);
  restPause_->setSingleShot(true);
  connect(restPause_, &QTimer::timeout, this, [this] { resumeNotifier(); });
}

SerialPort::~SerialPort() {
  close();
}

void SerialPort::close() {
  callback_ = nullptr;
  eventMask_ = 0;
  hangUp();
}

void SerialPort::hangUpFailedLine() {
  if (fd_ >= 0) LineLogRecord(kLineHangUp, number_, 0, 0, 0);
  hangUp();
}

// The line is gone or closed: stop watching it and let every later call fail.
void SerialPort::hangUp() {
  if (fd_ < 0) return;
  setWakeThreshold(1);  // the line as it was configured, for whoever opens it next
  notifier_->setEnabled(false);
  RestoreSerialFlags(fd_, savedSerialFlags_);
  ::ioctl(fd_, TIOCNXCL);  // the flag outlives this descriptor otherwise
  ::close(fd_);
  fd_ = -1;
  buffer_.clear();
}

double SerialPort::deadline() const {
  return Timer() + timeout_;
}

SerialPort::Wait SerialPort::waitFor(short events, double until) const {
  for (;;) {
    const double left = until - Timer();
    const int ms =
        left > 0.0 ? std::min(kWaitSliceMs, static_cast<int>(std::ceil(left * 1000.0))) : 0;
    pollfd entry{fd_, events, 0};
    const int ready = ::poll(&entry, 1, ms);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return Wait::Gone;
    if (ready == 0) {
      if (left <= 0.0 || WaitsEnded() != 0) return Wait::Timeout;
      continue;
    }
    return (entry.revents & events) != 0 ? Wait::Ready : Wait::Gone;
  }
}

// The window-system probe of a long wait runs the event dispatcher, and the
// dispatcher may wake the notifier: it would take the bytes this read waits
// for into the buffer behind its back and raise VMIN to the callback's count.
SerialPort::Wait SerialPort::waitForOwnBytes(double until) {
  const bool watching = notifier_->isEnabled();
  notifier_->setEnabled(false);
  const Wait wait = waitFor(POLLIN, until);
  if (watching && usable()) notifier_->setEnabled(true);
  return wait;
}

bool SerialPort::lineGone() const {
  if (!usable()) return true;
  struct stat node {};
  if (::stat(device_.c_str(), &node) != 0) return true;
  return node.st_dev != openedNode_[0] || node.st_ino != openedNode_[1] ||
         node.st_rdev != openedNode_[2];
}

int SerialPort::setHardwareHandshake(bool on) {
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) return kRS232UnknownIOError;
  if (on) {
    tio.c_cflag |= CRTSCTS;
  } else {
    tio.c_cflag &= ~CRTSCTS;
  }
  return tcsetattr(fd_, TCSANOW, &tio) == 0 ? 0 : kRS232UnknownIOError;
}

int SerialPort::write(const char *buffer, int count) {
  const auto until = deadline();
  int done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd_, buffer + done, static_cast<std::size_t>(count - done));
    if (n > 0) {
      done += static_cast<int>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && wouldBlock()) {
      const Wait wait = waitFor(POLLOUT, until);
      if (wait == Wait::Timeout) break;
      if (wait == Wait::Gone) hangUpFailedLine();
      if (!usable()) break;
    } else {
      hangUpFailedLine();
      break;
    }
  }
  if (done == 0 && count > 0 && !usable()) return kRS232UnknownIOError;
  if (done > 0 && (eventMask_ & LWRS_TXEMPTY) != 0 && callback_ != nullptr) {
    QMetaObject::invokeMethod(
        this, [this] { onTransmitEmpty(); }, Qt::QueuedConnection);
  }
  return done;
}

int SerialPort::takeBuffered(char *buffer, int count) {
  const auto n = std::min(buffer_.size(), static_cast<std::size_t>(count));
  std::copy_n(buffer_.begin(), n, buffer);
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(n));
  resumeNotifier();
  updateWakeThreshold();
  return static_cast<int>(n);
}

int SerialPort::read(char *buffer, int count) {
  int done = takeBuffered(buffer, count);
  const auto until = deadline();
  while (done < count) {
    const ssize_t n = ::read(fd_, buffer + done, static_cast<std::size_t>(count - done));
    if (n > 0) {
      done += static_cast<int>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && wouldBlock()) {
      setWakeThreshold(1);  // any byte ends this wait, not the callback's count
      const Wait wait = waitForOwnBytes(until);
      if (wait == Wait::Timeout) break;
      if (wait == Wait::Gone) hangUpFailedLine();
      if (!usable()) break;
    } else {
      hangUpFailedLine();  // 0 bytes from a tty in non-blocking mode means hang-up
      break;
    }
  }
  updateWakeThreshold();
  if (done == 0 && count > 0 && !usable()) return kRS232UnknownIOError;
  return done;
}

// Takes in what the line holds first, so that the copy shows every byte
// GetInQLen counts. Bytes taken in this way are announced to the callback as
// if the event loop had seen them.
int SerialPort::peek(char *buffer, int count) {
  std::size_t firstNew = 0;
  if (!drain(&firstNew)) hangUpFailedLine();
  if (!usable()) return kRS232UnknownIOError;
  updateWakeThreshold();
  if (buffer_.size() > firstNew) {
    arrivedDuringCallback_ = true;
    if (!callbackActive()) notifyLater();
  }
  const auto n = std::min(buffer_.size(), static_cast<std::size_t>(count));
  std::copy_n(buffer_.begin(), n, buffer);
  return static_cast<int>(n);
}

int SerialPort::inQueueLength() const {
  int kernel = 0;
  if (::ioctl(fd_, FIONREAD, &kernel) != 0 || kernel < 0) kernel = 0;
  return static_cast<int>(buffer_.size()) + kernel;
}

void SerialPort::recordDrain(int queued, std::chrono::milliseconds waited, int left) const {
  LineLogRecord(kLineDrainOut, number_, queued, static_cast<int>(waited.count()), left);
}

// What a flush drops goes into the line's record; the bytes still in the
// driver are taken in first, so that the record shows them too.
void SerialPort::recordDroppedInput() {
  int kernel = 0;
  std::size_t firstNew = 0;
  if (::ioctl(fd_, FIONREAD, &kernel) == 0 && kernel > 0) drain(&firstNew);
  if (buffer_.empty()) return;
  const int held = static_cast<int>(std::min(buffer_.size(), std::size_t{kLineEventBytes}));
  LineLogRecord(kLineFlushIn, number_, static_cast<int>(buffer_.size()), 0, 0, buffer_.data(),
                held);
}

int SerialPort::flushInput() {
  recordDroppedInput();
  buffer_.clear();
  resumeNotifier();
  const int result = tcflush(fd_, TCIFLUSH) == 0 ? 0 : kRS232UnknownIOError;
  updateWakeThreshold();
  return result;
}

// Nothing written is ever discarded: a UART's flush sends what its FIFO holds
// and drops the rest, and the far end would pair a request's first part with
// the next request's bytes. The queue gets the time it needs to go out, up to
// a bound; what is still queued then goes out after the return. A wait that
// found bytes queued goes into the line's record.
int SerialPort::drainOutput() {
  using Clock = std::chrono::steady_clock;  // the kernel's queue drains in real time
  const Clock::time_point begin = Clock::now();
  const Clock::time_point until = begin + kDrainLimit;
  int first = -1;
  for (;;) {
    int queued = 0;
    if (::ioctl(fd_, TIOCOUTQ, &queued) != 0) return kRS232UnknownIOError;
    if (first < 0) first = queued;
    const Clock::time_point now = Clock::now();
    if (queued <= 0 || now >= until) {
      const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - begin);
      if (first > 0) recordDrain(first, waited, std::max(queued, 0));
      return 0;
    }
    const auto rest = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(queued * byteSeconds_));
    std::this_thread::sleep_for(std::clamp<Clock::duration>(rest, kDrainPoll, until - now));
  }
}

void SerialPort::installCallback(int eventMask, int notifyCount, int eventCharacter,
                                 ComCallbackPtr callback, void *callbackData) {
  const bool off = eventMask == 0 || callback == nullptr;
  eventMask_ = off ? 0 : eventMask;
  callback_ = off ? nullptr : callback;
  callbackData_ = callbackData;
  notifyCount_ = notifyCount;
  eventCharacter_ = eventCharacter;
  resumeNotifier();  // a pause lasts only while a count is awaited
  updateWakeThreshold();
}

void SerialPort::resumeNotifier() {
  if (usable() && !notifier_->isEnabled() && buffer_.size() < kMaxBuffered) {
    notifier_->setEnabled(true);
  }
}

// Moves whatever the line holds into the buffer. False when the line is gone.
bool SerialPort::drain(std::size_t *firstNew) {
  *firstNew = buffer_.size();
  char chunk[4096];
  while (buffer_.size() < kMaxBuffered) {
    const std::size_t room = std::min(sizeof chunk, kMaxBuffered - buffer_.size());
    const ssize_t n = ::read(fd_, chunk, room);
    if (n > 0) {
      buffer_.insert(buffer_.end(), chunk, chunk + n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      return n < 0 && wouldBlock();
    }
  }
  notifier_->setEnabled(false);  // full: resumes when the program reads or flushes
  return true;
}

void SerialPort::onReadable() {
  if (!usable()) return;
  std::size_t firstNew = 0;
  if (!drain(&firstNew)) {
    hangUpFailedLine();
    return;
  }
  if (buffer_.size() == firstNew) {
    // Readable but nothing to read: an error state the notifier would report
    // again and again.
    if (lineFailed()) hangUpFailedLine();
    return;
  }
  if (callbackActive()) {
    arrivedDuringCallback_ = true;
  } else {
    notifyReceived(firstNew);
  }
  updateWakeThreshold();
  pauseForRest();
}

bool SerialPort::lineFailed() const {
  pollfd entry{fd_, POLLIN, 0};
  return ::poll(&entry, 1, 0) == 1 && (entry.revents & POLLIN) == 0 &&
         (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void SerialPort::notifyReceived(std::size_t firstNew) {
  if (callback_ == nullptr) return;
  if (CallbacksHeld()) {
    arrivedDuringCallback_ = true;
    CallOrHold(this, [this] { notifyLater(); });
    return;
  }
  int events = 0;
  if ((eventMask_ & LWRS_RECEIVE) != 0 && inQueueLength() >= notifyCount_) {
    events |= LWRS_RECEIVE;
  }
  const char flag = static_cast<char>(eventCharacter_);
  if ((eventMask_ & LWRS_RXFLAG) != 0 && firstNew < buffer_.size() &&
      std::find(buffer_.begin() + static_cast<std::ptrdiff_t>(firstNew), buffer_.end(), flag) !=
          buffer_.end()) {
    events |= LWRS_RXFLAG;
  }
  if (events != 0) invoke(events);
}

void SerialPort::onTransmitEmpty() {
  if (!usable() || callback_ == nullptr || (eventMask_ & LWRS_TXEMPTY) == 0) return;
  if (CallbacksHeld()) {
    CallOrHold(this, [this] { onTransmitEmpty(); });
    return;
  }
  if (callbackActive()) return;
  invoke(LWRS_TXEMPTY);
}

void SerialPort::invoke(int events) {
  arrivedDuringCallback_ = false;
  ++activeCallbacks_;
  callback_(number_, events, callbackData_);
  --activeCallbacks_;
  // Bytes that came in while the callback ran get their turn once it is over.
  if (!arrivedDuringCallback_ || !usable()) return;
  notifyLater();
}

void SerialPort::notifyLater() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!usable() || callbackActive() || !arrivedDuringCallback_) return;
        arrivedDuringCallback_ = false;
        notifyReceived(buffer_.size());
      },
      Qt::QueuedConnection);
}
