// The ring of line events and the plain columns of an event.
#include "platform/util/linelog.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/util/utility.h"

namespace {

struct Ring {
  LineEvent events[kLineLogCapacity];
  uint64_t begin = 0;
  uint64_t end = 0;
  double openedAt = -1;  // time of the last port opening, -1 before the first event
};

// Allocated with the program, so that recording never allocates.
Ring gRing;
LineEventReader gReader;

int64_t WallMsNow() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

int CopyBytes(uint8_t *to, int room, const void *from, int size) {
  if (from == nullptr || size <= 0 || room <= 0) return 0;
  const int n = size < room ? size : room;
  std::memcpy(to, from, static_cast<std::size_t>(n));
  return n;
}

struct KindInfo {
  const char *name;
  const char *direction;
  bool frame, line, problem;
  bool text = false;  // the bytes are a text (a device path, a status), not line bytes
};

constexpr KindInfo kKinds[kLineKindCount] = {
    {"write", "out", true, false, false},
    {"write failed", "out", true, false, true},
    {"frame", "in", true, false, false},
    {"block", "in", true, false, false},
    {"time-out", "line", false, true, true},
    {"noise", "in", false, true, true},
    {"other answer", "in", false, true, true},
    {"input flushed", "line", false, true, false},
    {"output drained", "line", false, true, false},
    {"quiet wait", "line", false, true, false},
    {"port opened", "line", false, true, false, true},
    {"port closed", "line", false, true, false},
    {"open failed", "line", false, true, true, true},
    {"hang-up", "line", false, true, true},
    {"unplugged", "line", false, true, true},
    {"replugged", "line", false, true, false},
    {"status", "status", false, false, false, true},
};

bool KnownKind(int kind) {
  return kind >= 0 && kind < kLineKindCount;
}

}  // namespace

void LineLogRecord(int kind, int port, int a, int b, int c, const void *bytes, int size,
                   const void *more, int moreSize) {
  LineEvent &e = gRing.events[gRing.end % kLineLogCapacity];
  e.seq = gRing.end;
  e.time = Timer();
  if (gRing.openedAt < 0 || kind == kLinePortOpened) gRing.openedAt = e.time;
  e.sinceOpen = e.time - gRing.openedAt;
  e.wallMs = WallMsNow();
  e.port = port;
  e.a = a;
  e.b = b;
  e.c = c;
  e.kind = static_cast<uint8_t>(kind);
  int held = CopyBytes(e.bytes, kLineEventBytes, bytes, size);
  held += CopyBytes(e.bytes + held, kLineEventBytes - held, more, moreSize);
  e.size = static_cast<uint16_t>(held);
  ++gRing.end;
  if (gRing.end - gRing.begin > static_cast<uint64_t>(kLineLogCapacity)) ++gRing.begin;
}

uint64_t LineLogBegin() {
  return gRing.begin;
}

uint64_t LineLogEnd() {
  return gRing.end;
}

bool LineLogGet(uint64_t seq, LineEvent *event) {
  if (seq < gRing.begin || seq >= gRing.end) return false;
  *event = gRing.events[seq % kLineLogCapacity];
  return true;
}

void LineLogClearForTest() {
  gRing.begin = gRing.end;
  gRing.openedAt = -1;
}

void SetLineEventReader(const LineEventReader &reader) {
  gReader = reader;
}

LineEventText DescribeLineEvent(const LineEvent &event) {
  LineEventText text;
  if (gReader.describe != nullptr) {
    gReader.describe(event, &text);
  } else if (event.kind == kLineStatus) {
    text.content.assign(reinterpret_cast<const char *>(event.bytes), event.size);
  } else {
    text.content = LineEventKindName(event.kind);
  }
  return text;
}

int LineEventOrder(const LineEvent &event) {
  return gReader.orderOf != nullptr ? gReader.orderOf(event) : -1;
}

std::string LineOrderName(int order) {
  return gReader.orderName != nullptr ? gReader.orderName(order) : std::to_string(order);
}

const char *LineEventDirection(int kind) {
  return KnownKind(kind) ? kKinds[kind].direction : "";
}

const char *LineEventKindName(int kind) {
  return KnownKind(kind) ? kKinds[kind].name : "";
}

bool LineEventInGroup(int kind, int group) {
  if (!KnownKind(kind)) return false;
  switch (group) {
    case kGroupFrames:
      return kKinds[kind].frame;
    case kGroupLine:
      return kKinds[kind].line;
    case kGroupProblems:
      return kKinds[kind].problem;
    case kGroupStatus:
      return kind == kLineStatus;
    default:
      return false;
  }
}

const char *LineEventGroupName(int group) {
  static const char *const kNames[kGroupCount] = {"Frames", "Line events", "Problems",
                                                  "Status texts"};
  return group >= 0 && group < kGroupCount ? kNames[group] : "";
}

std::string LineEventHex(const LineEvent &event) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  if (!KnownKind(event.kind) || kKinds[event.kind].text) return hex;
  hex.reserve(static_cast<std::size_t>(event.size) * 3);
  for (int i = 0; i < event.size; ++i) {
    if (i > 0) hex += ' ';
    hex += kDigits[event.bytes[i] >> 4];
    hex += kDigits[event.bytes[i] & 0x0F];
  }
  return hex;
}

std::string LineEventMs(const LineEvent &event) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", event.sinceOpen * 1000.0);
  return text;
}

std::string LineEventWallClock(const LineEvent &event) {
  const std::time_t seconds = static_cast<std::time_t>(event.wallMs / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[48];
  const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  std::snprintf(text + n, sizeof text - n, ".%03d", static_cast<int>(event.wallMs % 1000));
  return text;
}

namespace {

// A column never breaks the line or its columns, whatever a text held.
std::string Column(std::string text) {
  for (char &c : text) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

}  // namespace

std::string LineEventLine(const LineEvent &event) {
  const LineEventText text = DescribeLineEvent(event);
  return LineEventMs(event) + '\t' + LineEventWallClock(event) + '\t' +
         LineEventDirection(event.kind) + '\t' + Column(text.order) + '\t' + Column(text.content) +
         '\t' + LineEventHex(event);
}

const char *LineLogHeader() {
  return "ms\ttime\tdirection\torder\tcontent\thex";
}
