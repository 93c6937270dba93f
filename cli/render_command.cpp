// korvalo-level render: the editor's picture of a level, written as a PNG file.

#include <optional>
#include <string>
#include <string_view>

#include "cli/command_table.h"
#include "cli/io/atomic_file.h"
#include "cli/io/escaped_text.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "picture/level_picture.h"

namespace {

constexpr std::string_view RenderHelp =
    "Usage: korvalo-level render CODE FILE.png\n"
    "       korvalo-level render CODE -\n"
    "\n"
    "Writes the 325 x 359 picture the editor shows for the level: the board, its\n"
    "pieces and the solvability indicator, with nothing hovered or carried.\n"
    "The picture is a PNG file, so FILE must end in .png (in any case) unless it\n"
    "is a device or a FIFO; - writes it to standard output. A FILE that starts\n"
    "with a dash goes after --: render -- CODE -level.png.\n"
    "\n"
    "FILE is written as a whole or not at all: the picture goes to a new file in\n"
    "the same folder, which replaces FILE once every byte of it is on the disk.\n"
    "When writing fails (a full disk, a size limit), an earlier FILE stays as it\n"
    "was. A device or a FIFO is written as it is (/dev/stdout too); a folder or\n"
    "a socket is refused and left alone; a symbolic link is followed.\n"
    "\n"
    "Exit status: 0 when the file was written, 1 for an invalid code or a file\n"
    "that could not be written (FILE is then unchanged), 2 for a wrong command\n"
    "line, 3 when standard output could not be written or memory ran out.\n";

bool EndsInPng(const std::string& path) {
  if (path.size() < 4) return false;
  std::string suffix = path.substr(path.size() - 4);
  for (char& c : suffix) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return suffix == ".png";
}

/// What is wrong with a command line other than a lone --help; nothing when
/// its operands are a code and a PNG file name.
std::optional<std::string> CommandLineMistake(const std::vector<std::string>& args,
                                              std::vector<std::string>& operands) {
  if (AsksForHelp(args)) return "--help (or -h) takes no other arguments";
  if (auto mistake = ReadOperands(args, operands)) return mistake;
  if (operands.size() != 2) return "expects a level code and a file name";
  // A device or a pipe takes the picture whatever its name (/dev/stdout).
  if (operands[1] != StandardOutputName && !EndsInPng(operands[1]) &&
      !IsWrittenInPlace(operands[1])) {
    return QuoteFileName(operands[1]) + " does not end in .png; the picture is written as PNG only";
  }
  return std::nullopt;
}

}  // namespace

int RunRender(const std::vector<std::string>& args, CommandStreams& streams) {
  if (args.size() == 1 && IsHelpOption(args[0])) {
    streams.out.Write(RenderHelp);
    return 0;
  }
  std::vector<std::string> operands;
  if (const std::optional<std::string> mistake = CommandLineMistake(args, operands)) {
    return RefuseCommandLine("render", *mistake, streams.err);
  }
  const std::string& code = operands[0];
  const std::string& path = operands[1];
  Level level;
  const ParseResult reading = ParseLevelCode(level, code);
  if (!reading.accepted) {
    streams.err.Write("korvalo-level render: invalid code '" + EscapeText(code) +
                      "': " + EnglishReason(reading.reason) + "\n");
    return CommandFailure;
  }
  // As in the editor after a code is read: the indicator follows the recheck.
  RecheckLevel(level);
  const std::string png = LevelPicturePng(level);
  if (path == StandardOutputName) {
    streams.out.Write(png);
    return 0;
  }
  if (const auto failure = ReplaceFile(path, png)) {
    streams.err.Write("korvalo-level render: " + failure->message + "\n");
    return CommandFailure;
  }
  return 0;
}
