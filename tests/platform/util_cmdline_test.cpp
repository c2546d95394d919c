// The command line: what starts the program, what ends it at once and with
// which code, and what each option leaves for the start-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/util/cmdline.h"

namespace {

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
    {"port and demo", {"--port", "1", "--demo"}, 2, false, "", "", "exclude each other"},
    {"path too long", {"--port", std::string(300, 'x')}, 2, false, "", "", "too long"},
};

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
    std::vector<char *> argv;
    for (std::string &w : words) argv.push_back(w.data());
    CommandLine result;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ParseCommandLine(static_cast<int>(argv.size()), argv.data(), "1.4", &result);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
    EXPECT_EQ(result.demo, c.demo) << c.name;
    EXPECT_STREQ(result.port, c.port) << c.name;
    ExpectText(out, c.out, c.name);
    ExpectText(err, c.err, c.name);
  }
}

TEST(CommandLine, LogNamesTheFileOfTheLinesEvents) {
  std::vector<std::string> words = {"RVIMZEL4V14", "--demo", "--log", "/tmp/line.txt"};
  std::vector<char *> argv;
  for (std::string &w : words) argv.push_back(w.data());
  CommandLine result;
  ParseCommandLine(static_cast<int>(argv.size()), argv.data(), "1.4", &result);
  EXPECT_EQ(result.exitCode, -1);
  EXPECT_TRUE(result.demo);
  EXPECT_STREQ(result.log, "/tmp/line.txt");

  words = {"RVIMZEL4V14", "--log"};
  argv.clear();
  for (std::string &w : words) argv.push_back(w.data());
  testing::internal::CaptureStderr();
  ParseCommandLine(static_cast<int>(argv.size()), argv.data(), "1.4", &result);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Missing value after '--log'"),
            std::string::npos);
  EXPECT_EQ(result.exitCode, 2);
}

}  // namespace
