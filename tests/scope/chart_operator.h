// The operator at the charts: both panels of the real resource file, a right
// click on a chart and a pick from its context menu, answers for the file
// popup, and the status line as the panel shows it.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <string>

#include "link/link.h"
#include "tests/support/ui_inspect.h"
#include "platform/ui/userint.h"
#include "tests/support/program_panels.h"
#include "ui/RVIMZEL4V14.h"

// Right click in the middle of a chart; the menu it opens, or nullptr.
inline QMenu *OpenChartMenu(QWidget *chart) {
  const QPoint at = chart->rect().center();
  QContextMenuEvent click(QContextMenuEvent::Mouse, at, chart->mapToGlobal(at));
  QApplication::sendEvent(chart, &click);
  auto *menu = chart->findChild<QMenu *>();
  return menu != nullptr && menu->isVisible() ? menu : nullptr;
}

// The visible entry with this text, or nullptr.
inline QAction *MenuEntry(QMenu *menu, const char *text) {
  for (QAction *action : menu->actions()) {
    if (action->text() == QLatin1String(text) && action->isVisible()) return action;
  }
  return nullptr;
}

class ChartOperator : public testing::Test {
 protected:
  void SetUp() override {
    panelHandle = testsupport::LoadProgramPanel(PANEL);
    ASSERT_GT(panelHandle, 0);
    panelPopUp = testsupport::LoadProgramPanel(POPUP);
    ASSERT_GT(panelPopUp, 0);
    DisplayPanel(panelHandle);
    SetChartSaveReport(ShowStatus);
  }

  void TearDown() override {
    SetFilePopupAnswer({});
    SetOverwriteConfirmAnswer({});
    SetChartSaveReport(nullptr);
    DiscardPanel(panelPopUp);
    DiscardPanel(panelHandle);
  }

  static QWidget *Chart(int control) { return ControlWidget(panelHandle, control); }

  static QMenu *OpenMenu(int control) { return OpenChartMenu(Chart(control)); }
  static QAction *Entry(QMenu *menu, const char *text) { return MenuEntry(menu, text); }

  // Opens the menu and clicks the entry; false when the menu lacks it.
  static bool Pick(int control, const char *text) {
    QMenu *menu = OpenMenu(control);
    QAction *action = menu != nullptr ? Entry(menu, text) : nullptr;
    if (action == nullptr) {
      if (menu != nullptr) menu->close();
      return false;
    }
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    return true;
  }

  // The operator answers the file popup with this path (replacing a file).
  static void AnswerFilePopup(const std::string &path) {
    SetFilePopupAnswer([path](const FilePopupRequest &, std::string *chosen) {
      *chosen = path;
      return true;
    });
    SetOverwriteConfirmAnswer([](const std::string &) { return true; });
  }

  static std::string StatusLine() {
    auto *status = qobject_cast<QLabel *>(ControlWidget(panelHandle, PANEL_STATUS));
    return status != nullptr ? status->text().toStdString() : std::string();
  }
};
