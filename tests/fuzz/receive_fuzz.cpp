// The receive path fed arbitrary bytes in arbitrary chunks: a pty stands in
// for the line, the port is opened as start-up opens it, and every chunk is
// delivered through the port's notifier to RX_Receive_Function.
//
// Input: byte 0 picks the chunk sizes (1 to 64, from a small generator), the
// rest is what arrives on the line.
#include <sched.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "link/link.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "platform/util/utility.h"
#include "sim/pty.h"
#include "tests/fuzz/fuzz_runtime.h"
#include "tests/link/link_port.h"

namespace {

constexpr std::size_t kMaxInput = 2048;  // well inside the pty's buffer

struct Line {
  sim::PtyPair pty;
  int port = -1;
};

Line &OpenLine() {
  static Line line = [] {
    Line l;
    if (!fuzzsupport::StartRuntime() || !sim::OpenRawPty(&l.pty)) std::abort();
    l.port = PortTableAddDevice(l.pty.slavePath);
    com = l.port;
    if (l.port <= 0 || OpenLinkPort(l.port) != 0) std::abort();
    return l;
  }();
  return line;
}

// Waits until the port sees `count` bytes in its input queue (nothing reads
// them meanwhile), at most 10 s: a loaded machine delays the pty's delivery.
bool QueueReaches(int port, int count) {
  const double start = Timer();
  while (GetInQLen(port) < count) {
    if (Timer() - start > 10.0) return false;
    sched_yield();
  }
  return true;
}

void Deliver(const Line &line, const uint8_t *bytes, std::size_t size) {
  const int before = GetInQLen(line.port);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(line.pty.master, bytes + done, size - done);
    if (n <= 0) std::abort();
    done += static_cast<std::size_t>(n);
  }
  if (!QueueReaches(line.port, before + static_cast<int>(size))) std::abort();
  QCoreApplication::processEvents();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  Line &line = OpenLine();
  FlushInQ(line.port);
  rx_flag = 0;
  unsigned seed = data[0];
  std::size_t offset = 1;
  while (offset < size) {
    seed = seed * 1103515245u + 12345u;
    const std::size_t chunk = std::min<std::size_t>(1 + (seed >> 16) % 64, size - offset);
    Deliver(line, data + offset, chunk);
    offset += chunk;
    // The notify count is one frame: once a frame's worth has arrived the
    // callback has run, and it leaves less than a frame behind.
    QCoreApplication::processEvents();
    if (GetInQLen(line.port) >= kFrameBytes) std::abort();
  }
  // Only the callback empties the queue, so it ran exactly when a frame's
  // worth arrived in all.
  const bool frameArrived = size - 1 >= static_cast<std::size_t>(kFrameBytes);
  if ((rx_flag == 1) != frameArrived) std::abort();
  return 0;
}
