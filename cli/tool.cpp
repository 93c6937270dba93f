#include "cli/tool.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <string_view>

#include "cli/escaped_text.h"
#include "korvalo_version.h"

namespace {

constexpr std::string_view Usage =
    "Usage: korvalo-level solve [CODE ...]\n"
    "       korvalo-level render CODE FILE.png\n"
    "\n"
    "solve   prints, for each level code (arguments, or one per line on standard\n"
    "        input when none is given), a line of four tab-separated fields:\n"
    "        the code; solvable, unsolvable or invalid; the number of moves of a\n"
    "        shortest solution (0 when solved, - when none); its moves as letters\n"
    "        N S W E (- when none). Reasons for invalid codes go to standard error.\n"
    "        Exit status: 0 when every code was read, 1 when any was invalid.\n"
    "render  writes the picture the editor shows for the level, as a PNG file.\n"
    "        Exit status: 0 on success, 1 for an invalid code or a failed write.\n"
    "\n"
    "Exit status 2 means a wrong command line; 3 that standard output could not\n"
    "be written, standard input could not be read or memory ran out, with a\n"
    "message on standard error. `korvalo-level COMMAND --help` tells more;\n"
    "`korvalo-level --version` prints the version.\n";

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
