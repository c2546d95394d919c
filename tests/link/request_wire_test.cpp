// The one way a request goes out: order and words built into szWriteBuf and
// written whole to the port, the count kept where callers read it.
#include "tests/link/wire_fixture.h"

namespace {

using SendRequestWire = LinkWire;

struct RequestCase {
  int orderCode;
  uint16_t word0;
  uint16_t word15;
  std::vector<uint8_t> head;  // bytes 0 to 5
  std::vector<uint8_t> tail;  // bytes 34 and 35
};

const RequestCase kRequests[] = {
    {5, 0x0000, 0x0000, {0x00, 0x55, 0x00, 0x05, 0x00, 0x00}, {0x00, 0x00}},
    {8, 0x1234, 0xABCD, {0x00, 0x55, 0x00, 0x08, 0x12, 0x34}, {0xAB, 0xCD}},
    {0x1234, 0xFFFF, 0x00FF, {0x00, 0x55, 0x12, 0x34, 0xFF, 0xFF}, {0x00, 0xFF}},
};

TEST_F(SendRequestWire, WritesTheWholeFrameAndKeepsTheCount) {
  for (const RequestCase &c : kRequests) {
    SCOPED_TRACE(c.orderCode);
    Sim().clearRecord();
    uint16_t words[PNUM] = {};
    words[0] = c.word0;
    words[PNUM - 1] = c.word15;
    nBytesW = 0;
    EXPECT_EQ(SendRequest(com, c.orderCode, words), kFrameBytes);
    EXPECT_EQ(nBytesW, kFrameBytes);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return Sim().received().size() >= kFrameBytes; }));
    const std::vector<uint8_t> sent = Sim().received();
    ASSERT_EQ(sent.size(), static_cast<size_t>(kFrameBytes));
    EXPECT_EQ(std::vector<uint8_t>(sent.begin(), sent.begin() + 6), c.head);
    EXPECT_EQ(std::vector<uint8_t>(sent.end() - 2, sent.end()), c.tail);
    EXPECT_EQ(std::memcmp(sent.data(), szWriteBuf, kFrameBytes), 0);
    FlushInQ(com);  // the simulator's answer is not this case's subject
  }
}

// A failed write is reported as the port's negative result, never as 36.
TEST_F(SendRequestWire, ClosedPortReturnsTheErrorAndKeepsIt) {
  const int port = com;
  ASSERT_EQ(CloseCom(port), 0);
  uint16_t words[PNUM] = {};
  nBytesW = kFrameBytes;
  EXPECT_EQ(SendRequest(port, 8, words), kRS232PortNotOpen);
  EXPECT_EQ(nBytesW, kRS232PortNotOpen);
  EXPECT_EQ(static_cast<unsigned char>(szWriteBuf[3]), 8);  // built all the same
  ASSERT_EQ(OpenRS232(port), 0);                            // the fixture closes what it opened
}

}  // namespace
