// korvalo-level: checks and draws Korvalo levels given as level codes.

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
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
    "Exit status 2 means a wrong command line.\n"
    "\n"
    "korvalo-level --version prints the version.\n";

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) {
    std::cerr << Usage;
    return UsageError;
  }
  const std::string& command = words.front();
  const std::vector<std::string> rest(words.begin() + 1, words.end());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << Usage;
    return 0;
  }
  if (command == "--version" || command == "-v") {
    std::cout << "korvalo-level " << KorvaloVersion << '\n';
    return 0;
  }
  if (command == "solve") return RunSolve(rest);
  if (command == "render") return RunRender(rest);
  std::cerr << "korvalo-level: unknown command '" << command << "'\n" << Usage;
  return UsageError;
}
