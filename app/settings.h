// What the program keeps between runs: the port, the panel places and the
// graph source (the file popups keep their own last directories).
#pragma once

// Puts the kept panel places and graph source back; when `choosePort`, also
// the kept port. Called after the start values are set, before the port opens.
void LoadSettings(bool choosePort);
// After the start-up handshake: a kept port that is absent says so in the
// status line instead of leaving "Cannot open port".
void ReportAbsentPort();
// Keeps the current port, panel places and graph source.
void SaveSettings();
