// Test entry: starts the run-time offscreen, then runs the cases.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <cstdio>
#include <cstdlib>
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "tests/support/latitude.h"
#include "tests/support/test_settings.h"

// The system font library keeps a few bytes for the whole run; that is not
// ours to fix and would fail every widget test under LeakSanitizer.
extern "C" const char *__lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

// The run-time started, with the font library's lasting bytes taken while
// leak checking is off: a leak matched by the suppression above costs every
// test process a start of the symbolizer at exit.
bool StartRuntime(char **argv) {
#ifdef __SANITIZE_ADDRESS__
  __lsan_disable();
#endif
  const bool started = InitCVIRTE(nullptr, argv, nullptr) != 0;
  if (started) (void)QFontMetrics(QApplication::font()).height();
#ifdef __SANITIZE_ADDRESS__
  __lsan_enable();
#endif
  return started;
}

}  // namespace

// A case that closed the main window leaves the waits ended; the next case
// starts with them standing.
class ResumeWaitsAfterEachCase : public testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo &) override { ResumeWaits(); }
};

int main(int argc, char **argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  testing::InitGoogleTest(&argc, argv);
  if (!testsupport::LatitudeSettingValid()) {
    std::fprintf(stderr, "RVIM_SIM_LATITUDE must be a number\n");
    return 2;
  }
  testsupport::ReportLatitudeOnFailure();
  testsupport::UseFreshSettings();  // never the user's own settings
  if (!StartRuntime(argv)) return 1;
  testing::UnitTest::GetInstance()->listeners().Append(new ResumeWaitsAfterEachCase);
  return RUN_ALL_TESTS();
}
