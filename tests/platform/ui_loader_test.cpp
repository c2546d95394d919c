// Loading panels from the resource file and the panel operations.
#include <QAbstractButton>
#include <QPointer>
#include <QWidget>

#include "platform/ui/stripchart.h"
#include "platform/ui/xygraph.h"
#include "tests/platform/ui_fixture.h"

namespace {

TEST_F(UiTest, LoadPanelRefusesMissingMalformedAndUnknown) {
  EXPECT_EQ(LoadPanel(0, (dir_.path() + "/none.uir").toUtf8().constData(), kMainPanel),
            UIE_FILE_NOT_FOUND);
  EXPECT_EQ(LoadPanel(0, "", kMainPanel), UIE_FILE_NOT_FOUND);
  const std::string broken = WriteFile("broken.uir", "<ui version=\"4.0\"><widget class=");
  EXPECT_EQ(LoadPanel(0, broken.c_str(), kMainPanel), UIE_BAD_FILE);
  const std::string notUi = WriteFile("other.uir", "<?xml version=\"1.0\"?><html/>");
  EXPECT_EQ(LoadPanel(0, notUi.c_str(), kMainPanel), UIE_BAD_FILE);
  EXPECT_EQ(LoadPanel(0, GoodFile().c_str(), 7), UIE_BAD_PANEL_ID);
}

TEST_F(UiTest, LoadPanelRefusesCallbacksThatAreNotRegisteredOrOfTheWrongKind) {
  const std::string unknownControl = WriteFile(
      "c.uir",
      ResourceXml(MainPanelXml("CC_Main", Control("QPushButton", "X", 90, Callback("CC_Nowhere"))) +
                  SecondPanelXml()));
  EXPECT_EQ(LoadPanel(0, unknownControl.c_str(), kMainPanel), UIE_BAD_CALLBACK);
  const std::string unknownPanel = WriteFile("p.uir", ResourceXml(MainPanelXml("CC_Gone")));
  EXPECT_EQ(LoadPanel(0, unknownPanel.c_str(), kMainPanel), UIE_BAD_CALLBACK);
  // A control callback named as the panel's callback.
  const std::string wrongKind = WriteFile("k.uir", ResourceXml(MainPanelXml("CC_Record")));
  EXPECT_EQ(LoadPanel(0, wrongKind.c_str(), kMainPanel), UIE_BAD_CALLBACK);
  // The other panel of a file is not checked when it is not loaded.
  EXPECT_GT(LoadPanel(0, unknownControl.c_str(), kSecondPanel), 0);
}

TEST_F(UiTest, LoadPanelRefusesDuplicateControlIdsAndBadRingValues) {
  const std::string duplicate =
      WriteFile("d.uir", ResourceXml(MainPanelXml("CC_Main", Control("QLabel", "DUP", MAIN_TEXT))));
  EXPECT_EQ(LoadPanel(0, duplicate.c_str(), kMainPanel), UIE_BAD_FILE);
  const std::string ring = WriteFile(
      "r.uir", ResourceXml(MainPanelXml(
                   "CC_Main", Control("QComboBox", "R", 91,
                                      Prop("itemValues", "string", "1,2") + ComboItems()))));
  EXPECT_EQ(LoadPanel(0, ring.c_str(), kMainPanel), UIE_BAD_FILE);
}

TEST_F(UiTest, LoadedPanelIsAHiddenFixedSizeWindowUntilDisplayed) {
  const std::string file = GoodFile();
  const int main = LoadPanel(0, file.c_str(), kMainPanel);
  const int second = LoadPanel(0, file.c_str(), kSecondPanel);
  ASSERT_GT(main, 0);
  ASSERT_GT(second, 0);
  EXPECT_NE(main, second);
  QWidget *window = PanelWidget(main);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->windowTitle(), QString("Main panel"));
  EXPECT_EQ(window->size(), QSize(640, 480));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(DisplayPanel(main), 0);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(HidePanel(main), 0);
  EXPECT_FALSE(window->isVisible());
  // Each panel has its own controls: control 2 is a button here, a ring there.
  EXPECT_NE(ControlWidget(main, 2), ControlWidget(second, 2));
  EXPECT_EQ(ControlWidget(second, MAIN_TOGGLE), nullptr);
}

TEST_F(UiTest, DiscardedPanelHandleIsUnknownAfterwards) {
  const int panel = LoadMain();
  QPointer<QWidget> window = PanelWidget(panel);
  EXPECT_EQ(DiscardPanel(panel), 0);
  EXPECT_TRUE(window.isNull());
  int value = 0;
  EXPECT_EQ(GetCtrlVal(panel, MAIN_U16, &value), UIE_BAD_HANDLE);
  EXPECT_EQ(DisplayPanel(panel), UIE_BAD_HANDLE);
  EXPECT_EQ(DiscardPanel(panel), UIE_BAD_HANDLE);
  EXPECT_GT(LoadMain(), panel);  // handles are not reused
}

int gDiscardTarget = 0;
int DiscardOwnPanel(int panel, int, int event, void *, int, int) {
  if (event == EVENT_COMMIT) DiscardPanel(gDiscardTarget = panel);
  return 0;
}

TEST_F(UiTest, PanelCanBeDiscardedFromItsOwnCallback) {
  static const CallbackEntry table[] = {{"CC_Record", DiscardOwnPanel, nullptr},
                                        {"CC_Main", nullptr, RecordPanel}};
  RegisterCallbacks(table, 2);
  const int panel = LoadMain();
  QPointer<QWidget> window = PanelWidget(panel);
  static_cast<QAbstractButton *>(ControlWidget(panel, MAIN_BUTTON))->click();
  EXPECT_EQ(gDiscardTarget, panel);
  EXPECT_EQ(PanelWidget(panel), nullptr);
  for (int i = 0; i < 5 && !window.isNull(); ++i) ProcessSystemEvents();
  EXPECT_TRUE(window.isNull());
}

TEST_F(UiTest, ControlsFromTheFileKeepTheirNamesAndKinds) {
  const int panel = LoadMain();
  EXPECT_EQ(ControlWidget(panel, MAIN_U16)->objectName(), QString("MAIN_U16"));
  EXPECT_NE(dynamic_cast<StripChart *>(ControlWidget(panel, MAIN_STRIP)), nullptr);
  EXPECT_NE(dynamic_cast<XYGraph *>(ControlWidget(panel, MAIN_GRAPH)), nullptr);
  EXPECT_TRUE(ControlWidget(panel, MAIN_INNER)->inherits("QPushButton"));
  EXPECT_EQ(ControlWidget(panel, 99), nullptr);
}

}  // namespace
