// The resource file through the run-time: both panels load with the registry,
// every header control answers, controls start at the values the program
// expects, and a damaged file is refused.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/callbacks.h"
#include "platform/ui/userint.h"
#include "tests/support/controlnames.h"
#include "tests/ui/uir_model.h"
#include "ui/RVIMZEL4V14.h"

namespace {

int QuietControl(int, int, int, void *, int, int) {
  return 0;
}
int QuietPanel(int, int, void *, int, int) {
  return 0;
}

// The registry's names bound to callbacks that do nothing, for tests that
// operate controls and want to see the widgets alone.
CallbackEntry gQuietTable[64];

void RegisterQuietCallbacks() {
  ASSERT_LE(kCallbackCount, 64);
  for (int i = 0; i < kCallbackCount; ++i) {
    gQuietTable[i] = {kCallbackTable[i].name, kCallbackTable[i].ctrl ? QuietControl : nullptr,
                      kCallbackTable[i].panel ? QuietPanel : nullptr};
  }
  RegisterCallbacks(gQuietTable, kCallbackCount);
}

class UiPanels : public testing::Test {
 protected:
  void SetUp() override {
    RegisterCallbacks(kCallbackTable, kCallbackCount);
    load();
  }
  void load() {
    const QByteArray path = UirPath().toLocal8Bit();
    panel = LoadPanel(0, path.constData(), PANEL);
    popup = LoadPanel(0, path.constData(), POPUP);
    ASSERT_GT(panel, 0);
    ASSERT_GT(popup, 0);
  }
  void TearDown() override {
    if (popup > 0) DiscardPanel(popup);
    if (panel > 0) DiscardPanel(panel);
  }
  int handleOf(int resourceId) const { return resourceId == PANEL ? panel : popup; }
  int intVal(int handle, int control) const {
    int v = -1;
    EXPECT_EQ(GetCtrlVal(handle, control, &v), 0) << control;
    return v;
  }
  std::string text(int handle, int control) const {
    char buf[256] = "";
    EXPECT_EQ(GetCtrlVal(handle, control, buf), 0) << control;
    return buf;
  }
  int visible(int handle, int control) const {
    int v = -1;
    EXPECT_EQ(GetCtrlAttribute(handle, control, ATTR_VISIBLE, &v), 0) << control;
    return v;
  }
  int panel = 0;
  int popup = 0;
};

TEST_F(UiPanels, EveryHeaderControlAnswersOnItsPanel) {
  for (int i = 0; i < kControlNameCount; ++i) {
    int v = -1;
    EXPECT_EQ(
        GetCtrlAttribute(handleOf(kControlNames[i].panel), kControlNames[i].id, ATTR_VISIBLE, &v),
        0)
        << kControlNames[i].name;
  }
}

// With no controller at start-up these become the working parameter set.
TEST_F(UiPanels, ParameterControlsStartAtTheDefaults) {
  const struct {
    int panelId, control, value;
  } defaults[] = {
      {PANEL, PANEL_POWERA, 500},      {PANEL, PANEL_POWERB, 500},   {PANEL, PANEL_REFA, 2048},
      {PANEL, PANEL_REFB, 2048},       {PANEL, PANEL_TOLA, 512},     {PANEL, PANEL_TOLB, 512},
      {PANEL, PANEL_HYSTERESIS, 20},   {PANEL, PANEL_HWMODE, 1},     {POPUP, POPUP_MAXMODE, 0},
      {POPUP, POPUP_AVERAGE, 8},       {POPUP, POPUP_POLARITY, 1},   {POPUP, POPUP_HOLD, 100},
      {POPUP, POPUP_DROP_EVALMODE, 0}, {POPUP, POPUP_TRIGLVLA, 950}, {POPUP, POPUP_TRIGLVLB, 950},
      {POPUP, POPUP_DROPTRIGMODE, 0},  {POPUP, POPUP_SDELAY, 500},   {POPUP, POPUP_OUTMODE, 0},
      {POPUP, POPUP_ANAMODE, 0},
  };
  for (const auto &d : defaults) {
    unsigned short v = 0xFFFF;
    EXPECT_EQ(GetCtrlVal(handleOf(d.panelId), d.control, &v), 0) << d.control;
    EXPECT_EQ(v, d.value) << d.control;
  }
}

TEST_F(UiPanels, SwitchesAndTextsStartAsTheProgramAssumes) {
  EXPECT_EQ(intVal(panel, PANEL_RBTRAM), 1);
  EXPECT_EQ(intVal(panel, PANEL_RBTEEPROM), 0);
  EXPECT_EQ(intVal(panel, PANEL_RBTFILE), 0);
  EXPECT_EQ(intVal(panel, PANEL_TOGBTNPARAII), 0);
  EXPECT_EQ(intVal(panel, PANEL_BINSWPOWER), 1);
  EXPECT_EQ(intVal(panel, PANEL_RNGGRAPHSOURCE), 2);
  EXPECT_EQ(text(panel, PANEL_TRIGMODETEXT), "CONTINOUS");
  EXPECT_EQ(text(panel, PANEL_EVALMODETEXT), "NORM-A: A/Amax");
  EXPECT_EQ(text(panel, PANEL_ANAMODETEXT), "DIRECT 0 .. 10V");
  EXPECT_EQ(text(panel, PANEL_OUTMODETEXT), "(+)->OUT0; (-)->OUT1");
  EXPECT_EQ(text(popup, POPUP_RECSTATE), "DATA-RECORDER");
}

// The normalised chart matches the start value of the chart selector; the
// channel-A power input matches the power switch.
TEST_F(UiPanels, OnlyTheStartChartAndPowerInputAreVisible) {
  EXPECT_EQ(visible(panel, PANEL_NORMCHART), 1);
  EXPECT_EQ(visible(panel, PANEL_RAWCHART), 0);
  EXPECT_EQ(visible(panel, PANEL_DATAGRAPH), 0);
  EXPECT_EQ(visible(panel, PANEL_POWERA), 1);
  EXPECT_EQ(visible(panel, PANEL_POWERB), 0);
  EXPECT_EQ(visible(panel, PANEL_STATUS), 1);
  EXPECT_EQ(visible(panel, PANEL_BANNER), 1);
}

// Parameters are 16-bit words carried unchanged: every numeric control must
// hold the full range, and the recording time can reach 49708 days.
TEST_F(UiPanels, NumericControlsHoldTheFullWordRange) {
  const struct {
    int panelId, control;
  } numeric[] = {
      {PANEL, PANEL_POWERA},
      {PANEL, PANEL_POWERB},
      {PANEL, PANEL_REFA},
      {PANEL, PANEL_REFB},
      {PANEL, PANEL_TOLA},
      {PANEL, PANEL_TOLB},
      {PANEL, PANEL_HYSTERESIS},
      {PANEL, PANEL_HWMODE},
      {POPUP, POPUP_MAXMODE},
      {POPUP, POPUP_AVERAGE},
      {POPUP, POPUP_POLARITY},
      {POPUP, POPUP_HOLD},
      {POPUP, POPUP_TRIGLVLA},
      {POPUP, POPUP_TRIGLVLB},
      {POPUP, POPUP_SDELAY},
      {POPUP, POPUP_OUTMODE},
      {POPUP, POPUP_ANAMODE},
      {POPUP, POPUP_NEDITRECTIME},
      {POPUP, POPUP_NEDITRECSAMPLES},
      {PANEL, PANEL_VALA},
      {PANEL, PANEL_ADCB},
      {PANEL, PANEL_IN1VAL},
      {POPUP, POPUP_RECCOUNT},
      {POPUP, POPUP_RECDAY},
  };
  for (const auto &n : numeric) {
    for (int value : {0, 49708, 65535}) {
      EXPECT_EQ(SetCtrlVal(handleOf(n.panelId), n.control, value), 0);
      unsigned short v = 1;
      GetCtrlVal(handleOf(n.panelId), n.control, &v);
      EXPECT_EQ(v, value) << n.control;
    }
  }
}

QRadioButton *radio(const char *name) {
  for (QWidget *top : QApplication::topLevelWidgets()) {
    if (auto *r = top->findChild<QRadioButton *>(name)) return r;
  }
  return nullptr;
}

class UiQuietPanels : public UiPanels {
 protected:
  void SetUp() override {
    RegisterQuietCallbacks();
    load();
  }
};

// The storage target callbacks keep exactly one button on; the buttons
// themselves must neither exclude each other nor refuse to switch off.
TEST_F(UiQuietPanels, RadioButtonsLeaveExclusionToTheProgram) {
  DisplayPanel(panel);
  QRadioButton *ram = radio("PANEL_RBTRAM");
  QRadioButton *eeprom = radio("PANEL_RBTEEPROM");
  ASSERT_NE(ram, nullptr);
  ASSERT_NE(eeprom, nullptr);
  QTest::mouseClick(eeprom, Qt::LeftButton);
  EXPECT_EQ(intVal(panel, PANEL_RBTEEPROM), 1);
  EXPECT_EQ(intVal(panel, PANEL_RBTRAM), 1);
  QTest::mouseClick(ram, Qt::LeftButton);
  EXPECT_EQ(intVal(panel, PANEL_RBTRAM), 0);
}

class UiDamagedFile : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QFile file(UirPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    original = file.readAll();
    RegisterCallbacks(kCallbackTable, kCallbackCount);
  }
  int loadCopy(const QByteArray &content, int panelId) {
    const QString path = dir.filePath("damaged.uir");
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(content);
    out.close();
    return LoadPanel(0, path.toLocal8Bit().constData(), panelId);
  }
  QTemporaryDir dir;
  QByteArray original;
};

TEST_F(UiDamagedFile, UnchangedCopyLoads) {
  const int h = loadCopy(original, PANEL);
  EXPECT_GT(h, 0);
  if (h > 0) DiscardPanel(h);
}

TEST_F(UiDamagedFile, CutOffFileIsRefused) {
  EXPECT_LT(loadCopy(original.left(original.size() / 2), PANEL), 0);
  EXPECT_LT(loadCopy(original.left(original.size() / 2), POPUP), 0);
}

TEST_F(UiDamagedFile, UnclosedElementIsRefused) {
  QByteArray broken = original;
  const QByteArray tag = "<widget class=\"QPushButton\" name=\"PANEL_BTNRUN\">";
  ASSERT_TRUE(broken.contains(tag));
  broken.replace(tag, "<widget class=\"QPushButton\" name=\"PANEL_BTNRUN\"");
  EXPECT_LT(loadCopy(broken, PANEL), 0);
}

TEST_F(UiDamagedFile, UnknownCallbackNameIsRefused) {
  QByteArray broken = original;
  ASSERT_TRUE(broken.contains("<string>CC_BTNRun</string>"));
  broken.replace("<string>CC_BTNRun</string>", "<string>CC_BTNRunAway</string>");
  EXPECT_EQ(loadCopy(broken, PANEL), UIE_BAD_CALLBACK);
}

TEST_F(UiDamagedFile, MissingFileIsReported) {
  EXPECT_EQ(LoadPanel(0, dir.filePath("absent.uir").toLocal8Bit().constData(), PANEL),
            UIE_FILE_NOT_FOUND);
}

}  // namespace
