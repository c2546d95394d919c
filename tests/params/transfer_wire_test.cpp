// Send and Get with the controller on the line, and the storage target.
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>
#include <string>

#include "app/startup.h"
#include "tests/params/params_wire.h"

namespace {

using testsupport::RequestBytes;

class Send : public ParamsWire {
 protected:
  // Edits on both panels, as the operator makes them before pressing Send.
  static void EditPanels() {
    Type(panelHandle, PANEL_REFA, 1234);
    Type(panelHandle, PANEL_TOLB, 77);
    Type(panelPopUp, POPUP_TRIGLVLB, 777);
  }
};

TEST_F(Send, ToRamWritesTheFullSetThenTheChannelBSetWithoutFlushing) {
  EditPanels();
  const sim::Words16 eepromBefore = Sim().parameterSet(2, 0);
  // Bytes waiting in the input queue show that nothing is flushed.
  Sim().sendRaw({1, 2, 3, 4, 5});
  ASSERT_TRUE(testsupport::WaitUntil([] { return GetInQLen(com) == 5; }));
  StatusRecorder recorder;
  const double t0 = Timer();
  Click(PANEL_BTNSEND);
  const double took = Timer() - t0;

  ASSERT_TRUE(testsupport::WaitUntil([&] { return Sim().requestCount() == 2; }));
  const auto frames = Sim().requests();
  const sim::Words16 full = SetWords(0);
  const sim::Words16 channelB = SetWords(1);
  EXPECT_EQ(full[2], 1234);
  EXPECT_EQ(channelB, (sim::Words16{1, powerB, refB, 77, 777}));
  EXPECT_EQ(Bytes(frames[0]), RequestBytes(1, full));
  EXPECT_EQ(Bytes(frames[1]), RequestBytes(1, channelB));
  EXPECT_GE(took, 0.08);
  // Still first in the queue, whether or not the controller answers a send.
  char waiting[5] = {};
  EXPECT_EQ(ComPeek(com, waiting, 5), 5);
  EXPECT_EQ(std::string(waiting, 5), std::string("\1\2\3\4\5", 5));
  EXPECT_EQ(recorder.texts(),
            (std::vector<std::string>{"Transmit...", "Transmit para1 Ok!", "Transmit para Ok!"}));
  EXPECT_EQ(Sim().parameterSet(1, 0), full);
  EXPECT_EQ(Sim().parameterSet(2, 0), eepromBefore);
  EXPECT_EQ(order, 1);
}

TEST_F(Send, ToEepromUsesOrder3AndStoresOnlyInEeprom) {
  ClickRadio(PANEL_RBTEEPROM);
  ASSERT_EQ(target, EEPROM);
  EditPanels();
  const sim::Words16 ramBefore = Sim().parameterSet(1, 0);
  const double t0 = Timer();
  Click(PANEL_BTNSEND);
  const double took = Timer() - t0;
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Sim().requestCount() == 2; }));
  const auto frames = Sim().requests();
  EXPECT_EQ(Bytes(frames[0]), RequestBytes(3, SetWords(0)));
  EXPECT_EQ(Bytes(frames[1]), RequestBytes(3, SetWords(1)));
  EXPECT_GE(took, 0.08);
  EXPECT_EQ(Sim().parameterSet(2, 0), SetWords(0));
  EXPECT_EQ(Sim().parameterSet(2, 1), SetWords(1));
  EXPECT_EQ(Sim().parameterSet(1, 0), ramBefore);
  EXPECT_EQ(Status(), "Transmit para Ok!");
}

TEST_F(Send, KeyboardActivationSendsNothing) {
  QWidget *button = Widget(panelHandle, PANEL_BTNSEND);
  button->setFocus();
  QTest::keyClick(button, Qt::Key_Space);
  testsupport::PumpFor(0.4);
  EXPECT_TRUE(Sim().received().empty());
  EXPECT_EQ(Status(), "before");
}

TEST_F(Send, FileTargetWritesTheFileOnlyAfterAChoiceAndNeverTouchesTheLine) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::strcpy(proj_dir, dir.path().toLocal8Bit().constData());
  ClickRadio(PANEL_RBTFILE);
  ASSERT_EQ(target, DATFILE);
  const std::string path = dir.filePath("p.cfg").toStdString();

  FilePopupRequest asked;
  SetFilePopupAnswer([&](const FilePopupRequest &request, std::string *) {
    asked = request;
    return false;
  });
  Click(PANEL_BTNSEND);
  EXPECT_EQ(Status(), "Transmit...");
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));
  EXPECT_EQ(asked.dir, proj_dir);
  EXPECT_EQ(asked.defaultFile, "ZEL4para.cfg");
  EXPECT_EQ(asked.filter, "*.cfg");
  EXPECT_EQ(asked.title, "R-VIM-ZEL4 Parameter File");
  EXPECT_EQ(asked.buttonLabel, "OK");

  SetFilePopupAnswer([&](const FilePopupRequest &, std::string *chosen) {
    *chosen = "p";  // the popup completes the extension
    return true;
  });
  Click(PANEL_BTNSEND);
  SetFilePopupAnswer({});
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(path)));
  EXPECT_STREQ(file_name, path.c_str());
  EXPECT_EQ(Status(), "Parameter file saved!");
  testsupport::PumpFor(0.3);
  EXPECT_TRUE(Sim().received().empty());
}

using Get = ParamsWire;

TEST_F(Get, FromRamReadsBothSetsAndShowsThemOnThePanels) {
  Sim().setParameterSet(1, 0, kStoredFull);
  Sim().setParameterSet(1, 1, kStoredB);
  StatusRecorder recorder;
  Click(PANEL_BTNGET);
  const auto frames = Sim().requests();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(OrderOf(frames[0]), 2);
  EXPECT_EQ(frames[0][5], 0);  // full set selector
  EXPECT_EQ(OrderOf(frames[1]), 2);
  EXPECT_EQ(frames[1][5], 1);  // channel-B set selector
  EXPECT_EQ(Value(panelHandle, PANEL_POWERA), 1001);
  EXPECT_EQ(Value(panelHandle, PANEL_REFA), 1002);
  EXPECT_EQ(Value(panelPopUp, POPUP_SDELAY), 1014);
  EXPECT_EQ(Value(panelPopUp, POPUP_MAXMODE), 1015);
  EXPECT_EQ(Value(panelHandle, PANEL_POWERB), 2001);
  EXPECT_EQ(Value(panelHandle, PANEL_TOLB), 2003);
  EXPECT_EQ(Value(panelPopUp, POPUP_TRIGLVLB), 2004);
  EXPECT_EQ(ChannelBVariables(), (std::array<uint16_t, 4>{2001, 2002, 2003, 2004}));
  EXPECT_EQ(
      recorder.texts(),
      (std::vector<std::string>{
          "Receive...", "Waiting for parameter-frame ...", "Parameter-frame received! - Line Ok!",
          "Waiting for parameter-frame ...", "Parameter-frame received! - Line Ok!"}));
}

// Word 0 and the header of the answers are the controller's to fill.
TEST_F(Get, ReadsAnswersWithAnyWord0AndHeader) {
  Sim().setParameterSet(1, 0, kStoredFull);
  Sim().setParameterSet(1, 1, kStoredB);
  Sim().setFaults({.header = 0xFFFF, .answerWord0 = 0x00AA});
  Click(PANEL_BTNGET);
  EXPECT_EQ(Status(), "Parameter-frame received! - Line Ok!");
  EXPECT_EQ(Value(panelHandle, PANEL_POWERA), 1001);
  EXPECT_EQ(Value(panelPopUp, POPUP_MAXMODE), 1015);
  EXPECT_EQ(ChannelBVariables(), (std::array<uint16_t, 4>{2001, 2002, 2003, 2004}));
}

TEST_F(Get, FromEepromUsesOrder4AndReadsTheEepromSets) {
  Sim().setParameterSet(2, 0, kStoredFull);
  Sim().setParameterSet(2, 1, kStoredB);
  ClickRadio(PANEL_RBTEEPROM);
  Click(PANEL_BTNGET);
  const auto frames = Sim().requests();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(OrderOf(frames[0]), 4);
  EXPECT_EQ(OrderOf(frames[1]), 4);
  EXPECT_EQ(Value(panelHandle, PANEL_HYSTERESIS), 1005);
  EXPECT_EQ(Value(panelHandle, PANEL_REFB), 2002);
}

TEST_F(Get, FileTargetWithCancelledPopupKeepsOffTheLineAndDropsUnsavedEdits) {
  ClickRadio(PANEL_RBTFILE);
  const uint16_t refBefore = refA;
  Type(panelHandle, PANEL_REFA, refBefore + 11);
  std::string button;
  SetFilePopupAnswer([&](const FilePopupRequest &request, std::string *) {
    button = request.buttonLabel;
    return false;
  });
  Click(PANEL_BTNGET);
  SetFilePopupAnswer({});
  EXPECT_EQ(button, "Load");
  EXPECT_EQ(Value(panelHandle, PANEL_REFA), refBefore);
  EXPECT_EQ(refA, refBefore);
  EXPECT_EQ(Status(), "Receive...");
  testsupport::PumpFor(0.3);
  EXPECT_TRUE(Sim().received().empty());
}

TEST_F(Send, FailedWriteSaysSoInsteadOfTheSuccessText) {
  CloseCom(com);
  StatusRecorder recorder;
  Click(PANEL_BTNSEND);
  EXPECT_EQ(recorder.texts(),
            (std::vector<std::string>{"Transmit...", "Transmit ERROR - para1 NOT sent!"}));
}

// A set without an answer is named in the last text, even when the other
// set answered; the line never stays on the waiting text.
TEST_F(Get, LostSetIsReportedAndNeverTheSuccessText) {
  for (const bool channelBAnswers : {true, false}) {
    Sim().setFaults({.silent = true});
    if (channelBAnswers) {
      // The controller wakes at 0.7 s of real time, inside the first wait.
      Sim().setClockShift(0, nullptr);
      QTimer::singleShot(700, [&] {
        Sim().setFaults({});
        testsupport::SkipIdleWaits(Sim());
      });
    }
    Click(PANEL_BTNGET);
    EXPECT_EQ(Status(), "Parameter-frame NOT received - set 0!") << channelBAnswers;
  }
}

TEST_F(Get, ModesWithoutASelectorItemTravelUnchangedFromGetToSend) {
  sim::Words16 full = kStoredFull;
  full[10] = 9;  // evaluation mode
  full[11] = 7;  // trigger mode
  Sim().setParameterSet(1, 0, full);
  Click(PANEL_BTNGET);
  Sim().setParameterSet(1, 0, {});
  Sim().clearRecord();
  Click(PANEL_BTNSEND);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Sim().requestCount() == 2; }));
  EXPECT_EQ(Sim().parameterSet(1, 0), full);
}

using StorageTarget = ParamsWire;

TEST_F(StorageTarget, RadioButtonsKeepExactlyOneOnAndFallBackToRam) {
  ClickRadio(PANEL_RBTRAM);  // RAM cannot be switched off
  EXPECT_EQ(Radios(), (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(target, RAM);

  ClickRadio(PANEL_RBTEEPROM);
  EXPECT_EQ(Radios(), (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(target, EEPROM);
  ClickRadio(PANEL_RBTFILE);
  EXPECT_EQ(Radios(), (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(target, DATFILE);
  ClickRadio(PANEL_RBTFILE);  // off again: back to RAM
  EXPECT_EQ(Radios(), (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(target, RAM);

  ClickRadio(PANEL_RBTEEPROM);
  ClickRadio(PANEL_RBTEEPROM);
  EXPECT_EQ(Radios(), (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(target, RAM);
  ClickRadio(PANEL_RBTEEPROM);
  ClickRadio(PANEL_RBTRAM);
  EXPECT_EQ(Radios(), (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(target, RAM);
}

// The handshake falls back to RAM for its reads and leaves target there,
// whatever the radio buttons show; Send and Get then use RAM.
TEST_F(StorageTarget, HandshakeLeavesTheTargetAtRamForTheNextSendAndGet) {
  ClickRadio(PANEL_RBTEEPROM);
  ASSERT_EQ(target, EEPROM);
  CloseCom(com);
  InitRS232(com);
  ASSERT_EQ(Sim().requestCount(), 4u) << Status();  // echo, two reads, firmware text
  EXPECT_EQ(target, RAM);

  Sim().clearRecord();
  Click(PANEL_BTNSEND);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Sim().requestCount() == 2; }));
  EXPECT_EQ(OrderOf(Sim().requests()[0]), 1);
  EXPECT_EQ(OrderOf(Sim().requests()[1]), 1);

  Sim().clearRecord();
  Click(PANEL_BTNGET);
  ASSERT_EQ(Sim().requestCount(), 2u);
  EXPECT_EQ(OrderOf(Sim().requests()[0]), 2);
}

}  // namespace
