// The resource file against the control header and the callback registry,
// and the layout rules an operator relies on (no hidden overlaps, one chart
// area, commands in the groups that long operations dim).
#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QUiLoader>
#include <QWidget>
#include <cstring>
#include <memory>

#include "app/callbacks.h"
#include "tests/support/controlnames.h"
#include "tests/support/program_panels.h"
#include "tests/ui/uir_model.h"
#include "ui/RVIMZEL4V14.h"

namespace {

class UiResourceFile : public testing::Test {
 protected:
  void SetUp() override {
    model = ReadUir(UirPath());
    ASSERT_TRUE(model.error.isEmpty()) << model.error.toStdString();
    ASSERT_FALSE(model.widgets.isEmpty());
  }
  const UirWidget &widget(const char *name) const {
    const UirWidget *w = model.find(name);
    EXPECT_NE(w, nullptr) << name;
    static const UirWidget none;
    return w != nullptr ? *w : none;
  }
  UirModel model;
};

const CallbackEntry *registered(const QString &name) {
  for (int i = 0; i < kCallbackCount; ++i) {
    if (name == kCallbackTable[i].name) return &kCallbackTable[i];
  }
  return nullptr;
}

// Which control calls which callback.
const struct {
  const char *control;
  const char *callback;
} kBindings[] = {
    {"PANEL_DROPDCOM", "CC_DropDCom"},
    {"PANEL_TOGBTNPARAII", "CC_TOGBTNparaII"},
    {"POPUP_DROP_EVALMODE", "CC_DROP_EvalMode"},
    {"POPUP_DROPTRIGMODE", "CC_DropTrigmode"},
    {"PANEL_RBTRAM", "CC_RBTRam"},
    {"PANEL_RBTEEPROM", "CC_RBTEeprom"},
    {"PANEL_RBTFILE", "CC_RBTFile"},
    {"PANEL_BTNSEND", "CC_BTNSend"},
    {"PANEL_BTNGET", "CC_BTNGet"},
    {"PANEL_BUTTONTEACH", "CC_ButtonTeach"},
    {"PANEL_BUTTONRESET", "CC_ButtonReset"},
    {"PANEL_BUTTONREFRESH", "CC_ButtonRefresh"},
    {"PANEL_BTNRUN", "CC_BTNRun"},
    {"PANEL_BTNSTOP", "CC_BTNStop"},
    {"PANEL_RNGGRAPHSOURCE", "CC_RNGGraphSource"},
    {"PANEL_BINSWPOWER", "CC_BINSWpower"},
    {"PANEL_BTNDATA", "CC_BTNData"},
    {"PANEL_RECCTRL1", "CC_BTNStartRecord"},
    {"PANEL_RECCTRL2", "CC_BTNStopRecord"},
    {"POPUP_NEDITRECTIME", "CC_NEDITRecTime"},
    {"POPUP_NEDITRECSAMPLES", "CC_NEDITRecSamples"},
    {"POPUP_RECFILEBTN", "CC_RecordFileNameBtn"},
    {"PANEL_BTNMONITOR", "CC_BTNMonitor"},
    {"PANEL", "CC_PANEL"},
    {"POPUP", "CC_POPUP"},
};

TEST_F(UiResourceFile, HoldsTwoPanelsUnderOneRoot) {
  const UirWidget &root = model.widgets.first();
  EXPECT_EQ(root.name, "RVIMZEL4V14");
  QStringList panels;
  for (const UirWidget &w : model.widgets) {
    if (w.parent == 0) panels << w.name;
  }
  EXPECT_EQ(panels, QStringList({"PANEL", "POPUP"}));
  EXPECT_EQ(widget("PANEL").props.value("panelId"), "1");
  EXPECT_EQ(widget("POPUP").props.value("panelId"), "2");
  EXPECT_EQ(widget("PANEL").props.value("windowTitle"), "R-VIM-ZEL4-Diruz V1.4");
  for (const UirWidget &w : model.widgets) {
    if (w.hasCtrlId()) {
      EXPECT_NE(w.panel, 0) << w.name.toStdString() << " lies outside a panel";
    }
  }
}

TEST_F(UiResourceFile, AgreesWithTheControlHeader) {
  for (int i = 0; i < kControlNameCount; ++i) {
    const ControlName &c = kControlNames[i];
    const UirWidget *w = model.find(c.name);
    ASSERT_NE(w, nullptr) << c.name << " is missing from the file";
    EXPECT_TRUE(w->hasCtrlId()) << c.name;
    EXPECT_EQ(w->ctrlId(), c.id) << c.name;
    EXPECT_EQ(w->panel, c.panel) << c.name;
  }
  QSet<QString> names;
  QSet<QPair<int, int>> ids;
  for (const UirWidget &w : model.widgets) {
    EXPECT_FALSE(names.contains(w.name)) << "object name twice: " << w.name.toStdString();
    names.insert(w.name);
    if (!w.hasCtrlId()) continue;
    EXPECT_FALSE(ids.contains({w.panel, w.ctrlId()})) << "id twice: " << w.name.toStdString();
    ids.insert({w.panel, w.ctrlId()});
    bool known = false;
    for (int i = 0; i < kControlNameCount; ++i) {
      known = known || w.name == kControlNames[i].name;
    }
    EXPECT_TRUE(known) << w.name.toStdString() << " carries an id the header lacks";
  }
}

TEST_F(UiResourceFile, NamesOnlyRegisteredCallbacksOfTheRightKind) {
  for (const UirWidget &w : model.widgets) {
    if (!w.props.contains("callback")) continue;
    const CallbackEntry *e = registered(w.callback());
    ASSERT_NE(e, nullptr) << w.name.toStdString() << " names " << w.callback().toStdString();
    const bool isPanel = w.props.contains("panelId");
    EXPECT_EQ(e->panel != nullptr, isPanel) << w.name.toStdString();
    EXPECT_EQ(e->ctrl != nullptr, !isPanel) << w.name.toStdString();
  }
}

TEST_F(UiResourceFile, BindsEveryCallbackToItsControl) {
  QSet<QString> bound;
  for (const auto &b : kBindings) {
    EXPECT_EQ(widget(b.control).callback(), b.callback) << b.control;
    bound.insert(b.control);
  }
  for (const UirWidget &w : model.widgets) {
    if (!bound.contains(w.name)) {
      EXPECT_FALSE(w.props.contains("callback")) << w.name.toStdString() << " has a stray callback";
    }
  }
  for (int i = 0; i < kCallbackCount; ++i) {
    bool used = false;
    for (const auto &b : kBindings)
      used = used || std::strcmp(b.callback, kCallbackTable[i].name) == 0;
    EXPECT_TRUE(used) << kCallbackTable[i].name << " is bound to nothing";
  }
}

// Long operations dim these groups; Stop, the stop-recording button, the graph
// source, the popup toggle and the power switch must stay usable meanwhile.
// The tests of a single module bind the other callbacks by these names; a
// name missing there would fail to load the panels in those tests only.
TEST(UiCallbackNames, TestBindingKnowsExactlyTheRegisteredNames) {
  QSet<QString> registeredNames;
  for (int i = 0; i < kCallbackCount; ++i) registeredNames.insert(kCallbackTable[i].name);
  QSet<QString> testNames;
  for (const char *const *name = testsupport::kProgramCallbackNames; *name != nullptr; ++name) {
    testNames.insert(*name);
  }
  EXPECT_EQ(testNames, registeredNames);
}

TEST_F(UiResourceFile, DimmedGroupsHoldExactlyTheirCommands) {
  const char *const acq1[] = {"PANEL_BTNRUN", "PANEL_BTNDATA", "PANEL_RECCTRL1"};
  const char *const acq2[] = {"PANEL_DROPDCOM",    "PANEL_RBTRAM",      "PANEL_RBTEEPROM",
                              "PANEL_RBTFILE",     "PANEL_BTNSEND",     "PANEL_BTNGET",
                              "PANEL_BUTTONTEACH", "PANEL_BUTTONRESET", "PANEL_BUTTONREFRESH"};
  const char *const rec[] = {"POPUP_NEDITRECTIME", "POPUP_NEDITRECSAMPLES", "POPUP_RECFILEBTN"};
  for (const char *c : acq1) EXPECT_TRUE(model.isInside(c, "PANEL_ACQCTRL1")) << c;
  for (const char *c : acq2) EXPECT_TRUE(model.isInside(c, "PANEL_ACQCTRL2")) << c;
  for (const char *c : rec) EXPECT_TRUE(model.isInside(c, "POPUP_RECCTRL")) << c;
  const char *const dimmable[] = {"PANEL_ACQCTRL1", "PANEL_ACQCTRL2", "PANEL_RECCTRL1",
                                  "POPUP_RECCTRL"};
  const char *const alwaysOn[] = {"PANEL_BTNSTOP",      "PANEL_RECCTRL2",   "PANEL_RNGGRAPHSOURCE",
                                  "PANEL_TOGBTNPARAII", "PANEL_BINSWPOWER", "PANEL_STATUS",
                                  "POPUP_RECSTATE",     "POPUP_RECCOUNT"};
  for (const char *c : alwaysOn) {
    for (const char *g : dimmable) EXPECT_FALSE(model.isInside(c, g)) << c << " inside " << g;
  }
}

TEST_F(UiResourceFile, RingsCarryOneValuePerItem) {
  const struct {
    const char *name;
    int count;
  } rings[] = {{"PANEL_RNGGRAPHSOURCE", 4}, {"POPUP_DROP_EVALMODE", 8}, {"POPUP_DROPTRIGMODE", 5}};
  for (const auto &r : rings) {
    const UirWidget &w = widget(r.name);
    EXPECT_EQ(w.className, "QComboBox");
    ASSERT_EQ(w.items.size(), r.count) << r.name;
    const QStringList values = w.props.value("itemValues").split(',');
    ASSERT_EQ(values.size(), r.count) << r.name;
    for (int i = 0; i < r.count; ++i) EXPECT_EQ(values[i].trimmed(), QString::number(i)) << r.name;
  }
  // The port selector is filled by the program from the ports it finds.
  EXPECT_TRUE(widget("PANEL_DROPDCOM").items.isEmpty());
}

TEST_F(UiResourceFile, BannerSpansTheTopAndHoldsTheLogo) {
  const QRect panel = widget("PANEL").panelRect;
  const QRect banner = widget("PANEL_BANNER").panelRect;
  EXPECT_EQ(banner.topLeft(), QPoint(0, 0));
  EXPECT_EQ(banner.width(), panel.width());
  EXPECT_GE(banner.height(), 50);
  EXPECT_LE(banner.height(), 70);
  EXPECT_TRUE(banner.contains(widget("PANEL_LOGO").panelRect));
  EXPECT_EQ(widget("PANEL_BANNER").props.value("autoFillBackground"), "true");
  // The banner texts are placed at run time down to 37 + one line; the logo
  // of brand 2 is placed at (175, 6).
  EXPECT_GE(banner.bottom(), 37 + 16);
}

TEST_F(UiResourceFile, ChartsShareOneArea) {
  const QRect area = widget("PANEL_NORMCHART").panelRect;
  EXPECT_EQ(widget("PANEL_RAWCHART").panelRect, area);
  EXPECT_EQ(widget("PANEL_DATAGRAPH").panelRect, area);
  EXPECT_EQ(widget("PANEL_POWERB").panelRect, widget("PANEL_POWERA").panelRect);
  EXPECT_GE(area.width() * area.height(), 600 * 300);
}

// Controls that deliberately share a place, and the banner that the logo and
// the popup toggle sit on.
bool mayOverlap(const QString &a, const QString &b) {
  static const QSet<QString> charts = {"PANEL_RAWCHART", "PANEL_NORMCHART", "PANEL_DATAGRAPH"};
  static const QSet<QString> power = {"PANEL_POWERA", "PANEL_POWERB"};
  static const QSet<QString> onBanner = {"PANEL_LOGO", "PANEL_TOGBTNPARAII", "PANEL_BTNMONITOR"};
  if (charts.contains(a) && charts.contains(b)) return true;
  if (power.contains(a) && power.contains(b)) return true;
  if (a == "PANEL_BANNER") return onBanner.contains(b);
  if (b == "PANEL_BANNER") return onBanner.contains(a);
  return false;
}

TEST_F(UiResourceFile, EveryWidgetLiesInItsParentWithoutOverlap) {
  for (int i = 1; i < model.widgets.size(); ++i) {
    const UirWidget &w = model.widgets[i];
    if (w.props.contains("panelId")) continue;
    const UirWidget &p = model.widgets[w.parent];
    EXPECT_TRUE(QRect(QPoint(0, 0), p.rect.size()).contains(w.rect))
        << w.name.toStdString() << " sticks out of " << p.name.toStdString();
    EXPECT_FALSE(w.rect.isEmpty()) << w.name.toStdString();
    for (int j = i + 1; j < model.widgets.size(); ++j) {
      const UirWidget &v = model.widgets[j];
      if (v.parent != w.parent || mayOverlap(w.name, v.name)) continue;
      EXPECT_FALSE(w.rect.intersects(v.rect))
          << w.name.toStdString() << " overlaps " << v.name.toStdString();
    }
  }
}

// The file is ordinary Designer XML: a stock loader builds it without error
// (our own chart classes fall back to their base class there).
TEST(UiResourceDesigner, LoadsWithAStockLoader) {
  QFile file(UirPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QUiLoader loader;
  std::unique_ptr<QWidget> root(loader.load(&file));
  ASSERT_NE(root, nullptr) << loader.errorString().toStdString();
  EXPECT_TRUE(loader.errorString().isEmpty()) << loader.errorString().toStdString();
  QWidget *panel = root->findChild<QWidget *>("PANEL", Qt::FindDirectChildrenOnly);
  QWidget *popup = root->findChild<QWidget *>("POPUP", Qt::FindDirectChildrenOnly);
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(popup, nullptr);
  for (int i = 0; i < kControlNameCount; ++i) {
    QWidget *owner = kControlNames[i].panel == PANEL ? panel : popup;
    QWidget *w = owner->findChild<QWidget *>(kControlNames[i].name);
    ASSERT_NE(w, nullptr) << kControlNames[i].name;
    EXPECT_EQ(w->property("ctrlId").toInt(), kControlNames[i].id) << kControlNames[i].name;
  }
}

}  // namespace
