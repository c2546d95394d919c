// Evaluation mode 2 and trigger mode 2 are only chosen together: the operator
// picks a mode on one selector and the other one follows.
#include <QComboBox>

#include "params/params.h"
#include "tests/params/loaded_panels.h"

namespace {

class Coupling : public LoadedPanels {
 protected:
  void SetUp() override {
    LoadedPanels::SetUp();
    // Each pick below is one key; keep keystrokes of one test from being
    // read as a single multi-letter search.
    QApplication::setKeyboardInputInterval(1);
  }

  // Starting state as the program would leave it (no events).
  void Show(int eval, int trig) {
    SetCtrlVal(panelPopUp, POPUP_DROP_EVALMODE, eval);
    SetCtrlVal(panelPopUp, POPUP_DROPTRIGMODE, trig);
  }

  // The operator picks a mode by typing its number on the focused selector.
  void Pick(int selector, int mode) {
    QComboBox *box = Widget<QComboBox>(panelPopUp, selector);
    ASSERT_NE(box, nullptr) << selector;
    QTest::qWait(20);
    QTest::keyClick(box, static_cast<char>('0' + mode));
    ASSERT_EQ(box->currentText().left(1).toInt(), mode) << "the pick did not take";
  }

  static int Eval() { return Value(panelPopUp, POPUP_DROP_EVALMODE); }
  static int Trig() { return Value(panelPopUp, POPUP_DROPTRIGMODE); }
};

TEST_F(Coupling, EvaluationModeTwoBringsTriggerModeTwo) {
  for (int trig : {0, 1, 3, 4}) {
    Show(0, trig);
    Pick(POPUP_DROP_EVALMODE, 2);
    EXPECT_EQ(Trig(), 2) << "trigger was " << trig;
    EXPECT_EQ(Eval(), 2);
  }
}

TEST_F(Coupling, LeavingEvaluationModeTwoDropsTriggerModeTwo) {
  for (int eval : {0, 1, 3, 7}) {
    Show(2, 2);
    Pick(POPUP_DROP_EVALMODE, eval);
    EXPECT_EQ(Trig(), 0) << "evaluation " << eval;
    EXPECT_EQ(Eval(), eval);
  }
}

TEST_F(Coupling, OtherEvaluationModesLeaveOtherTriggerModes) {
  Show(0, 3);
  Pick(POPUP_DROP_EVALMODE, 1);
  EXPECT_EQ(Trig(), 3);
  Show(1, 4);
  Pick(POPUP_DROP_EVALMODE, 0);
  EXPECT_EQ(Trig(), 4);
}

TEST_F(Coupling, TriggerModeTwoBringsEvaluationModeTwo) {
  for (int eval : {0, 1, 3, 5}) {
    Show(eval, 0);
    Pick(POPUP_DROPTRIGMODE, 2);
    EXPECT_EQ(Eval(), 2) << "evaluation was " << eval;
    EXPECT_EQ(Trig(), 2);
  }
}

TEST_F(Coupling, LeavingTriggerModeTwoDropsEvaluationModeTwo) {
  for (int trig : {0, 1, 3, 4}) {
    Show(2, 2);
    Pick(POPUP_DROPTRIGMODE, trig);
    EXPECT_EQ(Eval(), 0) << "trigger " << trig;
    EXPECT_EQ(Trig(), trig);
  }
}

TEST_F(Coupling, OtherTriggerModesLeaveOtherEvaluationModes) {
  Show(1, 0);
  Pick(POPUP_DROPTRIGMODE, 3);
  EXPECT_EQ(Eval(), 1);
  Show(3, 4);
  Pick(POPUP_DROPTRIGMODE, 1);
  EXPECT_EQ(Eval(), 3);
}

TEST_F(Coupling, OnlyTheCommitCountsAndTheVariablesStayAsTheyWere) {
  evalmode = 0;
  trigmode = 0;
  Show(2, 0);
  for (int event : {EVENT_VAL_CHANGED, EVENT_LEFT_CLICK}) {
    EXPECT_EQ(CC_DROP_EvalMode(panelPopUp, POPUP_DROP_EVALMODE, event, nullptr, 0, 0), 0);
    EXPECT_EQ(Trig(), 0);
  }
  Show(0, 2);
  EXPECT_EQ(CC_DropTrigmode(panelPopUp, POPUP_DROPTRIGMODE, EVENT_VAL_CHANGED, nullptr, 0, 0), 0);
  EXPECT_EQ(Eval(), 0);
  EXPECT_EQ(CC_DropTrigmode(panelPopUp, POPUP_DROPTRIGMODE, EVENT_COMMIT, nullptr, 0, 0), 0);
  EXPECT_EQ(Eval(), 2);
  EXPECT_EQ(evalmode, 0);
  EXPECT_EQ(trigmode, 0);
}

}  // namespace
