#include "cli/commands.h"

#include "cli/io/escaped_text.h"

std::optional<std::string> ReadOperands(const std::vector<std::string>& args,
                                        std::vector<std::string>& operands) {
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (!optionsEnded && arg == EndOfOptions) {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
      return "unknown option " + QuoteText(arg);
    } else {
      operands.push_back(arg);
    }
  }
  return std::nullopt;
}

int RefuseCommandLine(std::string_view command, std::string_view mistake, CheckedOutput& err) {
  std::string named = "korvalo-level";
  if (!command.empty()) named += " " + std::string(command);
  err.Write(named + ": " + std::string(mistake) + "\nTry '" + named +
            " --help' for more information.\n");
  return UsageError;
}

void SayHowToEndTypedInput(std::string_view command, std::string_view what,
                           CommandStreams& streams) {
  if (streams.typedInputEnd.empty()) return;
  streams.err.Write("korvalo-level " + std::string(command) + ": reading " + std::string(what) +
                    " from the terminal; " + streams.typedInputEnd + " ends the input\n");
}
