// Which of the bytes waiting is the answer to the request in flight. The
// header and word 0 of an answer are the controller's to fill: only the order
// word it repeats tells an answer from line noise and from a late answer to
// another request.
#include "link/link.h"

namespace {

constexpr int kOrderAt = 2;                    // the order word's first byte in a frame
constexpr int kDecideBytes = kFrameBytes + 4;  // a frame and the order word after it

// A code the program sends: a frame that repeats it answers some request.
bool IsOrderCode(unsigned word) {
  return (word >= 1 && word <= 11) || word == 20;
}

// The bytes before `at` are noise: passed over before anything else.
AnswerDecision NoiseOrWait(int at) {
  if (at > 0) return {AnswerStep::SkipNoise, 0, at};
  return {AnswerStep::Wait, 0, 0};
}

// An order word of the request somewhere inside the frame at `from`.
bool AskedOrderInside(const char *bytes, int from, unsigned asked) {
  for (int at = from + 1; at < from + kFrameBytes; ++at) {
    if (GetWord(bytes + at + kOrderAt) == asked) return true;
  }
  return false;
}

// A frame of another order at `from`, with kDecideBytes known: a late answer
// to an earlier request, passed over whole so that none of its words is taken
// for an answer's start. Noise that only looks like its start is told apart
// where an answer begins inside it: a late answer is then followed by a frame
// (another order word 36 bytes on), noise is not.
bool IsFrameOfAnotherOrder(const char *bytes, int from, unsigned asked) {
  if (!AskedOrderInside(bytes, from, asked)) return true;
  const unsigned next = GetWord(bytes + from + kFrameBytes + kOrderAt);
  return next == asked || IsOrderCode(next);
}

}  // namespace

AnswerDecision DecideAnswer(const char *bytes, int seen, unsigned asked) {
  int at = 0;
  for (; at + kOrderAt + 2 <= seen; ++at) {
    const unsigned word = GetWord(bytes + at + kOrderAt);
    if (word == asked) {
      if (at + kFrameBytes <= seen) return {AnswerStep::Take, at, kFrameBytes};
      return NoiseOrWait(at);
    }
    if (!IsOrderCode(word)) continue;
    if (at + kDecideBytes > seen) return NoiseOrWait(at);
    if (IsFrameOfAnotherOrder(bytes, at, asked)) {
      if (at > 0) return NoiseOrWait(at);
      return {AnswerStep::SkipFrame, 0, kFrameBytes};
    }
  }
  return NoiseOrWait(at);
}
