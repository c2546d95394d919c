// The receive wake-up: when the event loop is woken for the line.
//
// States of an open port (the notifier wakes the loop when the line is
// readable, while it is enabled):
//  - Watching: notifier on, VMIN 1. No callback waits for a count, or none of
//    its bytes are in yet: the first byte wakes the loop.
//  - Counting: the callback waits for its count and some bytes are in the
//    port's buffer. VMIN is the number still missing (1 to 255), so the
//    terminal driver holds readiness back until they are all there.
//  - Resting: Counting, with the notifier off for a little less than the
//    missing bytes' time on the line (0.9 x (missing - 1) byte times; none
//    under 2 ms, at most 50 ms). Even with VMIN the driver wakes every poller
//    on each byte it takes in: an answer that crosses the line at its pace
//    costs a few wake-ups this way, not one per byte. A hang-up is noticed at
//    the end of a rest at the latest.
//  - Full: 64 KiB buffered; the notifier stays off until the program reads or
//    flushes, so a flooding line cannot grow memory or spin the loop.
//  - Closed or hung up: notifier off, VMIN given back as 1.
//
// Rules:
//  - VMIN follows the buffer and the callback: every step that changes either
//    (taking bytes in, a read, a peek, a flush, installing a callback) sets it
//    again. A synchronous read that has to wait sets VMIN 1 for its own wait,
//    so that any byte ends it, and keeps the notifier off meanwhile: the
//    window-system probe of that wait runs the event dispatcher, which would
//    otherwise take the bytes into the buffer behind the read's back.
//  - A rest begins only in the loop's own wake-up for the line, after the
//    bytes are taken in and the callback has had its turn.
//  - Who re-arms the notifier: the rest's timer; a read (the buffer shrinks);
//    a flush of the input; installing or switching off a callback. Nothing
//    else ends a rest; a read's own wait leaves the notifier as it found it.
//  - Queries change nothing: GetInQLen counts the buffer and the driver's
//    queue and leaves VMIN, the rest and the notifier as they were. A program
//    that wants the bytes the line holds now offered to the callback takes them
//    in with ComPeek: they are announced at the next event processing, rest
//    or not.
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

void SerialPort::updateWakeThreshold() {
  setWakeThreshold(wakeThresholdWanted());
}
