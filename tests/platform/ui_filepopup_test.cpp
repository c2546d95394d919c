// The file popup, answered through its seams as an operator would.
#include <QDir>
#include <QFile>
#include <cstring>

#include "tests/platform/ui_fixture.h"

namespace {

class FilePopupTest : public UiTest {
 protected:
  void TearDown() override {
    SetFilePopupAnswer(nullptr);
    SetOverwriteConfirmAnswer(nullptr);
  }

  // Answers the next popup with `path` (relative to the temporary directory
  // unless absolute) and remembers the request.
  void Choose(const std::string &path) {
    SetFilePopupAnswer([this, path](const FilePopupRequest &request, std::string *chosen) {
      request_ = request;
      *chosen = path;
      return true;
    });
  }

  int Popup(int button, int restrictExtension = 1) {
    std::memcpy(path_, "untouched", 10);
    return FileSelectPopup(dir(), "ZEL4para.cfg", "*.cfg", "R-VIM-ZEL4 Parameter File", button, 0,
                           restrictExtension, 1, 1, path_);
  }

  const char *dir() {
    dirBytes_ = dir_.path().toStdString();
    return dirBytes_.c_str();
  }
  std::string InDir(const char *name) { return dir_.filePath(name).toStdString(); }

  FilePopupRequest request_;
  std::string dirBytes_;
  char path_[kMaxPathname];
};

TEST_F(FilePopupTest, RequestCarriesWhatTheProgramAskedFor) {
  Choose("a.cfg");
  Popup(VAL_LOAD_BUTTON);
  EXPECT_EQ(request_.dir, dir_.path().toStdString());
  EXPECT_EQ(request_.defaultFile, "ZEL4para.cfg");
  EXPECT_EQ(request_.filter, "*.cfg");
  EXPECT_EQ(request_.title, "R-VIM-ZEL4 Parameter File");
  EXPECT_EQ(request_.buttonLabel, "Load");
  Popup(VAL_OK_BUTTON);
  EXPECT_EQ(request_.buttonLabel, "OK");
}

TEST_F(FilePopupTest, CancelLeavesThePathUntouched) {
  SetFilePopupAnswer([](const FilePopupRequest &, std::string *) { return false; });
  EXPECT_EQ(Popup(VAL_OK_BUTTON), VAL_NO_FILE_SELECTED);
  EXPECT_STREQ(path_, "untouched");
}

TEST_F(FilePopupTest, ExistingFileGivesOneAndNewNameGivesTwo) {
  WriteFile("old.cfg", "1\n");
  Choose("old.cfg");
  EXPECT_EQ(Popup(VAL_LOAD_BUTTON), VAL_EXISTING_FILE_SELECTED);
  EXPECT_EQ(std::string(path_), InDir("old.cfg"));
  Choose(InDir("new.cfg"));
  EXPECT_EQ(Popup(VAL_OK_BUTTON), VAL_NEW_FILE_SELECTED);
  EXPECT_EQ(std::string(path_), InDir("new.cfg"));
}

TEST_F(FilePopupTest, ReplacingAnExistingFileNeedsConfirmation) {
  WriteFile("old.cfg", "1\n");
  Choose("old.cfg");
  std::string asked;
  SetOverwriteConfirmAnswer([&asked](const std::string &path) {
    asked = path;
    return false;
  });
  EXPECT_EQ(Popup(VAL_OK_BUTTON), VAL_NO_FILE_SELECTED);
  EXPECT_STREQ(path_, "untouched");
  EXPECT_EQ(asked, InDir("old.cfg"));
  SetOverwriteConfirmAnswer([](const std::string &) { return true; });
  EXPECT_EQ(Popup(VAL_SAVE_BUTTON), VAL_EXISTING_FILE_SELECTED);
  EXPECT_EQ(std::string(path_), InDir("old.cfg"));
  // Loading never asks.
  SetOverwriteConfirmAnswer([](const std::string &) -> bool {
    ADD_FAILURE();
    return false;
  });
  EXPECT_EQ(Popup(VAL_LOAD_BUTTON), VAL_EXISTING_FILE_SELECTED);
}

TEST_F(FilePopupTest, PathThatDoesNotFitIsRefused) {
  const std::string longName(kMaxPathname, 'n');
  Choose(longName + ".cfg");
  EXPECT_EQ(Popup(VAL_OK_BUTTON), VAL_NO_FILE_SELECTED);
  EXPECT_STREQ(path_, "untouched");
  // Exactly one byte short of the buffer still fits.
  const std::string base = dir_.path().toStdString() + "/";
  const std::string fits = base + std::string(kMaxPathname - 1 - base.size() - 4, 'f') + ".cfg";
  ASSERT_EQ(fits.size(), static_cast<std::size_t>(kMaxPathname - 1));
  Choose(fits);
  EXPECT_EQ(Popup(VAL_OK_BUTTON), VAL_NEW_FILE_SELECTED);
  EXPECT_EQ(std::string(path_), fits);
}

TEST_F(FilePopupTest, RestrictedExtensionIsAppendedToANameWithoutIt) {
  Choose("record");
  EXPECT_EQ(Popup(VAL_OK_BUTTON), VAL_NEW_FILE_SELECTED);
  EXPECT_EQ(std::string(path_), InDir("record.cfg"));
  WriteFile("record.cfg", "");
  SetOverwriteConfirmAnswer([](const std::string &) { return true; });
  EXPECT_EQ(Popup(VAL_OK_BUTTON), VAL_EXISTING_FILE_SELECTED);
  Choose("notes.txt");
  EXPECT_EQ(Popup(VAL_OK_BUTTON, 0), VAL_NEW_FILE_SELECTED);
  EXPECT_EQ(std::string(path_), InDir("notes.txt"));
}

}  // namespace
