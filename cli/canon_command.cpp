// korvalo-level canon: the canonical code of each level, the one name of the
// level and its turns and mirror images.

#include <string_view>

#include "cli/code_answers.h"
#include "cli/command_table.h"
#include "logic/canonical_code.h"

namespace {

constexpr std::string_view CanonHelp =
    "Usage: korvalo-level canon [CODE | FILE | -]...\n"
    "\n"
    "Reads level codes from the arguments, or from standard input when none is\n"
    "given, and prints one line per code with two fields separated by a tab:\n"
    "the code as given, and its canonical code, or invalid (with the reason on\n"
    "standard error).\n"
    "\n"
    "A level has eight images: turned 0, 1, 2 or 3 quarter turns, each also\n"
    "mirrored, the pieces keeping their colours. The canonical code is the\n"
    "least of their eight codes, so two levels are the same up to turns and\n"
    "mirrors exactly when their canonical codes are equal.\n"
    "\n"
    "Arguments, files and standard input are read as by solve: an argument\n"
    "that names an existing file, and standard input (the argument -, or no\n"
    "argument at all), are level sets (one code per line, an optional tab and\n"
    "title, # comments and blank lines passed over; an invalid line or header\n"
    "is reported with its number), any other argument is a code; -- ends the\n"
    "options. In codes, bytes outside printable ASCII, and the backslash, are\n"
    "shown as \\xNN; a line longer than 4096 bytes is invalid (\"line too long\").\n"
    "\n"
    "Exit status: 0 when every code was read, 1 when any was invalid or a file\n"
    "could not be read, 2 for a wrong command line, 3 when standard output\n"
    "could not be written, standard input could not be read or memory ran out.\n";

std::string CanonicalField(Level& level) { return CanonicalCode(level); }

}  // namespace

int RunCanon(const std::vector<std::string>& args, CommandStreams& streams) {
  return AnswerCodes({"canon", CanonHelp, CanonicalField, "invalid"}, args, streams);
}
