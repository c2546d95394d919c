// Choice of the record file, answered through the file popup's test seam.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <string>

#include "params/panels.h"
#include "recorder/recorder.h"
#include "tests/params/loaded_panels.h"

namespace {

class RecFile : public LoadedPanels {
 protected:
  void SetUp() override {
    LoadedPanels::SetUp();
    ASSERT_TRUE(tmp_.isValid());
    existing_ = tmp_.filePath(QStringLiteral("old.dat")).toStdString();
    QFile f(QString::fromStdString(existing_));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("1\n");
    f.close();
    SetCtrlVal(panelPopUp, POPUP_RECFILENAME, "/before/RVimRecord.dat");
  }
  void TearDown() override {
    SetFilePopupAnswer({});
    SetOverwriteConfirmAnswer({});
    LoadedPanels::TearDown();
  }

  // The operator's answers: the file named in the dialog, and yes/no to replacing it.
  void Answer(bool choose, const std::string &path, bool replace = false) {
    SetFilePopupAnswer([=, this](const FilePopupRequest &r, std::string *chosen) {
      request_ = r;
      ++asked_;
      if (choose) *chosen = path;
      return choose;
    });
    SetOverwriteConfirmAnswer([=, this](const std::string &) {
      ++confirmAsked_;
      return replace;
    });
  }

  // The operator clicks the record file button.
  void ClickFileButton() {
    QWidget *button = Widget(panelPopUp, POPUP_RECFILEBTN);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
  }

  static std::string Shown() {
    char text[kMaxPathname] = "";
    GetCtrlVal(panelPopUp, POPUP_RECFILENAME, text);
    return text;
  }
  bool Exists(const std::string &path) { return QFile::exists(QString::fromStdString(path)); }

  QTemporaryDir tmp_;
  std::string existing_;
  FilePopupRequest request_;
  int asked_ = 0;
  int confirmAsked_ = 0;
};

TEST_F(RecFile, DialogIsAskedForARecordFileInTheProgramDirectory) {
  std::strcpy(proj_dir, "/tmp/project-dir");
  Answer(false, "");
  ClickFileButton();
  ASSERT_EQ(asked_, 1);
  EXPECT_EQ(request_.dir, "/tmp/project-dir");
  EXPECT_EQ(request_.defaultFile, "RVIMrecord.dat");
  EXPECT_EQ(request_.filter, "*.dat");
  EXPECT_EQ(request_.title, "R-VIM-Series Recorder-File:");
  EXPECT_EQ(request_.buttonLabel, "OK");
}

TEST_F(RecFile, ConfirmedExistingFileIsDeletedAtOnceAndShown) {
  Answer(true, existing_, true);
  ClickFileButton();
  EXPECT_EQ(confirmAsked_, 1);
  EXPECT_FALSE(Exists(existing_));
  EXPECT_EQ(Shown(), existing_);
  EXPECT_STREQ(recfile_name, existing_.c_str());
}

TEST_F(RecFile, RefusedOverwriteDeletesAndShowsNothing) {
  Answer(true, existing_, false);
  ClickFileButton();
  EXPECT_EQ(confirmAsked_, 1);
  EXPECT_TRUE(Exists(existing_));
  EXPECT_EQ(Shown(), "/before/RVimRecord.dat");
}

TEST_F(RecFile, NewNameIsShownAndNoFileMade) {
  const std::string fresh = tmp_.filePath(QStringLiteral("new")).toStdString();
  Answer(true, fresh);
  ClickFileButton();
  EXPECT_EQ(confirmAsked_, 0);
  EXPECT_EQ(Shown(), fresh + ".dat");  // the extension is held to the filter
  EXPECT_STREQ(recfile_name, (fresh + ".dat").c_str());
  EXPECT_FALSE(Exists(fresh + ".dat"));
  EXPECT_TRUE(Exists(existing_));
}

TEST_F(RecFile, CancelLeavesEverythingAsItWas) {
  std::snprintf(recfile_name, sizeof recfile_name, "%s", "/before/RVimRecord.dat");
  Answer(false, existing_);
  ClickFileButton();
  EXPECT_EQ(asked_, 1);
  EXPECT_TRUE(Exists(existing_));
  EXPECT_EQ(Shown(), "/before/RVimRecord.dat");
  EXPECT_STREQ(recfile_name, "/before/RVimRecord.dat");
}

TEST_F(RecFile, OnlyTheCommitOpensTheDialog) {
  Answer(true, existing_, true);
  CC_RecordFileNameBtn(panelPopUp, POPUP_RECFILEBTN, EVENT_LEFT_CLICK, nullptr, 0, 0);
  CC_RecordFileNameBtn(panelPopUp, POPUP_RECFILEBTN, EVENT_VAL_CHANGED, nullptr, 0, 0);
  EXPECT_EQ(asked_, 0);
  EXPECT_TRUE(Exists(existing_));
}

}  // namespace
