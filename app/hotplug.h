// The port list and the port in use follow adapters plugged in and pulled out.
#pragma once

// Starts following the serial devices (after the port selector is filled).
void StartHotPlug();
void StopHotPlug();
