// The command line, read with QCommandLineParser.
#include "platform/util/cmdline.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

struct Found {
  QString helpText;  // the usage, for errors found after the reading
  std::map<std::string, std::string> values;
};

Found gFound;

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
  for (int i = 0; argv != nullptr && i < argc && argv[i] != nullptr; ++i) {
    arguments << QString::fromLocal8Bit(argv[i]);
  }
  if (arguments.isEmpty()) arguments << QStringLiteral("RVIMZEL4V14");
  return arguments;
}

// The parser with the program's options, --help and --version.
struct Parser {
  QCommandLineParser parser;
  QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                          QStringLiteral("Show the options and exit.")};
  QCommandLineOption version{QStringLiteral("version"),
                             QStringLiteral("Show the version and exit.")};

  Parser(const CommandLineOption options[], int count) {
    parser.setApplicationDescription(
        QStringLiteral("Service and visualisation tool for a two-channel sensor controller."));
    parser.addOption(help);
    parser.addOption(version);
    for (int i = 0; i < count; ++i) {
      const CommandLineOption &o = options[i];
      parser.addOption(
          QCommandLineOption(QString::fromUtf8(o.name), QString::fromUtf8(o.description),
                             o.valueName != nullptr ? QString::fromUtf8(o.valueName) : QString()));
    }
  }

  // --help or --version: prints the answer and returns 0; else kCommandLineStart.
  int answer(const QStringList &arguments, const char *versionText) {
    if (parser.isSet(help)) {
      Print(stdout, HelpText(parser, arguments));
      return 0;
    }
    if (parser.isSet(version)) {
      Print(stdout, QStringLiteral("RVIMZEL4V14 %1\n").arg(QString::fromUtf8(versionText)));
      return 0;
    }
    return kCommandLineStart;
  }
};

}  // namespace

int AnswerHelpOrVersion(int argc, char **argv, const CommandLineOption options[], int count,
                        const char *version) {
  Parser p(options, count);
  const QStringList arguments = Arguments(argc, argv);
  // Qt's options are still in argv here; read as long options they are
  // merely unknown, and the reading goes on past them.
  p.parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  p.parser.parse(arguments);
  return p.answer(arguments, version);
}

int ReadCommandLine(int argc, char **argv, const CommandLineOption options[], int count,
                    const char *version) {
  gFound = Found{};
  Parser p(options, count);
  const QStringList arguments = Arguments(argc, argv);
  gFound.helpText = HelpText(p.parser, arguments);
  if (!p.parser.parse(arguments)) {
    return CommandLineError(p.parser.errorText().toLocal8Bit().constData());
  }
  if (const int answered = p.answer(arguments, version); answered != kCommandLineStart) {
    return answered;
  }
  for (int i = 0; i < count; ++i) {
    const QString name = QString::fromUtf8(options[i].name);
    if (p.parser.isSet(name))
      gFound.values[options[i].name] = p.parser.value(name).toLocal8Bit().toStdString();
  }
  return kCommandLineStart;
}

int CommandLineError(const char *message) {
  Print(stderr, QString::fromLocal8Bit(message) + QStringLiteral("\n\n") + gFound.helpText);
  return 2;
}

bool CommandLineIsSet(const char *name) {
  return name != nullptr && gFound.values.count(name) != 0;
}

int CommandLineValue(const char *name, char value[], int size) {
  if (value == nullptr || size <= 0) return 0;
  value[0] = '\0';
  if (!CommandLineIsSet(name)) return 0;
  const std::string &text = gFound.values.at(name);
  if (text.size() >= static_cast<std::size_t>(size)) return 0;
  std::memcpy(value, text.c_str(), text.size() + 1);
  return 1;
}
