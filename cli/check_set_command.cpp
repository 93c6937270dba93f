// korvalo-level check-set: the problems of a level set, each with its line.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_options.h"
#include "cli/command_table.h"
#include "cli/io/escaped_text.h"
#include "cli/set_stream.h"
#include "logic/level_analysis.h"
#include "logic/level_code.h"
#include "logic/level_set.h"

namespace {

constexpr std::string_view CheckSetHelp =
    "Usage: korvalo-level check-set [--unique] [FILE | -]\n"
    "\n"
    "Checks the level set in FILE, or on standard input (for - or without FILE),\n"
    "and prints one line for each problem, in the order of the lines, each\n"
    "starting with \"korvalo-level: FILE:LINE: \" (FILE is - for standard input):\n"
    "  FILE:1: invalid header 'LINE': REASON   a title or author line that\n"
    "                                          cannot name the set\n"
    "  FILE:4: invalid level 'CODE': REASON    a line that holds no level code\n"
    "  FILE:9: CODE has no solution\n"
    "  FILE:12: CODE is the same level as line 3, up to turns and mirrors\n"
    "  FILE:15: CODE has 3 shortest solutions  only with --unique\n"
    "Levels are the same when one is a turn or a mirror image of the other\n"
    "(their canonical codes are equal). With --unique, a level that has more\n"
    "than one shortest solution (as analyze counts them) is a problem too.\n"
    "Nothing is printed for a set without problems. Read from a terminal,\n"
    "standard input ends with the key named on standard error (usually Ctrl+D).\n"
    "A FILE that starts with a dash goes after --.\n"
    "\n"
    "A level set is UTF-8 text with one level per line: its code, optionally\n"
    "followed by a tab and a title (a line that starts with a tab holds no\n"
    "code). Lines starting with # are comments, and \"# title: ...\" and\n"
    "\"# author: ...\" before the first level name the set.\n"
    "Blank lines, CR LF line ends and a byte order mark are accepted; a line\n"
    "longer than 4096 bytes is invalid (\"line too long\"). In the lines shown,\n"
    "bytes outside printable ASCII, and the backslash, are shown as \\xNN.\n"
    "\n"
    "Exit status: 0 when the set has no problem, 1 when it has any or FILE could\n"
    "not be read, 2 for a wrong command line, 3 when standard output could not\n"
    "be written, standard input could not be read or memory ran out.\n";

constexpr std::string_view Prefix = "korvalo-level check-set: ";

int LineNumber(std::size_t line) { return line > INT_MAX ? INT_MAX : static_cast<int>(line); }

/// Reads the whole set; the error number of a failed read, or 0.
int ReadWholeSet(SetStream& stream, LevelSetReading& reading) {
  for (;;) {
    SetEntry entry = stream.Next();
    switch (entry.kind) {
      case SetEntry::Kind::Level:
        reading.set.levels.push_back(
            {LineNumber(entry.line), std::move(entry.code), std::move(entry.title)});
        break;
      case SetEntry::Kind::Invalid:
      case SetEntry::Kind::InvalidHeader:
        reading.errors.push_back({LineNumber(entry.line), std::move(entry.code),
                                  std::move(entry.reason),
                                  entry.kind == SetEntry::Kind::InvalidHeader});
        break;
      case SetEntry::Kind::End:
        reading.set.title = stream.Title();
        reading.set.author = stream.Author();
        return 0;
      case SetEntry::Kind::ReadError: return entry.error;
    }
  }
}

struct ProblemLine {
  int line;
  std::string text;
};

/// The levels of the set with more than one shortest solution; file names
/// the set in the lines.
std::vector<ProblemLine> LevelsNotUnique(const LevelSet& set, const std::string& file) {
  std::vector<ProblemLine> problems;
  LevelAnalyzer analyzer;
  Level level;
  for (const SetLevel& entry : set.levels) {
    if (!ParseLevelCode(level, entry.code).accepted) continue;  // reported as invalid
    const std::uint32_t solutions = analyzer.Analyze(level).solutions;
    if (solutions <= 1) continue;
    problems.push_back({entry.line, FileLinePrefix(file, static_cast<std::size_t>(entry.line)) +
                                        EscapeText(entry.code) + " has " +
                                        SolutionCountText(solutions) + " shortest solutions"});
  }
  return problems;
}

/// The problem as a message on its line of the file.
std::string LocatedProblem(const SetProblem& problem, const std::string& file) {
  // The description starts with "line N: ", which the file's own place replaces.
  const std::string described = DescribeSetProblem(problem);
  return FileLinePrefix(file, static_cast<std::size_t>(problem.line)) +
         described.substr(described.find(": ") + 2);
}

int ReportProblems(const LevelSetReading& reading, bool unique, const std::string& file,
                   CheckedOutput& out) {
  std::vector<ProblemLine> problems;
  for (SetProblem problem : CheckLevelSet(reading)) {
    problem.code = EscapeText(problem.code);
    problems.push_back({problem.line, LocatedProblem(problem, file)});
  }
  if (unique) {
    const std::vector<ProblemLine> notUnique = LevelsNotUnique(reading.set, file);
    problems.insert(problems.end(), notUnique.begin(), notUnique.end());
    // In line order; a line's other problems first.
    std::stable_sort(problems.begin(), problems.end(),
                     [](const ProblemLine& a, const ProblemLine& b) { return a.line < b.line; });
  }
  for (const ProblemLine& problem : problems) out.Write(problem.text + "\n");
  return problems.empty() ? 0 : CommandFailure;
}

/// Takes --unique out of the options (before any --) and reads the rest as
/// operands: one file at most.
Mistake ReadCheckSetArguments(const std::vector<std::string>& args,
                              std::vector<std::string>& operands, bool& unique) {
  std::vector<std::string> rest;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (!optionsEnded && arg == "--unique") {
      if (unique) return "--unique is given twice";
      unique = true;
      continue;
    }
    if (arg == EndOfOptions) optionsEnded = true;
    rest.push_back(arg);
  }
  if (Mistake mistake = ReadOperands(rest, operands, {"--unique", "--help"})) return mistake;
  if (operands.size() > 1) return "expects one file at most";
  return std::nullopt;
}

int CannotRead(const std::string& source, int error, int status, CheckedOutput& err) {
  err.Write(std::string(Prefix) + "cannot read " + source + ": " + std::strerror(error) + "\n");
  return status;
}

}  // namespace

int RunCheckSet(const std::vector<std::string>& args, CommandStreams& streams) {
  if (AsksForHelp(args)) {
    streams.out.Write(CheckSetHelp);
    return 0;
  }
  std::vector<std::string> operands;
  bool unique = false;
  if (const Mistake mistake = ReadCheckSetArguments(args, operands, unique)) {
    return RefuseCommandLine("check-set", *mistake, streams.err);
  }

  LevelSetReading reading;
  if (operands.empty() || operands[0] == StandardInputName) {
    SayHowToEndTypedInput("check-set", "a level set", streams);
    SetStream stream(streams.input);
    if (const int error = ReadWholeSet(stream, reading)) {
      return CannotRead("standard input", error, StreamFailure, streams.err);
    }
    return ReportProblems(reading, unique, std::string(StandardInputName), streams.out);
  }
  const std::string& path = operands[0];
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return CannotRead(QuoteFileName(path), errno, CommandFailure, streams.err);
  SetStream stream(DescriptorReader(fd));
  const int error = ReadWholeSet(stream, reading);
  ::close(fd);
  if (error != 0) return CannotRead(QuoteFileName(path), error, CommandFailure, streams.err);
  return ReportProblems(reading, unique, path, streams.out);
}
