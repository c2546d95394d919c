// The link's entries in the line's event stream: answers taken, blocks read,
// answers missing, bytes passed over and quiet waits, each with the request
// they belong to.
#include "link/link.h"
#include "platform/serial/rs232.h"
#include "platform/util/linelog.h"

namespace {

int RequestOrder() {
  return static_cast<unsigned char>(szWriteBuf[2]) * 256 +
         static_cast<unsigned char>(szWriteBuf[3]);
}

int RequestWord(int index) {
  return static_cast<unsigned char>(szWriteBuf[4 + 2 * index]) * 256 +
         static_cast<unsigned char>(szWriteBuf[5 + 2 * index]);
}

int Ms(double seconds) {
  return static_cast<int>(seconds * 1000.0 + 0.5);
}

void RecordMissing(int port, double limitSeconds, double waitedSeconds, const char *came,
                   int count) {
  LineLogRecord(kLineTimeout, port, Ms(limitSeconds), Ms(waitedSeconds), kFrameBytes, szWriteBuf,
                kFrameBytes, came, count);
}

}  // namespace

void LogAnswerTaken(int port) {
  LineLogRecord(kLineFrameIn, port, RequestOrder(), RequestWord(0), 0, szReadBuf, kFrameBytes);
}

void LogBlockRead(int count) {
  LineLogRecord(kLineBlockIn, com, RequestOrder(), RequestWord(0), RequestWord(1), szReadBuf,
                count);
}

void LogAnswerMissing(double limitSeconds) {
  char came[kLineEventBytes - kFrameBytes];
  const int count = ComPeek(com, came, sizeof came);
  RecordMissing(com, limitSeconds, tdiff, came, count);
}

void LogAnswerShort(int port, double limitSeconds, int count) {
  RecordMissing(port, limitSeconds, limitSeconds, szReadBuf, count);
}

void LogPassedOver(const char *bytes, int count, bool otherAnswer) {
  LineLogRecord(otherAnswer ? kLineOtherAnswer : kLineNoise, com, count, RequestOrder(), 0, bytes,
                count);
}

void LogQuietWait(double seconds, int bytes) {
  LineLogRecord(kLineQuietWait, com, Ms(seconds), bytes, 0);
}
