// The program's command line: --port PATH|NUMBER, --demo, --log FILE,
// --version, --help.
#pragma once

#include "platform/util/types.h"

struct CommandLine {
  bool demo = false;
  char port[kMaxPathname] = "";  // a device path or a port number, as given
  char log[kMaxPathname] = "";   // --log FILE: the line's events go there too
  int exitCode = -1;             // -1: start the program; else end with this code
};

// Reads the options; --help and --version print to standard output and an
// unusable command line prints its error and the usage to standard error,
// each setting exitCode. Needs no running application.
void ParseCommandLine(int argc, char **argv, const char *version, CommandLine *result);
