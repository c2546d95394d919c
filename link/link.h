// Device link: the parameter set, the frame codec, the serial link and the
// transactions with the controller. Plain procedures over globals; the whole
// program runs on the user-interface thread.
#pragma once

#include <cstdint>

#include "ui/ui.h"  // panelHandle, panelPopUp

// ---- Constants of the link --------------------------------------------------
constexpr int PNUM = 16;                   // words per frame
constexpr int kFrameBytes = PNUM * 2 + 4;  // 36
constexpr int RAM = 1;
constexpr int EEPROM = 2;
constexpr int DATFILE = 3;
constexpr double TIMEOUT = 1.5;    // seconds
constexpr int eventMask = 0x8006;  // events of the receive callback
constexpr int kBufBytes = 1024;
constexpr int kTextBytes = 260;
constexpr int kLiveOrder = 8;      // live values: the full set out, the live answer back
constexpr int kVersionBytes = 64;  // the firmware text
constexpr int kBlockBytes = 128;   // a data block: 64 words, no header

// ---- Parameter set -------------------------------------------------------------
extern uint16_t powerA, refA, tolA, triglvlA, hysteresis, polarity, hold, average, hwmode, evalmode,
    trigmode, outmode, anamode, sdelay, maxmode;
extern uint16_t powerB, refB, tolB, triglvlB;
extern uint16_t ref10Bit, tol10Bit;
extern uint16_t pp[PNUM];
extern int target;  // RAM, EEPROM or DATFILE
extern int order;   // order code of the transaction under way

void SetParameterDefaults();  // the nineteen defaults and ref10Bit/tol10Bit
void CopyVarsToPP(uint16_t paraset);
void CopyPPtoVars(uint16_t paraset);

// ---- Frames and the serial link --------------------------------------------------
extern int com;
extern char szWriteBuf[kBufBytes];
extern char szReadBuf[kBufBytes];
extern int nBytesW, nBytesR;
extern int rx_flag, graphrefresh;
extern double tstart, tdiff;
extern int ret;
extern char szStatus[kTextBytes];
// Shows a text in the status line (PANEL_STATUS of the main panel).
void ShowStatus(const char *text);
extern char szVersion[64];

// The big-endian word whose first byte is at[0], as the line carries words.
unsigned GetWord(const char *at);
void FillTxBuf(int orderCode, const uint16_t *words);
// Builds the request (order code and PNUM words) in szWriteBuf and writes its
// 36 bytes to the port. Returns the count written, also kept in nBytesW.
int SendRequest(int port, int orderCode, const uint16_t *words);
void GetRxBuf(int count);
// Takes the answer to the request last built in szWriteBuf, as DecideAnswer
// finds it; what comes ahead of it is read off the line and dropped.
void RX_Receive_Function(int portNumber, int events, void *callbackData);
int WaitRxFull();
// After a time-out (or a run stopped with a request in flight) the rest of a
// late answer may still be on its way. SettleLine, called before the next
// request (of order nextOrder), then waits until the line has been quiet for
// one frame time (at most 0.2 s) and drops what came. A next request of the
// order left unanswered, whose answer a late one would pass for, first waits
// (processing events) until 1 s after that time-out.
void MarkLineUnsettled();
void SettleLine(int nextOrder);
// Receive callback off (mask 0) and on again (eventMask, 36, sync; then both
// queues flushed), around transactions whose answer is not a frame.
void ReceiveCallbackOff();
void ReceiveCallbackOn();
// Opens the port on the controller's line: 19200 8N1, queues of 4096,
// time-out 2 s, both queues flushed, no handshake, and RX_Receive_Function
// for whole frames. Returns 0, or the negative result of the opening.
int OpenRS232(int port);

// ---- Answer acceptance -------------------------------------------------------------
// What the receive callback does with the bytes waiting (their first `seen`),
// for the request in flight with the order word `asked`. The answer is the
// first frame that repeats `asked`; its header and word 0 are not examined.
// A frame of another order (a late answer to an earlier request) is passed
// over whole, other bytes one by one as noise. Wait needs fewer than 40 bytes.
enum class AnswerStep {
  Wait,       // the bytes that decide have not come yet
  SkipNoise,  // `count` bytes of line noise at the start
  SkipFrame,  // a whole frame that answers another order, at the start
  Take        // the answer at `offset`; the bytes before it are noise
};
struct AnswerDecision {
  AnswerStep step;
  int offset;
  int count;  // bytes passed over (SkipNoise, SkipFrame) or taken (Take: 36)
};
AnswerDecision DecideAnswer(const char *bytes, int seen, unsigned asked);

// ---- Transactions ------------------------------------------------------------------
extern uint16_t yArrayA[256], yArrayB[256];
int CheckComLine(int port);
void PushGET(int store, uint16_t paraset);
int GetVERSIONInfo();
int ReadData64(int offset, int selector, int blockOrder);
int SendInfoBlockToFlash(int first, int second);

// ---- Line monitor ----------------------------------------------------------------------
// What the link adds to the line's event stream beside the bytes the port
// records itself. Each copies a few words and bytes; nothing is formatted.
// The answer frame in szReadBuf (read from `port`) was taken for the request
// in szWriteBuf.
void LogAnswerTaken(int port);
// `count` bytes read into szReadBuf as the block that answers the request.
void LogBlockRead(int count);
// The wait for the answer to the request in szWriteBuf ran out after tdiff
// seconds (limit `limitSeconds`); what came of the answer is still queued.
void LogAnswerMissing(double limitSeconds);
// A read of the answer returned only `count` bytes (in szReadBuf) within the limit.
void LogAnswerShort(int port, double limitSeconds, int count);
// Bytes passed over ahead of the answer: line noise, or a whole frame that
// answered another request.
void LogPassedOver(const char *bytes, int count, bool otherAnswer);
// The wait for a quiet line took `seconds`; `bytes` came meanwhile.
void LogQuietWait(double seconds, int bytes);
// The words for why a port did not open (kComOpen...), e.g. "no such device";
// nullptr when the cause is unknown.
const char *OpenCauseText(int cause);
