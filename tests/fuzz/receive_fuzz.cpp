// The answer acceptance fed arbitrary bytes in arbitrary chunks, without a
// line: DecideAnswer applied as the receive callback applies it, to an input
// queue that grows chunk by chunk, and to the same bytes all at once. Each
// decision must be one the callback can carry out, and the frame taken (or
// none) must not depend on how the bytes were split.
//
// Input: byte 0 picks the order in flight (low 3 bits) and seeds the chunk
// sizes (1 to 64); the rest is what arrives on the line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "link/link.h"

namespace {

constexpr unsigned kOrders[] = {2, 4, 5, 6, 8, 10, 11, 20};
constexpr std::size_t kWindow = 4 * kFrameBytes;  // what the callback peeks at
constexpr int kDecideBytes = kFrameBytes + 4;     // a wait needs fewer
constexpr std::size_t kNone = SIZE_MAX;

unsigned WordAt(const uint8_t *bytes) {
  return static_cast<unsigned>(bytes[0]) << 8 | bytes[1];
}

// One decision is one the callback can carry out.
void Check(const AnswerDecision &d, const uint8_t *at, int seen, unsigned asked) {
  bool ok = false;
  switch (d.step) {
    case AnswerStep::Wait:
      ok = seen < kDecideBytes;
      break;
    case AnswerStep::Take:
      ok = d.count == kFrameBytes && d.offset >= 0 && d.offset + kFrameBytes <= seen &&
           WordAt(at + d.offset + 2) == asked;
      break;
    case AnswerStep::SkipNoise:
      ok = d.count >= 1 && d.count <= seen;
      break;
    case AnswerStep::SkipFrame:
      ok = d.count == kFrameBytes && seen >= kDecideBytes && WordAt(at + 2) != asked;
      break;
  }
  if (!ok) std::abort();
}

// One run of the receive callback over the queue [*from, end) of the stream:
// decisions until a take or a wait. Returns where the frame taken starts in
// the stream, or kNone.
std::size_t RunCallback(const uint8_t *stream, std::size_t *from, std::size_t end, unsigned asked) {
  for (;;) {
    const uint8_t *at = stream + *from;
    const int seen = static_cast<int>(std::min(end - *from, kWindow));
    const AnswerDecision d = DecideAnswer(reinterpret_cast<const char *>(at), seen, asked);
    Check(d, at, seen, asked);
    if (d.step == AnswerStep::Wait) return kNone;
    if (d.step == AnswerStep::Take) return *from + static_cast<std::size_t>(d.offset);
    *from += static_cast<std::size_t>(d.count);
  }
}

// The callback runs whenever a chunk leaves a frame's worth or more waiting;
// a frame taken ends it (the rest is flushed).
std::size_t TakenInChunks(const uint8_t *stream, std::size_t size, unsigned asked, unsigned seed) {
  std::size_t from = 0;
  std::size_t end = 0;
  while (end < size) {
    seed = seed * 1103515245u + 12345u;
    end = std::min<std::size_t>(end + 1 + (seed >> 16) % 64, size);
    if (end - from < static_cast<std::size_t>(kFrameBytes)) continue;
    const std::size_t taken = RunCallback(stream, &from, end, asked);
    if (taken != kNone) return taken;
  }
  return kNone;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  if (size < 1) return 0;
  const unsigned asked = kOrders[data[0] & 7u];
  const uint8_t *stream = data + 1;
  const std::size_t length = size - 1;

  std::size_t from = 0;
  const std::size_t atOnce = RunCallback(stream, &from, length, asked);
  if (TakenInChunks(stream, length, asked, data[0]) != atOnce) std::abort();
  // An answer that arrives first is taken, whatever its header and word 0.
  const bool answerFirst =
      length >= static_cast<std::size_t>(kFrameBytes) && WordAt(stream + 2) == asked;
  if (answerFirst && atOnce != 0) std::abort();
  return 0;
}
