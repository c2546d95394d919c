// The record-row writer's formatting: four arbitrary unsigned values appended
// as the recorder appends a row, then the file's text checked.
//
// Input: 16 bytes, the row's four values (native byte order; shorter inputs
// are padded with 0).
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/util/utility.h"
#include "tests/fuzz/fuzz_runtime.h"

namespace {

const std::string &FilePath() {
  static const std::string path = [] {
    // Memory-backed where there is one: every write is synced to the disk.
    char dir[] = "/dev/shm/rvim_recordrow_fuzzXXXXXX";
    char fallback[] = "/tmp/rvim_recordrow_fuzzXXXXXX";
    const char *made = mkdtemp(dir);
    if (made == nullptr) made = mkdtemp(fallback);
    if (made == nullptr) std::abort();
    return std::string(made) + "/RVimRecord.dat";
  }();
  return path;
}

std::string ReadAll(const std::string &path) {
  std::string text;
  FILE *file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) std::abort();
  char chunk[256];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
  std::fclose(file);
  return text;
}

// Appends one row exactly as the recorder does.
int AppendRow(const std::string &path, const uint32_t *row) {
  return ArrayToFile(path.c_str(), row, VAL_UNSIGNED_INTEGER, 4, 4, VAL_GROUPS_TOGETHER,
                     VAL_GROUPS_AS_COLUMNS, VAL_SEP_BY_TAB, 4, VAL_ASCII, VAL_APPEND);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  if (size > 16) return 0;
  std::array<uint32_t, 4> row{};
  std::memcpy(row.data(), data, size);
  const std::string &path = FilePath();
  CVI_DeleteFile(path.c_str());
  // Two rows: the second must start on a line of its own.
  if (AppendRow(path, row.data()) != kFileOk || AppendRow(path, row.data()) != kFileOk) {
    std::abort();
  }
  std::string line = std::to_string(row[0]);
  for (std::size_t i = 1; i < row.size(); ++i) line += "\t" + std::to_string(row[i]);
  line += "\n";
  if (ReadAll(path) != line + line) std::abort();

  return 0;
}
