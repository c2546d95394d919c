// The data readout: a live refresh, then the four blocks of one data set
// read with the receive callback off, then the curves.
#include "datamem/datamem.h"
#include "link/link.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "scope/history.h"
#include "scope/plots.h"
#include "ui/RVIMZEL4V14.h"

namespace {

constexpr int kLiveOrder = 8;
constexpr int kBlockOrder = 9;
constexpr int kBlockOffsets[] = {0, 64, 128, 192};
constexpr int kRawSelector = 0;
constexpr int kNormSelector = 1;
constexpr int32_t kUpperLimit = 1000;
constexpr int32_t kLowerLimit = 1;

bool IsDataSource(int source) {
  return source >= 0 && source <= 3;
}

// One live answer, so that the index and minimum values are current. Without
// an answer pp still holds the request: the live values stay as they were.
void RefreshLiveValues() {
  SettleLine(kLiveOrder);
  FlushInQ(com);
  FlushOutQ(com);
  rx_flag = 0;
  order = kLiveOrder;
  FillTxBuf(kLiveOrder, pp);
  nBytesW = ComWrt(com, szWriteBuf, kFrameBytes);
  if (WaitRxFull() == 1) PlotRAWValues();
}

// Every block is asked for, even after a time-out: a later block still
// brings its part of the data set.
void ReadDataSet(int source) {
  const int selector = source == 0 ? kRawSelector : kNormSelector;
  for (int offset : kBlockOffsets) {
    if (WaitsEnded() != 0) return;  // the main window closed
    order = kBlockOrder;
    ReadData64(offset, selector, kBlockOrder);
  }
}

void UseChannel(uint16_t ref, uint16_t tol) {
  upTHR = static_cast<int32_t>(ref) + tol;
  loTHR = static_cast<int32_t>(ref) - tol;
  valREF = ref;
  SetCtrlVal(panelHandle, PANEL_VALA, MINvalA);
  SetCtrlVal(panelHandle, PANEL_VALB, MINvalB);
}

// Source 1 shows both channels: the evaluation mode says whose band it is;
// any other mode keeps the band of the last readout or live plot.
void TakeThresholds(int source) {
  if (source == 1) {
    if (evalmode == 7) UseChannel(refB, tolB);
    if (evalmode == 6) UseChannel(refA, tolA);
  } else if (source == 2) {
    UseChannel(refA, tolA);
  } else if (source == 3) {
    UseChannel(refB, tolB);
  }
  if (upTHR > kUpperLimit) upTHR = kUpperLimit;
  if (loTHR < kLowerLimit) loTHR = kLowerLimit;
}

void FillThresholdArrays() {
  for (int i = 0; i < kDataPoints; ++i) {
    upArray[i] = static_cast<uint16_t>(upTHR);
    loArray[i] = static_cast<uint16_t>(loTHR);
    refArray[i] = valREF;
  }
}

}  // namespace

int CC_BTNData(int, int, int event, void *, int, int) {
  if (event != EVENT_COMMIT) return 0;
  SetCtrlAttribute(panelHandle, PANEL_RAWCHART, ATTR_VISIBLE, 0);
  SetCtrlAttribute(panelHandle, PANEL_NORMCHART, ATTR_VISIBLE, 0);
  SetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_VISIBLE, 1);
  // The refresh processes events: no second transaction may start inside it.
  SetCtrlAttribute(panelHandle, PANEL_ACQCTRL1, ATTR_DIMMED, 1);
  SetCtrlAttribute(panelHandle, PANEL_ACQCTRL2, ATTR_DIMMED, 1);
  RefreshLiveValues();

  // The blocks are read by polling the input queue; the frame handler must
  // not take their bytes.
  ReceiveCallbackOff();
  FlushInQ(com);
  FlushOutQ(com);
  int source = -1;
  GetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, &source);
  if (IsDataSource(source)) ReadDataSet(source);
  TakeThresholds(source);
  ReceiveCallbackOn();

  FillThresholdArrays();
  PlotDATACurve(yArrayA, yArrayB, upArray, loArray, refArray);
  SetCtrlAttribute(panelHandle, PANEL_ACQCTRL1, ATTR_DIMMED, 0);
  SetCtrlAttribute(panelHandle, PANEL_ACQCTRL2, ATTR_DIMMED, 0);
  FlushOutQ(com);
  FlushInQ(com);
  return 0;
}
