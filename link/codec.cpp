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

// After a time-out, a request of the same order waits until the one left
// unanswered has had this long more: its late answer would pass for the new
// one's (an answer carries nothing else of its request).
constexpr double kSameOrderSeconds = 1.0;

int lineUnsettled = 0;
int unansweredOrder = 0;
double unsettledAt = 0.0;

// The firmware text and the data blocks come without an order word.
bool AnswersWithAFrame(int code) {
  return code != 7 && code != 9;
}

// Until the line has been quiet for a frame's time (at most 0.2 s): the rest
// of an answer under way comes in meanwhile.
void AwaitQuietLine() {
  const double begin = Timer();
  double quietSince = begin;
  int waiting = GetInQLen(com);
  while (Timer() - quietSince < kQuietSeconds && Timer() - begin < kSettleLimitSeconds &&
         WaitsEnded() == 0) {
    Delay(kSettlePollSeconds);
    const int now = GetInQLen(com);
    if (now != waiting) {
      waiting = now;
      quietSince = Timer();
    }
  }
}

void PutWord(char *at, unsigned word) {
  at[0] = static_cast<char>((word >> 8) & 0xFFu);
  at[1] = static_cast<char>(word & 0xFFu);
}

// Bytes examined per pass of the receive callback: a frame behind as much
// line noise again, and more; every decision needs fewer.
constexpr int kWindowBytes = 4 * kFrameBytes;
char rxWindow[kWindowBytes];

void TakeAnswer() {
  ComRd(com, szReadBuf, kFrameBytes);  // waiting already
  LogAnswerTaken(com);
  GetRxBuf(PNUM);
  rx_flag = 1;
  graphrefresh = 1;
  FlushInQ(com);  // bytes beyond the frame are dropped
}

}  // namespace

unsigned GetWord(const char *at) {
  return static_cast<unsigned>(static_cast<unsigned char>(at[0])) * 256u +
         static_cast<unsigned char>(at[1]);
}

void FillTxBuf(int orderCode, const uint16_t *words) {
  PutWord(szWriteBuf, static_cast<unsigned>(sync));
  PutWord(szWriteBuf + 2, static_cast<unsigned>(orderCode));
  for (int i = 0; i < PNUM; ++i) PutWord(szWriteBuf + 4 + 2 * i, words[i]);
}

int SendRequest(int port, int orderCode, const uint16_t *words) {
  FillTxBuf(orderCode, words);
  nBytesW = ComWrt(port, szWriteBuf, kFrameBytes);
  return nBytesW;
}

// The header bytes 0 and 1 are passed over without a test.
void GetRxBuf(int count) {
  if (count > PNUM) count = PNUM;
  order = static_cast<int>(GetWord(szReadBuf + 2));
  for (int i = 0; i < count; ++i) pp[i] = static_cast<uint16_t>(GetWord(szReadBuf + 4 + 2 * i));
}

// Runs inside event processing only. The event-character and transmit-empty
// events are registered but carry nothing to do. Peek, decide, read: nothing
// is taken off the line before DecideAnswer has placed it.
void RX_Receive_Function(int /*portNumber*/, int events, void * /*callbackData*/) {
  if ((events & LWRS_RECEIVE) == 0) return;
  const unsigned asked = GetWord(szWriteBuf + 2);
  for (;;) {
    const int seen = ComPeek(com, rxWindow, kWindowBytes);
    if (seen <= 0) return;
    const AnswerDecision decision = DecideAnswer(rxWindow, seen, asked);
    switch (decision.step) {
      case AnswerStep::Wait:
        return;
      case AnswerStep::Take:
        if (decision.offset > 0) {
          ComRd(com, rxWindow, decision.offset);  // noise ahead of it
          LogPassedOver(rxWindow, decision.offset, false);
        }
        TakeAnswer();
        return;
      case AnswerStep::SkipNoise:
      case AnswerStep::SkipFrame:
        ComRd(com, rxWindow, decision.count);
        LogPassedOver(rxWindow, decision.count, decision.step == AnswerStep::SkipFrame);
        break;
    }
  }
}

int WaitRxFull() {
  ret = 1;
  tstart = Timer();
  do {
    ProcessSystemEvents();
    if (rx_flag == 0 && WaitsEnded() != 0) {
      MarkLineUnsettled();  // no time-out: the transaction ends, not the controller
      ret = 0;
      break;
    }
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
  FlushOutQ(com);
  FlushInQ(com);
}

void MarkLineUnsettled() {
  lineUnsettled = 1;
  unansweredOrder = static_cast<int>(GetWord(szWriteBuf + 2));
  unsettledAt = Timer();
}

void SettleLine(int nextOrder) {
  if (lineUnsettled == 0) return;
  lineUnsettled = 0;
  const double begin = Timer();
  if (nextOrder == unansweredOrder && AnswersWithAFrame(nextOrder)) {
    // Only time tells a late answer from the next one's: give it its chance.
    while (Timer() < unsettledAt + kSameOrderSeconds && WaitsEnded() == 0) ProcessSystemEvents();
  }
  AwaitQuietLine();
  LogQuietWait(Timer() - begin, GetInQLen(com));
  FlushInQ(com);
}
