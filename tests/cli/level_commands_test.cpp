// canon, solve and canon over level sets (files and standard input), and
// check-set: every answer, message and exit status, with the line numbers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "logic/calibration.h"
#include "logic/canonical_code.h"
#include "logic/level_code.h"
#include "logic/level_grade.h"
#include "tests/cli/memory_streams.h"
#include "tests/cli/temp_folder.h"

namespace {

/// The text with every "{dir}" replaced by the folder.
std::string InFolder(std::string text, const std::string& folder) {
  for (std::size_t at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}", at)) {
    text.replace(at, 5, folder);
    at += folder.size();
  }
  return text;
}

constexpr const char* Maze = "31011121121026ac5";        // four moves
constexpr const char* MazeTurned = "3011121111022cbc1";  // its quarter turn
constexpr const char* OpenBoard = "3001122221100fbe5";   // no solution
constexpr const char* Solvable3 = "3111221000110fbe5";   // NW
constexpr const char* Corridor = "5020100030201ffbfeffbfe55";
constexpr const char* Maze7 = "7003366663300d4dae70cec86baf110a5e554";

// A set with every kind of line: byte order mark, header, blank and comment
// lines, CR LF, a title, a repeated level, two bad lines, an unsolvable level.
const std::string SetText = std::string("\xEF\xBB\xBF# title: First steps\r\n") +
                            "# author: A. Designer\r\n"
                            "\r\n" +
                            Maze + "\tThe small maze\r\n" +
                            "# a comment\r\n"
                            "   \r\n" +
                            MazeTurned + "\r\n" + "bogus\r\n" + Solvable3 + " trailing\r\n" +
                            OpenBoard + "\r\n";

const std::string NoSize = "the first character must be the board size 3, 5 or 7";
const std::string TextFollows =
    "text follows the 17 characters of the code; a title goes after a tab";

// ---------------------------------------------------------------------------
// canon

TEST(CanonCommandTest, AllEightImagesHaveTheLeastOfTheirCodes) {
  for (const char* code : {Maze, OpenBoard, Solvable3, Corridor, "50022444422005eae44c9f644", Maze7,
                           "7443425505561b4b3cee36c3c34ae584d0555"}) {
    SCOPED_TRACE(code);
    Level level;
    ASSERT_TRUE(ParseLevelCode(level, code).accepted);
    const auto images = ImageCodes(level);
    const std::string least = *std::min_element(images.begin(), images.end());
    const Outcome run = Invoke(RunCanon, std::vector<std::string>(images.begin(), images.end()));
    std::string expected;
    for (const std::string& image : images) expected += image + "\t" + least + "\n";
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "");
  }
}

TEST(CanonCommandTest, PrintsTheCodeAsGivenAndInvalidCodesAsSolveDoes) {
  const Outcome run = Invoke(RunCanon, {Maze, "3001122221100FBE5", "9bad", MazeTurned});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, std::string(Maze) + "\t" + MazeTurned + "\n" +
                         "3001122221100FBE5\t3001122221100fbe5\n"
                         "9bad\tinvalid\n" +
                         MazeTurned + "\t" + MazeTurned + "\n");
  EXPECT_EQ(run.err, "korvalo-level canon: invalid code '9bad': " + NoSize + "\n");
}

// ---------------------------------------------------------------------------
// solve and canon over level sets

struct SetCase {
  const char* name;
  Command command;
  std::vector<std::string> args;  // "{dir}" is the folder holding set.txt (SetText)
  std::string input;
  int status;
  std::string out;
  std::string err;
};

class SetReadingTest : public testing::TestWithParam<SetCase> {};

TEST_P(SetReadingTest, AnswersTheLevelsAndNamesTheLinesOfBadOnes) {
  const SetCase& c = GetParam();
  TempFolder folder;
  folder.Write("set.txt", SetText);
  folder.Write("empty.txt", "");
  std::vector<std::string> args;
  for (const std::string& arg : c.args) args.push_back(InFolder(arg, folder.Path()));
  const Outcome run = Invoke(c.command, args, c.input);
  EXPECT_EQ(run.status, c.status);
  EXPECT_EQ(run.out, InFolder(c.out, folder.Path()));
  EXPECT_EQ(run.err, InFolder(c.err, folder.Path()));
}

const std::string SolvedSet = std::string(Maze) + "\tsolvable\t4\tSENW\n" + MazeTurned +
                              "\tsolvable\t4\tWSEN\n" + "bogus\tinvalid\t-\t-\n" + Solvable3 +
                              " trailing\tinvalid\t-\t-\n" + OpenBoard + "\tunsolvable\t-\t-\n";
const std::string CanonSet = std::string(Maze) + "\t" + MazeTurned + "\n" + MazeTurned + "\t" +
                             MazeTurned + "\n" + "bogus\tinvalid\n" + Solvable3 +
                             " trailing\tinvalid\n" + OpenBoard + "\t" + OpenBoard + "\n";

/// The reasons for the set's two bad lines, in the form editors jump to; file
/// is the set's name in them ("-" for standard input).
std::string SetReasons(const std::string& file) {
  return "korvalo-level: " + file + ":8: invalid code 'bogus': " + NoSize + "\n" +
         "korvalo-level: " + file + ":9: invalid code '" + Solvable3 +
         " trailing': " + TextFollows + "\n";
}

INSTANTIATE_TEST_SUITE_P(
    Sets, SetReadingTest,
    testing::Values(
        SetCase{"SolveFile",
                RunSolve,
                {"{dir}/set.txt"},
                "",
                1,
                SolvedSet,
                SetReasons("{dir}/set.txt")},
        SetCase{"SolveStandardInput", RunSolve, {}, SetText, 1, SolvedSet, SetReasons("-")},
        SetCase{
            "CanonFile", RunCanon, {"{dir}/set.txt"}, "", 1, CanonSet, SetReasons("{dir}/set.txt")},
        SetCase{"CanonStandardInput", RunCanon, {}, SetText, 1, CanonSet, SetReasons("-")},
        // Codes and files mixed, in the order given.
        SetCase{"CodesAroundAFile",
                RunCanon,
                {OpenBoard, "{dir}/empty.txt", Maze},
                "",
                0,
                std::string(OpenBoard) + "\t" + OpenBoard + "\n" + Maze + "\t" + MazeTurned + "\n",
                ""},
        // An argument is a code unless it names a file; one that looks like a
        // file name says that no file has it.
        SetCase{"MissingFileIsAnInvalidCode",
                RunSolve,
                {"{dir}/sett.txt", Solvable3},
                "",
                1,
                "{dir}/sett.txt\tinvalid\t-\t-\n" + std::string(Solvable3) + "\tsolvable\t2\tNW\n",
                "korvalo-level solve: invalid code '{dir}/sett.txt': " + NoSize +
                    " (and no file has this name)\n"},
        // A code followed by more text is still read as an argument, as before.
        SetCase{"ArgumentWithTextAfterTheCode",
                RunSolve,
                {std::string(Solvable3) + "x"},
                "",
                0,
                std::string(Solvable3) + "x\tsolvable\t2\tNW\n",
                ""},
        SetCase{"FolderCannotBeRead",
                RunSolve,
                {"{dir}", Solvable3},
                "",
                1,
                std::string(Solvable3) + "\tsolvable\t2\tNW\n",
                "korvalo-level solve: cannot read '{dir}': Is a directory\n"},
        SetCase{"TitlesAreNotEchoed",
                RunSolve,
                {},
                std::string(Maze) + "\tA \x1b[2Jtitle\n",
                0,
                std::string(Maze) + "\tsolvable\t4\tSENW\n",
                ""},
        SetCase{"OnlyCommentsAndBlankLines", RunCanon, {}, "# title: Nothing\n\n#\n", 0, "", ""},
        SetCase{
            "TooLongLineThenAValidOne",
            RunCanon,
            {},
            std::string(5000, '7') + "\r\n" + MazeTurned + "\n",
            1,
            std::string(32, '7') + "...\tinvalid\n" + MazeTurned + "\t" + MazeTurned + "\n",
            "korvalo-level: -:1: invalid code '" + std::string(32, '7') + "...': line too long\n"},
        // A header that cannot name the set is reported as a header, with no
        // line of answers; a line that starts with a tab has no code.
        SetCase{"BadHeaderAndTitleWithoutCode",
                RunSolve,
                {},
                "# title: \xff\n\tjust a title\n" + std::string(Solvable3) + "\n",
                1,
                "\tinvalid\t-\t-\n" + std::string(Solvable3) + "\tsolvable\t2\tNW\n",
                "korvalo-level: -:1: invalid header '# title: \\xff': the line is not "
                "valid UTF-8\n"
                "korvalo-level: -:2: invalid code '': the line has no code before its "
                "tab\n"}),
    [](const testing::TestParamInfo<SetCase>& info) { return info.param.name; });

TEST(SetReadingTest, StandardInputThatCannotBeReadIsAStreamFailure) {
  const Outcome run = Invoke(RunCanon, {}, std::string(Maze) + "\n", EIO);
  EXPECT_EQ(run.status, StreamFailure);
  EXPECT_EQ(run.out, std::string(Maze) + "\t" + MazeTurned + "\n");
  EXPECT_EQ(run.err, "korvalo-level canon: cannot read standard input: Input/output error\n");
}

// ---------------------------------------------------------------------------
// check-set

struct CheckCase {
  const char* name;
  std::string text;
  int status;
  std::string out;
};

class CheckSetTest : public testing::TestWithParam<CheckCase> {};

/// The expected lines with each {at} as the start of a message about a line
/// of the file: "korvalo-level: FILE:".
std::string AtLinesOf(std::string text, const std::string& file) {
  const std::string at = "korvalo-level: " + file + ":";
  for (std::size_t i = text.find("{at}"); i != std::string::npos; i = text.find("{at}", i)) {
    text.replace(i, 4, at);
    i += at.size();
  }
  return text;
}

TEST_P(CheckSetTest, ReportsEachProblemWithItsLine) {
  const CheckCase& c = GetParam();
  TempFolder folder;
  folder.Write("set.txt", c.text);
  const Outcome fromFile = Invoke(RunCheckSet, {folder.Path("set.txt")});
  EXPECT_EQ(fromFile.status, c.status);
  EXPECT_EQ(fromFile.out, AtLinesOf(c.out, folder.Path("set.txt")));
  EXPECT_EQ(fromFile.err, "");
  const Outcome fromInput = Invoke(RunCheckSet, {}, c.text);
  EXPECT_EQ(fromInput.status, c.status);
  EXPECT_EQ(fromInput.out, AtLinesOf(c.out, "-"));
}

INSTANTIATE_TEST_SUITE_P(
    Sets, CheckSetTest,
    testing::Values(
        CheckCase{"Empty", "", 0, ""},
        CheckCase{
            "GoodSet",
            "# title: Good\n" + std::string(Maze) + "\tOne\n" + Corridor + "\n" + Maze7 + "\n", 0,
            ""},
        CheckCase{"EveryKindOfProblem", SetText, 1,
                  "{at}7: 3011121111022cbc1 is the same level as line 4, up to turns and mirrors\n"
                  "{at}8: invalid level 'bogus': " +
                      NoSize + "\n" + "{at}9: invalid level '3111221000110fbe5 trailing': " +
                      TextFollows + "\n" + "{at}10: 3001122221100fbe5 has no solution\n"},
        // Both problems of one line; the first line of a level is named for
        // every later copy.
        CheckCase{"UnsolvableCopies",
                  std::string(OpenBoard) + "\n" + OpenBoard + "\n" + OpenBoard + "\tagain\n", 1,
                  "{at}1: 3001122221100fbe5 has no solution\n"
                  "{at}2: 3001122221100fbe5 is the same level as line 1, up to turns and mirrors\n"
                  "{at}2: 3001122221100fbe5 has no solution\n"
                  "{at}3: 3001122221100fbe5 is the same level as line 1, up to turns and mirrors\n"
                  "{at}3: 3001122221100fbe5 has no solution\n"},
        CheckCase{"ControlBytesAreEscaped", "\x1b[2J\n", 1,
                  "{at}1: invalid level '\\x1b[2J': " + NoSize + "\n"},
        CheckCase{"BadHeader", "# title: \xff\n" + std::string(Maze) + "\n", 1,
                  "{at}1: invalid header '# title: \\xff': the line is not valid UTF-8\n"},
        CheckCase{
            "LongHeader", "# title: " + std::string(5000, 'x') + "\n" + Maze + "\n", 1,
            "{at}1: invalid header '# title: " + std::string(23, 'x') + "...': line too long\n"},
        CheckCase{"TitleWithoutCode", "\tjust a title\n" + std::string(Maze) + "\n", 1,
                  "{at}1: invalid level '': the line has no code before its tab\n"},
        CheckCase{"TooLongLine", std::string(Maze) + "\n" + std::string(5000, 'x') + "\n", 1,
                  "{at}2: invalid level '" + std::string(32, 'x') + "...': line too long\n"}),
    [](const testing::TestParamInfo<CheckCase>& info) { return info.param.name; });

TEST(CheckSetTest, AFileThatCannotBeReadIsAFailure) {
  TempFolder folder;
  const struct {
    std::string path;
    std::string reason;
  } cases[] = {
      {folder.Path("missing.txt"), "No such file or directory"},
      {folder.Path(), "Is a directory"},
  };
  for (const auto& c : cases) {
    const Outcome run = Invoke(RunCheckSet, {c.path});
    EXPECT_EQ(run.status, CommandFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "korvalo-level check-set: cannot read '" + c.path + "': " + c.reason + "\n");
  }
  const Outcome input = Invoke(RunCheckSet, {}, std::string(Maze) + "\n", EIO);
  EXPECT_EQ(input.status, StreamFailure);
  EXPECT_EQ(input.out, "");
  EXPECT_EQ(input.err, "korvalo-level check-set: cannot read standard input: Input/output error\n");
}

// ---------------------------------------------------------------------------
// Wrong command lines and help

// ---------------------------------------------------------------------------
// analyze and check-set --unique
//
// 3 x 3 boards with a corridor per row, worked out by hand in the analysis'
// own tests: the balls on columns 0 1 2 (red green blue), the holes as named.
constexpr const char* HolesUnderBalls = "30011220011225145";
constexpr const char* HolesEast = "30011220212225145";       // E E
constexpr const char* HolesTwoWays = "30011220111215145";    // W W E or E E W
constexpr const char* HolesUnreached = "30011220110215145";  // no move gets there

/// The fields of an answer's first line.
std::vector<std::string> Fields(const std::string& text) {
  std::vector<std::string> fields;
  std::istringstream line(text.substr(0, text.find('\n')));
  for (std::string field; std::getline(line, field, '\t');) fields.push_back(field);
  return fields;
}

TEST(AnalyzeCommandTest, PrintsSevenFieldsPerLevelReadAsSolveReads) {
  const std::string expected = std::string(HolesUnderBalls) + "\tsolvable\t0\t1\t8\t0\t1\n" +
                               HolesEast + "\tsolvable\t2\t1\t8\t0\t3\n" + HolesTwoWays +
                               "\tsolvable\t3\t2\t8\t2\t7\n" + HolesUnreached +
                               "\tunsolvable\t-\t0\t8\t-\t-\n"
                               "bogus\tinvalid\t-\t-\t-\t-\t-\n";
  const std::vector<std::string> codes = {HolesUnderBalls, HolesEast, HolesTwoWays, HolesUnreached,
                                          "bogus"};
  const Outcome fromArguments = Invoke(RunAnalyze, codes);
  EXPECT_EQ(fromArguments.status, 1);
  EXPECT_EQ(fromArguments.out, expected);
  EXPECT_EQ(fromArguments.err, "korvalo-level analyze: invalid code 'bogus': " + NoSize + "\n");

  std::string set = "# title: Corridors\n";
  for (const std::string& code : codes) set += code + "\ta level\n";
  const Outcome fromInput = Invoke(RunAnalyze, {"-"}, set);
  EXPECT_EQ(fromInput.out, expected);

  // The moves agree with solve's on a real maze.
  const std::vector<std::string> analysed = Fields(Invoke(RunAnalyze, {Maze7}).out);
  const std::vector<std::string> solved = Fields(Invoke(RunSolve, {Maze7}).out);
  ASSERT_EQ(analysed.size(), 7u);
  EXPECT_EQ(analysed[1], solved[1]);
  EXPECT_EQ(analysed[2], solved[2]);
  EXPECT_EQ(Invoke(RunAnalyze, {Maze7}).status, 0);
}

// The grade of each level as analyze's figures give it, its points beside it.
TEST(GradeCommandTest, PrintsTheGradeAndItsPointsFromTheAnalysis) {
  const std::vector<std::string> codes = {HolesUnderBalls, HolesEast, HolesTwoWays, HolesUnreached,
                                          "bogus"};
  const Outcome graded = Invoke(RunGrade, codes);
  EXPECT_EQ(graded.status, 1);
  EXPECT_EQ(graded.out, std::string(HolesUnderBalls) + "\tsolvable\tEasy\t0\n" + HolesEast +
                            "\tsolvable\tEasy\t5\n" + HolesTwoWays + "\tsolvable\tEasy\t14\n" +
                            HolesUnreached + "\tunsolvable\t-\t-\n" + "bogus\tinvalid\t-\t-\n");
  EXPECT_EQ(graded.err, "korvalo-level grade: invalid code 'bogus': " + NoSize + "\n");

  // The help states the thresholds the grade uses.
  const std::string help = Invoke(RunGrade, {"--help"}).out;
  const GradeParameters defaults;
  const std::string thresholds = "Normal starts at " + std::to_string(defaults.normalFrom) +
                                 " points, Hard at " + std::to_string(defaults.hardFrom) +
                                 ", Expert at " + std::to_string(defaults.expertFrom) + ".";
  EXPECT_NE(help.find(thresholds), std::string::npos) << help;
}

TEST(CheckSetTest, UniqueAlsoReportsLevelsWithMoreThanOneShortestSolution) {
  const std::string set =
      std::string(HolesEast) + "\n" + HolesTwoWays + "\n" + HolesUnreached + "\nbogus\n";
  const std::string others =
      "korvalo-level: -:3: 30011220110215145 has no solution\n"
      "korvalo-level: -:4: invalid level 'bogus': " +
      NoSize + "\n";
  const Outcome plain = Invoke(RunCheckSet, {}, set);
  EXPECT_EQ(plain.out, others);
  const Outcome unique = Invoke(RunCheckSet, {"--unique", "-"}, set);
  EXPECT_EQ(unique.status, 1);
  EXPECT_EQ(unique.out,
            "korvalo-level: -:2: 30011220111215145 has 2 shortest solutions\n" + others);
  EXPECT_EQ(Invoke(RunCheckSet, {"--unique"}, std::string(HolesEast) + "\n").status, 0);
}

TEST(LevelCommandsTest, EveryWrongCommandLineExitsTwoWithTwoLines) {
  const struct {
    Command command;
    const char* name;
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {RunCanon, "canon", {"--fast"}, "unknown option '--fast'"},
      {RunCanon, "canon", {Maze, "-x"}, "unknown option '-x'"},
      {RunSolve, "solve", {Maze, "-x", "--", "-y"}, "unknown option '-x'"},
      {RunCheckSet, "check-set", {"a.txt", "b.txt"}, "expects one file at most"},
      {RunCheckSet, "check-set", {"-", "--", "-"}, "expects one file at most"},
      {RunCheckSet, "check-set", {"-x"}, "unknown option '-x'"},
      {RunCheckSet, "check-set", {"--unique", "--unique"}, "--unique is given twice"},
      {RunAnalyze, "analyze", {"--unique"}, "unknown option '--unique'"},
      {RunGenerate, "generate", {}, "--size is needed"},
      {RunGenerate, "generate", {"--size", "5"}, "--moves is needed"},
      {RunGenerate,
       "generate",
       {"--size", "4", "--moves", "3"},
       "the board size must be 3, 5 or 7"},
      {RunGenerate,
       "generate",
       {"--size", "5", "--moves", "9-3"},
       "the largest number of moves must not be below the least"},
      {RunGenerate,
       "generate",
       {"--size", "5", "--moves", "-3"},
       "--moves expects MIN or MIN-MAX, whole numbers of moves, not '-3'"},
      {RunGenerate,
       "generate",
       {"--size", "5", "--moves", "3-"},
       "--moves expects MIN or MIN-MAX, whole numbers of moves, not '3-'"},
      {RunGenerate,
       "generate",
       {"--size", "5", "--moves", "10-2147483647"},
       "a shortest solution on a 5 x 5 board has at most 13799 moves"},
      {RunGenerate,
       "generate",
       {"--size", "7", "--moves", "110544"},
       "a shortest solution on a 7 x 7 board has at most 110543 moves"},
      {RunGenerate,
       "generate",
       {"--size", "5", "--moves", "3-2147483648"},
       "--moves expects MIN or MIN-MAX, whole numbers of moves, not '3-2147483648'"},
      {RunGenerate,
       "generate",
       {"--size", "5", "--moves", "3", "--count", "0"},
       "--count expects a whole number from 1, not '0'"},
      {RunGenerate,
       "generate",
       {"--size", "5", "--moves", "3", "--count", "99999999999"},
       "--count expects a whole number from 1, not '99999999999'"},
      {RunGenerate,
       "generate",
       {"--size", "5", "--moves", "3", "--seed", "18446744073709551616"},
       "--seed expects a whole number from 0 to 18446744073709551615, not '18446744073709551616'"},
      {RunGenerate,
       "generate",
       {"--size", "5", "--moves", "3", "--seed", "+1"},
       "--seed expects a whole number from 0 to 18446744073709551615, not '+1'"},
      {RunGenerate,
       "generate",
       {"--size", "5", "--moves", "3", "--open-walls", "-1"},
       "--open-walls expects a whole number from 0, not '-1'"},
      {RunGenerate,
       "generate",
       {"--size", "5", "--moves", "3", "--size", "5"},
       "--size is given twice"},
      {RunGenerate, "generate", {"--size=5", "--moves"}, "--moves needs a value"},
      {RunGenerate,
       "generate",
       {"--size=5", "--moves=3", "--output="},
       "--output needs a file name"},
      {RunGenerate, "generate", {"--size=5", "--moves=3", "extra"}, "unexpected argument 'extra'"},
      {RunGenerate,
       "generate",
       {"--size=5", "--moves=3", "--", "extra"},
       "unexpected argument 'extra'"},
      {RunGenerate,
       "generate",
       {"--size=5", "--moves=3", "--seconds", "1"},
       "unknown option '--seconds'"},
      {RunHardest, "hardest", {}, "--size is needed"},
      {RunHardest, "hardest", {"--size", "6"}, "the board size must be 3, 5 or 7"},
      {RunHardest,
       "hardest",
       {"--size", "5", "--seconds", "0"},
       "--seconds expects a number of seconds above 0, at most 1000000, not '0'"},
      {RunHardest,
       "hardest",
       {"--size", "5", "--seconds", "1e3"},
       "--seconds expects a number of seconds above 0, at most 1000000, not '1e3'"},
      {RunHardest,
       "hardest",
       {"--size", "5", "--seconds", "2000000"},
       "--seconds expects a number of seconds above 0, at most 1000000, not '2000000'"},
      {RunHardest, "hardest", {"--size", "5", "--moves", "3"}, "unknown option '--moves'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const Outcome run = Invoke(c.command, c.args);
    EXPECT_EQ(run.status, UsageError);
    EXPECT_EQ(run.out, "");
    // What was wrong and where to read more, not the whole help.
    const std::string named = "korvalo-level " + std::string(c.name);
    EXPECT_EQ(run.err,
              named + ": " + c.message + "\nTry '" + named + " --help' for more information.\n");
  }
}

// "-" is standard input where a file or code is taken, "--" ends the options
// (a help word after it is a code like any other), as in every Unix tool.
TEST(LevelCommandsTest, DashIsStandardInputAndDoubleDashEndsTheOptions) {
  const std::string invalidHelp = "-h\tinvalid\t-\t-\n";
  const struct {
    Command command;
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string out;
  } cases[] = {
      {RunSolve, {"-"}, std::string(Maze) + "\n", 0, std::string(Maze) + "\tsolvable\t4\tSENW\n"},
      {RunSolve,
       {Solvable3, "-", Corridor},
       std::string(Maze) + "\n",
       0,
       std::string(Solvable3) + "\tsolvable\t2\tNW\n" + Maze + "\tsolvable\t4\tSENW\n" + Corridor +
           "\tsolvable\t1\tE\n"},
      {RunCanon,
       {"--", "-"},
       std::string(Maze) + "\n",
       0,
       std::string(Maze) + "\t" + MazeTurned + "\n"},
      {RunSolve, {"--", "-h"}, "", CommandFailure, invalidHelp},
      {RunCheckSet,
       {"-"},
       std::string(OpenBoard) + "\n",
       CommandFailure,
       "korvalo-level: -:1: 3001122221100fbe5 has no solution\n"},
      {RunCheckSet, {"--", "-"}, std::string(Maze) + "\n", 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const Outcome run = Invoke(c.command, c.args, c.input);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

// stats names each line of its set file that is no level, in the FILE:LINE
// form, and goes on with the others (here none, so no site is asked); its
// options stand anywhere and "--" ends them.
TEST(StatsCommandTest, NamesEachLineThatIsNoLevelAndGoesOn) {
  TempFolder folder;
  folder.Write("set.txt", "3xyz\n# a comment\nzz\n");
  const std::string set = folder.Path("set.txt");
  const std::string nowhere = "http://127.0.0.1:9";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--server", nowhere, "--", set},
        std::vector<std::string>{set, "--server=" + nowhere}}) {
    SCOPED_TRACE(testing::PrintToString(args));
    const Outcome run = Invoke(RunStats, args);
    EXPECT_EQ(run.status, CommandFailure) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\t')), "line");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
    const std::string at = "korvalo-level: " + set + ":";
    EXPECT_EQ(run.err.find(at + "1: invalid code '3xyz': "), 0u) << run.err;
    EXPECT_NE(run.err.find("\n" + at + "3: invalid code 'zz': "), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
  }
  EXPECT_EQ(Invoke(RunStats, {"--server", nowhere, "--", set, "--x"}).status, UsageError)
      << "after --, --x is a second file";
}

// Read from a terminal, a set ends only when the user says so: the commands
// name the key first, and say nothing when the input is a file or a pipe.
TEST(LevelCommandsTest, ReadingATerminalNamesTheKeyThatEndsTheInput) {
  const struct {
    Command command;
    std::vector<std::string> args;
    std::string said;
  } cases[] = {
      {RunSolve, {}, "korvalo-level solve: reading level codes (one a line) from the terminal; "},
      {RunCanon,
       {Maze, "-"},
       "korvalo-level canon: reading level codes (one a line) from the terminal; "},
      {RunCheckSet, {}, "korvalo-level check-set: reading a level set from the terminal; "},
      {RunCheckSet, {"-"}, "korvalo-level check-set: reading a level set from the terminal; "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    MemoryStreams terminal(std::string(Maze) + "\n");
    terminal.streams().typedInputEnd = "Ctrl+D";
    EXPECT_EQ(c.command(c.args, terminal.streams()), 0);
    EXPECT_EQ(terminal.err(), c.said + "Ctrl+D ends the input\n");

    MemoryStreams pipe(std::string(Maze) + "\n");
    EXPECT_EQ(c.command(c.args, pipe.streams()), 0);
    EXPECT_EQ(pipe.err(), "");
  }
  MemoryStreams codesOnly;
  codesOnly.streams().typedInputEnd = "Ctrl+D";
  EXPECT_EQ(RunSolve({Maze}, codesOnly.streams()), 0);
  EXPECT_EQ(codesOnly.err(), "");
}

TEST(LevelCommandsTest, HelpGoesToStandardOutputWhereverItIsAsked) {
  const struct {
    Command command;
    std::vector<std::string> args;
    std::string usage;
  } cases[] = {
      {RunCanon, {"--help"}, "Usage: korvalo-level canon [CODE | FILE | -]...\n"},
      {RunSolve, {Maze, "-h"}, "Usage: korvalo-level solve [CODE | FILE | -]...\n"},
      {RunCheckSet, {"-h"}, "Usage: korvalo-level check-set [--unique] [FILE | -]\n"},
      {RunAnalyze, {"--help"}, "Usage: korvalo-level analyze [CODE | FILE | -]...\n"},
      {RunGrade,
       {"-h"},
       "Usage: korvalo-level grade [--grade-parameters FILE] [CODE | FILE | -]...\n"},
      {RunGenerate, {"--size", "9", "--help"}, "Usage: korvalo-level generate --size N"},
      {RunHardest, {"--help"}, "Usage: korvalo-level hardest --size N"},
  };
  for (const auto& c : cases) {
    const Outcome run = Invoke(c.command, c.args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, c.usage.size()), c.usage);
    EXPECT_EQ(run.err, "");
  }
}

TEST(CalibrateCommand, FitsTheGradeToSettledLevelsAndWritesItsParameters) {
  // Ten settled levels rated by their length and counter-intuitive steps, and
  // an unsettled one whose rating would spoil the fit.
  std::string csv =
      "code,rating,deviation,plays,solved_first,median_seconds,popularity,moves,solutions,"
      "counter_intuitive,greedy_effort\n";
  for (int i = 0; i < 10; ++i)
    csv += "c" + std::to_string(i) + "," + std::to_string(1000 + 30 * i + 50 * (i % 3)) +
           ",80,40,0.5,60,0," + std::to_string(5 + i) + "," + std::to_string(1 + i % 4) + "," +
           std::to_string(i % 3) + "," + std::to_string(100 + 7 * ((i * 5) % 10)) + "\n";
  csv += "x,9000,300,1,0,,0,3,1,0,5\n";
  TempFolder folder;
  folder.Write("figures.csv", csv);
  MemoryStreams io;
  ASSERT_EQ(RunCalibrate({"--rounds", "200", "--output", folder.Path("grade.txt"),
                          folder.Path("figures.csv")},
                         io.streams()),
            0)
      << io.err();
  const std::string out = io.FlushedOut();
  EXPECT_EQ(out.substr(0, out.find('\n')),
            "10 settled levels; rank correlation with the rating (95% interval):");
  EXPECT_NE(out.find("\nfit\t1.000\t("), std::string::npos) << out;
  for (const char* measure : {"moves\t0.", "solutions\t", "counter_intuitive\t", "greedy_effort\t"})
    EXPECT_NE(out.find(std::string("\n") + measure), std::string::npos) << measure;
  const auto parameters = ReadGradeParameters(folder.Read("grade.txt"));
  ASSERT_TRUE(parameters);
  EXPECT_GT(parameters->perMove, 0.0);
  EXPECT_GT(parameters->perCounterIntuitiveStep, 0.0);

  // To standard output (-), the parameters alone, the correlations beside them.
  MemoryStreams piped;
  ASSERT_EQ(RunCalibrate({"--rounds", "200", "--output", "-", folder.Path("figures.csv")},
                         piped.streams()),
            0)
      << piped.err();
  EXPECT_EQ(piped.FlushedOut(), folder.Read("grade.txt"));
  EXPECT_EQ(piped.err().substr(0, piped.err().find('\n')), out.substr(0, out.find('\n')));

  // "--" ends the options: the file after it is the one operand.
  MemoryStreams ended;
  ASSERT_EQ(RunCalibrate({"--rounds", "200", "--", folder.Path("figures.csv"), "--output=-"},
                         ended.streams()),
            UsageError)
      << "two operands";
  ASSERT_EQ(RunCalibrate({"--output", "-", "--rounds=200", "--", folder.Path("figures.csv")},
                         ended.streams()),
            0)
      << ended.err();
  EXPECT_EQ(ended.FlushedOut(), folder.Read("grade.txt"));

  // grade reads the parameters when a file is named, and refuses one it cannot use.
  GradeParameters raised;
  raised.offset = 100.0;
  folder.Write("raised.txt", WriteGradeParameters(raised));
  const std::string expert = std::string(HolesEast) + "\tsolvable\tExpert\t105\n";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--grade-parameters", folder.Path("raised.txt"), HolesEast},
        std::vector<std::string>{"--grade-parameters=" + folder.Path("raised.txt"), "--",
                                 HolesEast}}) {
    const Outcome graded = Invoke(RunGrade, args);
    EXPECT_EQ(graded.status, 0) << graded.err;
    EXPECT_EQ(graded.out, expert);
  }
  const Outcome unusable =
      Invoke(RunGrade, {"--grade-parameters", folder.Path("figures.csv"), HolesEast});
  EXPECT_EQ(unusable.status, 1);
  EXPECT_EQ(unusable.out, "");
  EXPECT_NE(unusable.err.find("holds no grade parameters"), std::string::npos) << unusable.err;

  struct Case {
    const char* what;
    std::string text;
    const char* reason;
  } cases[] = {
      {"too few settled levels", csv.substr(0, csv.find("\nc3")) + "\n", "too few"},
      {"a column missing", "code,rating,deviation,moves\n", "no column solutions"},
      {"no number", csv + "y,high,50,1,0,,0,1,1,0,1\n", "bad.csv:13: no number for rating"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    folder.Write("bad.csv", c.text);
    MemoryStreams refused;
    EXPECT_EQ(RunCalibrate({folder.Path("bad.csv")}, refused.streams()), 1);
    EXPECT_NE(refused.err().find(c.reason), std::string::npos) << refused.err();
  }
}

}  // namespace
