// Reading and writing control values.
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>

#include "tests/platform/ui_fixture.h"
#include "tests/support/runtime_extras.h"

namespace {

TEST_F(UiTest, RingValueIsTheItemValueNotTheIndex) {
  const int panel = LoadMain();
  EXPECT_EQ(SetCtrlVal(panel, MAIN_RING, 20), 0);
  int value = 0;
  EXPECT_EQ(GetCtrlVal(panel, MAIN_RING, &value), 0);
  EXPECT_EQ(value, 20);
  EXPECT_EQ(SetCtrlVal(panel, MAIN_RING, 1), UIE_BAD_VALUE_TYPE);  // an index, not a value
  EXPECT_EQ(SetCtrlVal(panel, MAIN_RING, 25), UIE_BAD_VALUE_TYPE);
  GetCtrlVal(panel, MAIN_RING, &value);
  EXPECT_EQ(value, 20);
  unsigned short u16 = 0;
  SetCtrlVal(panel, MAIN_RING, static_cast<unsigned short>(30));
  GetCtrlVal(panel, MAIN_RING, &u16);
  EXPECT_EQ(u16, 30);
}

TEST_F(UiTest, RingWithoutListedValuesCountsFromZero) {
  const int panel = LoadPanel(0, GoodFile().c_str(), kSecondPanel);
  EXPECT_EQ(SetCtrlVal(panel, SECOND_RING, 2), 0);
  int value = -1;
  GetCtrlVal(panel, SECOND_RING, &value);
  EXPECT_EQ(value, 2);
  EXPECT_EQ(SetCtrlVal(panel, SECOND_RING, 3), UIE_BAD_VALUE_TYPE);
}

TEST_F(UiTest, NumericHoldsTheFullUnsigned16BitRangeAndClampsToItsOwn) {
  const int panel = LoadMain();
  const unsigned short top = 65535;
  EXPECT_EQ(SetCtrlVal(panel, MAIN_U16, top), 0);
  unsigned short u16 = 0;
  EXPECT_EQ(GetCtrlVal(panel, MAIN_U16, &u16), 0);
  EXPECT_EQ(u16, 65535);
  unsigned int u32 = 0;
  GetCtrlVal(panel, MAIN_U16, &u32);
  EXPECT_EQ(u32, 65535u);
  double real = 0;
  GetCtrlVal(panel, MAIN_U16, &real);
  EXPECT_EQ(real, 65535.0);
  SetCtrlVal(panel, MAIN_INDICATOR, 5000);  // range 0..1000
  int value = 0;
  GetCtrlVal(panel, MAIN_INDICATOR, &value);
  EXPECT_EQ(value, 1000);
  SetCtrlVal(panel, MAIN_INDICATOR, 4000000000u);
  GetCtrlVal(panel, MAIN_INDICATOR, &value);
  EXPECT_EQ(value, 1000);
  SetCtrlVal(panel, MAIN_INDICATOR, 12.6);
  GetCtrlVal(panel, MAIN_INDICATOR, &value);
  EXPECT_EQ(value, 13);
}

// An indicator already showing a value is left alone, but an input the
// operator typed over shows the program's value again, even an unchanged one.
TEST_F(UiTest, SettingAnInputShowsTheValueOverWhatTheOperatorTyped) {
  const int panel = LoadMain();
  auto *input = qobject_cast<QSpinBox *>(ControlWidget(panel, MAIN_U16));
  auto *indicator = qobject_cast<QSpinBox *>(ControlWidget(panel, MAIN_INDICATOR));
  SetCtrlVal(panel, MAIN_U16, 5);
  SetCtrlVal(panel, MAIN_INDICATOR, 7);
  input->setFocus();
  input->selectAll();
  QTest::keyClicks(input, "77");  // no Enter: not taken yet
  ASSERT_EQ(input->text(), "77");
  SetCtrlVal(panel, MAIN_U16, 5);
  EXPECT_EQ(input->text(), "5");
  SetCtrlVal(panel, MAIN_INDICATOR, 7);
  ProcessSystemEvents();
  EXPECT_EQ(indicator->text(), "7");
  SetCtrlVal(panel, MAIN_INDICATOR, 8);
  ProcessSystemEvents();
  EXPECT_EQ(indicator->text(), "8");
}

// An indicator lays out its text at the next pass of the event loop, yet
// reads back its value at once; a panel closed before that pass is no fault.
TEST_F(UiTest, IndicatorShowsItsLastValueAfterOnePassAndReadsBackAtOnce) {
  const int panel = LoadMain();
  auto *indicator = qobject_cast<QSpinBox *>(ControlWidget(panel, MAIN_INDICATOR));
  for (int value : {3, 4, 5}) SetCtrlVal(panel, MAIN_INDICATOR, value);
  ProcessSystemEvents();
  EXPECT_EQ(indicator->text(), "5");
  SetCtrlVal(panel, MAIN_INDICATOR, 6);
  int value = 0;
  GetCtrlVal(panel, MAIN_INDICATOR, &value);
  EXPECT_EQ(value, 6);
  SetCtrlVal(panel, MAIN_INDICATOR, 9);
  DiscardPanel(panel);
  ProcessSystemEvents();
}

TEST_F(UiTest, TwoStateControlsReadZeroOrOne) {
  const int panel = LoadMain();
  for (int control : {MAIN_TOGGLE, MAIN_RADIO, MAIN_SWITCH}) {
    int value = -1;
    SetCtrlVal(panel, control, 5);
    GetCtrlVal(panel, control, &value);
    EXPECT_EQ(value, 1) << control;
    SetCtrlVal(panel, control, 0);
    GetCtrlVal(panel, control, &value);
    EXPECT_EQ(value, 0) << control;
  }
  int value = 0;
  EXPECT_EQ(GetCtrlVal(panel, MAIN_BUTTON, &value), UIE_BAD_VALUE_TYPE);
}

TEST_F(UiTest, TextIsShownAsPlainTextAndReadBackByteForByte) {
  const int panel = LoadMain();
  const char *markup = "<b>Line Ok!</b> &amp; <img src=x>";
  EXPECT_EQ(SetCtrlVal(panel, MAIN_TEXT, markup), 0);
  auto *label = static_cast<QLabel *>(ControlWidget(panel, MAIN_TEXT));
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  char buffer[64];
  EXPECT_EQ(GetCtrlVal(panel, MAIN_TEXT, buffer), 0);
  EXPECT_STREQ(buffer, markup);
  // Bytes that are not UTF-8 (firmware text) come back unchanged.
  const char latin[] = "V1.4 \xB5-Ctrl \xE4";
  SetCtrlVal(panel, MAIN_STRING, latin);
  GetCtrlVal(panel, MAIN_STRING, buffer);
  EXPECT_STREQ(buffer, latin);
  SetCtrlVal(panel, MAIN_STRING,
             "Gr\xC3\xBC\xC3\x9F"
             "e");
  GetCtrlVal(panel, MAIN_STRING, buffer);
  EXPECT_STREQ(buffer,
               "Gr\xC3\xBC\xC3\x9F"
               "e");
}

TEST_F(UiTest, TextReadIntoSmallBufferIsCutAndTerminated) {
  const int panel = LoadMain();
  SetCtrlVal(panel, MAIN_TEXT, "0123456789");
  char small[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetCtrlValText(panel, MAIN_TEXT, small, sizeof small), 0);
  EXPECT_STREQ(small, "0123");
}

TEST_F(UiTest, ValueOfTheWrongTypeOrUnknownControlIsRefused) {
  const int panel = LoadMain();
  char buffer[16];
  int value = 0;
  EXPECT_EQ(SetCtrlVal(panel, MAIN_U16, "12"), UIE_BAD_VALUE_TYPE);
  EXPECT_EQ(GetCtrlVal(panel, MAIN_U16, buffer), UIE_BAD_VALUE_TYPE);
  EXPECT_EQ(SetCtrlVal(panel, MAIN_TEXT, 12), UIE_BAD_VALUE_TYPE);
  EXPECT_EQ(GetCtrlVal(panel, MAIN_TEXT, &value), UIE_BAD_VALUE_TYPE);
  EXPECT_EQ(GetCtrlVal(panel, 99, &value), UIE_BAD_CONTROL);
  EXPECT_EQ(SetCtrlVal(panel + 100, MAIN_U16, 1), UIE_BAD_HANDLE);
}

TEST_F(UiTest, TextBoxLinesAreReplacedAndReset) {
  const int panel = LoadMain();
  auto *box = static_cast<QPlainTextEdit *>(ControlWidget(panel, MAIN_TEXTBOX));
  EXPECT_TRUE(box->isReadOnly());
  EXPECT_EQ(ReplaceTextBoxLine(panel, MAIN_TEXTBOX, 0, "CONTINOUS"), 0);
  EXPECT_EQ(box->toPlainText(), QString("CONTINOUS"));
  EXPECT_EQ(ReplaceTextBoxLine(panel, MAIN_TEXTBOX, 0, "NORM (A & B)"), 0);
  EXPECT_EQ(box->toPlainText(), QString("NORM (A & B)"));
  EXPECT_EQ(ReplaceTextBoxLine(panel, MAIN_TEXTBOX, 1, "x"), UIE_BAD_VALUE_TYPE);
  EXPECT_EQ(ResetTextBox(panel, MAIN_TEXTBOX, "one\ntwo\nthree"), 0);
  EXPECT_EQ(ReplaceTextBoxLine(panel, MAIN_TEXTBOX, 1, "TWO"), 0);
  char buffer[32];
  GetCtrlVal(panel, MAIN_TEXTBOX, buffer);
  EXPECT_STREQ(buffer, "one\nTWO\nthree");
  EXPECT_EQ(ResetTextBox(panel, MAIN_TEXT, "x"), UIE_BAD_VALUE_TYPE);
}

TEST_F(UiTest, RingItemsAreFilledByTheProgramWithoutEvents) {
  const int panel = LoadMain();
  EXPECT_EQ(ClearListCtrl(panel, MAIN_RING), 0);
  int count = -1;
  GetNumListItems(panel, MAIN_RING, &count);
  EXPECT_EQ(count, 0);
  int value = 0;
  EXPECT_EQ(GetCtrlVal(panel, MAIN_RING, &value), UIE_BAD_VALUE_TYPE);  // nothing selected
  InsertListItem(panel, MAIN_RING, -1, "1  /dev/ttyUSB0", 1);
  InsertListItem(panel, MAIN_RING, -1, "Other device", 0);
  InsertListItem(panel, MAIN_RING, 0, "7  (no device)", 7);
  InsertListItem(panel, MAIN_RING, -1, "again 1", 1);
  GetNumListItems(panel, MAIN_RING, &count);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(SetCtrlVal(panel, MAIN_RING, 1), 0);
  auto *ring = static_cast<QComboBox *>(ControlWidget(panel, MAIN_RING));
  EXPECT_EQ(ring->currentIndex(), 1);  // the first item with that value
  EXPECT_EQ(ring->itemText(0), QString("7  (no device)"));
  EXPECT_EQ(InsertListItem(panel, MAIN_RING, 9, "x", 9), UIE_BAD_VALUE_TYPE);
  EXPECT_EQ(ClearListCtrl(panel, MAIN_TEXT), UIE_BAD_CONTROL);
  EXPECT_TRUE(Events().empty());
}

}  // namespace
