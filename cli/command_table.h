#pragma once
// The commands of korvalo-level, one row each: the dispatch and the general
// help are both made from this table. A new command is a row here (with its
// handler's declaration) and a source file of its own in cli/CMakeLists.txt.

#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"

int RunSolve(const std::vector<std::string>& args, CommandStreams& streams);
int RunCanon(const std::vector<std::string>& args, CommandStreams& streams);
int RunAnalyze(const std::vector<std::string>& args, CommandStreams& streams);
int RunGrade(const std::vector<std::string>& args, CommandStreams& streams);
int RunGenerate(const std::vector<std::string>& args, CommandStreams& streams);
int RunHardest(const std::vector<std::string>& args, CommandStreams& streams);
int RunCheckSet(const std::vector<std::string>& args, CommandStreams& streams);
int RunRender(const std::vector<std::string>& args, CommandStreams& streams);
int RunPublish(const std::vector<std::string>& args, CommandStreams& streams);
int RunStats(const std::vector<std::string>& args, CommandStreams& streams);
int RunCalibrate(const std::vector<std::string>& args, CommandStreams& streams);

struct ToolCommand {
  std::string_view name;
  /// What follows the name on the usage line; a line break starts a
  /// continuation line.
  std::string_view synopsis;
  /// What the command does, for the general help; one line of text per line.
  std::string_view summary;
  int (*run)(const std::vector<std::string>& args, CommandStreams& streams);
};

// clang-format off
inline constexpr ToolCommand ToolCommands[] = {
  {"solve", "[CODE | FILE | -]...",
   "prints, for each level code, a line of four tab-separated fields:\n"
   "the code; solvable, unsolvable or invalid; the number of moves of\n"
   "a shortest solution (0 when solved, - when none); its moves as\n"
   "letters N S W E (- when none). Reasons for invalid codes go to\n"
   "standard error.",
   RunSolve},
  {"canon", "[CODE | FILE | -]...",
   "prints each level code and its canonical code, the least code of\n"
   "the level's turns and mirror images, separated by a tab.",
   RunCanon},
  {"analyze", "[CODE | FILE | -]...",
   "prints, for each level code, a line of seven tab-separated fields:\n"
   "the code; solvable, unsolvable or invalid; the moves of a shortest\n"
   "solution; how many shortest solutions; the placements of the balls\n"
   "reachable; the counter-intuitive steps of the solution; the greedy\n"
   "effort (placements a greedy player expands).",
   RunAnalyze},
  {"grade", "[--grade-parameters FILE] [CODE | FILE | -]...",
   "prints, for each level code, a line of four tab-separated fields:\n"
   "the code; solvable, unsolvable or invalid; the grade (Easy,\n"
   "Normal, Hard or Expert) and the difficulty points it is read from,\n"
   "worked out from the figures of analyze, with the parameters that\n"
   "calibrate fitted when they are installed or named.",
   RunGrade},
  {"generate", "--size N --moves MIN[-MAX] [--count K] [--seed S]\n"
               "[--open-walls W] [--unique] [--effort MIN[-MAX]]\n"
               "[--output FILE]",
   "prints K levels of an N x N board whose shortest solution has\n"
   "from MIN to MAX moves, in the format of solve, no two alike up to\n"
   "turns and mirrors; a seed gives the same levels on every machine.\n"
   "--unique and --effort ask for one shortest solution and a greedy\n"
   "effort in range. It gives up when 5000 candidates in a row bring\n"
   "no new level.",
   RunGenerate},
  {"hardest", "--size N [--goal moves|effort] [--seconds T] [--seed S]\n"
              "[--output FILE]",
   "searches for T seconds (default 60) for the level whose shortest\n"
   "solution is longest (or greedy effort greatest), and prints each\n"
   "better level it finds: its code and number of moves (and effort).",
   RunHardest},
  {"check-set", "[--unique] [FILE | -]",
   "prints the invalid, unsolvable and repeated levels of a level\n"
   "set, each with its line number; with --unique also the levels\n"
   "with more than one shortest solution.",
   RunCheckSet},
  {"render", "CODE FILE.png|-",
   "writes the picture the editor shows for the level, as a PNG file\n"
   "(to standard output for -).",
   RunRender},
  {"publish", "[--server URL] [--title TITLE] [--author NAME]\n"
              "[--description TEXT] CODE | FILE",
   "publishes a level, or a level set file, on the sharing site and\n"
   "prints its public address and the edit token that removes it.",
   RunPublish},
  {"stats", "[--server URL] FILE",
   "prints how people fare on the set's published levels on the\n"
   "sharing site: plays, first-try success, time, rating, likes.",
   RunStats},
  {"calibrate", "[--output FILE] [--rounds N] CSV",
   "fits the difficulty grade's parameters to the ratings of settled\n"
   "levels (the CSV of korvz --admin export), prints how well each\n"
   "measure, and the fit, orders the levels, and installs the\n"
   "parameters where grade reads them (or writes them to FILE).",
   RunCalibrate},
};
// clang-format on

/// The row of the named command; null when there is none.
const ToolCommand* FindToolCommand(std::string_view name);

/// The general help: a usage line per command, what each does, and what all share.
std::string GeneralHelp();
