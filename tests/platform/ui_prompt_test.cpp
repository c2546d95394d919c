// The prompt popup, answered through its seam.
#include "tests/platform/ui_fixture.h"

namespace {

class PromptTest : public UiTest {
 protected:
  void TearDown() override { SetPromptAnswer(nullptr); }
};

TEST_F(PromptTest, AnswerIsCopiedAndItsLengthReturned) {
  std::string askedTitle, askedMessage;
  SetPromptAnswer([&](const std::string &title, const std::string &message, std::string *answer) {
    askedTitle = title;
    askedMessage = message;
    *answer = "/dev/pts/3";
    return true;
  });
  char buffer[32] = "";
  EXPECT_EQ(PromptPopup("Other device", "Serial device path:", buffer, sizeof buffer), 10);
  EXPECT_STREQ(buffer, "/dev/pts/3");
  EXPECT_EQ(askedTitle, "Other device");
  EXPECT_EQ(askedMessage, "Serial device path:");
}

TEST_F(PromptTest, LongAnswerIsCutAndCancelLeavesTheBuffer) {
  SetPromptAnswer([](const std::string &, const std::string &, std::string *answer) {
    *answer = "0123456789";
    return true;
  });
  char small[5];
  EXPECT_EQ(PromptPopup("t", "m", small, sizeof small), 4);
  EXPECT_STREQ(small, "0123");
  SetPromptAnswer([](const std::string &, const std::string &, std::string *) { return false; });
  char kept[8] = "kept";
  EXPECT_EQ(PromptPopup("t", "m", kept, sizeof kept), -1);
  EXPECT_STREQ(kept, "kept");
}

}  // namespace
