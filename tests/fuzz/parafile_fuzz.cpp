// The parameter-file reader on arbitrary file contents, chosen through the
// file popup as the operator chooses a file.
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "link/link.h"
#include "params/panels.h"
#include "params/parafile.h"
#include "tests/support/ui_inspect.h"
#include "tests/fuzz/fuzz_runtime.h"

namespace {

const std::string &FilePath() {
  static const std::string path = [] {
    if (!fuzzsupport::StartRuntime()) std::abort();
    // Memory-backed where there is one: every write is synced to the disk.
    char dir[] = "/dev/shm/rvim_parafile_fuzzXXXXXX";
    char fallback[] = "/tmp/rvim_parafile_fuzzXXXXXX";
    const char *made = mkdtemp(dir);
    if (made == nullptr) made = mkdtemp(fallback);
    if (made == nullptr) std::abort();
    std::string p = std::string(made) + "/ZEL4para.cfg";
    SetFilePopupAnswer([p](const FilePopupRequest &, std::string *chosen) {
      *chosen = p;
      return true;
    });
    return p;
  }();
  return path;
}

std::array<uint16_t, 19> Variables() {
  return {powerA,  refA,   tolA,     triglvlA, hysteresis, polarity, hold,
          average, hwmode, evalmode, trigmode, outmode,    anamode,  sdelay,
          maxmode, powerB, refB,     tolB,     triglvlB};
}

// Fields separated by blanks, tabs, CR and LF.
std::size_t FieldCount(const uint8_t *data, std::size_t size) {
  std::size_t fields = 0;
  bool inField = false;
  for (std::size_t i = 0; i < size; ++i) {
    const bool separator = data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n';
    if (!separator && !inField) ++fields;
    inField = !separator;
  }
  return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  if (size > 4096) return 0;
  const std::string &path = FilePath();
  FILE *file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);

  SetParameterDefaults();
  const std::array<uint16_t, 19> before = Variables();
  ReadParaFromFile();
  // Fewer than 32 fields cannot make a whole file: nothing may change.
  if (FieldCount(data, size) < 32 && Variables() != before) std::abort();
  if (std::strcmp(file_name, path.c_str()) != 0) std::abort();
  return 0;
}
