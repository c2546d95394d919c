// What the user-interface run-time keeps for the next run: the last
// directory of each kind of file popup and the panel places.
#include <QDir>
#include <cstring>

#include "platform/ui/listchoice.h"
#include "platform/ui/panelplace.h"
#include "platform/util/settings.h"
#include "tests/platform/ui_fixture.h"
#include "tests/support/test_settings.h"

namespace {

class PopupDirTest : public UiTest {
 protected:
  void TearDown() override {
    SetFilePopupAnswer(nullptr);
    testsupport::UseFreshSettings();
  }

  // Opens the popup for `types` from `given` and answers with `chosen`;
  // returns the directory the popup opened in.
  std::string Popup(const char *types, const std::string &given, const std::string &chosen,
                    int restrictDirectory = 0) {
    std::string opened;
    SetFilePopupAnswer([&](const FilePopupRequest &request, std::string *answer) {
      opened = request.dir;
      *answer = chosen;
      return !chosen.empty();
    });
    char path[kMaxPathname] = "";
    FileSelectPopup(given.c_str(), "x", types, "t", VAL_SELECT_BUTTON, restrictDirectory, 0, 1, 0,
                    path);
    return opened;
  }
  std::string Sub(const char *name) {
    QDir(dir_.path()).mkpath(name);
    return dir_.filePath(name).toStdString();
  }
};

TEST_F(PopupDirTest, EachKindOfFileOpensWhereItsLastChoiceWas) {
  const std::string home = Sub("home");
  const std::string params = Sub("params");
  const std::string records = Sub("records");
  EXPECT_EQ(Popup("*.cfg", home, params + "/a.cfg"), home) << "nothing kept yet";
  EXPECT_EQ(Popup("*.dat", home, records + "/r.dat"), home) << "a kind of its own";
  EXPECT_EQ(Popup("*.cfg", home, ""), params);
  EXPECT_EQ(Popup("*.dat", home, ""), records);
  EXPECT_EQ(Popup("*.cfg", home, "", 1), home) << "a popup confined to its directory stays";
  QDir(QString::fromStdString(params)).removeRecursively();
  EXPECT_EQ(Popup("*.cfg", home, ""), home) << "a directory gone since is not offered";
}

TEST_F(PopupDirTest, CancelKeepsTheLastDirectory) {
  const std::string home = Sub("home");
  const std::string params = Sub("params");
  Popup("*.cfg", home, params + "/a.cfg");
  Popup("*.cfg", home, "");
  EXPECT_EQ(Popup("*.cfg", home, ""), params);
}

TEST_F(UiTest, PanelPlaceRoundTripAndOffScreenPlacesIgnored) {
  const int panel = LoadMain();
  ASSERT_EQ(SetPanelPlace(panel, 33, 44), 0);
  int top = 0;
  int left = 0;
  ASSERT_EQ(GetPanelPlace(panel, &top, &left), 0);
  EXPECT_EQ(top, 33);
  EXPECT_EQ(left, 44);
  ASSERT_EQ(SetPanelPlace(panel, 50000, -50000), 0);
  ASSERT_EQ(GetPanelPlace(panel, &top, &left), 0);
  EXPECT_EQ(top, 33);
  EXPECT_EQ(left, 44);
  EXPECT_EQ(GetPanelPlace(9999, &top, &left), UIE_BAD_HANDLE);
  EXPECT_EQ(SetPanelPlace(9999, 0, 0), UIE_BAD_HANDLE);
  EXPECT_LT(SetRingChoiceOnlyFromList(panel, MAIN_BUTTON), 0) << "a button is no ring";
  DiscardPanel(panel);
}

}  // namespace
