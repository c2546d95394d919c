// The program's command line, read with QCommandLineParser from a table of
// options, plus --help and --version. Qt's own options (-platform, -style,
// ...) are taken out of argv by the application object, so the full reading
// runs after it exists; --help and --version are answered before, so that
// they need no display.
#pragma once

struct CommandLineOption {
  const char *name;         // without dashes: "port"
  const char *valueName;    // "PATH|NUMBER"; nullptr for a switch
  const char *description;  // one sentence for --help
};

// Returned by the readers when the program goes on.
constexpr int kCommandLineStart = -1;

// Answers --help and --version on standard output (exit code 0); everything
// else, an unusable command line too, is left for ReadCommandLine. Needs no
// running application.
int AnswerHelpOrVersion(int argc, char **argv, const CommandLineOption options[], int count,
                        const char *version);
// Reads argv as the application object left it (up to argc entries or the
// first null). --help and --version as above; an unknown option or a missing
// value prints the error and the usage to standard error (exit code 2).
// Returns kCommandLineStart or the exit code.
int ReadCommandLine(int argc, char **argv, const CommandLineOption options[], int count,
                    const char *version);
// For a command line the caller finds unusable: prints the message and the
// usage to standard error and returns the exit code 2.
int CommandLineError(const char *message);

// What the last ReadCommandLine found: whether the option was given, and its
// value (1 when given and it fits into size bytes with its terminator).
bool CommandLineIsSet(const char *name);
int CommandLineValue(const char *name, char value[], int size);
