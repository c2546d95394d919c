// Seeds of the controller's latitude for the wire tests.
#include "tests/support/latitude.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/latitude.h"

namespace testsupport {
namespace {

constexpr char kVariable[] = "RVIM_SIM_LATITUDE";

struct Setting {
  bool valid = true;
  std::optional<uint64_t> seed;
};

Setting ReadSetting() {
  Setting setting;
  const char *text = std::getenv(kVariable);
  if (text == nullptr || *text == '\0') return setting;
  char *end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(text, &end, 0);
  setting.valid = errno == 0 && *end == '\0' && *text != '-';
  if (setting.valid) setting.seed = value;
  return setting;
}

const Setting &TheSetting() {
  static const Setting setting = ReadSetting();
  return setting;
}

std::string CaseName() {
  const testing::TestInfo *info = testing::UnitTest::GetInstance()->current_test_info();
  if (info == nullptr) return {};
  return std::string(info->test_suite_name()) + "." + info->name();
}

uint64_t Fnv1a(const std::string &text) {
  uint64_t hash = 0xCBF29CE484222325ULL;
  for (const char c : text) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
  }
  return hash;
}

// The seeds given out in the current case, in order.
struct CaseSeeds {
  std::string name;
  std::vector<uint64_t> seeds;
};

CaseSeeds &Given() {
  static CaseSeeds given;
  return given;
}

class FailureReport : public testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo &info) override {
    const std::optional<uint64_t> seed = LatitudeSeed();
    if (!seed || !info.result()->Failed()) return;
    std::printf("[ LATITUDE ] rerun with %s=%" PRIu64 "; simulator seeds:", kVariable, *seed);
    for (const uint64_t given : Given().seeds) std::printf(" %" PRIu64, given);
    std::printf("\n");
    std::fflush(stdout);
  }
};

}  // namespace

std::optional<uint64_t> LatitudeSeed() {
  return TheSetting().seed;
}

bool LatitudeSettingValid() {
  return TheSetting().valid;
}

void ApplyLatitude(sim::Simulator &simulator) {
  const std::optional<uint64_t> seed = LatitudeSeed();
  if (!seed) return;
  CaseSeeds &given = Given();
  const std::string name = CaseName();
  if (name != given.name) given = CaseSeeds{name, {}};
  // The case's own stream from the run's seed; its nth value for the nth simulator.
  sim::SeededStream stream(sim::SeededStream(*seed).next() ^ Fnv1a(name));
  uint64_t derived = stream.next();
  for (std::size_t i = 0; i < given.seeds.size(); ++i) derived = stream.next();
  given.seeds.push_back(derived);
  simulator.setLatitude(given.seeds.back());
}

void ReportLatitudeOnFailure() {
  testing::UnitTest::GetInstance()->listeners().Append(new FailureReport);
}

}  // namespace testsupport
