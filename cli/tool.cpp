#include "cli/tool.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <string_view>

#include "cli/io/escaped_text.h"
#include "korvalo_constants.h"

namespace {

constexpr std::string_view Usage =
    "Usage: korvalo-level solve [CODE | FILE ...]\n"
    "       korvalo-level canon [CODE | FILE ...]\n"
    "       korvalo-level generate --size N --moves MIN[-MAX] [--count K] [--seed S]\n"
    "                              [--open-walls W] [--output FILE]\n"
    "       korvalo-level hardest --size N [--seconds T] [--seed S] [--output FILE]\n"
    "       korvalo-level check-set [FILE]\n"
    "       korvalo-level render CODE FILE.png\n"
    "\n"
    "solve      prints, for each level code, a line of four tab-separated fields:\n"
    "           the code; solvable, unsolvable or invalid; the number of moves of\n"
    "           a shortest solution (0 when solved, - when none); its moves as\n"
    "           letters N S W E (- when none). Reasons for invalid codes go to\n"
    "           standard error.\n"
    "canon      prints each level code and its canonical code, the least code of\n"
    "           the level's turns and mirror images, separated by a tab.\n"
    "generate   prints K levels of an N x N board whose shortest solution has\n"
    "           from MIN to MAX moves, in the format of solve, no two alike up to\n"
    "           turns and mirrors; a seed gives the same levels on every machine.\n"
    "           It gives up when 5000 candidates in a row bring no new level.\n"
    "hardest    searches for T seconds (default 60) for the level whose shortest\n"
    "           solution is longest, and prints each better level it finds: its\n"
    "           code and number of moves.\n"
    "check-set  prints the invalid, unsolvable and repeated levels of a level\n"
    "           set, each with its line number.\n"
    "render     writes the picture the editor shows for the level, as a PNG file.\n"
    "\n"
    "solve and canon read the codes in their arguments; an argument that names an\n"
    "existing file is read as a level set (a code per line, optionally a tab and\n"
    "a title; # comments), and so is standard input when there is no argument.\n"
    "generate and hardest write a level set with --output FILE, show their\n"
    "progress on standard error while it is a terminal, and stop on Ctrl+C\n"
    "with what they found.\n"
    "\n"
    "Exit status 0 means success; 1 an invalid code, a set with problems, a\n"
    "target out of reach or a file that could not be read or written; 2 a wrong\n"
    "command line; 3 that standard output could not be written, standard input\n"
    "could not be read or memory ran out, with a message on standard error; 130\n"
    "that Ctrl+C stopped generate or hardest. `korvalo-level COMMAND --help`\n"
    "tells more; `korvalo-level --version` prints the version.\n";

int RunCommand(const std::vector<std::string>& words, CommandStreams& streams) {
  if (words.empty()) {
    streams.err.Write(Usage);
    return UsageError;
  }
  const std::string& command = words.front();
  const std::vector<std::string> rest(words.begin() + 1, words.end());
  if (IsHelpOption(command) || command == "help") {
    streams.out.Write(Usage);
    return 0;
  }
  if (command == "--version" || command == "-v") {
    streams.out.Write("korvalo-level " + std::string(KorvaloVersion) + "\n");
    return 0;
  }
  if (command == "solve") return RunSolve(rest, streams);
  if (command == "canon") return RunCanon(rest, streams);
  if (command == "generate") return RunGenerate(rest, streams);
  if (command == "hardest") return RunHardest(rest, streams);
  if (command == "check-set") return RunCheckSet(rest, streams);
  if (command == "render") return RunRender(rest, streams);
  streams.err.Write("korvalo-level: unknown command '" + EscapeText(command) + "'\n");
  streams.err.Write(Usage);
  return UsageError;
}

}  // namespace

int RunTool(const std::vector<std::string>& words, CommandStreams& streams) {
  int status = 0;
  try {
    status = RunCommand(words, streams);
  } catch (const std::bad_alloc&) {
    // Neither output allocates once constructed.
    streams.err.Write("korvalo-level: out of memory\n");
    streams.out.Flush();
    return StreamFailure;
  }
  if (streams.out.Flush()) return status;
  // A reader that went away (| head -1) needs no message.
  if (streams.out.Error() != EPIPE) {
    streams.err.Write("korvalo-level: cannot write to standard output: ");
    streams.err.Write(std::strerror(streams.out.Error()));
    streams.err.Write("\n");
  }
  return StreamFailure;
}
