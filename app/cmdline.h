// The program's command line and the port it names.
#pragma once

// Before the application object exists: true when --help or --version asked
// for an answer alone (printed, exit code 0 in *exitCode); needs no display.
bool HelpOrVersionEndsProgram(int argc, char **argv, int *exitCode);
// Reads the command line once the application object has taken Qt's own
// options out of argv. True when the program ends at once (help, version or
// an unusable command line), with the exit code in *exitCode.
bool CommandLineEndsProgram(int argc, char **argv, int *exitCode);
// True when the command line named the port (--port or --demo); then `com`
// holds it. Called after the start values are set.
bool ApplyCommandLinePort();
