// The charts' context menu. A save takes its snapshot when the operator picks
// the entry, asks for the path with the file popup and replaces the file
// atomically, so a failed save leaves the old file as it was. The file popup
// waits for the operator; a run or recording waiting inside it would stop
// polling and then plot an answer from before. So the saves are offered only
// while the program is idle; after Stop the chart keeps its picture to save.
#include "platform/ui/chartmenu.h"

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>
#include <QVariant>
#include <charconv>
#include <string>

#include "platform/ui/events.h"
#include "platform/ui/userint.h"
#include "platform/util/callbackhold.h"
#include "platform/util/utility.h"

namespace {

const char kMenuName[] = "chartMenu";
const char kAutoscaleText[] = "Autoscale";
const char kSaveImageText[] = "Save image...";
const char kSaveDataText[] = "Save data...";
const char kSaveImageName[] = "saveImage";
const char kSaveDataName[] = "saveData";

ChartReportFn gReport = nullptr;

// The program decides where the outcome of a save is shown.
void Report(const QString &text) {
  if (gReport != nullptr) gReport(QFile::encodeName(text).constData());
}

// "rawchart" for PANEL_RAWCHART: the control's name without its panel.
std::string DefaultFileName(const QWidget *chart, const char *extension) {
  QString name = chart->objectName().section(QLatin1Char('_'), -1).toLower();
  if (name.isEmpty()) name = QStringLiteral("chart");
  return QFile::encodeName(name).toStdString() + "." + extension;
}

bool AskPath(const QWidget *chart, const char *extension, const char *title,
             char path[kMaxPathname]) {
  char dir[kMaxPathname] = "";
  GetProjectDir(dir);
  const std::string types = std::string("*.") + extension;
  return FileSelectPopup(dir, DefaultFileName(chart, extension).c_str(), types.c_str(), title,
                         VAL_SAVE_BUTTON, 0, 1, 1, 1, path) != VAL_NO_FILE_SELECTED;
}

// `made` false: the content could not be made; the operator still learns that nothing was saved.
void Save(QWidget *chart, const QByteArray &bytes, bool made, const char *extension,
          const char *title, const char *what) {
  char path[kMaxPathname] = "";
  if (!AskPath(chart, extension, title, path)) return;
  const bool saved = made && WriteFileAtomically(path, bytes.constData(),
                                                 static_cast<std::size_t>(bytes.size())) == kFileOk;
  const QString where = QFile::decodeName(path);
  Report(saved ? QStringLiteral("%1 saved: %2").arg(QLatin1String(what), where)
               : QStringLiteral("%1 NOT saved - cannot write %2").arg(QLatin1String(what), where));
}

// A callback under way (a run, a recording, a transaction) or one held back.
bool ProgramBusy() {
  return InsideCallback() || CallbacksHeld();
}

void SaveImage(QWidget *chart) {
  const QImage image = chart->grab().toImage();
  QByteArray png;
  QBuffer buffer(&png);
  const bool made = buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG");
  Save(chart, png, made, "png", "Save chart image", "Chart image");
}

void SaveData(QWidget *chart, const ChartActions *actions) {
  Save(chart, actions->csvText().toUtf8(), true, "csv", "Save chart data", "Chart data");
}

QMenu *MakeMenu(QWidget *chart, ChartActions *actions) {
  auto *menu = new QMenu(chart);
  menu->setObjectName(QLatin1String(kMenuName));
  QAction *autoscale = menu->addAction(QLatin1String(kAutoscaleText));
  autoscale->setCheckable(true);
  QObject::connect(autoscale, &QAction::triggered, chart,
                   [actions](bool on) { actions->setAutoscaled(on); });
  menu->addSeparator();
  QAction *saveImage = menu->addAction(QLatin1String(kSaveImageText));
  saveImage->setObjectName(QLatin1String(kSaveImageName));
  QObject::connect(saveImage, &QAction::triggered, chart, [chart] {
    if (!ProgramBusy()) SaveImage(chart);
  });
  QAction *saveData = menu->addAction(QLatin1String(kSaveDataText));
  saveData->setObjectName(QLatin1String(kSaveDataName));
  QObject::connect(saveData, &QAction::triggered, chart, [chart, actions] {
    if (!ProgramBusy()) SaveData(chart, actions);
  });
  return menu;
}

}  // namespace

void SetChartSaveReport(ChartReportFn report) {
  gReport = report;
}

void PopUpChartMenu(QWidget *chart, ChartActions *actions, const QPoint &globalPos) {
  auto *menu = chart->findChild<QMenu *>(QLatin1String(kMenuName), Qt::FindDirectChildrenOnly);
  if (menu == nullptr) menu = MakeMenu(chart, actions);
  QAction *autoscale = menu->actions().constFirst();
  autoscale->setVisible(chart->property("autoscaleChoice").toBool());
  autoscale->setChecked(actions->autoscaled());
  const bool idle = !ProgramBusy();
  for (const char *name : {kSaveImageName, kSaveDataName}) {
    menu->findChild<QAction *>(QLatin1String(name))->setEnabled(idle);
  }
  menu->popup(globalPos);
}

bool PopUpChartMenuByKey(QWidget *chart, ChartActions *actions, const QKeyEvent &event) {
  const bool menuKey = event.key() == Qt::Key_Menu && event.modifiers() == Qt::NoModifier;
  const bool shiftF10 = event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier;
  if (!menuKey && !shiftF10) return false;
  const auto *open =
      chart->findChild<QMenu *>(QLatin1String(kMenuName), Qt::FindDirectChildrenOnly);
  if (open == nullptr || !open->isVisible()) {
    PopUpChartMenu(chart, actions, chart->mapToGlobal(chart->rect().center()));
  }
  return true;
}

QString CsvField(const QString &text) {
  if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
      !text.contains(QLatin1Char('\n'))) {
    return text;
  }
  QString quoted = text;
  quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString CsvNumber(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return QString::fromLatin1(text, static_cast<int>(result.ptr - text));
}
