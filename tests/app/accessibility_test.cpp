// Screen readers see every input and indicator under a name of its own (not
// its group's) and the control name as description; Tab follows the layout.
#include <QAccessible>
#include <QGroupBox>
#include <QPushButton>
#include <QSet>
#include <algorithm>

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

TEST_F(AccessibilityTest, EveryControlHasANameOfItsOwnAndItsControlNameAsDescription) {
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
      // On Linux Qt reports a combo box's current item as its name and its
      // label through the widget's accessible name; that is what is checked.
      const auto *combo = qobject_cast<const QComboBox *>(iface->object());
      const QString name =
          combo != nullptr ? combo->accessibleName() : iface->text(QAccessible::Name);
      EXPECT_FALSE(name.trimmed().isEmpty()) << control.toStdString() << " has no name";
      EXPECT_FALSE(groupTitles.contains(name)) << control.toStdString() << " reads as its group";
      if (qobject_cast<QPushButton *>(iface->object()) == nullptr) {  // named by its text
        EXPECT_EQ(iface->text(QAccessible::Description), control) << control.toStdString();
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
