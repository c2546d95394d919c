// Program start, start-up handshake and shut-down.
#pragma once

#include <cstddef>

// The program's entry: 0 after a normal run; 0 or 2 when the command line
// ends it (help, version; an unusable one), 1 when the panel resource file
// cannot be loaded, -1 when the run-time cannot start.
int WinMain(int argc, char **argv);

// The steps of WinMain before and after the event loop, apart so that tests
// can run a start-up and look at it before the loop would take over.
int StartProgram(int argc, char **argv);  // 0, or the exit code as WinMain
void EndProgram();

void InitVars();
void InitRS232(int port);
// 1 when the last InitRS232 read both parameter sets into the panels.
int HandshakeReadSets();
// Opens the port and checks the line (echo); 1 when the line is good. The
// status line shows the outcome.
int OpenAndCheckLine(int port);
// The status text for a negative result of the port opening.
const char *OpenErrorText(int result);
// The same, with the cause where the system tells it: "Cannot open port -
// no such device", "... - in use by another program (minicom, PID 4711)".
void OpenFailureText(int result, char *text, std::size_t size);
