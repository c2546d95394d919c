// What the program keeps between runs: the port chosen in the selector, the
// panel places and the graph source (the file popups keep their own last
// directories).
#pragma once

// Puts the kept panel places and graph source back; when `choosePort`, also
// the kept port. Called after the start values are set, before the port opens.
void LoadSettings(bool choosePort);
// After the start-up handshake: a kept port that is absent says so in the
// status line instead of leaving "Cannot open port".
void ReportAbsentPort();
// Keeps the panel places and the graph source.
void SaveSettings();
// Keeps the port in use as the one to open at the next start; called when
// the operator has chosen it in the selector.
void KeepChosenPort();
