// Edited, not sent: the marks of inputs whose value differs from what the
// controller (or the parameter file) holds, through Get, edits, Send and a
// file load, as the operator makes them.
#include <QTemporaryDir>

#include "tests/params/params_wire.h"
#include "tests/support/param_controls.h"

namespace {

class EditMarks : public ParamsWire {
 protected:
  void SetUp() override {
    ParamsWire::SetUp();
    if (HasFatalFailure()) return;
    Sim().setParameterSet(1, 0, kStoredFull);
    Sim().setParameterSet(1, 1, kStoredB);
    // The input's own tooltip, which the mark's line joins.
    Widget(panelHandle, PANEL_REFA)->setToolTip(QStringLiteral("Reference, channel A"));
  }

  // The inputs marked now, as "panel:control".
  static std::vector<std::string> Marked() {
    std::vector<std::string> marked;
    for (const ParamControl &input : kParamControls) {
      const int panel = input.onPopup ? panelPopUp : panelHandle;
      if (Attribute(panel, input.control, ATTR_MARKED) == 1) {
        marked.push_back((input.onPopup ? "popup:" : "main:") + std::to_string(input.control));
      }
    }
    return marked;
  }
  static std::string Main(int control) { return "main:" + std::to_string(control); }
  static std::string Popup(int control) { return "popup:" + std::to_string(control); }
  using Marks = std::vector<std::string>;
};

TEST_F(EditMarks, FollowGetEditSendAndEditBack) {
  Type(panelHandle, PANEL_REFA, 4321);
  EXPECT_EQ(Marked(), Marks{}) << "nothing is known of the controller yet";

  Click(PANEL_BTNGET);
  ASSERT_EQ(Value(panelHandle, PANEL_REFA), 1002);
  EXPECT_EQ(Marked(), Marks{});

  Type(panelHandle, PANEL_REFA, 3000);
  Type(panelPopUp, POPUP_TRIGLVLB, 777);
  EXPECT_EQ(Marked(), (Marks{Main(PANEL_REFA), Popup(POPUP_TRIGLVLB)}));
  EXPECT_EQ(ToolTipShown(panelHandle, PANEL_REFA), "Reference, channel A\ncontroller holds 1002");
  EXPECT_EQ(ToolTipShown(panelPopUp, POPUP_TRIGLVLB), "controller holds 2004");
  EXPECT_EQ(ToolTipShown(panelHandle, PANEL_REFB), "") << "an input not marked says nothing";

  Type(panelPopUp, POPUP_TRIGLVLB, 2004);  // edited back
  EXPECT_EQ(Marked(), Marks{Main(PANEL_REFA)});

  Click(PANEL_BTNSEND);
  ASSERT_EQ(Status(), "Transmit para Ok!");
  EXPECT_EQ(Marked(), Marks{});

  Type(panelHandle, PANEL_REFA, 1002);  // back to what the controller held before the Send
  EXPECT_EQ(Marked(), Marks{Main(PANEL_REFA)});
  EXPECT_EQ(ToolTipShown(panelHandle, PANEL_REFA), "Reference, channel A\ncontroller holds 3000");

  Click(PANEL_BTNGET);
  EXPECT_EQ(Value(panelHandle, PANEL_REFA), 3000);
  EXPECT_EQ(Marked(), Marks{});
  EXPECT_EQ(ToolTipShown(panelHandle, PANEL_REFA), "Reference, channel A");
}

TEST_F(EditMarks, FileLoadMarksAgainstTheFileAndAFailedSendClearsNothing) {
  Click(PANEL_BTNGET);
  Type(panelHandle, PANEL_TOLA, 99);
  EXPECT_EQ(Marked(), Marks{Main(PANEL_TOLA)});

  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("ZEL4para.cfg")).toStdString();
  std::string file;
  for (int i = 0; i < 32; ++i) file += std::to_string(i < 16 ? 100 + i : 200 + i) + "\n";
  ASSERT_EQ(WriteFileAtomically(path.c_str(), file.data(), file.size()), kFileOk);
  SetFilePopupAnswer([&](const FilePopupRequest &, std::string *chosen) {
    *chosen = path;
    return true;
  });
  ClickRadio(PANEL_RBTFILE);
  Click(PANEL_BTNGET);
  SetFilePopupAnswer({});
  ASSERT_EQ(Status(), "Parameter file read!");
  EXPECT_EQ(Value(panelHandle, PANEL_TOLA), 103);
  EXPECT_EQ(Marked(), Marks{});
  Type(panelHandle, PANEL_HYSTERESIS, 7);
  EXPECT_EQ(ToolTipShown(panelHandle, PANEL_HYSTERESIS), "file holds 105");

  ClickRadio(PANEL_RBTRAM);
  CloseCom(com);
  Click(PANEL_BTNSEND);
  ASSERT_EQ(Status(), "Transmit ERROR - para1 NOT sent!");
  EXPECT_EQ(Marked(), Marks{Main(PANEL_HYSTERESIS)});
}

}  // namespace
