#pragma once
// Commands that answer one line per level code (solve, canon): the codes come
// from the arguments, from level-set files named there, or from standard
// input read as a level set.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "logic/level.h"

/// One answering command.
struct CodeAnswers {
  std::string_view command;                   // its name, for the messages
  std::string_view help;                      // its --help text
  std::function<std::string(Level&)> fields;  // after the code, for a level that was read
  std::string_view invalidFields;             // after the code, for a text that is no level
};

/// Prints the help for a help word anywhere, refuses option-like arguments
/// (no code starts with a dash), then answers every argument in turn: a level
/// code or, when it names a file, a level set. Without arguments standard
/// input is read as a set. Each answer is a line of the code as written
/// (escaped), a tab and the fields. An invalid code gets invalidFields and its
/// reason on standard error, with the line number when it comes from a set.
/// 0 when every code was read; CommandFailure for an invalid code or a file
/// that cannot be read; StreamFailure when standard input cannot be read.
int AnswerCodes(const CodeAnswers& answers, const std::vector<std::string>& args,
                CommandStreams& streams);

/// True when an argument is read as a file: something by that name exists,
/// or cannot be looked at (no permission, a loop of links). Anything else is
/// read as a level code.
bool NamesAFile(const std::string& arg);

/// The fields solve prints for a level: "solvable", the number of moves of a
/// shortest solution and its moves as N S W E ("-" for none); or
/// "unsolvable\t-\t-".
std::string SolutionFields(Level& level);
