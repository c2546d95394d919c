// When the event loop is woken for the line. While the receive callback waits
// for its count, the first bytes wake the loop; then the loop stops watching
// the line until the rest can have crossed it at the line's baud rate, and
// the terminal driver's VMIN holds readiness back until the count is there.
// An answer that crosses the line at its pace costs a few wake-ups, not one
// per byte. Non-blocking reads still return whatever is there; a hang-up is
// reported at the end of a pause at the latest.
#include <termios.h>

#include <QSocketNotifier>
#include <algorithm>

#include "platform/serial/port.h"

namespace {

constexpr int kMaxWakeThreshold = 255;  // VMIN is one byte
constexpr int kMinRestPauseMs = 2;
constexpr int kMaxRestPauseMs = 50;  // a slow line still notices a hang-up soon

}  // namespace

bool SerialPort::waitsForCount() const {
  return callback_ != nullptr && (eventMask_ & LWRS_RECEIVE) != 0 &&
         buffer_.size() < static_cast<std::size_t>(notifyCount_);
}

int SerialPort::wakeThresholdWanted() const {
  // The first byte wakes the loop: it starts the pause for the rest.
  if (!waitsForCount() || buffer_.empty()) return 1;
  const int missing = notifyCount_ - static_cast<int>(buffer_.size());
  return std::clamp(missing, 1, kMaxWakeThreshold);
}

void SerialPort::setWakeThreshold(int bytes) {
  if (!usable() || bytes == wakeThreshold_) return;
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) return;
  tio.c_cc[VMIN] = static_cast<cc_t>(bytes);
  if (tcsetattr(fd_, TCSANOW, &tio) == 0) wakeThreshold_ = bytes;
}

void SerialPort::pauseForRest() {
  if (!waitsForCount() || buffer_.empty() || !notifier_->isEnabled()) return;
  const auto missing = static_cast<double>(notifyCount_) - static_cast<double>(buffer_.size());
  // A little short of the rest's time, so that the last byte still wakes the
  // loop the moment it comes; a line faster than its baud rate delivers a
  // count at once and never pauses.
  const double ms = 0.9 * (missing - 1) * byteSeconds_ * 1000.0;
  if (ms < kMinRestPauseMs) return;
  notifier_->setEnabled(false);
  restPause_->start(static_cast<int>(std::min<double>(ms, kMaxRestPauseMs)));
}

void SerialPort::endRestPause() {
  restPause_->stop();
  resumeNotifier();
}

void SerialPort::updateWakeThreshold() {
  setWakeThreshold(wakeThresholdWanted());
}
