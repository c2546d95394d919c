// --port PATH|NUMBER and --demo choose the port at start; --log FILE keeps
// the line's events.
#include "app/cmdline.h"

#include <cstdio>
#include <cstdlib>

#include "link/link.h"
#include "platform/serial/porttable.h"
#include "platform/serial/porttable_identity.h"
#include "platform/util/cmdline.h"
#include "platform/util/linelog.h"
#include "platform/util/types.h"

namespace {

// One row per option: name, value name (nullptr for a switch), description.
const CommandLineOption kOptions[] = {
    {"port", "PATH|NUMBER",
     "Open this serial device (a path such as /dev/ttyUSB0 or a /dev/serial/by-id name) or "
     "port number at start."},
    {"demo", nullptr, "Start on the built-in demo controller."},
    {"log", "FILE",
     "Write every event of the serial line (frames, time-outs, status texts) to this file, one "
     "line each, for a support request."},
};
constexpr int kOptionCount = sizeof kOptions / sizeof kOptions[0];

// A port number: digits only, within the table's range.
bool PortNumber(const char *text, int *number) {
  if (*text == '\0') return false;
  char *end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*end != '\0' || value < 1 || value > kMaxPortNumber) return false;
  *number = static_cast<int>(value);
  return true;
}

}  // namespace

bool HelpOrVersionEndsProgram(int argc, char **argv, int *exitCode) {
  *exitCode = AnswerHelpOrVersion(argc, argv, kOptions, kOptionCount, RVIM_VERSION);
  return *exitCode != kCommandLineStart;
}

bool CommandLineEndsProgram(int argc, char **argv, int *exitCode) {
  *exitCode = ReadCommandLine(argc, argv, kOptions, kOptionCount, RVIM_VERSION);
  if (*exitCode == kCommandLineStart && CommandLineIsSet("port") && CommandLineIsSet("demo")) {
    *exitCode = CommandLineError("--port and --demo exclude each other.");
  }
  char port[kMaxPathname] = "";
  if (*exitCode == kCommandLineStart && CommandLineIsSet("port") &&
      CommandLineValue("port", port, sizeof port) == 0) {
    *exitCode = CommandLineError("The port path is too long.");
  }
  char log[kMaxPathname] = "";
  if (*exitCode == kCommandLineStart && CommandLineIsSet("log") &&
      CommandLineValue("log", log, sizeof log) == 0) {
    *exitCode = CommandLineError("The log file path is too long.");
  }
  if (*exitCode == kCommandLineStart && log[0] != '\0' && !SetLineLogFile(log)) {
    std::fprintf(stderr, "Cannot write the log file %s\n", log);
    *exitCode = 2;
  }
  return *exitCode != kCommandLineStart;
}

bool ApplyCommandLinePort() {
  if (CommandLineIsSet("demo")) {
    com = kDemoPort;
    return true;
  }
  char port[kMaxPathname] = "";
  if (CommandLineValue("port", port, sizeof port) == 0) return false;
  int number = 0;
  if (!PortNumber(port, &number)) number = PortTableNumberForPath(port);
  if (number > 0) com = number;
  return number > 0;
}
