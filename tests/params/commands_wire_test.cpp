// Teach, reset and refresh on the line.
#include <QTimer>

#include "tests/params/params_wire.h"

namespace {

using testsupport::RequestBytes;

using Commands = ParamsWire;

TEST_F(Commands, TeachWithAnAnsweringControllerShowsEveryStepAndReadsTheFullSetBack) {
  Sim().setParameterSet(1, 0, kStoredFull);
  Type(panelHandle, PANEL_REFA, 1111);
  Type(panelPopUp, POPUP_TRIGLVLA, 333);
  const uint16_t powerBBefore = powerB;
  GetPanelValues();
  const sim::Words16 panelWords = SetWords(0);
  StatusRecorder recorder;
  Click(PANEL_BUTTONTEACH);

  EXPECT_EQ(recorder.texts(),
            (std::vector<std::string>{
                "Teach new Reference-Value ...", "Line Ok!", "New setpoint value teached!",
                "Waiting for parameter-frame ...", "Parameter-frame received! - Line Ok!"}));
  const auto frames = Sim().requests();
  ASSERT_EQ(frames.size(), 2u);  // the channel-B set is not read back
  EXPECT_EQ(Bytes(frames[0]), RequestBytes(6, panelWords));
  EXPECT_EQ(panelWords[2], 1111);  // refA
  EXPECT_EQ(panelWords[4], 333);   // triglvlA
  EXPECT_EQ(OrderOf(frames[1]), 2);
  EXPECT_EQ(frames[1][5], 0);

  // Variables and panels hold what the controller has in RAM after the
  // teach, so the next Send keeps the taught reference.
  const sim::Words16 ram = Sim().parameterSet(1, 0);
  EXPECT_EQ(powerA, ram[1]);
  EXPECT_EQ(refA, ram[2]);
  EXPECT_EQ(maxmode, 1015);
  EXPECT_EQ(powerB, powerBBefore);
  EXPECT_EQ(Value(panelHandle, PANEL_REFA), ram[2]);
  EXPECT_EQ(Value(panelPopUp, POPUP_MAXMODE), 1015);
  Sim().clearRecord();
  Click(PANEL_BTNSEND);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Sim().requestCount() == 2; }));
  EXPECT_EQ(Sim().parameterSet(1, 0), ram);
}

TEST_F(Commands, CommandWhoseWriteFailsSaysSoAndWaitsForNothing) {
  CloseCom(com);
  StatusRecorder recorder;
  tstart = -1;  // every waiting loop starts the shared stopwatch
  Click(PANEL_BUTTONTEACH);
  EXPECT_EQ(tstart, -1);
  EXPECT_EQ(recorder.texts(), (std::vector<std::string>{"Teach new Reference-Value ...",
                                                        "Transmit ERROR - command NOT sent!"}));
}

struct SilentCase {
  const char *name;
  int control;
  int order;
};

class SilentController : public ParamsWire, public testing::WithParamInterface<SilentCase> {};

TEST_P(SilentController, CommandEndsWithTimeoutAndReadsNothingBack) {
  Sim().setFaults({.silent = true});
  Type(panelHandle, PANEL_TOLA, 444);
  GetPanelValues();
  const sim::Words16 panelWords = SetWords(0);
  refA = 1;  // the command takes the panels' values again
  StatusRecorder recorder;
  const double t0 = Timer();
  Click(GetParam().control);
  const double took = Timer() - t0;

  EXPECT_GT(took, 1.4);
  EXPECT_EQ(Status(), "Timeout RS-232!!");
  EXPECT_EQ(recorder.texts(), (std::vector<std::string>{"Line Ok!", "Timeout RS-232!!"}));
  const auto frames = Sim().requests();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(Bytes(frames[0]), RequestBytes(GetParam().order, panelWords));
  EXPECT_EQ(SetWords(0), panelWords);
  EXPECT_EQ(tolA, 444);
}

INSTANTIATE_TEST_SUITE_P(ResetAndRefresh, SilentController,
                         testing::Values(SilentCase{"Reset", PANEL_BUTTONRESET, 10},
                                         SilentCase{"Refresh", PANEL_BUTTONREFRESH, 11}),
                         [](const testing::TestParamInfo<SilentCase> &row) {
                           return std::string(row.param.name);
                         });

TEST_F(Commands, AnsweredCommandWhoseReadBackTimesOutEndsWithTimeout) {
  // The controller answers the refresh (sent here by hand) and then falls
  // silent: the read-back's wait decides the end.
  Sim().setFaults({.silent = true});
  const std::vector<uint8_t> answer = RequestBytes(11, sim::Words16{});
  Sim().setClockShift(0, nullptr);  // the answer comes at 0.2 s of real time
  QTimer::singleShot(200, [&] {
    Sim().sendRaw(answer);
    testsupport::SkipIdleWaits(Sim());
  });
  const uint16_t refBefore = refA;
  const double t0 = Timer();
  Click(PANEL_BUTTONREFRESH);
  const double took = Timer() - t0;
  EXPECT_GT(took, 1.6);
  EXPECT_EQ(Status(), "Timeout RS-232!!");
  const auto frames = Sim().requests();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(OrderOf(frames[1]), 2);
  EXPECT_EQ(refA, refBefore);
}

TEST_F(Commands, ResetShowsTheControllersRamAndTheNextSendKeepsIt) {
  Sim().setParameterSet(2, 0, kStoredFull);  // reset copies EEPROM into RAM
  Type(panelHandle, PANEL_REFA, 2222);
  Click(PANEL_BUTTONRESET);
  EXPECT_EQ(Status(), "Parameter-frame received! - Line Ok!");
  EXPECT_EQ(OrderOf(Sim().requests()[0]), 10);
  EXPECT_EQ(refA, 1002);
  EXPECT_EQ(Value(panelHandle, PANEL_REFA), 1002);

  Sim().clearRecord();
  Click(PANEL_BTNSEND);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Sim().requestCount() == 2; }));
  EXPECT_EQ(Sim().requests()[0][8] << 8 | Sim().requests()[0][9], 1002);
}

// The command's answer and the read-back's carry word 0 and a header of the
// controller's choosing: the read-back is taken all the same.
TEST_F(Commands, ReadBackTakesAnAnswerWithAnyWord0AndHeader) {
  Sim().setParameterSet(1, 0, kStoredFull);
  Sim().setFaults({.header = 0x9A3B, .answerWord0 = 0xFFFF});
  Click(PANEL_BUTTONREFRESH);
  EXPECT_EQ(Status(), "Parameter-frame received! - Line Ok!");
  EXPECT_EQ(Value(panelHandle, PANEL_REFA), 1002);
  EXPECT_EQ(Value(panelPopUp, POPUP_MAXMODE), 1015);
}

}  // namespace
