// The command line: what starts the program, what ends it at once and with
// which code, and what each option leaves for the start-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/util/cmdline.h"

namespace {

const CommandLineOption kOptions[] = {
    {"port", "PATH|NUMBER", "Open this port."},
    {"demo", nullptr, "Start on the demo."},
};

struct CmdCase {
  const char *name;
  std::vector<std::string> args;
  int exitCode;
  bool demo;
  const char *port;
  const char *out;  // expected in standard output ("" for nothing)
  const char *err;  // expected in standard error ("" for nothing)
};

const CmdCase kCases[] = {
    {"nothing", {}, -1, false, "", "", ""},
    {"port path",
     {"--port", "/dev/serial/by-id/usb-x"},
     -1,
     false,
     "/dev/serial/by-id/usb-x",
     "",
     ""},
    {"port=number", {"--port=3"}, -1, false, "3", "", ""},
    {"demo", {"--demo"}, -1, true, "", "", ""},
    {"version", {"--version"}, 0, false, "", "RVIMZEL4V14 1.4\n", ""},
    {"help", {"--help"}, 0, false, "", "Usage: RVIMZEL4V14 [options]", ""},
    {"short help", {"-h"}, 0, false, "", "--port <PATH|NUMBER>", ""},
    {"unknown option", {"--baud", "9600"}, 2, false, "", "", "Unknown option 'baud'"},
    {"port without value", {"--port"}, 2, false, "", "", "Missing value after '--port'"},
    {"usage with an error", {"--baud"}, 2, false, "", "", "Usage: RVIMZEL4V14 [options]"},
};

std::vector<char *> Argv(std::vector<std::string> *words) {
  std::vector<char *> argv;
  for (std::string &w : *words) argv.push_back(w.data());
  argv.push_back(nullptr);
  return argv;
}

// `wanted` empty: nothing was printed; else it is part of what was printed.
void ExpectText(const std::string &printed, const char *wanted, const char *name) {
  if (*wanted == '\0') {
    EXPECT_EQ(printed, "") << name;
  } else {
    EXPECT_NE(printed.find(wanted), std::string::npos) << name << ": " << printed;
  }
}

TEST(CommandLine, OptionsEndOrStartTheProgram) {
  for (const CmdCase &c : kCases) {
    std::vector<std::string> words = {"RVIMZEL4V14"};
    words.insert(words.end(), c.args.begin(), c.args.end());
    std::vector<char *> argv = Argv(&words);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int exitCode =
        ReadCommandLine(static_cast<int>(words.size()), argv.data(), kOptions, 2, "1.4");
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(exitCode, c.exitCode) << c.name;
    if (exitCode != kCommandLineStart) continue;
    EXPECT_EQ(CommandLineIsSet("demo"), c.demo) << c.name;
    char port[64] = "?";
    CommandLineValue("port", port, sizeof port);
    EXPECT_STREQ(port, c.port) << c.name;
    ExpectText(out, c.out, c.name);
    ExpectText(err, c.err, c.name);
  }
}

// Before the application object has taken Qt's options out of argv, only
// --help and --version are answered; the rest waits for the full reading.
TEST(CommandLine, HelpAndVersionAreAnsweredBeforeQtHasTakenItsOptions) {
  const struct {
    std::vector<std::string> args;
    int exitCode;
    const char *out;
  } cases[] = {
      {{"-platform", "offscreen", "--version"}, 0, "RVIMZEL4V14 1.4\n"},
      {{"-style", "fusion", "-h"}, 0, "Usage: RVIMZEL4V14"},
      {{"-platform", "offscreen", "--demo"}, kCommandLineStart, ""},
      {{"--baud", "9600"}, kCommandLineStart, ""},
  };
  for (const auto &c : cases) {
    std::vector<std::string> words = {"RVIMZEL4V14"};
    words.insert(words.end(), c.args.begin(), c.args.end());
    std::vector<char *> argv = Argv(&words);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(AnswerHelpOrVersion(static_cast<int>(words.size()), argv.data(), kOptions, 2, "1.4"),
              c.exitCode)
        << c.args.back();
    ExpectText(testing::internal::GetCapturedStdout(), c.out, c.args.back().c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  }
}

TEST(CommandLine, AValueThatDoesNotFitIsRefusedNotCut) {
  std::vector<std::string> words = {"RVIMZEL4V14", "--port", std::string(300, 'x')};
  std::vector<char *> argv = Argv(&words);
  ASSERT_EQ(ReadCommandLine(3, argv.data(), kOptions, 2, "1.4"), kCommandLineStart);
  char port[260] = "?";
  EXPECT_EQ(CommandLineValue("port", port, sizeof port), 0);
  EXPECT_STREQ(port, "");
  EXPECT_TRUE(CommandLineIsSet("port"));
}

}  // namespace
