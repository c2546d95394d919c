// Frame codec and serial link: the request encoder, the answer decoder, the
// receive callback and the wait for an answer frame.
#include <cstring>

#include "link/link.h"
#include "link/syncword.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"

int com = 1;
char szWriteBuf[kBufBytes];
char szReadBuf[kBufBytes];
int nBytesW = 0;
int nBytesR = 0;
int rx_flag = 1;
int graphrefresh = 0;
double tstart = 0.0;
double tdiff = 0.0;
int ret = 0;

namespace {

constexpr double kAnswerWaitSeconds = 1.5;
constexpr double kQuietSeconds = 0.02;  // one frame time on the line, with margin
constexpr double kSettleLimitSeconds = 0.2;
constexpr double kSettlePollSeconds = 0.002;

int lineUnsettled = 0;

void PutWord(char *at, unsigned word) {
  at[0] = static_cast<char>((word >> 8) & 0xFFu);
  at[1] = static_cast<char>(word & 0xFFu);
}

unsigned GetWord(const char *at) {
  return static_cast<unsigned>(static_cast<unsigned char>(at[0])) * 256u +
         static_cast<unsigned char>(at[1]);
}

// Bytes examined per pass of the receive callback: a frame behind as much
// line noise again, and more.
constexpr int kWindowBytes = 4 * kFrameBytes;
char rxWindow[kWindowBytes];

constexpr unsigned kReadRamOrder = 2;
constexpr unsigned kReadEepromOrder = 4;
constexpr int kEchoedBytes = 6;  // header, order word and set: all an answer repeats

// The `known` bytes at `at` agree with the start of an answer to the request
// last built in szWriteBuf: an answer repeats the request's order word
// (bytes 2 and 3) and a parameter read's answer also its set (bytes 4 and 5).
// The header is not examined.
bool CanBeginAnswer(const char *at, int known) {
  const unsigned asked = GetWord(szWriteBuf + 2);
  const int echoed = asked == kReadRamOrder || asked == kReadEepromOrder ? kEchoedBytes : 4;
  const int last = known < echoed ? known : echoed;
  for (int i = 2; i < last; ++i) {
    if (at[i] != szWriteBuf[i]) return false;
  }
  return true;
}

// A frame's start: the sync word the request starts with.
bool IsFrameStart(const char *at, int known) {
  return known >= 2 && at[0] == szWriteBuf[0] && at[1] == szWriteBuf[1];
}

// The `known` bytes at `at` agree with an answer that starts like a frame.
bool CanBeginFramedAnswer(const char *at, int known) {
  if (known >= 1 && at[0] != szWriteBuf[0]) return false;
  if (known >= 2 && at[1] != szWriteBuf[1]) return false;
  return CanBeginAnswer(at, known);
}

// Places of the whole frames that answered another request, passed over in
// the window by the last FirstAnswerStart, for the line's record.
int skippedFrames[kWindowBytes / kFrameBytes];
int skippedFrameCount = 0;

constexpr int kNone = -1;
constexpr int kUndecided = -2;

// An answer with a frame's start inside the frame that starts at `from`
// (noise that ends like a frame's start): its place once the words that
// decide it have come, kUndecided before, kNone when there is none.
int FramedAnswerWithin(int from, int seen) {
  const int end = from + kFrameBytes < seen ? from + kFrameBytes : seen;
  for (int at = from + 1; at < end; ++at) {
    if (CanBeginFramedAnswer(rxWindow + at, seen - at)) {
      return seen - at >= kEchoedBytes ? at : kUndecided;
    }
  }
  return kNone;
}

// Where in the window an answer may begin; `seen` when nowhere. A whole frame
// that answers something else is passed over as a whole: a window inside it
// that happens to repeat the request's words is no answer. One not yet whole
// is waited for.
int FirstAnswerStart(int seen) {
  int start = 0;
  skippedFrameCount = 0;
  while (start < seen && !CanBeginAnswer(rxWindow + start, seen - start)) {
    if (!IsFrameStart(rxWindow + start, seen - start)) {
      ++start;
      continue;
    }
    const int framed = FramedAnswerWithin(start, seen);
    if (framed >= 0) return framed;
    if (framed == kUndecided || start + kFrameBytes > seen) break;
    skippedFrames[skippedFrameCount++] = start;
    start += kFrameBytes;
  }
  return start;
}

// The bytes passed over ahead of `start`: whole frames that answered another
// request, and the noise around them.
void LogSkipped(int start) {
  int from = 0;
  for (int i = 0; i < skippedFrameCount; ++i) {
    const int frame = skippedFrames[i];
    if (frame > from) LogPassedOver(rxWindow + from, frame - from, false);
    LogPassedOver(rxWindow + frame, kFrameBytes, true);
    from = frame + kFrameBytes;
  }
  if (start > from) LogPassedOver(rxWindow + from, start - from, false);
}

void TakeAnswer() {
  ComRd(com, szReadBuf, kFrameBytes);  // waiting already
  LogAnswerTaken(com);
  GetRxBuf(PNUM);
  rx_flag = 1;
  graphrefresh = 1;
  FlushInQ(com);  // bytes beyond the frame are dropped
}

}  // namespace

void FillTxBuf(int order, const uint16_t *words) {
  PutWord(szWriteBuf, static_cast<unsigned>(sync));
  PutWord(szWriteBuf + 2, static_cast<unsigned>(order));
  for (int i = 0; i < PNUM; ++i) PutWord(szWriteBuf + 4 + 2 * i, words[i]);
}

// The header bytes 0 and 1 are passed over without a test.
void GetRxBuf(int count) {
  if (count > PNUM) count = PNUM;
  order = static_cast<int>(GetWord(szReadBuf + 2));
  for (int i = 0; i < count; ++i) pp[i] = static_cast<uint16_t>(GetWord(szReadBuf + 4 + 2 * i));
}

// Runs inside event processing only. The event-character and transmit-empty
// events are registered but carry nothing to do.
void RX_Receive_Function(int /*portNumber*/, int eventMask, void * /*callbackData*/) {
  if ((eventMask & LWRS_RECEIVE) == 0) return;
  for (;;) {
    const int seen = ComPeek(com, rxWindow, kWindowBytes);
    if (seen < kFrameBytes) return;  // a possible answer's start waits for its rest
    const int start = FirstAnswerStart(seen);
    ComRd(com, rxWindow, start);  // line noise, or a frame that answers another request
    LogSkipped(start);
    const bool whole = start + kFrameBytes <= seen;
    if (whole && CanBeginAnswer(rxWindow + start, kFrameBytes)) {
      TakeAnswer();
      return;
    }
    if (whole) return;  // a frame that may hold an answer's start: its rest decides
  }
}

int WaitRxFull() {
  ret = 1;
  tstart = Timer();
  do {
    ProcessSystemEvents();
    tdiff = Timer() - tstart;
    if (tdiff > kAnswerWaitSeconds) {
      std::strcpy(szStatus, "Timeout-RS-232...");
      LogAnswerMissing(kAnswerWaitSeconds);
      MarkLineUnsettled();
      ret = 0;
      break;
    }
  } while (rx_flag == 0);
  return ret;
}

void ReceiveCallbackOff() {
  InstallComCallback(com, 0, kFrameBytes, sync, nullptr, nullptr);
}

void ReceiveCallbackOn() {
  InstallComCallback(com, eventMask, kFrameBytes, sync, RX_Receive_Function, nullptr);
  FlushInQ(com);
  FlushOutQ(com);
}

void MarkLineUnsettled() {
  lineUnsettled = 1;
}

void SettleLine() {
  if (lineUnsettled == 0) return;
  lineUnsettled = 0;
  const double begin = Timer();
  double quietSince = begin;
  int waiting = GetInQLen(com);
  while (Timer() - quietSince < kQuietSeconds && Timer() - begin < kSettleLimitSeconds) {
    Delay(kSettlePollSeconds);
    const int now = GetInQLen(com);
    if (now != waiting) {
      waiting = now;
      quietSince = Timer();
    }
  }
  LogQuietWait(Timer() - begin, waiting);
  FlushInQ(com);
}
