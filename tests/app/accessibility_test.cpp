// Screen readers see every input and indicator under a name of its own (not
// its group's), text indicators by their text, and inputs and live values
// with their help as description; Tab follows the layout.
#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <algorithm>
#include <functional>

#include "params/params.h"
#include "tests/app/app_fixture.h"

namespace {

using namespace apptest;

// Decoration that carries no value (the banner, the logo) and groups, which
// their titles name.
bool Decoration(const QWidget *widget) {
  return widget->objectName() == "PANEL_BANNER" || widget->objectName() == "PANEL_LOGO" ||
         qobject_cast<const QGroupBox *>(widget) != nullptr;
}

bool IsControl(const QObject *object) {
  return object != nullptr && object->isWidgetType() && object->property("ctrlId").isValid() &&
         !Decoration(static_cast<const QWidget *>(object));
}

// Every control the accessibility tree of `iface` reaches.
void Walk(QAccessibleInterface *iface, QSet<QWidget *> *seen,
          std::vector<QAccessibleInterface *> *controls) {
  if (iface == nullptr) return;
  if (IsControl(iface->object())) {
    seen->insert(static_cast<QWidget *>(iface->object()));
    controls->push_back(iface);
  }
  for (int i = 0; i < iface->childCount(); ++i) Walk(iface->child(i), seen, controls);
}

// The controls Tab reaches, in its order, once round the panel.
std::vector<QWidget *> TabChain(QWidget *window) {
  std::vector<QWidget *> chain;
  QWidget *w = window->nextInFocusChain();
  for (int steps = 0; w != window && steps < 2000; ++steps, w = w->nextInFocusChain()) {
    if (IsControl(w) && (w->focusPolicy() & Qt::TabFocus)) chain.push_back(w);
  }
  return chain;
}

class AccessibilityTest : public StartupTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(controller_.startAt(1));
    ASSERT_EQ(Start(), 0);
  }
  Controller controller_;
};

// A combo box's name on Linux is its current item; its label goes through the
// widget's accessible name, which is what is checked.
QString NameOf(QAccessibleInterface *iface) {
  const auto *combo = qobject_cast<const QComboBox *>(iface->object());
  return combo != nullptr ? combo->accessibleName() : iface->text(QAccessible::Name);
}

TEST_F(AccessibilityTest, EveryControlHasANameOfItsOwnAndNoInternalName) {
  int checked = 0;
  for (int panel : {panelHandle, panelPopUp}) {
    QWidget *window = PanelWidget(panel);
    QSet<QString> groupTitles;
    for (const QGroupBox *group : window->findChildren<QGroupBox *>()) {
      groupTitles.insert(group->title());
    }
    QSet<QWidget *> seen;
    std::vector<QAccessibleInterface *> controls;
    Walk(QAccessible::queryAccessibleInterface(window), &seen, &controls);
    for (QAccessibleInterface *iface : controls) {
      const QString control = iface->object()->objectName();
      const QString name = NameOf(iface);
      EXPECT_FALSE(name.trimmed().isEmpty()) << control.toStdString() << " has no name";
      EXPECT_FALSE(groupTitles.contains(name)) << control.toStdString() << " reads as its group";
      for (QAccessible::Text text : {QAccessible::Name, QAccessible::Description}) {
        EXPECT_FALSE(iface->text(text).contains(QLatin1String("PANEL_")) ||
                     iface->text(text).contains(QLatin1String("POPUP_")))
            << control.toStdString() << " reads its internal name";
      }
      ++checked;
    }
    for (QWidget *widget : window->findChildren<QWidget *>()) {
      if (IsControl(widget)) {
        EXPECT_TRUE(seen.contains(widget)) << widget->objectName().toStdString() << " unreachable";
      }
    }
  }
  EXPECT_GE(checked, 60);
}

// A text indicator reads out the text it shows, kept current as the program
// changes it; its caption is the description.
TEST_F(AccessibilityTest, TextIndicatorsReadTheirTextWithTheCaptionAsDescription) {
  struct Case {
    bool onPopup;
    int control;
    const char *caption;
    std::function<void()> show;
    const char *text;
  };
  const Case cases[] = {
      {false, PANEL_STATUS, "Status", [] { ShowStatus("Timeout RS232-Line!"); },
       "Timeout RS232-Line!"},
      {false, PANEL_TRIGMODETEXT, "Trigger mode",
       [] {
         trigmode = 3;
         SetPanelValues();
       },
       "EXT-IN0-HIGH (cont.)"},
      {true, POPUP_RECFILENAME, "Record file",
       [] { SetCtrlVal(panelPopUp, POPUP_RECFILENAME, "/home/op/run 7.dat"); },
       "/home/op/run 7.dat"},
      {true, POPUP_RECSTATE, "Recorder state",
       [] { ResetTextBox(panelPopUp, POPUP_RECSTATE, "DATA-RECORDER active ..."); },
       "DATA-RECORDER active ..."},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.caption);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(
        ControlWidget(c.onPopup ? panelPopUp : panelHandle, c.control));
    ASSERT_NE(iface, nullptr);
    c.show();
    EXPECT_EQ(iface->text(QAccessible::Name).toStdString(), c.text);
    EXPECT_EQ(iface->text(QAccessible::Description).toStdString(), c.caption);
  }
}

// Inputs and live values: the description is the tooltip, which tells the
// meaning and the range the control takes, with its unit where one is known.
TEST_F(AccessibilityTest, InputsAndLiveValuesDescribeMeaningRangeAndUnit) {
  int described = 0;
  for (int panel : {panelHandle, panelPopUp}) {
    for (QWidget *widget : PanelWidget(panel)->findChildren<QWidget *>()) {
      const bool value = qobject_cast<QAbstractSpinBox *>(widget) != nullptr ||
                         qobject_cast<QComboBox *>(widget) != nullptr ||
                         qobject_cast<QCheckBox *>(widget) != nullptr ||
                         qobject_cast<QRadioButton *>(widget) != nullptr;
      if (!value || !IsControl(widget)) continue;
      const std::string control = widget->objectName().toStdString();
      const QString help = widget->toolTip();
      EXPECT_GT(help.size(), 10) << control;
      EXPECT_EQ(widget->accessibleDescription(), help) << control;
      if (const auto *box = qobject_cast<const QSpinBox *>(widget)) {
        EXPECT_TRUE(help.contains(
            QStringLiteral("\nRange %1 to %2").arg(box->minimum()).arg(box->maximum())))
            << control << ": " << help.toStdString();
      }
      ++described;
    }
  }
  EXPECT_GE(described, 44);

  const struct {
    bool onPopup;
    int control;
    const char *ends;
  } units[] = {
      {false, PANEL_REFA, "Range 0 to 65535 digits."},
      {false, PANEL_POWERA, "Range 0 to 65535."},
      {false, PANEL_ADCB, "Range 0 to 65535 ADC units."},
      {false, PANEL_RNGGRAPHSOURCE, "Range 0 to 3."},
      {false, PANEL_RBTEEPROM, "Send and Get use the controller's EEPROM."},
      {true, POPUP_DROP_EVALMODE, "Range 0 to 7."},
      {true, POPUP_NEDITRECTIME, "Range 0 to 65535 seconds."},
      {true, POPUP_RECHOUR, "hours."},
  };
  for (const auto &u : units) {
    const QString help = ControlWidget(u.onPopup ? panelPopUp : panelHandle, u.control)->toolTip();
    EXPECT_TRUE(help.endsWith(QLatin1String(u.ends))) << help.toStdString();
  }
}

// The storage choice reads as radio buttons, the power switch as a check box,
// the status line as the window's status bar.
TEST_F(AccessibilityTest, ControlsReadInTheirRoles) {
  const struct {
    int control;
    QAccessible::Role role;
  } cases[] = {{PANEL_RBTRAM, QAccessible::RadioButton},
               {PANEL_RBTEEPROM, QAccessible::RadioButton},
               {PANEL_RBTFILE, QAccessible::RadioButton},
               {PANEL_BINSWPOWER, QAccessible::CheckBox},
               {PANEL_STATUS, QAccessible::StatusBar}};
  for (const auto &c : cases) {
    QAccessibleInterface *iface =
        QAccessible::queryAccessibleInterface(ControlWidget(panelHandle, c.control));
    ASSERT_NE(iface, nullptr) << c.control;
    EXPECT_EQ(iface->role(), c.role) << c.control;
  }
}

struct NameCase {
  bool onPopup;
  int control;
  const char *name;
};

TEST_F(AccessibilityTest, NamesTellLabelAndChannel) {
  const NameCase cases[] = {
      {false, PANEL_REFA, "Reference, channel A"},
      {false, PANEL_TOLB, "Tolerance, channel B"},
      {false, PANEL_ADCB, "ADC, channel B"},
      {false, PANEL_DROPDCOM, "Serial port"},
      {false, PANEL_BTNSEND, "Send"},
      {true, POPUP_TRIGLVLA, "Trigger level, channel A"},
      {true, POPUP_RECHOUR, "Total recording time, hours"},
  };
  for (const NameCase &c : cases) {
    QWidget *widget = ControlWidget(c.onPopup ? panelPopUp : panelHandle, c.control);
    ASSERT_NE(widget, nullptr) << c.name;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(iface, nullptr) << c.name;
    const bool combo = qobject_cast<QComboBox *>(widget) != nullptr;
    EXPECT_EQ((combo ? widget->accessibleName() : iface->text(QAccessible::Name)).toStdString(),
              c.name);
  }
}

// Tab moves top to bottom, then left to right, among a group's controls, and
// through the parameter grid row by row.
TEST_F(AccessibilityTest, TabOrderFollowsTheLayout) {
  for (int panel : {panelHandle, panelPopUp}) {
    const std::vector<QWidget *> chain = TabChain(PanelWidget(panel));
    ASSERT_GE(chain.size(), 10u);
    for (std::size_t i = 1; i < chain.size(); ++i) {
      const QWidget *a = chain[i - 1];
      const QWidget *b = chain[i];
      if (a->parentWidget() != b->parentWidget()) continue;
      const bool inOrder = a->y() < b->y() || (a->y() == b->y() && a->x() <= b->x());
      EXPECT_TRUE(inOrder) << a->objectName().toStdString() << " before "
                           << b->objectName().toStdString();
    }
  }
  const std::vector<QWidget *> chain = TabChain(PanelWidget(panelHandle));
  const auto refA = std::find(chain.begin(), chain.end(), ControlWidget(panelHandle, PANEL_REFA));
  ASSERT_LT(refA + 2, chain.end());
  EXPECT_EQ(refA[1], ControlWidget(panelHandle, PANEL_REFB));
  EXPECT_EQ(refA[2], ControlWidget(panelHandle, PANEL_TOLA));
}

}  // namespace
