// Settings survive a reopening of their file; absent or unusable keys read
// as absent; each test has a file of its own.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <string>

#include "platform/util/settings.h"
#include "tests/support/test_settings.h"

namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("rv.conf").toStdString();
    SettingsUseFile(path_.c_str());
  }
  void TearDown() override { testsupport::UseFreshSettings(); }

  QTemporaryDir dir_;
  std::string path_;
};

TEST_F(SettingsFileTest, TextAndNumbersComeBackAfterReopening) {
  SettingsSetText("port/device", "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0");
  SettingsSetText("popupdirs/cfg", "/home/op/Ablage mit Leerzeichen/\u00e4");
  SettingsSetInt("panels/main/top", -12);
  SettingsSync();
  SettingsUseFile(path_.c_str());  // opened again

  char text[260] = "";
  ASSERT_EQ(SettingsGetText("port/device", text, sizeof text), 1);
  EXPECT_STREQ(text, "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0");
  ASSERT_EQ(SettingsGetText("popupdirs/cfg", text, sizeof text), 1);
  EXPECT_STREQ(text, "/home/op/Ablage mit Leerzeichen/\u00e4");
  int value = 0;
  ASSERT_EQ(SettingsGetInt("panels/main/top", &value), 1);
  EXPECT_EQ(value, -12);
}

TEST_F(SettingsFileTest, AbsentTooLongOrNonNumericKeysReadAsAbsent) {
  SettingsSetText("long", std::string(40, 'x').c_str());
  SettingsSetText("word", "left");
  char text[16] = "stale";
  EXPECT_EQ(SettingsGetText("missing", text, sizeof text), 0);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(SettingsGetText("long", text, sizeof text), 0);
  EXPECT_STREQ(text, "");
  int value = 7;
  EXPECT_EQ(SettingsGetInt("word", &value), 0);
  EXPECT_EQ(SettingsGetInt("missing", &value), 0);
  EXPECT_EQ(value, 7);
}

// A test's settings never leak into the next one's, and switching files
// leaves the one before as it was.
TEST_F(SettingsFileTest, AFreshTestFileStartsEmptyAndTheOneBeforeKeepsItsValues) {
  SettingsSetInt("scope/graphsource", 2);
  testsupport::UseFreshSettings();
  int value = 0;
  EXPECT_EQ(SettingsGetInt("scope/graphsource", &value), 0);
  SettingsUseFile(path_.c_str());
  EXPECT_EQ(SettingsGetInt("scope/graphsource", &value), 1);
  EXPECT_EQ(value, 2);
}

}  // namespace
