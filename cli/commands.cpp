#include "cli/commands.h"

#include "cli/io/escaped_text.h"
#include "cli/suggestion.h"

std::optional<std::string> ReadOperands(const std::vector<std::string>& args,
                                        std::vector<std::string>& operands,
                                        const std::vector<std::string_view>& known) {
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (!optionsEnded && arg == EndOfOptions) {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
      return "unknown option " + QuoteText(arg) + Suggestion(arg, known);
    } else {
      operands.push_back(arg);
    }
  }
  return std::nullopt;
}

int RefuseCommandLine(std::string_view command, std::string_view mistake, CheckedOutput& err) {
  std::string named = "korvalo-level";
  if (!command.empty()) named.append(" ").append(command);
  // Appended in place: GCC 12 at -O3 takes a chain of + that starts with a
  // literal for a possible overlap of the copies (-Wrestrict).
  std::string message = named;
  message.append(": ").append(mistake).append("\nTry '").append(named);
  message.append(" --help' for more information.\n");
  err.Write(message);
  return UsageError;
}

std::string FileLinePrefix(std::string_view file, std::size_t line) {
  return "korvalo-level: " + EscapeFileName(file) + ":" + std::to_string(line) + ": ";
}

void SayHowToEndTypedInput(std::string_view command, std::string_view what,
                           CommandStreams& streams) {
  if (streams.typedInputEnd.empty()) return;
  streams.err.Write("korvalo-level " + std::string(command) + ": reading " + std::string(what) +
                    " from the terminal; " + streams.typedInputEnd + " ends the input\n");
}
