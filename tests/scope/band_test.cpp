// Live answer unpacking and the threshold band of the normalised display,
// with the hardware and evaluation modes taken from the panels' controls.
#include <cstdint>

#include "scope/history.h"
#include "tests/params/loaded_panels.h"

namespace {

class Band : public LoadedPanels {
 protected:
  void SetUp() override {
    LoadedPanels::SetUp();
    refA = 500;
    refB = 600;
    tolA = 10;
    tolB = 20;
    anamode = 0;
    Answer(700, 800, 55);
  }

  // A live answer as the receive callback leaves it in pp.
  static void Answer(uint16_t normA, uint16_t normB, uint16_t tol) {
    for (uint16_t &w : pp) w = 0;
    pp[0] = normA;
    pp[1] = normB;
    pp[6] = 901;  // MAXvalA
    pp[7] = 902;  // MAXvalB
    pp[8] = 301;  // MINvalA
    pp[9] = 302;  // MINvalB
    pp[10] = tol;
    UnpackLiveAnswer();
  }

  static void Modes(int hw, int eval) {
    SetCtrlVal(panelHandle, PANEL_HWMODE, hw);
    SetCtrlVal(panelPopUp, POPUP_DROP_EVALMODE, eval);
  }
};

TEST(LiveAnswer, WordsLandInTheirGlobalsAndTheIndexesAreClamped) {
  for (int i = 0; i < 16; ++i) pp[i] = static_cast<uint16_t>(1000 + i);
  pp[0] = 65535;
  pp[14] = 0;
  pp[15] = 300;
  UnpackLiveAnswer();
  EXPECT_EQ(valNORMA, 65535);  // unsigned word, signed global: no sign change
  EXPECT_EQ(valNORMB, 1001);
  const uint16_t words[] = {adcCHA,  adcCHB,  Amax,   Bmax,   MAXvalA, MAXvalB,
                            MINvalA, MINvalB, tolval, btnval, in0val,  in1val};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(words[i], 1002 + i) << "word " << i + 2;
  EXPECT_EQ(indexA, 1);
  EXPECT_EQ(indexB, 128);
  pp[14] = 1;
  pp[15] = 128;
  UnpackLiveAnswer();
  EXPECT_EQ(indexA, 1);
  EXPECT_EQ(indexB, 128);
  pp[14] = 129;
  pp[15] = 64;
  UnpackLiveAnswer();
  EXPECT_EQ(indexA, 128);
  EXPECT_EQ(indexB, 64);
}

TEST_F(Band, SeparateTolerancesFollowTheEvaluationMode) {
  for (int hw : {0, 2}) {
    Modes(hw, 0);
    EXPECT_EQ(ComputeNormBand(2), 0);
    EXPECT_EQ(upTHR, 510);
    EXPECT_EQ(loTHR, 490);
    EXPECT_EQ(valREF, 500);
    EXPECT_EQ(valNORM, 700);
    Modes(hw, 1);
    EXPECT_EQ(ComputeNormBand(3), 0);
    EXPECT_EQ(upTHR, 620);
    EXPECT_EQ(loTHR, 580);
    EXPECT_EQ(valREF, 600);
    EXPECT_EQ(valNORM, 800);
    Modes(hw, 2);
    ComputeNormBand(3);
    EXPECT_EQ(upTHR, 610);  // tolA on channel B
    Modes(hw, 3);
    ComputeNormBand(2);
    EXPECT_EQ(upTHR, 520);  // tolB on channel A
  }
}

TEST_F(Band, CommonToleranceComesFromTheAnswer) {
  for (int hw : {1, 3, 4}) {
    for (int eval : {0, 1, 2, 3}) {
      Modes(hw, eval);
      EXPECT_EQ(ComputeNormBand(2), 1) << hw << "/" << eval;
      EXPECT_EQ(upTHR, 555) << hw << "/" << eval;
      EXPECT_EQ(loTHR, 445) << hw << "/" << eval;
    }
  }
}

TEST_F(Band, EvaluationModeOutsideItsRangeUsesToleranceA) {
  for (int hw : {0, 1}) {
    for (int eval : {4, 7}) {
      Modes(hw, eval);
      EXPECT_EQ(ComputeNormBand(3), hw) << hw << "/" << eval;
      EXPECT_EQ(upTHR, 610) << hw << "/" << eval;
      EXPECT_EQ(loTHR, 590) << hw << "/" << eval;
    }
  }
}

TEST_F(Band, BandIsLimitedToOneThroughThousand) {
  Modes(0, 0);
  refA = 5;  // below the tolerance: the lower line would be negative
  ComputeNormBand(2);
  EXPECT_EQ(loTHR, 1);
  EXPECT_EQ(upTHR, 15);
  refA = 10;  // exactly zero is below the floor too
  ComputeNormBand(2);
  EXPECT_EQ(loTHR, 1);
  refA = 995;
  ComputeNormBand(2);
  EXPECT_EQ(upTHR, 1000);
  EXPECT_EQ(loTHR, 985);
  EXPECT_EQ(valREF, 995);
  refA = 65535;
  tolA = 65535;
  ComputeNormBand(2);
  EXPECT_EQ(upTHR, 1000);
  EXPECT_EQ(loTHR, 1);
  EXPECT_EQ(valREF, 65535);  // the reference itself is not limited
}

TEST_F(Band, OtherGraphSourcesKeepTheLastBandAndParkTheHold) {
  Modes(0, 0);
  anamode = 1;
  ComputeNormBand(2);
  ASSERT_EQ(holdHigh, 901);
  Answer(1, 2, 3);
  refA = 100;
  for (int source : {0, 1, 4, -1}) {
    ComputeNormBand(source);
    EXPECT_EQ(upTHR, 510);
    EXPECT_EQ(loTHR, 490);
    EXPECT_EQ(valREF, 500);
    EXPECT_EQ(valNORM, 700);
    EXPECT_EQ(holdHigh, 1005);
    EXPECT_EQ(holdLow, 1005);
  }
}

TEST_F(Band, HoldValuesFollowTheAnalogueMode) {
  Modes(0, 0);
  struct Case {
    uint16_t ana;
    int source;
    uint16_t high, low;
  };
  const Case cases[] = {
      {0, 2, 700, 700},   {0, 3, 1005, 1005}, {1, 2, 901, 901},       {1, 3, 902, 902},
      {2, 2, 301, 301},   {2, 3, 302, 302},   {3, 2, 901, 301},       {3, 3, 902, 302},
      {4, 2, 1005, 1005}, {4, 3, 1005, 1005}, {65535, 2, 1005, 1005},
  };
  for (const Case &c : cases) {
    anamode = c.ana;
    ComputeNormBand(c.source);
    EXPECT_EQ(holdHigh, c.high) << c.ana << "/" << c.source;
    EXPECT_EQ(holdLow, c.low) << c.ana << "/" << c.source;
  }
  // Channel B with the direct mode keeps its value as the trace, not as hold.
  anamode = 0;
  ComputeNormBand(3);
  EXPECT_EQ(valNORM, 800);
}

TEST_F(Band, NewestRecordCarriesTheBand) {
  Modes(1, 0);
  anamode = 3;
  FillarrayNORM(tolA, refA, 0);
  ComputeNormBand(2);
  Shift(arrayNORM, 600, -6, arrayNORM);
  SetNewestNORMRecord(arrayNORM);
  const double older[6] = {510, 490, 500, 0, 0, 0};
  const double newest[6] = {555, 445, 500, 901, 301, 700};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(arrayNORM[588 + i], older[i]) << i;
    EXPECT_EQ(arrayNORM[594 + i], newest[i]) << i;
  }
}

}  // namespace
