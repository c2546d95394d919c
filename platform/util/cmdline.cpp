// The command line, read with QCommandLineParser.
#include "platform/util/cmdline.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QStringList>
#include <cstdio>
#include <cstring>

namespace {

void Print(FILE *to, const QString &text) {
  const QByteArray bytes = text.toLocal8Bit();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), to);
  std::fflush(to);
}

// The usage line names the program as it was called (the parser would take
// the running application's name, or none before it starts).
QString HelpText(const QCommandLineParser &parser, const QStringList &arguments) {
  QString text = parser.helpText();
  const QString program = arguments.first().section(QLatin1Char('/'), -1);
  static const QRegularExpression usage(QStringLiteral("^Usage: \\S+"));
  return text.replace(usage, QStringLiteral("Usage: ") + program);
}

QStringList Arguments(int argc, char **argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (arguments.isEmpty()) arguments << QStringLiteral("RVIMZEL4V14");
  return arguments;
}

}  // namespace

void ParseCommandLine(int argc, char **argv, const char *version, CommandLine *result) {
  *result = CommandLine{};
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Service and visualisation tool for a two-channel sensor controller."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show the options and exit."));
  const QCommandLineOption showVersion(QStringLiteral("version"),
                                       QStringLiteral("Show the version and exit."));
  const QCommandLineOption port(
      QStringLiteral("port"),
      QStringLiteral("Open this serial device (a path such as /dev/ttyUSB0 or a "
                     "/dev/serial/by-id name) or port number at start."),
      QStringLiteral("PATH|NUMBER"));
  const QCommandLineOption demo(QStringLiteral("demo"),
                                QStringLiteral("Start on the built-in demo controller."));
  const QCommandLineOption log(
      QStringLiteral("log"),
      QStringLiteral("Write every event of the serial line (frames, time-outs, status texts) "
                     "to this file, one line each, for a support request."),
      QStringLiteral("FILE"));
  parser.addOptions({help, showVersion, port, demo, log});
  const QStringList arguments = Arguments(argc, argv);
  const bool parsed = parser.parse(arguments);
  QString error = parser.errorText();
  if (parsed && parser.isSet(port) && parser.isSet(demo)) {
    error = QStringLiteral("--port and --demo exclude each other.");
  }
  if (parsed && parser.isSet(port) && parser.value(port).toLocal8Bit().size() >= kMaxPathname) {
    error = QStringLiteral("The port path is too long.");
  }
  if (parsed && parser.isSet(log) && parser.value(log).toLocal8Bit().size() >= kMaxPathname) {
    error = QStringLiteral("The log file path is too long.");
  }
  if (!parsed || !error.isEmpty()) {
    Print(stderr, error + QStringLiteral("\n\n") + HelpText(parser, arguments));
    result->exitCode = 2;
    return;
  }
  if (parser.isSet(help)) {
    Print(stdout, HelpText(parser, arguments));
    result->exitCode = 0;
    return;
  }
  if (parser.isSet(showVersion)) {
    Print(stdout, QStringLiteral("RVIMZEL4V14 %1\n").arg(QString::fromUtf8(version)));
    result->exitCode = 0;
    return;
  }
  result->demo = parser.isSet(demo);
  const QByteArray value = parser.value(port).toLocal8Bit();
  std::memcpy(result->port, value.constData(), static_cast<std::size_t>(value.size()) + 1);
  const QByteArray logPath = parser.value(log).toLocal8Bit();
  std::memcpy(result->log, logPath.constData(), static_cast<std::size_t>(logPath.size()) + 1);
}
