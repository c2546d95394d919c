// Figures of the serial line, against the simulator on a pty.
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "bench/clock.h"
#include "bench/figures.h"
#include "platform/serial/porttable.h"
#include "platform/serial/rs232.h"
#include "sim/simulator.h"

namespace {

// n data-block requests (order 9) back to back; their answers are 128 bytes each.
std::vector<char> dataBlockRequests(int n) {
  std::vector<char> bytes;
  for (int i = 0; i < n; ++i) {
    const char frame[36] = {0x00, 0x55, 0x00, 0x09, 0x00, static_cast<char>(64 * (i % 4))};
    bytes.insert(bytes.end(), frame, frame + 36);
  }
  return bytes;
}

}  // namespace

double PtyBytesPerSecondLinePaced() {
  constexpr int kBlocks = 32;  // 4 KiB of answers
  constexpr int kTotal = kBlocks * 128;
  sim::Simulator simulator(sim::Pacing::Line);
  if (!simulator.start()) return -1;
  const int port = PortTableAddDevice(simulator.slavePath());
  if (OpenComConfig(port, "", 19200, 0, 8, 1, 4096, 4096) < 0) return -1;
  SetComTime(port, 1.0);
  const std::vector<char> requests = dataBlockRequests(kBlocks);
  if (ComWrt(port, requests.data(), static_cast<int>(requests.size())) !=
      static_cast<int>(requests.size())) {
    return -1;
  }
  // Time the stream from its first bytes to its last, polling the queue.
  std::vector<char> sink(kTotal);
  int received = 0;
  int firstCount = 0;
  double firstTime = 0;
  const double giveUp = WallSeconds() + 10.0;
  while (received < kTotal && WallSeconds() < giveUp) {
    const int waiting = GetInQLen(port);
    if (waiting <= 0) {
      usleep(200);
      continue;
    }
    const int n = ComRd(port, sink.data(), std::min(waiting, kTotal - received));
    if (n <= 0) break;
    if (received == 0) {
      firstTime = WallSeconds();
      firstCount = n;
    }
    received += n;
  }
  const double span = WallSeconds() - firstTime;
  CloseCom(port);
  if (received < kTotal || span <= 0) return -1;
  return (received - firstCount) / span;
}
