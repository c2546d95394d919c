// The event stream of the serial line: every request written, every answer
// taken, every event of the line (time-outs, noise passed over, flushes,
// quiet waits, the port opened, closed or gone) and every status text, in the
// order they happened. The last kLineLogCapacity events are kept in a ring
// allocated once; recording copies a few words and at most kLineEventBytes
// bytes, and never allocates or formats. Readers (the monitor window, the log
// file, the logging categories) format an event when they show or write it.
// Recording and reading run on the user-interface thread only.
#pragma once

#include <cstdint>
#include <string>

constexpr int kLineLogCapacity = 20000;
constexpr int kLineEventBytes = 128;

// What an event tells; the meaning of a, b, c and the bytes per kind.
enum LineEventKind : uint8_t {
  kLineWrite,        // bytes written; a = count, b = result
  kLineWriteFailed,  // a write that fell short; as kLineWrite
  kLineFrameIn,      // an answer frame taken; a, b = order and word 0 of the request
  kLineBlockIn,      // bytes read as a block; a, b, c = order, words 0 and 1 of the request
  kLineTimeout,      // no whole answer; a = limit ms, b = waited ms, c = request bytes
                     // among the bytes (the rest came of the answer)
  kLineNoise,        // bytes passed over as noise; a = count, b = order of the request
  kLineOtherAnswer,  // a frame that answered another request; b = order of the request
  kLineFlushIn,      // input dropped by a flush; a = count
  kLineDrainOut,     // a wait for written bytes to go out; a = bytes queued,
                     // b = ms waited, c = bytes still queued when the wait ended
  kLineQuietWait,    // waited for a quiet line; a = ms, b = bytes that came meanwhile
  kLinePortOpened,   // a = baud rate, b = data bits, c = parity * 10 + stop bits; bytes: device
  kLinePortClosed,
  kLineOpenFailed,  // a = error, b = why (kComOpen... of rs232.h), c = holder's PID;
                    // bytes: device, then after a NUL the holder's name
  kLineHangUp,      // the line is gone (hang-up, unplugged adapter)
  kLineUnplugged,   // the port's device was removed
  kLineReplugged,   // it came back; a = 1 when the line checked good
  kLineStatus,      // bytes: the text shown in the status line
  kLineKindCount
};

struct LineEvent {
  uint64_t seq = 0;      // running number from the start of the program
  double time = 0;       // the run-time clock (Timer), seconds
  double sinceOpen = 0;  // seconds since the port was last opened (or the first event)
  int64_t wallMs = 0;    // wall clock, ms since the epoch
  int32_t port = 0;
  int32_t a = 0, b = 0, c = 0;
  uint16_t size = 0;  // bytes held
  uint8_t kind = kLineStatus;
  uint8_t bytes[kLineEventBytes] = {};
};

// Records an event: the bytes (cut at kLineEventBytes), then `more` after them.
void LineLogRecord(int kind, int port, int a, int b, int c, const void *bytes = nullptr,
                   int size = 0, const void *more = nullptr, int moreSize = 0);

// The events held are seq LineLogBegin() to LineLogEnd() - 1.
uint64_t LineLogBegin();
uint64_t LineLogEnd();
// Copies event `seq`; false when it is not held (any more).
bool LineLogGet(uint64_t seq, LineEvent *event);
// Forgets every event; numbering goes on.
void LineLogClearForTest();

// ---- Reading events ----------------------------------------------------------
// The columns of a row, filled by the program, which knows its orders. Texts
// are plain, never rich text.
struct LineEventText {
  std::string order;    // "2 read RAM"; empty when the event concerns none
  std::string content;  // what the event means, decoded
};
// How the program reads its events: `describe` fills the columns, `orderOf`
// gives the order code an event concerns (-1 for none) without formatting,
// `orderName` the code and name of an order ("2 read RAM") for the filter.
struct LineEventReader {
  void (*describe)(const LineEvent &event, LineEventText *text) = nullptr;
  int (*orderOf)(const LineEvent &event) = nullptr;
  std::string (*orderName)(int order) = nullptr;
};
// Without a reader a status event shows its text, any other its kind's name,
// and none an order.
void SetLineEventReader(const LineEventReader &reader);
LineEventText DescribeLineEvent(const LineEvent &event);
int LineEventOrder(const LineEvent &event);
std::string LineOrderName(int order);

// "out", "in", "line" or "status".
const char *LineEventDirection(int kind);
// Name of a kind, e.g. "time-out"; "" out of range.
const char *LineEventKindName(int kind);
// Groups the monitor filters by.
enum LineEventGroup { kGroupFrames, kGroupLine, kGroupProblems, kGroupStatus, kGroupCount };
bool LineEventInGroup(int kind, int group);
const char *LineEventGroupName(int group);
// The line's bytes as "00 55 00 02", cut where the event was; "" for events
// whose bytes are a text (status, device path).
std::string LineEventHex(const LineEvent &event);
// Milliseconds since the port was opened, "1234"; wall clock
// "2024-05-01 10:15:02.123" (local time).
std::string LineEventMs(const LineEvent &event);
std::string LineEventWallClock(const LineEvent &event);
// One tab-separated line without its end: ms, wall clock, direction, order,
// content, hex. LineLogHeader gives the names of the columns.
std::string LineEventLine(const LineEvent &event);
const char *LineLogHeader();

// ---- Writers ---------------------------------------------------------------------
// Also writes the stream to a file, one line per event under LineLogHeader(),
// from the first event of the run on. False when the file cannot be created.
bool SetLineLogFile(const char *path);
// Writes the events that came since the last call to the log file (flushed)
// and, as debug messages, to the logging categories that are on: rvim.serial,
// rvim.link and rvim.status (QT_LOGGING_RULES="rvim.*.debug=true").
void WriteLineLog();
// Runs WriteLineLog from the event loop every 100 ms when there is a file or a
// category to write to; Stop writes the rest and closes the file.
void StartLineLogWriters();
void StopLineLogWriters();
