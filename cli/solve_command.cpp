// korvalo-level solve: solvability and a shortest solution for level codes.

#include <string_view>

#include "cli/code_answers.h"
#include "cli/command_table.h"

namespace {

constexpr std::string_view SolveHelp =
    "Usage: korvalo-level solve [CODE | FILE | -]...\n"
    "\n"
    "Reads level codes from the arguments, or from standard input when none is\n"
    "given, and prints one line per code with four fields separated by a tab:\n"
    "  1. the code as given;\n"
    "  2. solvable, unsolvable or invalid;\n"
    "  3. the number of moves of a shortest solution: 0 when the balls already\n"
    "     stand on their holes, - when there is no solution;\n"
    "  4. the moves of that solution as the letters N S W E (the one the\n"
    "     editor's solution step follows), - when there are none.\n"
    "The reason why a code is invalid goes to standard error.\n"
    "\n"
    "An argument that names an existing file is read as a level set, and so is\n"
    "standard input, for the argument - or when there is none: one code per\n"
    "line, optionally followed by a tab and a title; blank lines, lines starting\n"
    "with # (comments, the set's title and author) and a byte order mark are\n"
    "passed over. A line of a set that holds no code (one that starts with a\n"
    "tab holds none), or more than one code before the tab, is invalid; its\n"
    "reason names the line number (\"levels.txt, line 7: ...\", or \"line 7:\n"
    "...\" for standard input). A title or author line that cannot name the set\n"
    "(not UTF-8, too long) is reported on standard error as an invalid header,\n"
    "with no line of answers. Any other argument is a level code; codes and\n"
    "files can be mixed. After --, an argument that starts with a dash is a\n"
    "code or a file too. Read from a terminal, standard input ends with the key\n"
    "named on standard error (usually Ctrl+D).\n"
    "\n"
    "Lines end in LF or CR LF. A line longer than 4096 bytes is invalid with\n"
    "the reason \"line too long\"; its code field shows its first 32 bytes\n"
    "followed by \"...\", and reading goes on with the next line.\n"
    "In the code field and in the reasons, every byte outside printable ASCII,\n"
    "and the backslash, is shown as \\xNN with two hexadecimal digits: a tab as\n"
    "\\x09, an escape as \\x1b, a backslash as \\x5c. File names are shown as\n"
    "they are when they are valid UTF-8; only control characters, bytes that\n"
    "are not UTF-8 and the backslash are escaped in them.\n"
    "\n"
    "Exit status: 0 when every code was read, 1 when any code or header was\n"
    "invalid or a file could not be read, 2 for a wrong command line, 3 when\n"
    "standard output could not be written or standard input could not be read\n"
    "(with a message on standard error; output into a closed pipe just stops)\n"
    "or memory ran out.\n";

}  // namespace

int RunSolve(const std::vector<std::string>& args, CommandStreams& streams) {
  return AnswerCodes({"solve", SolveHelp, SolutionFields, "invalid\t-\t-"}, args, streams);
}
