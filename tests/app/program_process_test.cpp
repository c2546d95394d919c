// The program as a process: Qt's own options on its command line, the
// answers and errors of the command line, and a panel resource file that
// cannot be loaded. Each case runs the built program without a display
// (-platform offscreen where it gets as far as the application object).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "platform/util/appdirs.h"
#include "platform/util/types.h"

namespace {

struct Outcome {
  int exitCode = -100;
  std::string out;
  std::string err;
};

QString BuiltProgram() {
  char dir[kMaxPathname] = "";
  GetExecutableDir(dir);
  return QString::fromLocal8Bit(dir) + QStringLiteral("/RVIMZEL4V14");
}

Outcome RunProgram(const QString &program, const QStringList &args, const QString &home) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  env.insert(QStringLiteral("HOME"), home);
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
  env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));  // not the subject
  QProcess process;
  process.setProcessEnvironment(env);
  process.start(program, args);
  Outcome outcome;
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
    process.kill();
    return outcome;
  }
  outcome.exitCode = process.exitCode();
  outcome.out = process.readAllStandardOutput().toStdString();
  outcome.err = process.readAllStandardError().toStdString();
  return outcome;
}

bool Has(const std::string &text, const std::string &part) {
  return text.find(part) != std::string::npos;
}

TEST(ProgramProcess, CommandLineWithQtOptionsAnswersOrRefusesAsBefore) {
  const QTemporaryDir home;
  const QString offscreen = QStringLiteral("-platform offscreen ");
  const struct {
    QString args;
    int exitCode;
    std::string out;
    std::string err;
  } cases[] = {
      {"--version", 0, "RVIMZEL4V14 1.4\n", ""},  // no display at all
      {offscreen + "--help", 0, "--demo", ""},
      {offscreen + "-style fusion --baud 9600", 2, "", "Unknown option 'baud'"},
      {offscreen + "--port 1 --demo", 2, "", "--port and --demo exclude each other"},
      {offscreen + "--port " + QString(300, 'x'), 2, "", "The port path is too long"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.args.toStdString());
    const Outcome o = RunProgram(BuiltProgram(), c.args.split(' '), home.path());
    EXPECT_EQ(o.exitCode, c.exitCode) << o.err;
    EXPECT_TRUE(Has(o.out, c.out)) << o.out;
    EXPECT_TRUE(Has(o.err, c.err)) << o.err;
    if (c.exitCode == 2) {
      EXPECT_TRUE(Has(o.err, "Usage: RVIMZEL4V14")) << o.err;
    }
    EXPECT_FALSE(Has(o.err, "platform")) << "Qt took its own options";
  }
}

TEST(ProgramProcess, AResourceFileThatCannotBeLoadedIsNamedAndEndsWithOne) {
  const struct {
    const char *name;
    const char *content;  // nullptr: no resource file at all
    std::string err;
  } cases[] = {
      {"missing", nullptr, "cannot read the panel resource file"},
      {"damaged", "<ui version=\"4.0\"><widget",
       "the panel resource file is damaged or of another version"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("RVIMZEL4V14"));
    ASSERT_TRUE(QFile::copy(BuiltProgram(), program));
    const QString resource = dir.filePath(QStringLiteral("RVIMZEL4V14.uir"));
    if (c.content != nullptr) {
      QFile file(resource);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(c.content);
    }
    const Outcome o =
        RunProgram(program, {"-platform", "offscreen", "-style", "fusion"}, dir.path());
    EXPECT_EQ(o.exitCode, 1) << o.err;
    EXPECT_TRUE(Has(o.err, resource.toStdString() + ": " + c.err)) << o.err;
  }
}

}  // namespace
