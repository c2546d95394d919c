// Panels from the resource file: Qt Designer XML with one root widget whose
// direct children are the panels (property panelId, callback). Controls are
// descendants with a ctrlId (unique within the panel) and an optional
// callback; callback names are bound through the table given to
// RegisterCallbacks.
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QUiLoader>
#include <QVariant>
#include <cstring>
#include <memory>

#include "platform/ui/anchors.h"
#include "platform/ui/events.h"
#include "platform/ui/panelview.h"
#include "platform/ui/registry.h"
#include "platform/ui/runtime.h"
#include "platform/ui/stripchart.h"
#include "platform/ui/userint.h"
#include "platform/ui/xygraph.h"
#include "platform/util/logging.h"

namespace {

const CallbackEntry *gCallbackTable = nullptr;
int gCallbackCount = 0;

const CallbackEntry *findCallback(const QString &name) {
  const QByteArray wanted = name.toUtf8();
  for (int i = 0; i < gCallbackCount; ++i) {
    const char *entryName = gCallbackTable[i].name;
    if (entryName != nullptr && wanted == entryName) return &gCallbackTable[i];
  }
  return nullptr;
}

class PanelLoader : public QUiLoader {
 public:
  QWidget *createWidget(const QString &className, QWidget *parent, const QString &name) override {
    QWidget *widget = nullptr;
    if (className == QLatin1String("StripChart")) {
      widget = new StripChart(parent);
    } else if (className == QLatin1String("XYGraph")) {
      widget = new XYGraph(parent);
    } else if (className == QLatin1String("QPushButton")) {
      widget = new CommandButton(parent);
    } else {
      return QUiLoader::createWidget(className, parent, name);
    }
    widget->setObjectName(name);
    return widget;
  }
};

bool intProperty(const QObject *object, const char *name, int *value) {
  const QVariant v = object->property(name);
  bool ok = false;
  *value = v.isValid() ? v.toInt(&ok) : 0;
  return ok;
}

QWidget *findPanelWidget(QWidget *root, int panelResourceId) {
  int id = 0;
  if (intProperty(root, "panelId", &id) && id == panelResourceId) return root;
  for (QWidget *child : root->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
    if (intProperty(child, "panelId", &id) && id == panelResourceId) return child;
  }
  return nullptr;
}

// Ring items carry their values as item data; the file lists them in itemValues.
bool prepareRing(QComboBox *ring) {
  const QVariant listed = ring->property("itemValues");
  if (!listed.isValid()) {
    for (int i = 0; i < ring->count(); ++i) ring->setItemData(i, i);
    return true;
  }
  const QStringList values = listed.toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
  if (values.size() != ring->count()) return false;
  for (int i = 0; i < ring->count(); ++i) {
    bool ok = false;
    const int value = values[i].trimmed().toInt(&ok);
    if (!ok) return false;
    ring->setItemData(i, value);
  }
  return true;
}

// Painted opaque, a numeric control repaints alone: a live value that changes
// many times a second does not repaint the group box behind it as well.
void paintOpaque(QAbstractSpinBox *box) {
  box->setBackgroundRole(QPalette::Window);
  box->setAutoFillBackground(true);
}

// Gives each control the behaviour the program expects of its kind.
bool prepareControl(QWidget *widget) {
  if (auto *box = qobject_cast<QAbstractSpinBox *>(widget)) paintOpaque(box);
  if (auto *label = qobject_cast<QLabel *>(widget)) {
    label->setTextFormat(Qt::PlainText);  // texts shown here may come from outside
  } else if (auto *numeric = qobject_cast<QSpinBox *>(widget)) {
    numeric->setKeyboardTracking(false);
  } else if (auto *real = qobject_cast<QDoubleSpinBox *>(widget)) {
    real->setKeyboardTracking(false);
  } else if (auto *textBox = qobject_cast<QPlainTextEdit *>(widget)) {
    textBox->setReadOnly(true);
    textBox->setUndoRedoEnabled(false);  // lines are replaced at every refresh
  } else if (auto *ring = qobject_cast<QComboBox *>(widget)) {
    return prepareRing(ring);
  } else if (auto *chart = dynamic_cast<ChartWidget *>(widget)) {
    chart->configureFromProperties();
  }
  return true;
}

// The program keeps its radio groups itself: the panel's radio buttons share
// a group that is not exclusive, so the program and the operator may switch a
// button off. (They stay auto-exclusive, which a group overrides; that is what
// makes screen readers announce them as radio buttons, not check boxes.)
void joinRadioGroup(QWidget *panel, QWidget *widget) {
  auto *radio = qobject_cast<QRadioButton *>(widget);
  if (radio == nullptr) return;
  auto *group = panel->findChild<QButtonGroup *>(QString(), Qt::FindDirectChildrenOnly);
  if (group == nullptr) {
    group = new QButtonGroup(panel);
    group->setExclusive(false);
  }
  radio->setAutoExclusive(true);
  group->addButton(radio);
}

// Reads a callback name property; an empty or absent name binds nothing.
int resolveCallback(const QObject *object, bool panelCallback, const CallbackEntry **entry) {
  *entry = nullptr;
  const QString name = object->property("callback").toString();
  if (name.isEmpty()) return UIE_NO_ERROR;
  *entry = findCallback(name);
  if (*entry == nullptr) return UIE_BAD_CALLBACK;
  const bool fits = panelCallback ? (*entry)->panel != nullptr : (*entry)->ctrl != nullptr;
  return fits ? UIE_NO_ERROR : UIE_BAD_CALLBACK;
}

int collectControls(QWidget *panel, PanelRecord *record) {
  for (QWidget *widget : panel->findChildren<QWidget *>()) {
    if (!widget->property("ctrlId").isValid()) continue;
    int id = 0;
    if (!intProperty(widget, "ctrlId", &id) || id <= 0) return UIE_BAD_FILE;
    if (record->controls.count(id) != 0) return UIE_BAD_FILE;
    const CallbackEntry *entry = nullptr;
    if (const int error = resolveCallback(widget, false, &entry); error != UIE_NO_ERROR) {
      return error;
    }
    if (!prepareControl(widget)) return UIE_BAD_FILE;
    joinRadioGroup(panel, widget);
    record->controls[id] = ControlRecord{widget, entry != nullptr ? entry->ctrl : nullptr};
  }
  const CallbackEntry *entry = nullptr;
  if (const int error = resolveCallback(panel, true, &entry); error != UIE_NO_ERROR) return error;
  record->callback = entry != nullptr ? entry->panel : nullptr;
  return UIE_NO_ERROR;
}

// Takes the panel out of the file's root and makes it a window (or a child
// of its parent panel, in the place the file gives) of the size the file
// draws, fixed or resizable. Returns the top-level window, for a child panel
// nullptr.
QWidget *detachPanel(QWidget *panel, QWidget *parentWindow) {
  if (parentWindow == nullptr) return MakePanelWindow(panel);
  const QRect geometry = panel->geometry();
  panel->setParent(parentWindow, Qt::Widget);
  panel->setGeometry(geometry);
  SetPanelSizing(panel);
  panel->hide();
  return nullptr;
}

int loadPanelFile(QFile &file, QWidget *parentWindow, int panelResourceId) {
  PanelLoader loader;
  std::unique_ptr<QWidget> root(loader.load(&file));
  if (root == nullptr) return UIE_BAD_FILE;
  QWidget *panel = findPanelWidget(root.get(), panelResourceId);
  if (panel == nullptr) return UIE_BAD_PANEL_ID;
  if (!AnchorsValid(panel)) return UIE_BAD_FILE;
  PanelRecord record;
  if (const int error = collectControls(panel, &record); error != UIE_NO_ERROR) return error;
  if (panel == root.get()) root.release();
  record.topLevel = detachPanel(panel, parentWindow);
  root.reset();  // the file's other panels go with the root
  record.window = panel;
  const int handle = AddPanel(record);
  for (const auto &[id, control] : record.controls) {
    BindControlEvents(control.widget, handle, id, control.callback);
  }
  BindPanelEvents(record.topLevel ? record.topLevel.data() : panel, handle, record.callback);
  return handle;
}

// A callback of the panel may still be running above the caller, so the
// window goes only once every callback has returned. (deleteLater would wait
// for an event loop that a program polling with ProcessSystemEvents never runs.)
void deleteWhenNoCallbackRuns(const QPointer<QWidget> &window) {
  if (window.isNull()) return;
  if (!InsideCallback()) {
    delete window.data();
    return;
  }
  QTimer::singleShot(0, QCoreApplication::instance(),
                     [window] { deleteWhenNoCallbackRuns(window); });
}

}  // namespace

void RegisterCallbacks(const CallbackEntry *table, int count) {
  gCallbackTable = table;
  gCallbackCount = table != nullptr && count > 0 ? count : 0;
}

int LoadPanel(int parentPanel, const char *fileName, int panelResourceId) {
  if (!RuntimeStarted()) return UIE_NO_APPLICATION;
  QWidget *parentWindow = nullptr;
  if (parentPanel != 0) {
    PanelRecord *parent = FindPanel(parentPanel);
    if (parent == nullptr || parent->window.isNull()) return UIE_BAD_HANDLE;
    parentWindow = parent->window;
  }
  if (fileName == nullptr || *fileName == '\0') return UIE_FILE_NOT_FOUND;
  QFile file(QFile::decodeName(fileName));
  const int handle = file.open(QIODevice::ReadOnly)
                         ? loadPanelFile(file, parentWindow, panelResourceId)
                         : static_cast<int>(UIE_FILE_NOT_FOUND);
  if (handle < 0)
    qCDebug(lcUi, "panel %d of %s not loaded: error %d", panelResourceId, fileName, handle);
  return handle;
}

int DisplayPanel(int panel) {
  QWidget *window = PanelTopLevel(panel);
  if (window == nullptr) return UIE_BAD_HANDLE;
  if (window->isWindow()) {
    ShowPanelWindow(window);
  } else {
    window->show();
  }
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) window->raise();
  return 0;
}

int HidePanel(int panel) {
  QWidget *window = PanelTopLevel(panel);
  if (window == nullptr) return UIE_BAD_HANDLE;
  window->hide();
  return 0;
}

int EndWaitsOnPanelClose(int panel) {
  // The close box is the top-level window's, around a resizable panel too.
  QWidget *window = PanelTopLevel(panel);
  if (window == nullptr) return UIE_BAD_HANDLE;
  return SetCloseEndsWaits(window) ? 0 : UIE_BAD_HANDLE;
}

int DiscardPanel(int panel) {
  if (FindPanel(panel) == nullptr) return UIE_BAD_HANDLE;
  QWidget *window = RemovePanel(panel);
  if (window == nullptr) return 0;
  window->hide();
  deleteWhenNoCallbackRuns(window);
  return 0;
}
