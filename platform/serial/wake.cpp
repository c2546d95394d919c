// How many bytes the line must hold before the event loop is woken for it.
// While the receive callback waits for its count, the terminal driver's VMIN
// holds readiness back until the count is there: one wake-up per answer
// instead of one per byte. Non-blocking reads still return whatever is there,
// and a hang-up is still reported at once.
#include <termios.h>

#include <algorithm>

#include "platform/serial/port.h"

namespace {

constexpr int kMaxWakeThreshold = 255;  // VMIN is one byte

}  // namespace

int SerialPort::wakeThresholdWanted() const {
  if (callback_ == nullptr || (eventMask_ & LWRS_RECEIVE) == 0) return 1;
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

void SerialPort::updateWakeThreshold() {
  if (inOwnCallback_) return;
  setWakeThreshold(wakeThresholdWanted());
}
