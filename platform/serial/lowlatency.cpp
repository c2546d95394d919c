// USB-serial adapters hold received bytes up to their latency timer (16 ms on
// the common FTDI chips) before passing them on; asking the driver for low
// latency hands each answer over as it arrives. Drivers without the setting
// (a pseudo-terminal, most built-in ports) refuse, and the port works as it is.
#include <linux/serial.h>
#include <sys/ioctl.h>

#include "platform/serial/internal.h"

namespace {

SerialIoctl testIoctl = nullptr;

int CallIoctl(int fd, unsigned long request, serial_struct *info) {
  return testIoctl != nullptr ? testIoctl(fd, request, info) : ::ioctl(fd, request, info);
}

}  // namespace

void SetSerialIoctlForTest(SerialIoctl ioctlFunction) {
  testIoctl = ioctlFunction;
}

int RequestLowLatency(int fd) {
  serial_struct info{};
  if (CallIoctl(fd, TIOCGSERIAL, &info) != 0) return -1;
  if ((info.flags & ASYNC_LOW_LATENCY) != 0) return -1;  // already set: nothing to restore
  const int old = info.flags;
  info.flags |= ASYNC_LOW_LATENCY;
  return CallIoctl(fd, TIOCSSERIAL, &info) == 0 ? old : -1;
}

void RestoreSerialFlags(int fd, int flags) {
  if (flags < 0) return;
  serial_struct info{};
  if (CallIoctl(fd, TIOCGSERIAL, &info) != 0) return;
  info.flags = flags;
  CallIoctl(fd, TIOCSSERIAL, &info);
}
