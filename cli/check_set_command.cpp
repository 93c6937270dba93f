// korvalo-level check-set: the problems of a level set, each with its line.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "cli/command_table.h"
#include "cli/io/escaped_text.h"
#include "cli/set_stream.h"
#include "logic/level_set.h"

namespace {

constexpr std::string_view CheckSetHelp =
    "Usage: korvalo-level check-set [FILE | -]\n"
    "\n"
    "Checks the level set in FILE, or on standard input (for - or without FILE),\n"
    "and prints one line for each problem, in the order of the lines:\n"
    "  line 1: invalid header 'LINE': REASON   a title or author line that\n"
    "                                          cannot name the set\n"
    "  line 4: invalid level 'CODE': REASON    a line that holds no level code\n"
    "  line 9: CODE has no solution\n"
    "  line 12: CODE is the same level as line 3, up to turns and mirrors\n"
    "Levels are the same when one is a turn or a mirror image of the other\n"
    "(their canonical codes are equal). Nothing is printed for a set without\n"
    "problems. Read from a terminal, standard input ends with the key named on\n"
    "standard error (usually Ctrl+D). A FILE that starts with a dash goes after\n"
    "--.\n"
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

int ReportProblems(const LevelSetReading& reading, CheckedOutput& out) {
  const std::vector<SetProblem> problems = CheckLevelSet(reading);
  for (SetProblem problem : problems) {
    problem.code = EscapeText(problem.code);
    out.Write(DescribeSetProblem(problem) + "\n");
  }
  return problems.empty() ? 0 : CommandFailure;
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
  std::optional<std::string> mistake = ReadOperands(args, operands);
  if (!mistake && operands.size() > 1) mistake = "expects one file at most";
  if (mistake) return RefuseCommandLine("check-set", *mistake, streams.err);

  LevelSetReading reading;
  if (operands.empty() || operands[0] == StandardInputName) {
    SayHowToEndTypedInput("check-set", "a level set", streams);
    SetStream stream(streams.input);
    if (const int error = ReadWholeSet(stream, reading)) {
      return CannotRead("standard input", error, StreamFailure, streams.err);
    }
    return ReportProblems(reading, streams.out);
  }
  const std::string& path = operands[0];
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return CannotRead(QuoteFileName(path), errno, CommandFailure, streams.err);
  SetStream stream(DescriptorReader(fd));
  const int error = ReadWholeSet(stream, reading);
  ::close(fd);
  if (error != 0) return CannotRead(QuoteFileName(path), error, CommandFailure, streams.err);
  return ReportProblems(reading, streams.out);
}
