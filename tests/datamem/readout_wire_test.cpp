// The readout sequence on the wire: the live refresh with the current words,
// four block requests with the selector of the graph source, time-outs of
// single blocks, sources without a data set, and the receive callback that
// stays off while blocks are read and works again right after.
#include <QTest>
#include <QTimer>

#include "app/callbacks.h"
#include "link/link.h"
#include "platform/serial/rs232.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "scope/history.h"
#include "tests/datamem/readout_fixture.h"
#include "ui/RVIMZEL4V14.h"

namespace {

using testsupport::PumpFor;
using testsupport::RequestBytes;
using Blocks = std::vector<std::pair<int, int>>;

TEST_F(DataReadout, RawSourceRefreshesWithCurrentWordsThenReadsFourRawBlocks) {
  SetGraphSource(0);
  for (int i = 0; i < PNUM; ++i) pp[i] = static_cast<uint16_t>(0x0300 + i);
  sim::Words16 current{};
  for (int i = 0; i < PNUM; ++i) current[static_cast<std::size_t>(i)] = pp[i];
  powerA = 4321;  // the variables are not copied into the request

  ClickDataReadout();

  const std::vector<sim::RequestFrame> requests = Sim().requests();
  ASSERT_EQ(requests.size(), 5u);
  const std::vector<uint8_t> live = RequestBytes(8, current);
  EXPECT_TRUE(std::equal(live.begin(), live.end(), requests[0].begin()));
  EXPECT_EQ(BlockRequests(), (Blocks{{0, 0}, {64, 0}, {128, 0}, {192, 0}}));
  for (std::size_t i = 1; i < requests.size(); ++i) {  // words 2..15 of a block request are 0
    EXPECT_TRUE(
        std::all_of(requests[i].begin() + 8, requests[i].end(), [](uint8_t b) { return b == 0; }));
  }
  const auto raw = Memory(0);
  EXPECT_EQ(Values(yArrayA, 128), Values(raw.data(), 128));
  EXPECT_EQ(Values(yArrayB, 128), Values(raw.data() + 128, 128));
  EXPECT_EQ(yArrayA[128], 0);
  EXPECT_EQ(order, 9);
  EXPECT_EQ(Status(), "Data[64] block received!");
  EXPECT_EQ(Value(panelHandle, PANEL_VALA), kMinValA);  // minimum, not the normalised value
  EXPECT_EQ(Value(panelHandle, PANEL_VALB), kMinValB);
}

TEST_F(DataReadout, NormalisedSourcesReadTheNormalisedSet) {
  for (int source : {1, 2, 3}) {
    SCOPED_TRACE(source);
    SetGraphSource(source);
    Sim().clearRecord();
    ClickDataReadout();
    EXPECT_EQ(Sim().requestCount(), 5u);
    EXPECT_EQ(BlockRequests(), (Blocks{{0, 1}, {64, 1}, {128, 1}, {192, 1}}));
    const auto norm = Memory(1);
    EXPECT_EQ(Values(yArrayA, 128), Values(norm.data(), 128));
    EXPECT_EQ(Values(yArrayB, 128), Values(norm.data() + 128, 128));
  }
}

TEST_F(DataReadout, ShowsTheGraphInPlaceOfTheChartsAndFreesTheControllerGroup) {
  SetCtrlAttribute(panelHandle, PANEL_RAWCHART, ATTR_VISIBLE, 1);
  SetCtrlAttribute(panelHandle, PANEL_NORMCHART, ATTR_VISIBLE, 1);
  SetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_VISIBLE, 0);
  SetCtrlAttribute(panelHandle, PANEL_ACQCTRL2, ATTR_DIMMED, 1);
  SetGraphSource(2);
  ClickDataReadout();
  int visible = -1;
  GetCtrlAttribute(panelHandle, PANEL_RAWCHART, ATTR_VISIBLE, &visible);
  EXPECT_EQ(visible, 0);
  GetCtrlAttribute(panelHandle, PANEL_NORMCHART, ATTR_VISIBLE, &visible);
  EXPECT_EQ(visible, 0);
  GetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_VISIBLE, &visible);
  EXPECT_EQ(visible, 1);
  int dimmed = -1;
  GetCtrlAttribute(panelHandle, PANEL_ACQCTRL2, ATTR_DIMMED, &dimmed);
  EXPECT_EQ(dimmed, 0);
}

TEST_F(DataReadout, BlockThatTimesOutWipesChannelAAndLaterBlocksFillChannelB) {
  SetGraphSource(1);
  Sim().setFaults({.dropOrder9Offset = 64});
  const double t0 = Timer();
  ClickDataReadout();
  EXPECT_GT(Timer() - t0, 1.5);  // one block wait ran out
  EXPECT_EQ(BlockRequests(), (Blocks{{0, 1}, {64, 1}, {128, 1}, {192, 1}}));
  EXPECT_EQ(Values(yArrayA, 128), Constant(0));
  const auto norm = Memory(1);
  EXPECT_EQ(Values(yArrayB, 128), Values(norm.data() + 128, 128));
  EXPECT_EQ(Status(), "Data[64] block received!");  // the last block's text
  const std::vector<GraphPlotInfo> plots = Plots();
  ASSERT_EQ(plots.size(), 5u);
  EXPECT_EQ(plots[2].y, Constant(0));
  EXPECT_EQ(plots[3].y, Values(norm.data() + 128, 128));
}

TEST_F(DataReadout, LastBlockTimingOutLeavesBothChannelsEmpty) {
  SetGraphSource(0);
  Sim().setFaults({.dropOrder9Offset = 192});
  ClickDataReadout();
  EXPECT_EQ(Values(yArrayA, 128), Constant(0));
  EXPECT_EQ(Values(yArrayB, 128), Constant(0));
  EXPECT_EQ(Status(), "Timeout-RS-232 while reading 64 data-words!");
}

// The ring has no item beyond 0..3; the test gives it one, as a panel with
// more sources would have.
TEST_F(DataReadout, SourceWithoutDataSetReadsNoBlockAndClearsTheGraph) {
  SetGraphSource(0);
  ClickDataReadout();
  ASSERT_EQ(Plots().size(), 2u);
  SetAxisScalingMode(panelHandle, PANEL_DATAGRAPH, VAL_XAXIS, VAL_MANUAL, 0.0, 50.0);
  SetCtrlVal(panelHandle, PANEL_VALA, 0);
  ASSERT_EQ(InsertListItem(panelHandle, PANEL_RNGGRAPHSOURCE, -1, "Spare", 4), 0);
  SetGraphSource(4);
  SetLiveIndex(0, 0);
  Sim().clearRecord();
  yArrayA[3] = 77;

  ClickDataReadout();

  EXPECT_EQ(Sim().requestCount(), 1u);  // the live refresh only
  EXPECT_TRUE(BlockRequests().empty());
  EXPECT_EQ(yArrayA[3], 77);
  EXPECT_TRUE(Plots().empty());
  double min = 0, max = 0;
  ASSERT_TRUE(GraphAxisRange(panelHandle, PANEL_DATAGRAPH, VAL_XAXIS, &min, &max));
  EXPECT_EQ(min, 1.0);
  EXPECT_EQ(max, 128.0);
  EXPECT_EQ(Value(panelHandle, PANEL_VALA), kMinValA);
  EXPECT_EQ(Value(panelHandle, PANEL_VALB), kMinValB);
}

// The refresh's request words are no live values; and nothing that starts a
// transaction can be pressed while the readout waits.
TEST_F(DataReadout, UnansweredRefreshKeepsTheLiveValuesAndTransactionsStayDimmed) {
  SetGraphSource(3);
  for (int i = 0; i < PNUM; ++i) pp[i] = static_cast<uint16_t>(0x0300 + i);
  SetCtrlVal(panelHandle, PANEL_ADCA, 4242);
  FillarrayRAW(5, 6);
  const std::vector<double> rawBefore(arrayRAW, arrayRAW + kRawPoints);
  Sim().setFaults({.silent = true});
  Sim().setClockShift(0, nullptr);  // the look comes at 0.3 s of real time, inside the wait
  int dimmedDuring = -1;
  QTimer::singleShot(300, [&] {
    int one = 0, two = 0;
    GetCtrlAttribute(panelHandle, PANEL_ACQCTRL1, ATTR_DIMMED, &one);
    GetCtrlAttribute(panelHandle, PANEL_ACQCTRL2, ATTR_DIMMED, &two);
    dimmedDuring = one && two;
    Sim().setFaults({});  // the blocks are answered
  });
  ClickDataReadout();
  EXPECT_EQ(dimmedDuring, 1);
  EXPECT_EQ(Value(panelHandle, PANEL_ADCA), 4242);
  EXPECT_EQ(std::vector<double>(arrayRAW, arrayRAW + kRawPoints), rawBefore);
  EXPECT_EQ(Values(yArrayB, 128), Values(Memory(1).data() + 128, 128));
  int dimmed = -1;
  GetCtrlAttribute(panelHandle, PANEL_ACQCTRL1, ATTR_DIMMED, &dimmed);
  EXPECT_EQ(dimmed, 0);
}

TEST_F(DataReadout, SilentControllerStillEndsWithARedrawnGraph) {
  SetGraphSource(3);
  Sim().setFaults({.silent = true});
  const double t0 = Timer();
  ClickDataReadout();
  const double took = Timer() - t0;
  EXPECT_GT(took, 1.5 * 5);  // refresh wait and four block waits
  EXPECT_EQ(Sim().requestCount(), 5u);
  EXPECT_EQ(Status(), "Timeout-RS-232 while reading 64 data-words!");
  ASSERT_EQ(Plots().size(), 4u);
  EXPECT_EQ(Plots()[2].y, Constant(0));
}

// A frame that turns up while the blocks are read belongs to nobody: it must
// not be decoded as an answer, then or later.
TEST_F(DataReadout, StrayFrameDuringTheBlocksIsNeverTakenByTheReceiveCallback) {
  SetGraphSource(2);
  sim::Words16 stray{};
  stray.fill(0x1234);
  // The offset-64 request is the third of the readout; the stray frame comes
  // as it arrives, inside that block's wait.
  Sim().setFaults(
      {.dropOrder9Offset = 64, .strayAtRequest = 3, .strayBytes = RequestBytes(8, stray)});
  ClickDataReadout();
  ASSERT_GE(Sim().requestCount(), 3u);
  const uint16_t liveMinA = pp[8];
  EXPECT_EQ(liveMinA, kMinValA);  // pp still holds the live answer
  EXPECT_EQ(rx_flag, 0);
  EXPECT_EQ(order, 9);
  PumpFor(0.3);
  EXPECT_EQ(rx_flag, 0);
  EXPECT_EQ(pp[8], kMinValA);
  EXPECT_EQ(GetInQLen(com), 0);
}

// Run returns only when its loop has ended: Stop is scheduled before the click,
// for when the controller has answered that many requests. A run whose loop
// waited for a lost answer ends by its time-out with one answer.
void RunUntilAnswered(const sim::Simulator &controller, std::size_t answers) {
  QTimer stopper;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (controller.answerCount() < answers) return;
    stopper.stop();
    QTest::mouseClick(ControlWidget(panelHandle, PANEL_BTNSTOP), Qt::LeftButton);
  });
  stopper.start(1);
  QTest::mouseClick(ControlWidget(panelHandle, PANEL_BTNRUN), Qt::LeftButton);
}

TEST_F(DataReadout, LiveRunWorksAtOnceAfterAReadoutWithAStrayFrame) {
  SetGraphSource(1);
  // The stray frame comes inside the last block's wait (the fifth request).
  Sim().setFaults({.dropOrder9Offset = 192,
                   .strayAtRequest = 5,
                   .strayBytes = RequestBytes(8, sim::Words16{})});
  ClickDataReadout();
  Sim().setFaults({});
  Sim().clearRecord();
  SetLiveIndex(17, 18);

  RunUntilAnswered(Sim(), 5);

  // A run that started at once has made many requests, one that waited for
  // a lost answer only the first.
  EXPECT_GE(Sim().answerCount(), 5u);
  EXPECT_NE(Status(), "Timeout RS232-Line!");
  EXPECT_EQ(indexA, 17);  // the run plotted the new answers
  int visible = -1;
  GetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_VISIBLE, &visible);
  EXPECT_EQ(visible, 0);
}

}  // namespace
