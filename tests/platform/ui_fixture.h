// Test panels for the user-interface run-time: a small resource file written
// into a temporary directory, and callbacks that record what they receive.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "tests/support/ui_inspect.h"
#include "platform/ui/userint.h"

// Panel resource numbers and control ids of the test file.
enum { kMainPanel = 1, kSecondPanel = 2 };
enum {
  MAIN_BUTTON = 2,
  MAIN_TOGGLE = 3,
  MAIN_RADIO = 4,
  MAIN_SWITCH = 5,
  MAIN_RING = 6,
  MAIN_U16 = 7,
  MAIN_INDICATOR = 8,
  MAIN_TEXT = 9,
  MAIN_STRING = 10,
  MAIN_TEXTBOX = 11,
  MAIN_BANNER = 12,
  MAIN_GROUP = 13,
  MAIN_INNER = 14,
  MAIN_STRIP = 15,
  MAIN_GRAPH = 16,
  MAIN_PICTURE = 17
};
enum { SECOND_RING = 2 };

struct RecordedEvent {
  int panel;
  int control;  // 0 for panel events
  int event;
  bool operator==(const RecordedEvent &) const = default;
};

inline std::vector<RecordedEvent> &Events() {
  static std::vector<RecordedEvent> events;
  return events;
}

inline int RecordControl(int panel, int control, int event, void *, int, int) {
  Events().push_back({panel, control, event});
  return 0;
}

inline int RecordPanel(int panel, int event, void *, int, int) {
  Events().push_back({panel, 0, event});
  return 0;
}

inline const CallbackEntry kTestCallbacks[] = {
    {"CC_Record", RecordControl, nullptr},
    {"CC_Main", nullptr, RecordPanel},
};

// One control of the test file.
inline std::string Control(const char *cls, const char *name, int id, const std::string &extra = "",
                           int x = 10, int y = 10, int w = 120, int h = 26) {
  return std::string("<widget class=\"") + cls + "\" name=\"" + name +
         "\"><property name=\"geometry\"><rect><x>" + std::to_string(x) + "</x><y>" +
         std::to_string(y) + "</y><width>" + std::to_string(w) + "</width><height>" +
         std::to_string(h) + "</height></rect></property><property name=\"ctrlId\" " +
         "stdset=\"0\"><number>" + std::to_string(id) + "</number></property>" + extra +
         "</widget>\n";
}

inline std::string Prop(const char *name, const char *type, const std::string &value,
                        bool dynamic = true) {
  return std::string("<property name=\"") + name + "\"" + (dynamic ? " stdset=\"0\"" : "") + "><" +
         type + ">" + value + "</" + type + "></property>";
}

inline std::string Callback(const char *name) {
  return Prop("callback", "string", name);
}

inline std::string ComboItems() {
  std::string items;
  for (const char *text : {"ten", "twenty", "thirty"}) {
    items += std::string("<item><property name=\"text\"><string>") + text +
             "</string></property></item>";
  }
  return items;
}

inline std::string MainPanelXml(const std::string &panelCallback = "CC_Main",
                                const std::string &extraControls = "") {
  const std::string rec = Callback("CC_Record");
  std::string xml =
      "<widget class=\"QWidget\" name=\"MAIN\"><property name=\"geometry\"><rect><x>0</x><y>0</y>"
      "<width>640</width><height>480</height></rect></property>" +
      Prop("windowTitle", "string", "Main panel", false) + Prop("panelId", "number", "1") +
      Callback(panelCallback.c_str()) + "\n";
  xml += Control("QPushButton", "MAIN_BUTTON", MAIN_BUTTON,
                 Prop("text", "string", "Press", false) + rec, 10, 10);
  xml += Control(
      "QPushButton", "MAIN_TOGGLE", MAIN_TOGGLE,
      Prop("text", "string", "Toggle", false) + Prop("checkable", "bool", "true", false) + rec, 140,
      10);
  xml += Control("QRadioButton", "MAIN_RADIO", MAIN_RADIO,
                 Prop("text", "string", "Radio", false) + rec, 270, 10);
  xml += Control("QCheckBox", "MAIN_SWITCH", MAIN_SWITCH,
                 Prop("text", "string", "Switch", false) + rec, 400, 10);
  xml += Control("QComboBox", "MAIN_RING", MAIN_RING,
                 Prop("itemValues", "string", "10,20,30") + rec + ComboItems(), 10, 40);
  xml += Control("QSpinBox", "MAIN_U16", MAIN_U16, Prop("maximum", "number", "65535", false) + rec,
                 140, 40);
  xml += Control("QSpinBox", "MAIN_INDICATOR", MAIN_INDICATOR,
                 Prop("maximum", "number", "1000", false) + Prop("readOnly", "bool", "true", false),
                 270, 40);
  xml += Control("QLabel", "MAIN_TEXT", MAIN_TEXT, Prop("text", "string", "status", false), 10, 70,
                 300);
  xml += Control("QLineEdit", "MAIN_STRING", MAIN_STRING, rec, 320, 70);
  xml += Control("QPlainTextEdit", "MAIN_TEXTBOX", MAIN_TEXTBOX, "", 10, 100, 300, 60);
  xml += Control("QFrame", "MAIN_BANNER", MAIN_BANNER, "", 320, 100, 200, 40);
  xml += Control("QGroupBox", "MAIN_GROUP", MAIN_GROUP,
                 Control("QPushButton", "MAIN_INNER", MAIN_INNER,
                         Prop("text", "string", "Inner", false) + rec, 10, 20, 100, 26),
                 300, 170, 200, 60);
  xml += Control("StripChart", "MAIN_STRIP", MAIN_STRIP,
                 Prop("numTraces", "number", "2") + Prop("pointsPerScreen", "number", "5") +
                     Prop("yMin", "double", "0") + Prop("yMax", "double", "100"),
                 10, 240, 300, 150);
  xml += Control("XYGraph", "MAIN_GRAPH", MAIN_GRAPH,
                 Prop("xMin", "double", "0") + Prop("xMax", "double", "10") +
                     Prop("yMin", "double", "0") + Prop("yMax", "double", "100") +
                     Prop("yName", "string", "volts"),
                 320, 240, 300, 200);
  xml += Control("QLabel", "MAIN_PICTURE", MAIN_PICTURE, "", 10, 170, 40, 40);
  xml += extraControls;
  return xml + "</widget>\n";
}

inline std::string SecondPanelXml() {
  return "<widget class=\"QWidget\" name=\"SECOND\"><property name=\"geometry\"><rect><x>0</x>"
         "<y>0</y><width>200</width><height>100</height></rect></property>" +
         Prop("panelId", "number", "2") + "\n" +
         Control("QComboBox", "SECOND_RING", SECOND_RING, Callback("CC_Record") + ComboItems()) +
         "</widget>\n";
}

inline std::string ResourceXml(const std::string &panels) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\"><class>ROOT</class>\n"
         "<widget class=\"QWidget\" name=\"ROOT\"><property name=\"geometry\"><rect><x>0</x>"
         "<y>0</y><width>800</width><height>600</height></rect></property>\n" +
         panels + "</widget></ui>\n";
}

// An int attribute of a control (the read must succeed).
inline int Attr(int panel, int control, int attribute) {
  int value = -12345;
  EXPECT_EQ(GetCtrlAttribute(panel, control, attribute, &value), 0);
  return value;
}

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    RegisterCallbacks(kTestCallbacks, 2);
    Events().clear();
  }

  std::string WriteFile(const char *name, const std::string &content) {
    const QString path = dir_.filePath(QString::fromUtf8(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content.data(), static_cast<qint64>(content.size()));
    return path.toStdString();
  }

  std::string GoodFile() {
    return WriteFile("panels.uir", ResourceXml(MainPanelXml() + SecondPanelXml()));
  }

  // Loads and shows the main panel of the good file.
  int LoadMain() {
    const int panel = LoadPanel(0, GoodFile().c_str(), kMainPanel);
    EXPECT_GT(panel, 0);
    DisplayPanel(panel);
    return panel;
  }

  QTemporaryDir dir_;
};
