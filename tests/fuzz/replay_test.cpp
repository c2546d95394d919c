// Replays a fuzz target's corpus as an ordinary test: every file once, in
// name order. The corpus directory comes from the build (RVIM_FUZZ_CORPUS).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size);

TEST(FuzzCorpus, EveryInputRunsClean) {
  std::vector<std::filesystem::path> inputs;
  for (const auto &entry : std::filesystem::directory_iterator(RVIM_FUZZ_CORPUS)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  ASSERT_FALSE(inputs.empty()) << "no corpus in " << RVIM_FUZZ_CORPUS;
  for (const std::filesystem::path &input : inputs) {
    SCOPED_TRACE(input.filename().string());
    std::ifstream file(input, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
  }
}
