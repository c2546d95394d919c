// Total recording time on the popup, from the interval and the row count.
#include <QSpinBox>

#include "recorder/recorder.h"
#include "tests/params/loaded_panels.h"

namespace {

class RecTime : public LoadedPanels {
 protected:
  static void Settings(int interval, int samples) {
    SetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, interval);
    SetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, samples);
  }
  static void ExpectTime(int d, int h, int m, int s) {
    EXPECT_EQ(Value(panelPopUp, POPUP_RECDAY), d);
    EXPECT_EQ(Value(panelPopUp, POPUP_RECHOUR), h);
    EXPECT_EQ(Value(panelPopUp, POPUP_RECMIN), m);
    EXPECT_EQ(Value(panelPopUp, POPUP_RECSEC), s);
  }
  // The operator types a number into a numeric input and presses Enter.
  static void Type(int control, const char *digits) {
    auto *box = Widget<QSpinBox>(panelPopUp, control);
    ASSERT_NE(box, nullptr) << control;
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, digits);
    QTest::keyClick(box, Qt::Key_Return);
  }
};

TEST_F(RecTime, SplitsTheProductIntoDaysHoursMinutesSeconds) {
  Settings(65535, 65535);  // the largest product, 4294836225 s
  CalcRecTime();
  ExpectTime(49708, 18, 3, 45);
  Settings(90, 1000);
  CalcRecTime();
  ExpectTime(1, 1, 0, 0);
  Settings(3, 28799);  // one day less three seconds
  CalcRecTime();
  ExpectTime(0, 23, 59, 57);
}

TEST_F(RecTime, AZeroSettingGivesAllZero) {
  for (int interval : {0, 7}) {
    Settings(3, 3);
    CalcRecTime();
    Settings(interval, interval == 0 ? 500 : 0);
    CalcRecTime();
    ExpectTime(0, 0, 0, 0);
  }
}

TEST_F(RecTime, OperatorEntriesRecomputeAndClearTheRowCount) {
  Settings(1, 1);
  SetCtrlVal(panelPopUp, POPUP_RECCOUNT, 42);
  Type(POPUP_NEDITRECTIME, "90");
  EXPECT_EQ(Value(panelPopUp, POPUP_RECCOUNT), 0);
  ExpectTime(0, 0, 1, 30);
  SetCtrlVal(panelPopUp, POPUP_RECCOUNT, 42);
  Type(POPUP_NEDITRECSAMPLES, "1000");
  EXPECT_EQ(Value(panelPopUp, POPUP_RECCOUNT), 0);
  ExpectTime(1, 1, 0, 0);
}

TEST_F(RecTime, OnlyTheCommitRecomputes) {
  Settings(90, 1000);
  SetCtrlVal(panelPopUp, POPUP_RECCOUNT, 42);
  EXPECT_EQ(CC_NEDITRecTime(panelPopUp, POPUP_NEDITRECTIME, EVENT_VAL_CHANGED, nullptr, 0, 0), 0);
  EXPECT_EQ(CC_NEDITRecSamples(panelPopUp, POPUP_NEDITRECSAMPLES, EVENT_LEFT_CLICK, nullptr, 0, 0),
            0);
  EXPECT_EQ(Value(panelPopUp, POPUP_RECCOUNT), 42);
  ExpectTime(0, 0, 0, 0);
  EXPECT_EQ(CC_NEDITRecSamples(panelPopUp, POPUP_NEDITRECSAMPLES, EVENT_COMMIT, nullptr, 0, 0), 0);
  EXPECT_EQ(Value(panelPopUp, POPUP_RECCOUNT), 0);
  ExpectTime(1, 1, 0, 0);
}

}  // namespace
