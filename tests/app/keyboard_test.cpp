// The operator's keyboard in the started program on a simulated line:
// mnemonics, Esc, Ctrl+Q, Tab to the charts and their menu keys.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <functional>

#include "recorder/recorder.h"
#include "tests/recorder/record_file.h"
#include "tests/scope/scope_fixture.h"

namespace {

class Keys : public LiveScope {
 protected:
  void SetUp() override {
    LiveScope::SetUp();
    if (HasFatalFailure()) return;
    Activate(panelHandle);
  }

  // The panel's window becomes the active one. (Offscreen, a ring's list
  // that has closed stays the active window until another is made active.)
  static void Activate(int panel) {
    DisplayPanel(panel);
    QWidget *window = PanelWidget(panel);
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ASSERT_EQ(QApplication::activeWindow(), window);
  }

  // A key as the operator presses it, wherever the focus is.
  static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : QApplication::activeWindow(), key, modifiers);
  }

  // After 15 s `end` ends what a key failed to end, so that the case fails
  // instead of the suite hanging; the limit is active while it has not fired.
  static void Limit(QTimer *limit, const std::function<void()> &end) {
    limit->setSingleShot(true);
    QObject::connect(limit, &QTimer::timeout, end);
    limit->start(15000);
  }

  static std::vector<int> OrdersSent(const sim::Simulator &controller) {
    std::vector<int> orders;
    for (const sim::RequestFrame &frame : controller.requests()) {
      orders.push_back(frame[2] << 8 | frame[3]);
    }
    return orders;
  }
};

TEST_F(Keys, EveryButtonHasAMnemonicOfItsOwnOnItsPanel) {
  for (int panel : {panelHandle, panelPopUp}) {
    QSet<QString> taken;
    for (const QAbstractButton *button : PanelWidget(panel)->findChildren<QAbstractButton *>()) {
      if (!button->property("ctrlId").isValid()) continue;
      const QString mnemonic = QKeySequence::mnemonic(button->text()).toString();
      const std::string name = button->objectName().toStdString();
      EXPECT_FALSE(mnemonic.isEmpty()) << name;
      EXPECT_FALSE(taken.contains(mnemonic)) << name << " repeats " << mnemonic.toStdString();
      taken.insert(mnemonic);
    }
    EXPECT_FALSE(taken.isEmpty());
  }
}

// Send acts on the press of the mouse; its mnemonic is the keyboard's press.
// (Space on the focused button still sends nothing.)
TEST_F(Keys, SendMnemonicSendsAsAClickDoes) {
  Press(Qt::Key_N, Qt::AltModifier);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Sim().requestCount() == 2; }));
  EXPECT_EQ(OrdersSent(Sim()), (std::vector<int>{1, 1}));
  EXPECT_EQ(Status(), "Transmit para Ok!");
}

// Esc during a run ends it with what Stop does: no request after the pass it
// ends, the acquisition controls usable again, the histories reset.
TEST_F(Keys, EscEndsARunAsStopDoes) {
  struct Ender {
    const char *name;
    std::function<void()> end;
  };
  const Ender enders[] = {{"Stop", [] { Click(PANEL_BTNSTOP); }},
                          {"Esc", [] { Press(Qt::Key_Escape); }}};
  for (const Ender &ender : enders) {
    SCOPED_TRACE(ender.name);
    Choose(PANEL_RNGGRAPHSOURCE, 0);
    Activate(panelHandle);
    Sim().clearRecord();
    std::size_t requestsAtEnd = 0;
    bool ended = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
      if (ended || Sim().answerCount() < 5) return;
      ended = true;
      requestsAtEnd = Sim().requestCount();
      ender.end();
    });
    QTimer limit;
    Limit(&limit, [] { Click(PANEL_BTNSTOP); });
    probe.start(0);
    Click(PANEL_BTNRUN);
    ASSERT_TRUE(ended);
    ASSERT_TRUE(limit.isActive()) << "the run went on";
    testsupport::PumpFor(0.2);
    EXPECT_LE(Sim().requestCount(), requestsAtEnd + 1);
    EXPECT_EQ(stop_flag, 1);
    EXPECT_EQ(Dimmed(PANEL_ACQCTRL1), 0);
    EXPECT_EQ(Dimmed(PANEL_ACQCTRL2), 0);
    EXPECT_TRUE(HistoriesAtReset());
    EXPECT_EQ(Status(), "Line Ok!");
  }
}

// Esc in an open list closes the list and nothing else: the run goes on until
// the next Esc.
TEST_F(Keys, EscClosingAnOpenListLeavesTheRunGoing) {
  Choose(PANEL_RNGGRAPHSOURCE, 0);
  Activate(panelHandle);
  auto *ring = Widget<QComboBox>(panelHandle, PANEL_RNGGRAPHSOURCE);
  int step = 0;
  bool runsWithListClosed = false;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (step == 0 && Sim().answerCount() >= 3) {
      ring->showPopup();
      QTest::keyClick(ring->view(), Qt::Key_Escape);
      runsWithListClosed = stop_flag == 0 && !ring->view()->isVisible();
      Activate(panelHandle);
      step = 1;
    } else if (step == 1) {
      step = 2;
      Press(Qt::Key_Escape);
    }
  });
  QTimer limit;
  Limit(&limit, [] { Click(PANEL_BTNSTOP); });
  probe.start(0);
  Click(PANEL_BTNRUN);
  EXPECT_TRUE(runsWithListClosed);
  EXPECT_EQ(step, 2);
  EXPECT_TRUE(limit.isActive()) << "the second Esc did not end the run";
}

// Esc during a recording ends it as Stop recording does: the rows so far stay
// in the file, and Start recording is usable again at once.
TEST_F(Keys, EscEndsARecordingAsStopRecordingDoes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::strcpy(recfile_name, dir.filePath(QStringLiteral("r.dat")).toLocal8Bit().constData());
  SetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, 0);
  SetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, 1000);
  int rowsAtEsc = -1;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const int rows = Value(panelPopUp, POPUP_RECCOUNT);
    if (rowsAtEsc >= 0 || rows < 3) return;
    rowsAtEsc = rows;
    Press(Qt::Key_Escape);
  });
  QTimer limit;
  Limit(&limit, [] { Click(PANEL_RECCTRL2); });
  probe.start(0);
  Click(PANEL_RECCTRL1);
  ASSERT_TRUE(limit.isActive()) << "the recording went on";
  EXPECT_GE(rowsAtEsc, 3);
  EXPECT_EQ(Value(panelPopUp, POPUP_RECCOUNT), rowsAtEsc);
  EXPECT_EQ(RowLines(ReadWholeFile(recfile_name)).size(), static_cast<std::size_t>(rowsAtEsc));
  EXPECT_EQ(Value<std::string>(panelPopUp, POPUP_RECSTATE), "DATA-RECORDER");
  for (int control : {PANEL_RECCTRL1, PANEL_ACQCTRL1, PANEL_ACQCTRL2}) {
    EXPECT_EQ(Dimmed(control), 0) << control;
  }
  EXPECT_EQ(Attribute(panelPopUp, POPUP_RECCTRL, ATTR_DIMMED), 0);
}

// A readout is no loop that Stop ends: Esc pressed during it changes nothing,
// and the readout reads all four blocks.
TEST_F(Keys, EscDuringAReadoutLeavesItWhole) {
  Choose(PANEL_RNGGRAPHSOURCE, 2);
  Activate(panelHandle);
  SetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_VISIBLE, 0);
  bool pressedDuringReadout = false;
  QTimer::singleShot(0, [&] {
    pressedDuringReadout = Visible(PANEL_DATAGRAPH) == 1;  // the readout's first step shows it
    Press(Qt::Key_Escape);
  });
  Click(PANEL_BTNDATA);
  ASSERT_TRUE(pressedDuringReadout);
  EXPECT_EQ(OrdersSent(Sim()), (std::vector<int>{8, 9, 9, 9, 9}));
  EXPECT_EQ(Status(), "Data[64] block received!");
}

// Ctrl+Q in either window closes the program the way the main window's close
// box does: the port is closed and the event loop ends with 0.
TEST_F(Keys, CtrlQClosesTheProgramFromEitherWindow) {
  for (int panel : {panelHandle, panelPopUp}) {
    SCOPED_TRACE(panel == panelHandle ? "main panel" : "popup");
    ChoosePort(Line().port());
    ASSERT_GE(GetInQLen(com), 0);
    Activate(panel);
    QTimer press;
    press.setSingleShot(true);
    QObject::connect(&press, &QTimer::timeout, [] { Press(Qt::Key_Q, Qt::ControlModifier); });
    QTimer limit;
    Limit(&limit, [] { QuitUserInterface(99); });
    press.start(50);
    EXPECT_EQ(RunUserInterface(), 0);
    EXPECT_EQ(GetInQLen(com), kRS232PortNotOpen);
  }
}

// Tab reaches the chart on show and moves on from it.
TEST_F(Keys, TabReachesTheChartOnShow) {
  for (int chart : {PANEL_RAWCHART, PANEL_NORMCHART, PANEL_DATAGRAPH}) {
    SetCtrlAttribute(panelHandle, chart, ATTR_VISIBLE, chart == PANEL_DATAGRAPH);
  }
  QWidget *graph = ControlWidget(panelHandle, PANEL_DATAGRAPH);
  ControlWidget(panelHandle, PANEL_POWERA)->setFocus();
  int presses = 0;
  while (QApplication::focusWidget() != graph && presses < 100) {
    Press(Qt::Key_Tab);
    ++presses;
  }
  ASSERT_EQ(QApplication::focusWidget(), graph) << "after " << presses << " presses";
  Press(Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), graph);
}

// A chart with the focus opens its menu on the Menu key and on Shift+F10, as
// on a right click; other keys open nothing.
TEST_F(Keys, MenuKeyAndShiftF10OpenTheChartsMenu) {
  struct Case {
    int chart;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool opens;
  };
  const Case cases[] = {{PANEL_RAWCHART, Qt::Key_Menu, Qt::NoModifier, true},
                        {PANEL_RAWCHART, Qt::Key_F10, Qt::ShiftModifier, true},
                        {PANEL_DATAGRAPH, Qt::Key_Menu, Qt::NoModifier, true},
                        {PANEL_DATAGRAPH, Qt::Key_F10, Qt::ShiftModifier, true},
                        {PANEL_DATAGRAPH, Qt::Key_F10, Qt::NoModifier, false},
                        {PANEL_DATAGRAPH, Qt::Key_Space, Qt::NoModifier, false}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.chart << " key " << c.key);
    SetCtrlAttribute(panelHandle, c.chart, ATTR_VISIBLE, 1);
    QWidget *chart = ControlWidget(panelHandle, c.chart);
    chart->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(chart->hasFocus());
    Press(c.key, c.modifiers);
    auto *menu = chart->findChild<QMenu *>();
    EXPECT_EQ(menu != nullptr && menu->isVisible(), c.opens);
    if (menu != nullptr) menu->close();
  }
}

}  // namespace
