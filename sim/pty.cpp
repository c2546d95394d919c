// Opening the simulator's pseudo-terminal.
#include "sim/pty.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

namespace sim {
namespace {

bool makeRaw(int fd) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  cfsetispeed(&tio, B19200);
  cfsetospeed(&tio, B19200);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &tio) == 0;
}

}  // namespace

void CloseFd(int *fd) {
  if (*fd >= 0) ::close(*fd);
  *fd = -1;
}

bool OpenRawPty(PtyPair *pair) {
  PtyPair opened;
  opened.master = posix_openpt(O_RDWR | O_NOCTTY);
  if (opened.master < 0) return false;
  char name[128] = {};
  bool ok = grantpt(opened.master) == 0 && unlockpt(opened.master) == 0 &&
            ptsname_r(opened.master, name, sizeof name) == 0 &&
            fcntl(opened.master, F_SETFL, O_NONBLOCK) == 0 &&
            fcntl(opened.master, F_SETFD, FD_CLOEXEC) == 0;
  if (ok) {
    opened.slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    ok = opened.slave >= 0 && makeRaw(opened.slave);
  }
  if (!ok) {
    ClosePty(&opened);
    return false;
  }
  opened.slavePath = name;
  *pair = opened;
  return true;
}

void ClosePty(PtyPair *pair) {
  CloseFd(&pair->master);
  CloseFd(&pair->slave);
}

}  // namespace sim
