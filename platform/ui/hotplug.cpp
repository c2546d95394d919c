// Watching the device directory for adapters plugged in or pulled out.
#include "platform/ui/hotplug.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <memory>

#include "platform/serial/porttable_detect.h"
#include "platform/ui/events.h"

namespace {

// udev makes the device node first and its by-id link a moment later; one
// call after the directory has been quiet this long sees both.
constexpr int kSettleMs = 150;

struct Watch {
  QFileSystemWatcher watcher;
  QTimer settle;
  DevicesChangedFn changed = nullptr;
};

std::unique_ptr<Watch> gWatch;

// The directories to watch; the by-id directory and its parent come and go
// with the first and the last adapter, so they are looked for again each time.
void WatchPresentDirs(QFileSystemWatcher *watcher) {
  const std::string deviceDir = SerialDeviceDir();
  QStringList dirs{QString::fromStdString(deviceDir.empty() ? "/dev" : deviceDir)};
  const QString byId = QString::fromStdString(PortTableByIdDir());
  dirs << byId << QFileInfo(byId).absolutePath();
  for (const QString &dir : dirs) {
    if (QFileInfo(dir).isDir() && !watcher->directories().contains(dir)) watcher->addPath(dir);
  }
}

void Settled() {
  if (!gWatch) return;
  WatchPresentDirs(&gWatch->watcher);
  if (gWatch->changed != nullptr) gWatch->changed();
}

}  // namespace

void WatchSerialDevices(DevicesChangedFn changed) {
  if (changed == nullptr) {
    gWatch.reset();
    return;
  }
  gWatch = std::make_unique<Watch>();
  gWatch->changed = changed;
  gWatch->settle.setSingleShot(true);
  gWatch->settle.setInterval(kSettleMs);
  QObject::connect(&gWatch->settle, &QTimer::timeout, &gWatch->settle, Settled);
  QObject::connect(&gWatch->watcher, &QFileSystemWatcher::directoryChanged, &gWatch->settle,
                   [] { gWatch->settle.start(); });
  WatchPresentDirs(&gWatch->watcher);
}

void RecheckSerialDevicesLater(int milliseconds) {
  if (!gWatch) return;
  gWatch->settle.start(milliseconds > kSettleMs ? milliseconds : kSettleMs);
}

int CallbackRunning() {
  return InsideCallback() ? 1 : 0;
}
