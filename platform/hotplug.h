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
// Where serial devices are found and watched: "" for the system (/dev and its
// serial/by-id links), or a directory whose tty* entries (links to any
// character device, e.g. pseudo-terminals) play the adapters, for tests.
void SetSerialDeviceDir(const char *directory);
// 1 while a control or panel callback runs (a transaction, a run or a
// recording may be under way), else 0.
int CallbackRunning();
