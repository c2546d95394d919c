// Shift and Copy1D: results, zero fill and in-place moves in both directions.
#include <gtest/gtest.h>

#include <vector>

#include "scope/history.h"

namespace {

std::vector<double> Ramp(int n) {
  std::vector<double> v(n);
  for (int i = 0; i < n; ++i) v[i] = i + 1;  // 1..n, so a zero is always a filled place
  return v;
}

TEST(Copy1D, CopiesAscendingAndRefusesAnEmptyCount) {
  std::vector<double> x = Ramp(5), y(5, -1.0);
  EXPECT_EQ(Copy1D(x.data(), 5, y.data()), 0);
  EXPECT_EQ(y, x);
  std::vector<double> untouched(5, -1.0);
  EXPECT_EQ(Copy1D(x.data(), 0, untouched.data()), -20003);
  EXPECT_EQ(Copy1D(x.data(), -3, untouched.data()), -20003);
  EXPECT_EQ(untouched, std::vector<double>(5, -1.0));
}

TEST(Shift, TowardIndexZeroDropsTheFirstAndZerosTheEnd) {
  std::vector<double> x = Ramp(6), y(6, -1.0);
  EXPECT_EQ(Shift(x.data(), 6, -2, y.data()), 0);
  EXPECT_EQ(y, (std::vector<double>{3, 4, 5, 6, 0, 0}));
  EXPECT_EQ(x, Ramp(6));
}

TEST(Shift, TowardTheEndZerosTheStart) {
  std::vector<double> x = Ramp(6), y(6, -1.0);
  EXPECT_EQ(Shift(x.data(), 6, 2, y.data()), 0);
  EXPECT_EQ(y, (std::vector<double>{0, 0, 1, 2, 3, 4}));
}

TEST(Shift, InPlaceInBothDirections) {
  std::vector<double> v = Ramp(8);
  EXPECT_EQ(Shift(v.data(), 8, -3, v.data()), 0);
  EXPECT_EQ(v, (std::vector<double>{4, 5, 6, 7, 8, 0, 0, 0}));
  v = Ramp(8);
  EXPECT_EQ(Shift(v.data(), 8, 3, v.data()), 0);
  EXPECT_EQ(v, (std::vector<double>{0, 0, 0, 1, 2, 3, 4, 5}));
  v = Ramp(8);
  EXPECT_EQ(Shift(v.data(), 8, 7, v.data()), 0);
  EXPECT_EQ(v, (std::vector<double>{0, 0, 0, 0, 0, 0, 0, 1}));
}

TEST(Shift, ZeroIsACopy) {
  std::vector<double> x = Ramp(4), y(4, -1.0);
  EXPECT_EQ(Shift(x.data(), 4, 0, y.data()), 0);
  EXPECT_EQ(y, x);
}

TEST(Shift, ErrorsWriteNothing) {
  std::vector<double> x = Ramp(4);
  const std::vector<double> fresh(4, -1.0);
  std::vector<double> y = fresh;
  EXPECT_EQ(Shift(x.data(), 0, -1, y.data()), -20003);
  EXPECT_EQ(Shift(x.data(), -1, 0, y.data()), -20003);
  EXPECT_EQ(Shift(x.data(), 4, 4, y.data()), -20102);
  EXPECT_EQ(Shift(x.data(), 4, -4, y.data()), -20102);
  EXPECT_EQ(Shift(x.data(), 4, -2147483647 - 1, y.data()), -20102);
  EXPECT_EQ(y, fresh);
}

TEST(Histories, ScopeShiftsMoveWholeRecords) {
  FillarrayRAW(0, 0);
  arrayRAW[0] = 11;  // oldest record
  arrayRAW[1] = 12;
  arrayRAW[2] = 21;
  arrayRAW[3] = 22;
  Shift(arrayRAW, 200, -2, arrayRAW);
  SetNewestRAWRecord(7, 8);
  EXPECT_EQ(arrayRAW[0], 21);
  EXPECT_EQ(arrayRAW[1], 22);
  EXPECT_EQ(arrayRAW[196], 0);
  EXPECT_EQ(arrayRAW[198], 7);
  EXPECT_EQ(arrayRAW[199], 8);

  FillarrayNORM(10, 100, 5);
  upTHR = 1000;
  loTHR = 1;
  valREF = 500;
  holdHigh = 1005;
  holdLow = 1004;
  valNORM = 321;
  Shift(arrayNORM, 600, -6, arrayNORM);
  SetNewestNORMRecord(arrayNORM);
  EXPECT_EQ(arrayNORM[0], 110);
  EXPECT_EQ(arrayNORM[588], 110);
  const double newest[6] = {1000, 1, 500, 1005, 1004, 321};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(arrayNORM[594 + i], newest[i]) << i;
}

TEST(Histories, FillsSetEveryRecordWithoutClamping) {
  FillarrayRAW(-3, 70000);
  for (int r = 0; r < 100; ++r) {
    ASSERT_EQ(arrayRAW[2 * r], -3);
    ASSERT_EQ(arrayRAW[2 * r + 1], 70000);
  }
  FillarrayNORM(512, 2048, 0);
  const double startUp[6] = {2560, 1536, 2048, 0, 0, 0};
  for (int r = 0; r < 100; ++r)
    for (int i = 0; i < 6; ++i) ASSERT_EQ(arrayNORM[6 * r + i], startUp[i]);
  FillarrayNORM(600, 100, 9);  // the lower line goes below zero and stays there
  const double wide[6] = {700, -500, 100, 9, 9, 9};
  for (int r = 0; r < 100; ++r)
    for (int i = 0; i < 6; ++i) ASSERT_EQ(arrayNORM[6 * r + i], wide[i]);
}

}  // namespace
