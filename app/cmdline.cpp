// --port PATH|NUMBER and --demo choose the port at start; --log FILE writes
// the line's events to a file.
#include "app/cmdline.h"

#include <cstdio>
#include <cstdlib>

#include "link/link.h"
#include "platform/serial/porttable.h"
#include "platform/serial/porttable_identity.h"
#include "platform/util/cmdline.h"
#include "platform/util/linelog.h"

namespace {

CommandLine gCommandLine;

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

bool CommandLineEndsProgram(int argc, char **argv, int *exitCode) {
  ParseCommandLine(argc, argv, RVIM_VERSION, &gCommandLine);
  if (gCommandLine.exitCode < 0 && gCommandLine.log[0] != '\0' &&
      !SetLineLogFile(gCommandLine.log)) {
    std::fprintf(stderr, "Cannot write the log file %s\n", gCommandLine.log);
    gCommandLine.exitCode = 2;
  }
  *exitCode = gCommandLine.exitCode;
  return gCommandLine.exitCode >= 0;
}

bool ApplyCommandLinePort() {
  if (gCommandLine.demo) {
    com = kDemoPort;
    return true;
  }
  if (gCommandLine.port[0] == '\0') return false;
  int number = 0;
  if (!PortNumber(gCommandLine.port, &number)) number = PortTableNumberForPath(gCommandLine.port);
  if (number > 0) com = number;
  return number > 0;
}
