// The receive path fed arbitrary bytes in arbitrary chunks: a pty stands in
// for the line, the port is opened as start-up opens it, and every chunk is
// delivered through the port's notifier to RX_Receive_Function.
//
// Input: byte 0 picks the chunk sizes (1 to 64, from a small generator) and
// the request in flight (a live request, or a parameter read of set 0 or 1);
// the rest is what arrives on the line.
#include <sched.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

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

constexpr int kLiveOrder = 8;
constexpr int kParameterRead = 2;
constexpr int kDecidingBytes = 6;  // header, order and set

// The request in flight as byte 0 chooses it; returns its order and set.
int BuildRequest(uint8_t choice, unsigned *set) {
  const int requestOrder = (choice & 1) != 0 ? kParameterRead : kLiveOrder;
  *set = requestOrder == kParameterRead ? (choice >> 1 & 1u) : 0;
  uint16_t words[PNUM] = {static_cast<uint16_t>(*set)};
  FillTxBuf(requestOrder, words);
  return requestOrder;
}

// The frame answers the request: its order, and for a parameter read its set
// in word 0.
bool Answers(const uint8_t *frame, int requestOrder, unsigned set) {
  if ((frame[2] << 8 | frame[3]) != requestOrder) return false;
  return requestOrder != kParameterRead || static_cast<unsigned>(frame[4] << 8 | frame[5]) == set;
}

bool FrameStart(const uint8_t *at) {
  return at[0] == 0x00 && at[1] == 0x55;
}

// Whether an answer lies in the bytes. A frame (00 55 ...) that answers
// something else is passed over whole, unless an answer with a frame's start
// begins inside it; elsewhere every byte may begin an answer.
bool AnyAnswer(const uint8_t *bytes, std::size_t size, int requestOrder, unsigned set) {
  std::size_t at = 0;
  while (at + kFrameBytes <= size) {
    if (Answers(bytes + at, requestOrder, set)) return true;
    if (!FrameStart(bytes + at)) {
      ++at;
      continue;
    }
    std::size_t next = at + kFrameBytes;
    for (std::size_t inner = at + 1; inner < at + kFrameBytes && inner + kFrameBytes <= size;
         ++inner) {
      if (FrameStart(bytes + inner) && Answers(bytes + inner, requestOrder, set)) {
        next = inner;
        break;
      }
    }
    at = next;
  }
  return false;
}

// The frame taken is one of the answers that came, whole.
bool TakenFromTheLine(const uint8_t *bytes, std::size_t size, int requestOrder, unsigned set) {
  const auto *taken = reinterpret_cast<const uint8_t *>(szReadBuf);
  if (!Answers(taken, requestOrder, set)) return false;
  for (std::size_t at = 0; at + kFrameBytes <= size; ++at) {
    if (std::memcmp(bytes + at, taken, kFrameBytes) == 0) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  Line &line = OpenLine();
  FlushInQ(line.port);
  rx_flag = 0;
  unsigned set = 0;
  const int requestOrder = BuildRequest(data[0], &set);
  unsigned seed = data[0];
  std::size_t offset = 1;
  while (offset < size) {
    seed = seed * 1103515245u + 12345u;
    const std::size_t chunk = std::min<std::size_t>(1 + (seed >> 16) % 64, size - offset);
    Deliver(line, data + offset, chunk);
    offset += chunk;
    // The notify count is one frame: once a frame's worth has arrived the
    // callback has run, and it leaves less than a frame behind (an answer's
    // possible start, waiting for its rest), or a whole frame with the first
    // bytes of such a start inside it, waiting for the bytes that decide it.
    QCoreApplication::processEvents();
    if (GetInQLen(line.port) >= kFrameBytes + kDecidingBytes) std::abort();
  }
  // Every answer that came is seen: the callback leaves less than a frame
  // behind, and it takes nothing but an answer.
  const bool answered = AnyAnswer(data + 1, size - 1, requestOrder, set);
  if ((rx_flag == 1) != answered) std::abort();
  if (answered && !TakenFromTheLine(data + 1, size - 1, requestOrder, set)) std::abort();
  return 0;
}
