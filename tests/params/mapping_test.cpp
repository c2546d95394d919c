// The parameter set on the panels: what GetPanelValues and SetPanelValues move,
// and the mode texts they write.
#include <QComboBox>
#include <QPlainTextEdit>
#include <cstdint>
#include <string>

#include "params/params.h"
#include "tests/params/loaded_panels.h"

namespace {

struct Mapping {
  uint16_t *var;
  bool onPopup;
  int control;
};

const Mapping kMappings[] = {
    {&powerA, false, PANEL_POWERA},
    {&powerB, false, PANEL_POWERB},
    {&refA, false, PANEL_REFA},
    {&refB, false, PANEL_REFB},
    {&tolA, false, PANEL_TOLA},
    {&tolB, false, PANEL_TOLB},
    {&hysteresis, false, PANEL_HYSTERESIS},
    {&hwmode, false, PANEL_HWMODE},
    {&maxmode, true, POPUP_MAXMODE},
    {&average, true, POPUP_AVERAGE},
    {&polarity, true, POPUP_POLARITY},
    {&hold, true, POPUP_HOLD},
    {&evalmode, true, POPUP_DROP_EVALMODE},
    {&triglvlA, true, POPUP_TRIGLVLA},
    {&triglvlB, true, POPUP_TRIGLVLB},
    {&trigmode, true, POPUP_DROPTRIGMODE},
    {&sdelay, true, POPUP_SDELAY},
    {&outmode, true, POPUP_OUTMODE},
    {&anamode, true, POPUP_ANAMODE},
};

bool IsSelector(int control, bool onPopup) {
  return onPopup && (control == POPUP_DROP_EVALMODE || control == POPUP_DROPTRIGMODE);
}

class Mapping_ : public LoadedPanels {
 protected:
  static int PanelOf(const Mapping &m) { return m.onPopup ? panelPopUp : panelHandle; }

  static void SetAllVariables(uint16_t v) {
    for (const Mapping &m : kMappings) *m.var = v;
  }

  static std::string Text(int control) {
    QPlainTextEdit *box = Widget<QPlainTextEdit>(panelHandle, control);
    return box == nullptr ? std::string("<missing>") : box->toPlainText().toStdString();
  }

  struct Snapshot {
    int values[19];
    std::string texts[4];
  };

  Snapshot Take() {
    Snapshot s{};
    int i = 0;
    for (const Mapping &m : kMappings) s.values[i++] = Value(PanelOf(m), m.control);
    s.texts[0] = Text(PANEL_TRIGMODETEXT);
    s.texts[1] = Text(PANEL_EVALMODETEXT);
    s.texts[2] = Text(PANEL_ANAMODETEXT);
    s.texts[3] = Text(PANEL_OUTMODETEXT);
    return s;
  }

  void ExpectModeTexts(const char *trig, const char *eval, const char *ana, const char *out) {
    EXPECT_EQ(Text(PANEL_TRIGMODETEXT), trig);
    EXPECT_EQ(Text(PANEL_EVALMODETEXT), eval);
    EXPECT_EQ(Text(PANEL_ANAMODETEXT), ana);
    EXPECT_EQ(Text(PANEL_OUTMODETEXT), out);
  }
};

TEST_F(Mapping_, AllZeroShowsZeroEverywhereAndTheDefaultTexts) {
  SetAllVariables(1);  // texts and controls away from what zero shows
  SetPanelValues();
  ExpectModeTexts("INTERN-CHA-scan128", "NORM (A & B)", "MAXIMA-value", "BIN:(A->OUT0);(B->OUT1)");
  SetAllVariables(0);
  SetPanelValues();
  for (const Mapping &m : kMappings) EXPECT_EQ(Value(PanelOf(m), m.control), 0) << m.control;
  ExpectModeTexts("CONTINOUS", "NORM-A: A/Amax", "DIRECT 0 .. 10V", "(+)->OUT0; (-)->OUT1");
}

TEST_F(Mapping_, EachVariableTravelsWithItsOwnControl) {
  // Distinct values in every control, so a crossed pair shows.
  uint16_t v = 100;
  for (const Mapping &m : kMappings) {
    const uint16_t shown =
        IsSelector(m.control, m.onPopup) ? (m.control == POPUP_DROPTRIGMODE ? 4 : 3) : v++;
    SetCtrlVal(PanelOf(m), m.control, shown);
  }
  SetAllVariables(0);
  GetPanelValues();
  v = 100;
  for (const Mapping &m : kMappings) {
    const uint16_t expected =
        IsSelector(m.control, m.onPopup) ? (m.control == POPUP_DROPTRIGMODE ? 4 : 3) : v++;
    EXPECT_EQ(*m.var, expected) << m.control;
  }
  ExpectModeTexts("EXT-IN0-L/H-scan128", "NORM-A: A/Amax", "DIRECT 0 .. 10V",
                  "(+)->OUT0; (-)->OUT1");

  // And back: fresh distinct values in the variables reach their controls.
  v = 1000;
  for (const Mapping &m : kMappings) *m.var = IsSelector(m.control, m.onPopup) ? 1 : v++;
  SetPanelValues();
  v = 1000;
  for (const Mapping &m : kMappings) {
    const int expected = IsSelector(m.control, m.onPopup) ? 1 : v++;
    EXPECT_EQ(Value(PanelOf(m), m.control), expected) << m.control;
  }
}

TEST_F(Mapping_, GetThenSetLeavesEveryControlUnchanged) {
  // Operator entries on both panels, including the selectors.
  QTest::keyClick(Widget(panelPopUp, POPUP_DROPTRIGMODE), '3');
  SetCtrlVal(panelHandle, PANEL_REFB, 777);
  SetCtrlVal(panelPopUp, POPUP_ANAMODE, 3);
  SetCtrlVal(panelPopUp, POPUP_OUTMODE, 2);
  GetPanelValues();
  const Snapshot before = Take();
  SetPanelValues();
  const Snapshot after = Take();
  for (int i = 0; i < 19; ++i) EXPECT_EQ(after.values[i], before.values[i]) << i;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(after.texts[i], before.texts[i]) << i;
  EXPECT_EQ(before.texts[0], "EXT-IN0-HIGH (cont.)");
  EXPECT_EQ(before.texts[2], "<MAX-MIN>-value");
  EXPECT_EQ(before.texts[3], "BIN:(A & B) -> OUT0");
}

TEST_F(Mapping_, LargestWordIsShownAndReadBackUnclamped) {
  SetAllVariables(65535);
  SetPanelValues();
  for (const Mapping &m : kMappings) {
    EXPECT_EQ(Value(PanelOf(m), m.control), 65535) << m.control;
    *m.var = 0;
  }
  GetPanelValues();
  for (const Mapping &m : kMappings) EXPECT_EQ(*m.var, 65535) << m.control;
}

// A mode the selector lists no item for gets an item of its own, once, and
// the mode texts stay those of the table.
TEST_F(Mapping_, SelectorsKeepModesTheyHaveNoItemFor) {
  struct Case {
    uint16_t trig, eval;
    int trigItems, evalItems;
  };
  const Case cases[] = {{7, 9, 6, 9}, {1, 2, 6, 9}, {7, 9, 6, 9}, {4000, 8, 7, 10}};
  for (const Case &c : cases) {
    trigmode = c.trig;
    evalmode = c.eval;
    SetPanelValues();
    trigmode = evalmode = 0;
    GetPanelValues();
    EXPECT_EQ(trigmode, c.trig);
    EXPECT_EQ(evalmode, c.eval);
    auto *trigRing = Widget<QComboBox>(panelPopUp, POPUP_DROPTRIGMODE);
    EXPECT_EQ(trigRing->count(), c.trigItems) << c.trig;
    EXPECT_EQ(Widget<QComboBox>(panelPopUp, POPUP_DROP_EVALMODE)->count(), c.evalItems);
  }
  EXPECT_EQ(Widget<QComboBox>(panelPopUp, POPUP_DROPTRIGMODE)->currentText(), "4000: unknown");
  EXPECT_EQ(Widget<QComboBox>(panelPopUp, POPUP_DROPTRIGMODE)->itemText(5), "7: unknown");
  EXPECT_EQ(Text(PANEL_TRIGMODETEXT), "CONTINOUS");
  EXPECT_EQ(Text(PANEL_EVALMODETEXT), "NORM-A: A/Amax");
}

TEST_F(Mapping_, EveryModeValueHasItsText) {
  const char *trig[] = {"CONTINOUS", "INTERN-CHA-scan128", "TRIG-CHB -> EVAL-CHA",
                        "EXT-IN0-HIGH (cont.)", "EXT-IN0-L/H-scan128"};
  const char *eval[] = {"NORM-A: A/Amax", "NORM (A & B)", "TRIG-B -> EVAL-A"};
  const char *ana[] = {"DIRECT 0 .. 10V", "MAXIMA-value", "MINIMA-value", "<MAX-MIN>-value"};
  const char *out[] = {"(+)->OUT0; (-)->OUT1", "BIN:(A->OUT0);(B->OUT1)", "BIN:(A & B) -> OUT0"};
  for (uint16_t i = 0; i < 5; ++i) {
    trigmode = i;
    evalmode = i < 3 ? i : 0;
    anamode = i < 4 ? i : 0;
    outmode = i < 3 ? i : 0;
    SetPanelValues();
    ExpectModeTexts(trig[i], eval[evalmode], ana[anamode], out[outmode]);
  }
}

TEST_F(Mapping_, ModeValuesAboveTheirRangeShowTheDefaultTexts) {
  const uint16_t firstAbove[] = {5, 3, 4, 3};  // trigger, evaluation, analogue, output
  for (uint16_t extra : {uint16_t{0}, uint16_t{1}, uint16_t{65535 - 5}}) {
    SetAllVariables(1);
    SetPanelValues();
    trigmode = static_cast<uint16_t>(firstAbove[0] + extra);
    evalmode = static_cast<uint16_t>(firstAbove[1] + extra);
    anamode = static_cast<uint16_t>(firstAbove[2] + extra);
    outmode = static_cast<uint16_t>(firstAbove[3] + extra);
    SetPanelValues();
    ExpectModeTexts("CONTINOUS", "NORM-A: A/Amax", "DIRECT 0 .. 10V", "(+)->OUT0; (-)->OUT1");
  }
}

TEST_F(Mapping_, ModeTextsFollowOnlyAtTheNextGetOrSet) {
  SetAllVariables(0);
  SetPanelValues();
  // The operator picks other modes on the popup.
  QTest::keyClick(Widget(panelPopUp, POPUP_DROP_EVALMODE), '1');
  QTest::keyClick(Widget(panelPopUp, POPUP_DROPTRIGMODE), '4');
  SetCtrlVal(panelPopUp, POPUP_ANAMODE, 2);
  ASSERT_EQ(Value(panelPopUp, POPUP_DROP_EVALMODE), 1);
  ASSERT_EQ(Value(panelPopUp, POPUP_DROPTRIGMODE), 4);
  QApplication::processEvents();
  ExpectModeTexts("CONTINOUS", "NORM-A: A/Amax", "DIRECT 0 .. 10V", "(+)->OUT0; (-)->OUT1");
  EXPECT_EQ(evalmode, 0);
  EXPECT_EQ(trigmode, 0);
  GetPanelValues();
  ExpectModeTexts("EXT-IN0-L/H-scan128", "NORM (A & B)", "MINIMA-value", "(+)->OUT0; (-)->OUT1");
}

}  // namespace
