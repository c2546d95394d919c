// The line monitor's decoding of each order and each kind of event, against
// frames and events built by hand.
#include "link/linedecode.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Words = std::array<uint16_t, 16>;
using Bytes = std::vector<uint8_t>;

Bytes LineFrame(unsigned order, const Words &words, uint8_t header0 = 0x00,
                uint8_t header1 = 0x55) {
  Bytes frame = {header0, header1, static_cast<uint8_t>(order >> 8),
                 static_cast<uint8_t>(order & 0xFF)};
  for (const uint16_t w : words) {
    frame.push_back(static_cast<uint8_t>(w >> 8));
    frame.push_back(static_cast<uint8_t>(w & 0xFF));
  }
  return frame;
}

Bytes Text(const std::string &text) {
  return Bytes(text.begin(), text.end());
}

Bytes Joined(Bytes a, const Bytes &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// 32 words, one character each in the low byte.
Bytes Firmware(const std::string &text) {
  Bytes block;
  for (int i = 0; i < 32; ++i) {
    block.push_back(0);
    block.push_back(i < static_cast<int>(text.size()) ? static_cast<uint8_t>(text[i]) : 0);
  }
  return block;
}

Bytes DataBlock(int count) {
  Bytes block;
  for (int i = 0; i < count / 2; ++i) {
    block.push_back(static_cast<uint8_t>((3 * i) >> 8));
    block.push_back(static_cast<uint8_t>(3 * i));
  }
  return block;
}

struct DecodeCase {
  const char *name;
  int kind;
  Bytes bytes;
  int a, b, c;
  const char *order;
  const char *content;
};

const Words kDefaults = {0, 500, 2048, 512, 950, 20, 1, 100, 8, 1, 0, 0, 0, 0, 500, 0};
const Words kLiveValues = {1000, 900, 2048, 1024, 3000, 2500, 1010, 910,
                           990,  890, 512,  0,    1,    0,    64,   128};

const DecodeCase kCases[] = {
    {"full set request", kLineWrite, LineFrame(2, kDefaults), 36, 36, 0, "2 read RAM",
     "set=0 powerA=500 refA=2048 tolA=512 triglvlA=950 hysteresis=20 polarity=1 hold=100 "
     "average=8 hwmode=1 evalmode=0 trigmode=0 outmode=0 anamode=0 sdelay=500 maxmode=0"},
    {"channel-B set request", kLineWrite, LineFrame(4, {1, 11, 12, 13, 14}), 36, 36, 0,
     "4 read EEPROM", "set=1 powerB=11 refB=12 tolB=13 triglvlB=14 w5..w15=0"},
    {"data block request", kLineWrite, LineFrame(9, {64, 1}), 36, 36, 0, "9 data block 64/norm",
     "offset=64 selector=1 w2..w15=0"},
    {"store RAM, channel-B set", kLineWrite, LineFrame(1, {1, 2001, 2002, 2003, 2004}), 36, 36, 0,
     "1 store RAM", "set=1 powerB=2001 refB=2002 tolB=2003 triglvlB=2004 w5..w15=0"},
    {"refresh with the full set", kLineWrite, LineFrame(11, kDefaults), 36, 36, 0, "11 refresh",
     "set=0 powerA=500 refA=2048 tolA=512 triglvlA=950 hysteresis=20 polarity=1 hold=100 "
     "average=8 hwmode=1 evalmode=0 trigmode=0 outmode=0 anamode=0 sdelay=500 maxmode=0"},
    {"info block request", kLineWrite, LineFrame(20, {7, 3}), 36, 36, 0, "20 info block",
     "w0=7 w1=3 w2..w15=0"},
    {"data block of an unknown selector", kLineWrite, LineFrame(9, {192, 7}), 36, 36, 0,
     "9 data block 192/7", "offset=192 selector=7 w2..w15=0"},
    {"unknown order", kLineWrite,
     LineFrame(0x1234, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9}), 36, 36, 0,
     "4660 unknown order",
     "w0=0 w1=0 w2=0 w3=0 w4=0 w5=0 w6=0 w7=0 w8=0 w9=0 w10=0 "
     "w11=0 w12=0 w13=0 w14=0 w15=9"},
    {"firmware request with pp as it is", kLineWrite, LineFrame(7, {1, 2}), 36, 36, 0,
     "7 firmware info", "w0=1 w1=2 w2..w15=0"},
    {"short write", kLineWriteFailed, LineFrame(3, {1, 500, 2048, 512, 950}), 36, 10, 0,
     "3 store EEPROM",
     "NOT sent: 10 of 36 bytes written; set=1 powerB=500 refB=2048 tolB=512 triglvlB=950 "
     "w5..w15=0"},
    {"write to a closed port", kLineWriteFailed, LineFrame(10, {1}), 36, -3, 0, "10 reset",
     "NOT sent (error -3); w0=1 w1..w15=0"},
    {"live answer", kLineFrameIn, LineFrame(8, kLiveValues), 8, 0, 0, "8 live values",
     "valNORMA=1000 valNORMB=900 adcCHA=2048 adcCHB=1024 Amax=3000 Bmax=2500 MAXvalA=1010 "
     "MAXvalB=910 MINvalA=990 MINvalB=890 tolval=512 btnval=0 in0val=1 in1val=0 indexA=64 "
     "indexB=128"},
    {"channel-B answer by the set asked for", kLineFrameIn,
     LineFrame(2, {0, 2001, 2002, 2003, 2004}), 2, 1, 0, "2 read RAM",
     "set=0 powerB=2001 refB=2002 tolB=2003 triglvlB=2004 w5..w15=0"},
    {"echo answer with sync", kLineFrameIn, LineFrame(5, {0x00AA, 500}), 5, 0, 0, "5 echo check",
     "w0=0x00AA (sync, line ok) w1=500 w2..w15=0"},
    {"echo answer without sync, header FF FF", kLineFrameIn, LineFrame(5, {0xAA00}, 0xFF, 0xFF), 5,
     0, 0, "5 echo check", "header FF FF; w0=0xAA00 (not the sync value 0x00AA) w1..w15=0"},
    {"info block answer with sync", kLineFrameIn, LineFrame(20, {0x00AA}), 20, 7, 0,
     "20 info block", "w0=0x00AA (sync, line ok) w1..w15=0"},
    {"command answer", kLineFrameIn, LineFrame(6, {0, 0, 7}), 6, 0, 0, "6 teach",
     "w0=0 w1=0 w2=7 w3..w15=0"},
    {"firmware text", kLineBlockIn, Firmware("ZEL4\a2"), 7, 1, 500, "7 firmware info",
     "firmware \"ZEL4?2\""},
    {"data block", kLineBlockIn, DataBlock(128), 9, 128, 0, "9 data block 128/raw",
     "64 words: 0 3 6 9 12 15 18 21 24 27 30 33 36 39 42 45 48 51 54 57 60 63 66 69 72 75 78 "
     "81 84 87 90 93 96 99 102 105 108 111 114 117 120 123 126 129 132 135 138 141 144 147 150 "
     "153 156 159 162 165 168 171 174 177 180 183 186 189"},
    {"short data block", kLineBlockIn, DataBlock(100), 9, 0, 1, "9 data block 0/norm",
     "100 bytes, not the 128 of the answer"},
    {"time-out with part of the answer", kLineTimeout,
     Joined(LineFrame(2, {1, 500}), Bytes(12, 0xEE)), 1500, 1503, 36, "2 read RAM",
     "no answer within 1.5 s (waited 1503 ms); 12 of 36 bytes came"},
    {"time-out of a data block", kLineTimeout, LineFrame(9, {192, 0}), 1500, 1501, 36,
     "9 data block 192/raw", "no answer within 1.5 s (waited 1501 ms)"},
    {"noise",
     kLineNoise,
     {1, 2, 3, 4, 5},
     5,
     2,
     0,
     "",
     "5 bytes of noise passed over, awaiting 2 read RAM"},
    {"answer to another request", kLineOtherAnswer, LineFrame(8, kLiveValues), 36, 2, 0,
     "8 live values", "passed over: not the answer to 2 read RAM"},
    {"input flushed", kLineFlushIn, {1, 2, 3, 4}, 4, 0, 0, "", "input flushed: 4 bytes dropped"},
    {"output drained", kLineDrainOut, {}, 36, 19, 0, "", "waited 19 ms for 36 bytes to go out"},
    {"output drain cut short",
     kLineDrainOut,
     {},
     128,
     50,
     32,
     "",
     "waited 50 ms for 128 bytes to go out; 32 still queued"},
    {"quiet wait",
     kLineQuietWait,
     {},
     21,
     12,
     0,
     "",
     "waited 21 ms for a quiet line; 12 bytes came"},
    {"port opened", kLinePortOpened, Text("/dev/ttyUSB0"), 19200, 8, 1, "",
     "port 7 opened: /dev/ttyUSB0, 19200 baud 8N1"},
    {"port opened, even parity", kLinePortOpened, Text("/dev/ttyS0"), 9600, 7, 22, "",
     "port 7 opened: /dev/ttyS0, 9600 baud 7E2"},
    {"port closed", kLinePortClosed, {}, 0, 0, 0, "", "port 7 closed"},
    {"no permission", kLineOpenFailed, Text(std::string("/dev/ttyUSB0") + '\0'), -7, 1, 0, "",
     "port 7 not opened: /dev/ttyUSB0 - permission denied (add your user to the dialout group, "
     "then log in again)"},
    {"in use", kLineOpenFailed, Text(std::string("/dev/ttyUSB0") + '\0' + "minicom"), -7, 2, 4711,
     "", "port 7 not opened: /dev/ttyUSB0 - in use by another program (minicom, PID 4711)"},
    {"no device", kLineOpenFailed, Text(std::string("/dev/ttyUSB3") + '\0'), -7, 3, 0, "",
     "port 7 not opened: /dev/ttyUSB3 - no such device"},
    {"no such port number", kLineOpenFailed, Text(std::string(1, '\0')), -2, 0, 0, "",
     "port 7 not opened: error -2"},
    {"hang-up", kLineHangUp, {}, 0, 0, 0, "", "port 7: the line is gone (hang-up)"},
    {"unplugged", kLineUnplugged, {}, 0, 0, 0, "", "port 7: device removed"},
    {"replugged, line good", kLineReplugged, {}, 1, 0, 0, "", "port 7: device back, line good"},
    {"replugged, no echo", kLineReplugged, {}, 0, 0, 0, "", "port 7: device back, line not good"},
    {"status text", kLineStatus, Text("Timeout RS232-Line!"), 0, 0, 0, "", "Timeout RS232-Line!"},
};

LineEvent Recorded(const DecodeCase &c) {
  LineLogRecord(c.kind, 7, c.a, c.b, c.c, c.bytes.data(), static_cast<int>(c.bytes.size()));
  LineEvent event;
  EXPECT_TRUE(LineLogGet(LineLogEnd() - 1, &event));
  return event;
}

TEST(LineDecode, EachOrderAndKindReadsAsTheControllerMeansIt) {
  for (const DecodeCase &c : kCases) {
    LineEventText text;
    DescribeLinkEvent(Recorded(c), &text);
    EXPECT_EQ(text.order, c.order) << c.name;
    EXPECT_EQ(text.content, c.content) << c.name;
  }
}

// The filter by order reads the order without formatting anything.
TEST(LineDecode, OrderOfAnEventIsTheOrderItConcerns) {
  const struct {
    int kind;
    Bytes bytes;
    int a;
    int order;
  } cases[] = {
      {kLineWrite, LineFrame(2, kDefaults), 36, 2}, {kLineFrameIn, LineFrame(8, kLiveValues), 8, 8},
      {kLineBlockIn, DataBlock(128), 9, 9},         {kLineOtherAnswer, LineFrame(5, {}), 36, 5},
      {kLineTimeout, LineFrame(7, {}), 2000, 7},    {kLineNoise, {1, 2}, 2, -1},
      {kLineStatus, Text("Line Ok!"), 0, -1},       {kLineWrite, {1, 2, 3}, 3, -1},
  };
  for (const auto &c : cases) {
    LineLogRecord(c.kind, 1, c.a, 0, 36, c.bytes.data(), static_cast<int>(c.bytes.size()));
    LineEvent event;
    ASSERT_TRUE(LineLogGet(LineLogEnd() - 1, &event));
    EXPECT_EQ(LinkEventOrder(event), c.order) << LineEventKindName(c.kind);
  }
}

}  // namespace
