// Decoding of the line's events by order code, beside the codec that builds
// and takes the frames.
#include "link/linedecode.h"

#include <algorithm>
#include <cstdio>

#include "link/link.h"
#include "platform/serial/rs232.h"

namespace {

constexpr unsigned kSyncValue = 0x00AA;

const char *const kFullSetNames[PNUM] = {
    "set",     "powerA", "refA",     "tolA",     "triglvlA", "hysteresis", "polarity", "hold",
    "average", "hwmode", "evalmode", "trigmode", "outmode",  "anamode",    "sdelay",   "maxmode"};
const char *const kChannelBNames[PNUM] = {"set", "powerB", "refB", "tolB", "triglvlB"};
const char *const kLiveNames[PNUM] = {
    "valNORMA", "valNORMB", "adcCHA", "adcCHB", "Amax",   "Bmax",   "MAXvalA", "MAXvalB",
    "MINvalA",  "MINvalB",  "tolval", "btnval", "in0val", "in1val", "indexA",  "indexB"};
const char *const kBlockRequestNames[PNUM] = {"offset", "selector"};
const char *const kRawNames[PNUM] = {};

unsigned WordAt(const uint8_t *bytes, int index) {
  return static_cast<unsigned>(bytes[2 * index]) * 256u + bytes[2 * index + 1];
}

const char *OrderName(unsigned code) {
  switch (code) {
    case 1:
      return "store RAM";
    case 2:
      return "read RAM";
    case 3:
      return "store EEPROM";
    case 4:
      return "read EEPROM";
    case 5:
      return "echo check";
    case 6:
      return "teach";
    case 7:
      return "firmware info";
    case 8:
      return "live values";
    case 9:
      return "data block";
    case 10:
      return "reset";
    case 11:
      return "refresh";
    case 20:
      return "info block";
    default:
      return "unknown order";
  }
}

bool IsFrame(const LineEvent &e, int at) {
  return e.size >= at + kFrameBytes;
}

// The words `first` to 15 of a frame at `at` (words from byte at + 4), each
// named where `names` has a name; unnamed words of 0 at the end are summed up
// as "w5..w15=0".
std::string Words(const LineEvent &e, int at, const char *const names[PNUM], int first = 0) {
  const uint8_t *words = e.bytes + at + 4;
  int last = PNUM - 1;
  while (last >= first && names[last] == nullptr && WordAt(words, last) == 0) --last;
  std::string text;
  char item[48];
  for (int i = first; i <= last; ++i) {
    if (names[i] != nullptr) {
      std::snprintf(item, sizeof item, "%s=%u", names[i], WordAt(words, i));
    } else {
      std::snprintf(item, sizeof item, "w%d=%u", i, WordAt(words, i));
    }
    text += (text.empty() ? "" : " ") + std::string(item);
  }
  if (last < PNUM - 1) {
    if (last + 1 == PNUM - 1) {
      std::snprintf(item, sizeof item, "w%d=0", PNUM - 1);
    } else {
      std::snprintf(item, sizeof item, "w%d..w%d=0", last + 1, PNUM - 1);
    }
    text += (text.empty() ? "" : " ") + std::string(item);
  }
  return text;
}

// A parameter set by its selector word: 0 the full set, else channel B.
std::string SetWords(const LineEvent &e, int at, unsigned selector) {
  return Words(e, at, selector == 0 ? kFullSetNames : kChannelBNames);
}

std::string SyncWords(const LineEvent &e, int at) {
  const unsigned word0 = WordAt(e.bytes + at + 4, 0);
  char head[64];
  std::snprintf(head, sizeof head, "w0=0x%04X %s ", word0,
                word0 == kSyncValue ? "(sync, line ok)" : "(not the sync value 0x00AA)");
  return head + Words(e, at, kRawNames, 1);
}

std::string RequestContent(const LineEvent &e, unsigned code) {
  const unsigned word0 = WordAt(e.bytes + 4, 0);
  switch (code) {
    case 1:
    case 2:
    case 3:
    case 4:
      return SetWords(e, 0, word0);
    case 5:
    case 6:
    case 8:
    case 10:
    case 11:
      return word0 == 0 ? SetWords(e, 0, 0) : Words(e, 0, kRawNames);
    case 9:
      return Words(e, 0, kBlockRequestNames);
    default:
      return Words(e, 0, kRawNames);
  }
}

std::string AnswerContent(const LineEvent &e, unsigned code, unsigned requestSet) {
  switch (code) {
    case 2:
    case 4:
      return SetWords(e, 0, requestSet);
    case 5:
    case 20:
      return SyncWords(e, 0);
    case 8:
      return Words(e, 0, kLiveNames);
    default:
      return Words(e, 0, kRawNames);
  }
}

std::string HeaderNote(const LineEvent &e) {
  if (e.bytes[0] == 0x00 && e.bytes[1] == 0x55) return "";
  char note[32];
  std::snprintf(note, sizeof note, "header %02X %02X; ", e.bytes[0], e.bytes[1]);
  return note;
}

std::string Number(const char *format, long value) {
  char text[96];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

void DescribeWrite(const LineEvent &e, LineEventText *t) {
  std::string failure;
  if (e.kind == kLineWriteFailed) {
    failure = e.b < 0 ? Number("NOT sent (error %ld)", e.b)
                      : Number("NOT sent: %ld", e.b) + Number(" of %ld bytes written", e.a);
  }
  if (!IsFrame(e, 0) || e.bytes[0] != 0x00 || e.bytes[1] != 0x55) {
    t->content = failure.empty() ? Number("%ld bytes", e.a) : failure;
    return;
  }
  const unsigned code = WordAt(e.bytes, 1);
  t->order = OrderText(code, WordAt(e.bytes + 4, 0), WordAt(e.bytes + 4, 1));
  t->content = (failure.empty() ? "" : failure + "; ") + RequestContent(e, code);
}

void DescribeFrameIn(const LineEvent &e, LineEventText *t) {
  if (!IsFrame(e, 0)) {
    t->content = Number("%ld bytes", e.size);
    return;
  }
  const unsigned code = WordAt(e.bytes, 1);
  t->order = OrderText(code, 0, 0);
  t->content = HeaderNote(e) + AnswerContent(e, code, static_cast<unsigned>(e.b));
}

std::string FirmwareText(const LineEvent &e) {
  std::string text = "firmware \"";
  for (int i = 0; i + 1 < e.size; i += 2) {
    const unsigned char c = e.bytes[i + 1];
    if (c == 0) break;
    text += c < 0x20 || c >= 0x7F ? '?' : static_cast<char>(c);
  }
  return text + "\"";
}

std::string BlockWords(const LineEvent &e) {
  std::string text = Number("%ld words:", e.size / 2);
  for (int i = 0; i + 1 < e.size; i += 2) text += Number(" %ld", WordAt(e.bytes + i, 0));
  return text;
}

void DescribeBlockIn(const LineEvent &e, LineEventText *t) {
  t->order =
      OrderText(static_cast<unsigned>(e.a), static_cast<unsigned>(e.b), static_cast<unsigned>(e.c));
  const int expected = e.a == 7 ? kVersionBytes : kBlockBytes;
  if (e.size != expected) {
    t->content = Number("%ld bytes", e.size) + Number(", not the %ld of the answer", expected);
  } else {
    t->content = e.a == 7 ? FirmwareText(e) : BlockWords(e);
  }
}

int AnswerBytes(unsigned code) {
  return code == 7 ? kVersionBytes : code == 9 ? kBlockBytes : kFrameBytes;
}

void DescribeTimeout(const LineEvent &e, LineEventText *t) {
  unsigned code = 0;
  if (e.c >= 4) {
    code = WordAt(e.bytes, 1);
    t->order = OrderText(code, WordAt(e.bytes + 4, 0), WordAt(e.bytes + 4, 1));
  }
  char text[96];
  std::snprintf(text, sizeof text, "no answer within %.1f s (waited %d ms)", e.a / 1000.0, e.b);
  t->content = text;
  const int came = e.size - e.c;
  if (came > 0) {
    t->content += Number("; %ld", came) + Number(" of %ld bytes came", AnswerBytes(code));
  }
}

std::string OpenCauseWords(const LineEvent &e) {
  const char *cause = OpenCauseText(e.b);
  if (cause == nullptr) return Number("error %ld", e.a);
  std::string text = cause;
  const std::string device(reinterpret_cast<const char *>(e.bytes),
                           std::find(e.bytes, e.bytes + e.size, 0) - e.bytes);
  const int nameAt = static_cast<int>(device.size()) + 1;
  if (e.c > 0 && nameAt < e.size) {
    const std::string name(reinterpret_cast<const char *>(e.bytes + nameAt),
                           static_cast<std::size_t>(e.size - nameAt));
    text += " (" + name + Number(", PID %ld)", e.c);
  }
  return text;
}

std::string BytesAsText(const LineEvent &e) {
  std::string text;
  for (int i = 0; i < e.size && e.bytes[i] != 0; ++i) text += static_cast<char>(e.bytes[i]);
  return text;
}

void DescribePortEvent(const LineEvent &e, LineEventText *t) {
  const std::string port = Number("port %ld", e.port);
  switch (e.kind) {
    case kLinePortOpened:
      t->content = port + " opened: " + BytesAsText(e) + Number(", %ld baud ", e.a) +
                   Number("%ld", e.b) + "NOEMS"[(e.c / 10) % 5] + Number("%ld", e.c % 10);
      return;
    case kLinePortClosed:
      t->content = port + " closed";
      return;
    case kLineOpenFailed:
      t->content = port +
                   " not opened: " + (e.size > 0 && e.bytes[0] != 0 ? BytesAsText(e) + " - " : "") +
                   OpenCauseWords(e);
      return;
    case kLineHangUp:
      t->content = port + ": the line is gone (hang-up)";
      return;
    case kLineUnplugged:
      t->content = port + ": device removed";
      return;
    default:
      t->content = port + (e.a == 1 ? ": device back, line good" : ": device back, line not good");
      return;
  }
}

void DescribeLineEvents(const LineEvent &e, LineEventText *t) {
  switch (e.kind) {
    case kLineNoise:
      t->content = Number("%ld bytes of noise passed over", e.a) + ", awaiting " +
                   OrderText(static_cast<unsigned>(e.b), 0, 0);
      return;
    case kLineOtherAnswer:
      if (IsFrame(e, 0)) t->order = OrderText(WordAt(e.bytes, 1), 0, 0);
      t->content = "passed over: not the answer to " + OrderText(static_cast<unsigned>(e.b), 0, 0);
      return;
    case kLineFlushIn:
      t->content = Number("input flushed: %ld bytes dropped", e.a);
      return;
    case kLineDrainOut:
      t->content = Number("waited %ld ms", e.b) + Number(" for %ld bytes to go out", e.a) +
                   (e.c > 0 ? Number("; %ld still queued", e.c) : "");
      return;
    case kLineQuietWait:
      t->content = Number("waited %ld ms for a quiet line", e.a) + Number("; %ld bytes came", e.b);
      return;
    default:
      DescribePortEvent(e, t);
      return;
  }
}

}  // namespace

std::string OrderText(unsigned code, unsigned word0, unsigned word1) {
  std::string text = std::to_string(code) + " " + OrderName(code);
  if (code == 9) {
    const char *set = word1 == 0 ? "raw" : word1 == 1 ? "norm" : nullptr;
    text += " " + std::to_string(word0) + "/" + (set != nullptr ? set : std::to_string(word1));
  }
  return text;
}

void DescribeLinkEvent(const LineEvent &event, LineEventText *text) {
  switch (event.kind) {
    case kLineWrite:
    case kLineWriteFailed:
      DescribeWrite(event, text);
      return;
    case kLineFrameIn:
      DescribeFrameIn(event, text);
      return;
    case kLineBlockIn:
      DescribeBlockIn(event, text);
      return;
    case kLineTimeout:
      DescribeTimeout(event, text);
      return;
    case kLineStatus:
      text->content = BytesAsText(event);
      return;
    default:
      DescribeLineEvents(event, text);
      return;
  }
}

int LinkEventOrder(const LineEvent &event) {
  switch (event.kind) {
    case kLineWrite:
    case kLineWriteFailed:
    case kLineFrameIn:
    case kLineOtherAnswer:
      return IsFrame(event, 0) ? static_cast<int>(WordAt(event.bytes, 1)) : -1;
    case kLineTimeout:
      return event.c >= 4 ? static_cast<int>(WordAt(event.bytes, 1)) : -1;
    case kLineBlockIn:
      return event.a;
    default:
      return -1;
  }
}

LineEventReader LinkEventReader() {
  LineEventReader reader;
  reader.describe = DescribeLinkEvent;
  reader.orderOf = LinkEventOrder;
  reader.orderName = [](int code) {
    return std::to_string(code) + " " + OrderName(static_cast<unsigned>(code));
  };
  return reader;
}
