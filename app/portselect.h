// The serial port selector PANEL_DROPDCOM: the port table plus "Other device…".
#pragma once

// Item value of "Other device…" (no port has number 0).
constexpr int kOtherDeviceItem = 0;

// Lists the port table in the selector and selects the port `com`.
void FillPortSelector();
