// What the program keeps between runs: the port chosen in the selector, the
// panel windows and the graph source (the file popups keep their own last
// directories).
#pragma once

// Puts the kept panel windows (place, size, maximised) and graph source back,
// and from then on keeps them as they change; when `choosePort`, also puts the
// kept port back. Called after the start values are set, before the port opens.
void LoadSettings(bool choosePort);
// After the start-up handshake: a kept port that is absent says so in the
// status line instead of leaving "Cannot open port".
void ReportAbsentPort();
// Keeps the graph source (every setting is also written as it changes: a
// crash or a logout loses nothing).
void SaveSettings();
// Keeps the port in use as the one to open at the next start; called when
// the operator has chosen it in the selector.
void KeepChosenPort();
