// The program as the desktop sees it: the windows name the installed desktop
// entry and carry the window class its StartupWMClass names (so they group
// with their launcher), and a window icon; the entry's "Demo controller"
// action starts the program with --demo.
#include <QFile>
#include <QGuiApplication>
#include <QMap>
#include <QTextStream>
#include <QWidget>

#include "tests/app/app_fixture.h"

namespace {

using namespace apptest;
using Entry = QMap<QString, QString>;  // "group/key" -> value

// The desktop entry of the source tree, by the name the program gives.
Entry ReadDesktopEntry(const QString &name) {
  QFile file(QStringLiteral(RVIM_PACKAGING_DIR "/") + name + QStringLiteral(".desktop"));
  Entry entry;
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return entry;
  QString group;
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      group = line.mid(1, line.size() - 2);
    } else if (const qsizetype equals = line.indexOf(QLatin1Char('=')); equals > 0) {
      entry.insert(group + QLatin1Char('/') + line.left(equals), line.mid(equals + 1));
    }
  }
  return entry;
}

TEST_F(StartupTest, WindowsNameTheirDesktopEntryAndCarryItsClassAndAnIcon) {
  Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  ASSERT_EQ(Start(), 0);
  const Entry entry = ReadDesktopEntry(QGuiApplication::desktopFileName());
  ASSERT_FALSE(entry.isEmpty()) << "no desktop entry named "
                                << QGuiApplication::desktopFileName().toStdString();
  // Qt gives X11 windows the application name as their class.
  EXPECT_EQ(entry.value("Desktop Entry/StartupWMClass"), QCoreApplication::applicationName());
  EXPECT_FALSE(PanelWindow(panelHandle)->windowIcon().isNull());
  EXPECT_FALSE(PanelWindow(panelPopUp)->windowIcon().isNull());

  EXPECT_TRUE(entry.value("Desktop Entry/Actions").split(';').contains("demo"));
  EXPECT_EQ(entry.value("Desktop Action demo/Name"), "Demo controller");
  EXPECT_EQ(entry.value("Desktop Action demo/Exec"), entry.value("Desktop Entry/Exec") + " --demo");
}

}  // namespace
