// Transactions with the controller: echo check, parameter read, firmware
// text, data-memory block and info block.
#include <cstring>

#include "link/link.h"
#include "link/syncword.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "ui/RVIMZEL4V14.h"

char szVersion[64];
uint16_t yArrayA[256];
uint16_t yArrayB[256];

namespace {

constexpr int kEchoOrder = 5;
constexpr int kVersionOrder = 7;
constexpr int kInfoBlockOrder = 20;
constexpr int kInfoBlockPort = 1;
constexpr int kBlockWords = 64;
constexpr double kEchoPauseSeconds = 0.05;
constexpr double kPortTimeoutSeconds = 2.0;  // bounds the direct reads
constexpr double kVersionWaitSeconds = 2.0;
constexpr double kBlockWaitSeconds = 1.5;
// Pause between two polls of the input queue: keeps the busy wait from
// taking a whole core and delays the end of a wait by at most this much.
constexpr double kPollPauseSeconds = 0.001;

// Answer word 0 (bytes 4 and 5) carries the sync value 0x00AA.
bool AnswerHasSync() {
  return GetWord(szReadBuf + 4) == 0x00AAu;
}

// Request whose words 0 and 1 come from arguments, the rest 0.
int SendTwoWordRequest(int port, int code, int word0, int word1) {
  uint16_t words[PNUM] = {};
  words[0] = static_cast<uint16_t>(word0);
  words[1] = static_cast<uint16_t>(word1);
  return SendRequest(port, code, words);
}

// Reads up to `count` waiting bytes (never beyond szReadBuf) into szReadBuf.
int ReadWaiting(int port, int count) {
  if (count > kBufBytes) count = kBufBytes;
  if (count <= 0) return 0;
  return ComRd(port, szReadBuf, count);
}

// Polls the input queue, without processing events, until `bytes` are
// waiting or `limit` seconds have passed. The time is tested before the
// count, so a block completed in the poll that runs out of time still counts.
// Ended waits (the main window closed) end it as a time-out would, without
// the time-out text.
int PollInputQueue(int bytes, double limit, const char *timeoutText, bool *timedOut) {
  *timedOut = false;
  tstart = Timer();
  int waiting = 0;
  for (;;) {
    waiting = GetInQLen(com);
    tdiff = Timer() - tstart;
    if (tdiff > limit) {
      std::strcpy(szStatus, timeoutText);
      LogAnswerMissing(limit);
    }
    if (tdiff > limit || (waiting < bytes && WaitsEnded() != 0)) {
      MarkLineUnsettled();
      *timedOut = true;
      break;
    }
    if (waiting >= bytes) break;
    Delay(kPollPauseSeconds);
  }
  return waiting;
}

// The firmware text is shown, never interpreted: control characters and
// bytes outside printable ASCII become '?'; NUL still ends the text.
void MakePrintable(char *text) {
  for (; *text != '\0'; ++text) {
    const auto c = static_cast<unsigned char>(*text);
    if (c < 0x20 || c >= 0x7F) *text = '?';
  }
}

// A block that failed leaves no earlier curve behind as if it were this one:
// after it only the blocks read later hold data.
void ZeroCurves() {
  for (int i = 0; i < 2 * kBlockWords; ++i) {
    yArrayA[i] = 0;
    yArrayB[i] = 0;
  }
}

void StoreBlock(int offset) {
  uint16_t *destination = nullptr;
  switch (offset) {
    case 0:
      destination = yArrayA;
      break;
    case 64:
      destination = yArrayA + 64;
      break;
    case 128:
      destination = yArrayB;
      break;
    case 192:
      destination = yArrayB + 64;
      break;
    default:
      return;
  }
  for (int i = 0; i < kBlockWords; ++i) {
    destination[i] = static_cast<uint16_t>(GetWord(szReadBuf + 2 * i));
  }
}

}  // namespace

int CheckComLine(int port) {
  SettleLine(kEchoOrder);
  CopyVarsToPP(0);
  FlushInQ(port);
  FlushOutQ(port);
  SendRequest(port, kEchoOrder, pp);
  Delay(kEchoPauseSeconds);
  nBytesR = ComRd(port, szReadBuf, kFrameBytes);
  if (nBytesR >= kFrameBytes) LogAnswerTaken(port);
  int result = 0;
  if (nBytesR < kFrameBytes) {
    LogAnswerShort(port, kPortTimeoutSeconds, nBytesR);
    MarkLineUnsettled();
    std::strcpy(szStatus, "Timeout < 36 Bytes");
  } else if (AnswerHasSync()) {
    std::strcpy(szStatus, "Echo Check - Line Ok!");
    result = 1;
  } else {
    std::strcpy(szStatus, "read error - not sync byte 0xAA!");
  }
  ShowStatus(szStatus);
  return result;
}

void PushGET(int store, uint16_t paraset) {
  if (store == DATFILE) return;  // the file is read elsewhere
  const int code = store == EEPROM ? 4 : 2;
  SettleLine(code);
  order = code;
  CopyVarsToPP(paraset);
  FlushInQ(com);
  FlushOutQ(com);
  rx_flag = 0;
  if (SendRequest(com, order, pp) == kFrameBytes) ShowStatus("Waiting for parameter-frame ...");
  WaitRxFull();
  // The caller reads rx_flag to learn whether an answer came.
  if (rx_flag == 1) {
    GetRxBuf(PNUM);
    CopyPPtoVars(paraset);
    ShowStatus("Parameter-frame received! - Line Ok!");
  } else {
    ShowStatus(paraset == 0 ? "Parameter-frame NOT received - set 0!"
                            : "Parameter-frame NOT received - set 1!");
  }
}

int GetVERSIONInfo() {
  ReceiveCallbackOff();
  SettleLine(kVersionOrder);
  FlushInQ(com);
  FlushOutQ(com);
  order = kVersionOrder;
  if (SendRequest(com, kVersionOrder, pp) == kFrameBytes)
    ShowStatus("Waiting for firmware info ...");

  bool timedOut = false;
  const int waiting = PollInputQueue(kVersionBytes, kVersionWaitSeconds,
                                     "Timeout - reading firmware info!", &timedOut);
  szVersion[0] = '\0';
  nBytesR = ReadWaiting(com, waiting);
  if (nBytesR > 0) LogBlockRead(nBytesR);
  if (nBytesR == kVersionBytes) {
    int words[kVersionBytes / 2];
    for (int i = 0; i < kVersionBytes / 2; ++i)
      words[i] = static_cast<int>(GetWord(szReadBuf + 2 * i));
    Fmt(szVersion, "%64c<%32i", words);
    MakePrintable(szVersion);
    std::strcpy(szStatus, szVersion);
  } else if (waiting > kVersionBytes) {
    std::strcpy(szStatus, "Error reading firmware-info!");  // more than a text: not one
  }
  ReceiveCallbackOn();
  rx_flag = 0;
  ShowStatus(szStatus);
  return waiting;
}

int ReadData64(int offset, int selector, int blockOrder) {
  SettleLine(blockOrder);
  FlushInQ(com);
  FlushOutQ(com);
  rx_flag = 0;
  SendTwoWordRequest(com, blockOrder, offset, selector);
  ShowStatus("Waiting for Data[64] ...");

  bool timedOut = false;
  const int waiting = PollInputQueue(kBlockBytes, kBlockWaitSeconds,
                                     "Timeout-RS-232 while reading 64 data-words!", &timedOut);
  if (timedOut) ZeroCurves();
  nBytesR = ReadWaiting(com, waiting);
  if (nBytesR > 0) LogBlockRead(nBytesR);
  int result = 0;
  if (nBytesR == kBlockBytes) {
    std::strcpy(szStatus, "Data[64] block received!");
    StoreBlock(offset);
    result = kBlockWords;
  } else if (waiting > kBlockBytes) {
    std::strcpy(szStatus, "Error reading 64 data-words!");  // more than a block: not one
    ZeroCurves();
  }
  ShowStatus(szStatus);
  return result;
}

// Always on port 1, whatever port the line uses; no flushing before.
int SendInfoBlockToFlash(int first, int second) {
  order = kInfoBlockOrder;
  SendTwoWordRequest(kInfoBlockPort, kInfoBlockOrder, second, first);
  Delay(kEchoPauseSeconds);
  nBytesR = ComRd(kInfoBlockPort, szReadBuf, kFrameBytes);
  if (nBytesR < kFrameBytes) {
    LogAnswerShort(kInfoBlockPort, kPortTimeoutSeconds, nBytesR);
    std::strcpy(szStatus, "Timeout: SendInfoBlockToFlash < 36 Bytes");
    return -1;
  }
  LogAnswerTaken(kInfoBlockPort);
  if (AnswerHasSync()) {
    std::strcpy(szStatus, "ok:  SendInfoBlockToFlash!");
    return 1;
  }
  std::strcpy(szStatus, "error : unknown F801 echo at order-20!");
  return -2;
}
