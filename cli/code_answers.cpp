#include "cli/code_answers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/io/escaped_text.h"
#include "cli/set_stream.h"
#include "logic/level_code.h"
#include "logic/solver.h"

namespace {

/// Answers the codes of one command, from wherever they come.
class Answerer {
 public:
  Answerer(const CodeAnswers& answers, CommandStreams& streams)
      : m_answers(answers), m_streams(streams) {}

  /// An argument that is no file: a code. False when it is invalid.
  bool Argument(const std::string& code) {
    // A mistyped file name reads as an invalid code; say that it is no file either.
    const bool likeAFileName = code.find_first_of("./") != std::string::npos;
    return Code(code, Prefix(), likeAFileName ? " (and no file has this name)" : "");
  }

  /// The levels of the set in the file. Status 0, or CommandFailure.
  int File(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return CannotRead(QuoteFileName(path), errno, CommandFailure);
    SetStream set(DescriptorReader(fd));
    const int status = Set(set, path, CommandFailure, QuoteFileName(path));
    ::close(fd);
    return status;
  }

  /// The levels of the set on standard input. Status 0, CommandFailure or StreamFailure.
  int StandardInput() {
    SayHowToEndTypedInput(m_answers.command, "level codes (one a line)", m_streams);
    SetStream set(m_streams.input);
    // Answers reach a terminal before the tool waits for the next line.
    set.BeforeEachRead([this] { m_streams.out.Flush(); });
    return Set(set, std::string(StandardInputName), StreamFailure, "standard input");
  }

 private:
  /// Prints the line for a text that should be a code; false when it is not
  /// one. where: how a message about it starts.
  bool Code(std::string_view code, const std::string& where, std::string_view hint) {
    const std::string shown = EscapeText(code);
    Level level;
    const ParseResult result = ParseLevelCode(level, code);
    if (!result.accepted) {
      Invalid(shown, where, EnglishReason(result.reason) + std::string(hint));
      return false;
    }
    m_streams.out.Write(shown + '\t' + m_answers.fields(level) + '\n');
    return true;
  }

  void Invalid(const std::string& shown, const std::string& where, const std::string& reason) {
    m_streams.out.Write(shown + '\t' + std::string(m_answers.invalidFields) + '\n');
    m_streams.err.Write(where + "invalid code '" + shown + "': " + reason + '\n');
  }

  /// file: the set's file name in messages ("-" for standard input);
  /// readFailure: the status when the stream cannot be read, named source.
  int Set(SetStream& set, const std::string& file, int readFailure, const std::string& source) {
    bool allRead = true;
    while (!m_streams.out.Failed()) {
      const SetEntry entry = set.Next();
      const std::string at = FileLinePrefix(file, entry.line);
      switch (entry.kind) {
        case SetEntry::Kind::Level: allRead = Code(entry.code, at, {}) && allRead; break;
        case SetEntry::Kind::Invalid:
          Invalid(EscapeText(entry.code), at, EnglishReason(entry.reason));
          allRead = false;
          break;
        case SetEntry::Kind::InvalidHeader:
          // No level: a message, and no line of answers.
          m_streams.err.Write(at + "invalid header '" + EscapeText(entry.code) +
                              "': " + EnglishReason(entry.reason) + '\n');
          allRead = false;
          break;
        case SetEntry::Kind::End: return allRead ? 0 : CommandFailure;
        case SetEntry::Kind::ReadError: return CannotRead(source, entry.error, readFailure);
      }
    }
    return allRead ? 0 : CommandFailure;  // the tool reports the failed output
  }

  int CannotRead(const std::string& source, int error, int status) {
    m_streams.err.Write(Prefix() + "cannot read " + source + ": " + std::strerror(error) + '\n');
    return status;
  }

  std::string Prefix() const { return "korvalo-level " + std::string(m_answers.command) + ": "; }

  const CodeAnswers& m_answers;
  CommandStreams& m_streams;
};

}  // namespace

int AnswerCodes(const CodeAnswers& answers, const std::vector<std::string>& args,
                CommandStreams& streams) {
  if (AsksForHelp(args)) {
    streams.out.Write(answers.help);
    return 0;
  }
  std::vector<std::string> operands;
  if (const auto mistake = ReadOperands(args, operands)) {
    return RefuseCommandLine(answers.command, *mistake, streams.err);
  }
  Answerer answerer(answers, streams);
  if (operands.empty()) return answerer.StandardInput();
  int status = 0;
  for (const std::string& operand : operands) {
    if (streams.out.Failed()) break;
    int answered = 0;
    if (operand == StandardInputName) {
      answered = answerer.StandardInput();
    } else if (NamesAFile(operand)) {
      answered = answerer.File(operand);
    } else {
      answered = answerer.Argument(operand) ? 0 : CommandFailure;
    }
    status = std::max(status, answered);  // a failed standard input outranks an invalid code
  }
  return status;
}

bool NamesAFile(const std::string& arg) {
  if (arg.find('\0') != std::string::npos) return false;
  struct stat status {};
  if (::stat(arg.c_str(), &status) == 0) return true;
  return errno != ENOENT && errno != ENOTDIR && errno != ENAMETOOLONG;
}

std::string SolutionFields(Level& level) {
  const Solution solution = ShortestSolution(level);
  if (!solution.exists) return "unsolvable\t-\t-";
  std::string letters;
  for (Direction direction : solution.moves) letters += DirectionLetter(direction);
  return "solvable\t" + std::to_string(solution.moves.size()) + "\t" +
         (letters.empty() ? "-" : letters);
}
