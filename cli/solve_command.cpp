// korvalo-level solve: solvability and a shortest solution for level codes.

#include <string_view>

#include "cli/code_answers.h"
#include "cli/commands.h"

namespace {

constexpr std::string_view SolveHelp =
    "Usage: korvalo-level solve [CODE ...]\n"
    "       korvalo-level solve [FILE ...]\n"
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
    "standard input: one code per line, optionally followed by a tab and a\n"
    "title; blank lines, lines starting with # (comments, the set's title and\n"
    "author) and a byte order mark are passed over. A line of a set that holds\n"
    "no code (one that starts with a tab holds none), or more than one code\n"
    "before the tab, is invalid; its reason names the line number\n"
    "(\"levels.txt, line 7: ...\", or \"line 7: ...\" for standard input). A title\n"
    "or author line that cannot name the set (not UTF-8, too long) is reported\n"
    "on standard error as an invalid header, with no line of answers. Any other\n"
    "argument is a level code; codes and files can be mixed.\n"
    "\n"
    "Lines end in LF or CR LF. A line longer than 4096 bytes is invalid with\n"
    "the reason \"line too long\"; its code field shows its first 32 bytes\n"
    "followed by \"...\", and reading goes on with the next line.\n"
    "In the code field and in the reasons, every byte outside printable ASCII,\n"
    "and the backslash, is shown as \\xNN with two hexadecimal digits: a tab as\n"
    "\\x09, an escape as \\x1b, a backslash as \\x5c.\n"
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
