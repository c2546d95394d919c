// Operator actions on real widgets reach the callbacks as the program expects.
#include <QAbstractButton>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <functional>

#include "platform/util/utility.h"
#include "tests/platform/ui_fixture.h"

namespace {

using Sequence = std::vector<RecordedEvent>;

QPoint indicatorPoint(QWidget *w) {
  return QPoint(6, w->height() / 2);
}

TEST_F(UiTest, MouseClickOnCommandButtonGivesLeftClickThenCommit) {
  const int panel = LoadMain();
  QTest::mouseClick(ControlWidget(panel, MAIN_BUTTON), Qt::LeftButton);
  EXPECT_EQ(Events(),
            (Sequence{{panel, MAIN_BUTTON, EVENT_LEFT_CLICK}, {panel, MAIN_BUTTON, EVENT_COMMIT}}));
  Events().clear();
  QTest::mouseClick(ControlWidget(panel, MAIN_BUTTON), Qt::RightButton);
  EXPECT_TRUE(Events().empty());
}

TEST_F(UiTest, SpaceKeyOnCommandButtonGivesOnlyCommit) {
  const int panel = LoadMain();
  QWidget *button = ControlWidget(panel, MAIN_BUTTON);
  button->setFocus();
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_EQ(Events(), (Sequence{{panel, MAIN_BUTTON, EVENT_COMMIT}}));
}

TEST_F(UiTest, ValueControlsChangedByTheOperatorGiveValueChangedThenCommit) {
  const int panel = LoadMain();
  QTest::mouseClick(ControlWidget(panel, MAIN_RADIO), Qt::LeftButton, {},
                    indicatorPoint(ControlWidget(panel, MAIN_RADIO)));
  QTest::mouseClick(ControlWidget(panel, MAIN_SWITCH), Qt::LeftButton, {},
                    indicatorPoint(ControlWidget(panel, MAIN_SWITCH)));
  QTest::mouseClick(ControlWidget(panel, MAIN_TOGGLE), Qt::LeftButton);
  QTest::keyClick(ControlWidget(panel, MAIN_RING), Qt::Key_Down);
  QTest::keyClick(ControlWidget(panel, MAIN_U16), Qt::Key_Up);
  const Sequence expected{
      {panel, MAIN_RADIO, EVENT_VAL_CHANGED},  {panel, MAIN_RADIO, EVENT_COMMIT},
      {panel, MAIN_SWITCH, EVENT_VAL_CHANGED}, {panel, MAIN_SWITCH, EVENT_COMMIT},
      {panel, MAIN_TOGGLE, EVENT_VAL_CHANGED}, {panel, MAIN_TOGGLE, EVENT_COMMIT},
      {panel, MAIN_RING, EVENT_VAL_CHANGED},   {panel, MAIN_RING, EVENT_COMMIT},
      {panel, MAIN_U16, EVENT_VAL_CHANGED},    {panel, MAIN_U16, EVENT_COMMIT}};
  EXPECT_EQ(Events(), expected);
  int value = 0;
  GetCtrlVal(panel, MAIN_RADIO, &value);
  EXPECT_EQ(value, 1);
  GetCtrlVal(panel, MAIN_RING, &value);
  EXPECT_EQ(value, 20);
  GetCtrlVal(panel, MAIN_U16, &value);
  EXPECT_EQ(value, 1);
}

TEST_F(UiTest, ClickingACheckedRadioButtonUnchecksIt) {
  const int panel = LoadMain();
  // A second radio button on the same panel must not switch the first one off.
  SetCtrlVal(panel, MAIN_RADIO, 1);
  QWidget *radio = ControlWidget(panel, MAIN_RADIO);
  QTest::mouseClick(radio, Qt::LeftButton, {}, indicatorPoint(radio));
  int value = 1;
  GetCtrlVal(panel, MAIN_RADIO, &value);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(Events().size(), 2u);
}

TEST_F(UiTest, TypedNumberCommitsOnceOnEnter) {
  const int panel = LoadMain();
  auto *spin = static_cast<QSpinBox *>(ControlWidget(panel, MAIN_U16));
  spin->setFocus();
  spin->selectAll();
  QTest::keyClicks(spin, "4711");
  EXPECT_TRUE(Events().empty());
  QTest::keyClick(spin, Qt::Key_Return);
  EXPECT_EQ(Events(),
            (Sequence{{panel, MAIN_U16, EVENT_VAL_CHANGED}, {panel, MAIN_U16, EVENT_COMMIT}}));
  unsigned short value = 0;
  GetCtrlVal(panel, MAIN_U16, &value);
  EXPECT_EQ(value, 4711);
}

TEST_F(UiTest, ChoosingTheSelectedRingItemAgainOnlyCommits) {
  const int panel = LoadMain();
  auto *ring = static_cast<QComboBox *>(ControlWidget(panel, MAIN_RING));
  emit ring->activated(ring->currentIndex());  // what the popup does for the same item
  EXPECT_EQ(Events(), (Sequence{{panel, MAIN_RING, EVENT_COMMIT}}));
}

TEST_F(UiTest, EditedStringCommitsWhenEditingEnds) {
  const int panel = LoadMain();
  auto *edit = static_cast<QLineEdit *>(ControlWidget(panel, MAIN_STRING));
  edit->setFocus();
  QTest::keyClicks(edit, "abc");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(Events(), (Sequence{{panel, MAIN_STRING, EVENT_VAL_CHANGED},
                                {panel, MAIN_STRING, EVENT_COMMIT}}));
}

TEST_F(UiTest, ValuesSetByTheProgramRaiseNoEvents) {
  const int panel = LoadMain();
  SetCtrlVal(panel, MAIN_RADIO, 1);
  SetCtrlVal(panel, MAIN_SWITCH, 1);
  SetCtrlVal(panel, MAIN_TOGGLE, 1);
  SetCtrlVal(panel, MAIN_RING, 30);
  SetCtrlVal(panel, MAIN_U16, 123);
  SetCtrlVal(panel, MAIN_STRING, "text");
  ProcessSystemEvents();
  EXPECT_TRUE(Events().empty());
}

TEST_F(UiTest, DimmedButtonAndButtonInDimmedContainerGiveNoEvents) {
  const int panel = LoadMain();
  SetCtrlAttribute(panel, MAIN_BUTTON, ATTR_DIMMED, 1);
  QTest::mouseClick(ControlWidget(panel, MAIN_BUTTON), Qt::LeftButton);
  SetCtrlAttribute(panel, MAIN_GROUP, ATTR_DIMMED, 1);
  QTest::mouseClick(ControlWidget(panel, MAIN_INNER), Qt::LeftButton);
  EXPECT_TRUE(Events().empty());
  SetCtrlAttribute(panel, MAIN_GROUP, ATTR_DIMMED, 0);
  QTest::mouseClick(ControlWidget(panel, MAIN_INNER), Qt::LeftButton);
  EXPECT_EQ(Events().size(), 2u);
}

TEST_F(UiTest, CloseBoxReachesPanelCallbackAndWindowStaysOpen) {
  const int panel = LoadMain();
  QWidget *window = PanelWidget(panel);
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Events(), (Sequence{{panel, 0, EVENT_CLOSE}}));
  Events().clear();
  EXPECT_EQ(HidePanel(panel), 0);  // hiding from the program is no close event
  EXPECT_TRUE(Events().empty());
}

// A wait that polls without processing events still looks at what is
// pending, with every callback held back: a click and the close of another
// panel wait for event processing, and the close of the panel marked to end
// the waits ends them at once. The callbacks come afterwards, in order.
TEST_F(UiTest, APollingWaitSeesTheMarkedPanelClosedAndRunsNoCallbackMeanwhile) {
  const int panel = LoadMain();
  const int other = LoadMain();
  ASSERT_EQ(EndWaitsOnPanelClose(panel), 0);
  auto *button = qobject_cast<QAbstractButton *>(ControlWidget(panel, MAIN_BUTTON));
  ASSERT_NE(button, nullptr);
  int clicks = 0;
  QObject::connect(button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
  const auto poll = [](const std::function<bool()> &done) {
    for (int i = 0; i < 5000 && !done(); ++i) Delay(0.001);
  };
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [=] {
        QTest::mouseClick(ControlWidget(panel, MAIN_BUTTON), Qt::LeftButton);
        PanelWidget(other)->close();
      },
      Qt::QueuedConnection);
  poll([&clicks] { return clicks == 1; });
  ASSERT_EQ(clicks, 1) << "the run-time looked at pending events";
  EXPECT_EQ(WaitsEnded(), 0) << "another panel's close ends nothing";

  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [=] { PanelWidget(panel)->close(); }, Qt::QueuedConnection);
  poll([] { return WaitsEnded() != 0; });
  EXPECT_EQ(WaitsEnded(), 1);
  EXPECT_TRUE(Events().empty()) << "no callback inside the wait";

  ProcessSystemEvents();
  ResumeWaits();
  EXPECT_EQ(Events(), (Sequence{{panel, MAIN_BUTTON, EVENT_LEFT_CLICK},
                                {panel, MAIN_BUTTON, EVENT_COMMIT},
                                {other, 0, EVENT_CLOSE},
                                {panel, 0, EVENT_CLOSE}}));
}

// A context menu asked for while a wait polls opens only afterwards: a menu
// that waits for the operator in a loop of its own would hold the wait.
class MenuCounter : public QWidget {
 public:
  int menus = 0;

 protected:
  void contextMenuEvent(QContextMenuEvent *) override { ++menus; }
};

TEST(UiRuntime, AContextMenuAskedForDuringAPollingWaitOpensAfterIt) {
  MenuCounter widget;
  bool posted = false;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [&] {
        QContextMenuEvent ask(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QCoreApplication::sendEvent(&widget, &ask);
        posted = true;
      },
      Qt::QueuedConnection);
  for (int i = 0; i < 5000 && !posted; ++i) Delay(0.001);
  ASSERT_TRUE(posted) << "the run-time looked at pending events";
  EXPECT_EQ(widget.menus, 0);
  ProcessSystemEvents();
  EXPECT_EQ(widget.menus, 1);
}

}  // namespace
