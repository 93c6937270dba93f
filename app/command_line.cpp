#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "korvalo_constants.h"

namespace {

constexpr const char* Description =
    "Korvalo Level Editor: builds levels for Korvalo, a maze puzzle on a board of\n"
    "3, 5 or 7 squares with walls, three balls and three holes. It opens its window\n"
    "with a random 5 x 5 level; see the README for the mouse, the menus and the keys.\n"
    "With --designer it opens in designer mode: undo, the length of the shortest\n"
    "solution, the clipboard, level sets and generation of levels.";

struct Parser {
  QCommandLineParser parser;
  // Our own help option: Qt's would add --help-all, which lists Qt's options,
  // and those have no effect here.
  QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                          QStringLiteral("Displays this help.")};
  QCommandLineOption version = parser.addVersionOption();
  QCommandLineOption designer{QStringLiteral("designer"), QStringLiteral("Open in designer mode.")};
  Parser() {
    parser.addOption(help);
    parser.addOption(designer);
    parser.addPositionalArgument(QStringLiteral("set"),
                                 QStringLiteral("With --designer: a level set file to open."),
                                 QStringLiteral("[set]"));
    parser.setApplicationDescription(QString::fromLatin1(Description));
    // "-reverse" is one unknown option, not -r -e -v (the version) and so on.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  }
};

bool Print(const QString& text) {
  const QByteArray bytes = text.toLocal8Bit();
  return std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) ==
             static_cast<std::size_t>(bytes.size()) &&
         std::fflush(stdout) == 0;
}

}  // namespace

StartOptions ReadCommandLine(const QStringList& arguments) {
  Parser options;
  // A parse error (an option the editor does not know) is not looked at.
  options.parser.parse(arguments);
  StartOptions start;
  if (options.parser.isSet(options.designer)) {
    start.mode = EditorMode::Designer;
    start.setFile = options.parser.positionalArguments().value(0);
  }
  if (options.parser.isSet(options.help))
    start.request = StartRequest::ShowHelp;
  else if (options.parser.isSet(options.version))
    start.request = StartRequest::ShowVersion;
  return start;
}

int PrintStartInformation(StartRequest request, const QStringList& arguments) {
  Parser options;
  options.parser.parse(arguments);
  // The help text's usage line names the program as it was started.
  int argc = 1;
  QByteArray program = arguments.value(0, QStringLiteral("korvalo-editor")).toLocal8Bit();
  char* argv[] = {program.data(), nullptr};
  QCoreApplication application(argc, argv);
  const QString text =
      request == StartRequest::ShowHelp
          ? options.parser.helpText()
          : QStringLiteral("korvalo-editor %1\n").arg(QLatin1String(KorvaloVersion));
  if (Print(text)) return 0;
  std::fputs("korvalo-editor: cannot write to standard output\n", stderr);
  return 3;
}
