// The live-value request (order 8 with the full parameter set), shared by
// the scope's Run loop and the recorder, which poll the controller alike.
#include "link/link.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "scope/acquire.h"
#include "ui/RVIMZEL4V14.h"

namespace {
constexpr int kLiveOrder = 8;
}

// The request in flight goes out whole first; what came in is dropped after.
void FlushBothQueues() {
  FlushOutQ(com);
  FlushInQ(com);
}

void SendFirstLiveRequest() {
  SettleLine(kLiveOrder);
  CopyVarsToPP(0);
  FlushBothQueues();
  rx_flag = 0;
  order = kLiveOrder;
  FillTxBuf(kLiveOrder, pp);
  nBytesW = ComWrt(com, szWriteBuf, kFrameBytes);
  if (nBytesW == kFrameBytes) ShowStatus("Line Ok!");
}

void SendNextLiveRequest() {
  FlushBothQueues();
  CopyVarsToPP(0);
  FillTxBuf(kLiveOrder, pp);
  rx_flag = 0;
  tstart = Timer();
  nBytesW = ComWrt(com, szWriteBuf, kFrameBytes);
}
