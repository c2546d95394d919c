// Where the program finds its resources and keeps its files, for a build or
// portable copy (everything beside the executable) and for an installed copy
// (bin/ and share/rvimzel4/, per-user files under the home directory).
#pragma once

#include <string>

// The directory of the executable (kMaxPathname bytes). Returns 0 or negative.
int GetExecutableDir(char directory[]);
// The directory holding the resource file and the logo bitmaps: beside the
// executable, else ../share/rvimzel4/. Falls back to the executable's
// directory when neither holds the resource file. Returns 0 or negative.
int GetResourceDir(char directory[]);

namespace appdirs {

// What decides the program directory.
struct ProgramDirFacts {
  std::string exeDir;
  bool resourceBeside = false;  // the resource file lies beside the executable
  bool writable = false;        // the executable's directory accepts new files
  std::string userDir;          // the per-user directory
};
// The resource directory of an executable in exeDir (see GetResourceDir).
std::string ResourceDirFor(const std::string &exeDir);
// A writable copy that carries its resource file keeps its files beside the
// executable; any other (an installed program) uses the per-user directory.
std::string ChooseProgramDir(const ProgramDirFacts &facts);
// The per-user directory: Documents/RVIMZEL4V14 in the XDG documents
// directory (the home directory when there is none).
std::string UserProgramDir();
// Replaces the writability check of the executable's directory (tests run
// as root, who may write anywhere). An empty function restores the check.
void SetWritableCheck(bool (*check)(const std::string &dir));

}  // namespace appdirs
