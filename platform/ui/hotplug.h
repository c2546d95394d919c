// Serial devices appearing and disappearing while the program runs: the
// device directory is watched (inotify through QFileSystemWatcher, no
// polling) and the program is told after each change, from event processing.
#pragma once

using DevicesChangedFn = void (*)();

// Starts watching; `changed` runs once the directory has settled after a
// change. nullptr stops watching.
void WatchSerialDevices(DevicesChangedFn changed);
// Runs `changed` once more after the given milliseconds (for work that had to
// wait, e.g. until a callback has ended).
void RecheckSerialDevicesLater(int milliseconds);
// 1 while a control or panel callback runs (a transaction, a run or a
// recording may be under way), else 0.
int CallbackRunning();
