// Internal to the run-time: how WaitsEnded looks at the window system. The
// user-interface run-time installs a probe that takes in pending events with
// every program callback held back; it ends the waits when it meets a close
// of the main window.
#pragma once

using WaitsProbe = void (*)();
// Returns the probe it replaces.
WaitsProbe SetWaitsProbe(WaitsProbe probe);
