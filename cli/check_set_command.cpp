// korvalo-level check-set: the problems of a level set, each with its line.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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

/// The problem lines of one entry of the set, in the order of a line's
/// problems, each on its line of the file (file names the set).
class StreamedChecks {
 public:
  StreamedChecks(bool unique, std::string file) : m_unique(unique), m_file(std::move(file)) {}

  std::vector<std::string> ProblemsOf(SetEntry& entry) {
    if (entry.kind != SetEntry::Kind::Level) {
      const SetProblemKind kind = entry.kind == SetEntry::Kind::InvalidHeader
                                      ? SetProblemKind::InvalidHeader
                                      : SetProblemKind::Invalid;
      return {Located(
          {kind, LineNumber(entry.line), 0, EscapeText(entry.code), std::move(entry.reason)})};
    }
    const SetLevel level{LineNumber(entry.line), std::move(entry.code), {}};
    std::vector<std::string> lines;
    for (SetProblem problem : m_checker.Check(level)) {
      problem.code = EscapeText(problem.code);
      lines.push_back(Located(problem));
    }
    if (m_unique) AddNotUnique(level, lines);
    return lines;
  }

 private:
  /// The problem as a message on its line of the file: the description
  /// starts with "line N: ", which the file's own place replaces.
  std::string Located(const SetProblem& problem) const {
    const std::string described = DescribeSetProblem(problem);
    return FileLinePrefix(m_file, static_cast<std::size_t>(problem.line)) +
           described.substr(described.find(": ") + 2);
  }

  /// The line for a level with more than one shortest solution.
  void AddNotUnique(const SetLevel& entry, std::vector<std::string>& lines) {
    if (!ParseLevelCode(m_level, entry.code).accepted) return;  // reported as invalid
    const std::uint32_t solutions = m_analyzer.Analyze(m_level).solutions;
    if (solutions <= 1) return;
    lines.push_back(FileLinePrefix(m_file, static_cast<std::size_t>(entry.line)) +
                    EscapeText(entry.code) + " has " + SolutionCountText(solutions) +
                    " shortest solutions");
  }

  bool m_unique;
  std::string m_file;
  SetLevelChecker m_checker;
  LevelAnalyzer m_analyzer;
  Level m_level;
};

/// How a streamed check ended.
struct CheckEnd {
  bool problems = false;  // any problem was written
  int readError = 0;      // the error number of a failed read, or 0
  bool outOfMemory = false;
  std::size_t line = 0;  // the last line read
};

/// Checks the set as it is read, writing each line's problems as soon as the
/// line is read: it keeps nothing of a level but its packed canonical code.
/// When memory runs out, it stops there, with what it wrote so far.
CheckEnd CheckAsRead(SetStream& stream, bool unique, const std::string& file, CheckedOutput& out) {
  CheckEnd end;
  try {
    StreamedChecks checks(unique, file);
    for (;;) {
      SetEntry entry = stream.Next();
      if (entry.kind == SetEntry::Kind::End) return end;
      if (entry.kind == SetEntry::Kind::ReadError) {
        end.readError = entry.error;
        return end;
      }
      for (const std::string& problem : checks.ProblemsOf(entry)) {
        out.Write(problem + "\n");
        end.problems = true;
      }
      end.line = entry.line;
    }
  } catch (const std::bad_alloc&) {
    end.outOfMemory = true;
  }
  return end;
}

int OutOfMemory(std::size_t line, CheckedOutput& err) {
  err.Write(std::string(Prefix) + "out of memory after line " + std::to_string(line) +
            ": stopped there; the problems shown are those up to it\n");
  return StreamFailure;
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

  if (operands.empty() || operands[0] == StandardInputName) {
    SayHowToEndTypedInput("check-set", "a level set", streams);
    SetStream stream(streams.input);
    // Problems reach a terminal before the tool waits for the next line.
    stream.BeforeEachRead([&streams] { streams.out.Flush(); });
    const CheckEnd end = CheckAsRead(stream, unique, std::string(StandardInputName), streams.out);
    if (end.outOfMemory) return OutOfMemory(end.line, streams.err);
    if (end.readError != 0) {
      return CannotRead("standard input", end.readError, StreamFailure, streams.err);
    }
    return end.problems ? CommandFailure : 0;
  }
  const std::string& path = operands[0];
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return CannotRead(QuoteFileName(path), errno, CommandFailure, streams.err);
  SetStream stream(DescriptorReader(fd));
  const CheckEnd end = CheckAsRead(stream, unique, path, streams.out);
  ::close(fd);
  if (end.outOfMemory) return OutOfMemory(end.line, streams.err);
  if (end.readError != 0) {
    return CannotRead(QuoteFileName(path), end.readError, CommandFailure, streams.err);
  }
  return end.problems ? CommandFailure : 0;
}
