// The parameter set and its two layouts in the word array.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "link/link.h"
#include "tests/link/all_defaults.h"

namespace {

std::array<uint16_t, PNUM> PPWords() {
  std::array<uint16_t, PNUM> words{};
  for (int i = 0; i < PNUM; ++i) words[i] = pp[i];
  return words;
}

void FillPP(uint16_t value) {
  for (uint16_t &word : pp) word = value;
}

TEST(ParameterSet, DefaultsGiveBothLayouts) {
  AllDefaults();
  CopyVarsToPP(0);
  EXPECT_EQ(PPWords(), (std::array<uint16_t, PNUM>{0, 500, 2048, 512, 950, 20, 1, 100, 8, 1, 0, 0,
                                                   0, 0, 500, 0}));
  FillPP(0xFFFF);
  CopyVarsToPP(1);
  EXPECT_EQ(PPWords(), (std::array<uint16_t, PNUM>{1, 500, 2048, 512, 950}));
  EXPECT_EQ(ref10Bit, 2048);
  EXPECT_EQ(tol10Bit, 512);
  EXPECT_EQ(target, RAM);
  EXPECT_EQ(order, 1);
}

TEST(ParameterSet, AnyOtherSelectorIsTheChannelBSetWithThatWord0) {
  AllDefaults();
  FillPP(0xFFFF);
  CopyVarsToPP(7);
  EXPECT_EQ(PPWords(), (std::array<uint16_t, PNUM>{7, 500, 2048, 512, 950}));
}

TEST(ParameterSet, FullSetMovesFifteenVariablesInOrderAndIgnoresWord0) {
  for (int i = 0; i < PNUM; ++i) pp[i] = static_cast<uint16_t>(1000 + i);
  pp[0] = 0x00AA;
  powerB = refB = tolB = triglvlB = 7;
  CopyPPtoVars(0);
  const uint16_t got[] = {powerA,   refA,    tolA,    triglvlA, hysteresis,
                          polarity, hold,    average, hwmode,   evalmode,
                          trigmode, outmode, anamode, sdelay,   maxmode};
  for (int i = 0; i < 15; ++i) EXPECT_EQ(got[i], 1001 + i) << "word " << i + 1;
  EXPECT_EQ(powerB, 7);
  EXPECT_EQ(triglvlB, 7);

  const uint16_t before = powerA;
  pp[0] = 0x1234;  // another word 0 gives the same variables
  CopyPPtoVars(0);
  EXPECT_EQ(powerA, before);

  CopyVarsToPP(0);
  EXPECT_EQ(pp[0], 0);
  EXPECT_EQ(pp[15], 1015);
}

TEST(ParameterSet, ChannelBAnswerChangesOnlyTheFourChannelBVariables) {
  AllDefaults();
  for (int i = 0; i < PNUM; ++i) pp[i] = static_cast<uint16_t>(60000 + i);
  CopyPPtoVars(1);
  EXPECT_EQ(powerB, 60001);
  EXPECT_EQ(refB, 60002);
  EXPECT_EQ(tolB, 60003);
  EXPECT_EQ(triglvlB, 60004);
  EXPECT_EQ(powerA, 500);
  EXPECT_EQ(hysteresis, 20);
  EXPECT_EQ(sdelay, 500);
  EXPECT_EQ(maxmode, 0);
}

}  // namespace
