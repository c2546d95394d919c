// The program's command line and the port it names.
#pragma once

// Reads the command line. True when the program ends at once (help, version
// or an unusable command line), with the exit code in *exitCode.
bool CommandLineEndsProgram(int argc, char **argv, int *exitCode);
// True when the command line named the port (--port or --demo); then `com`
// holds it. Called after the start values are set.
bool ApplyCommandLinePort();
