#include "logic/level_set.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// Readable failures.
void PrintTo(const SetLevel& level, std::ostream* out) {
  *out << "{line " << level.line << ", " << level.code << ", '" << level.title << "'}";
}
void PrintTo(const SetProblem& problem, std::ostream* out) { *out << DescribeSetProblem(problem); }

namespace {

// A small maze of four moves and its quarter turn: the same level up to symmetry.
constexpr const char* Maze = "31011121121026ac5";
constexpr const char* MazeTurned = "3011121111022cbc1";
// The open board with the default placement: no solution.
constexpr const char* OpenBoard = "3001122221100fbe5";
constexpr const char* Corridor = "5020100030201ffbfeffbfe55";

/// A line error with its reason in English, as the tables give it.
struct ErrorLine {
  int line = 0;
  std::string text;
  std::string reason;
  bool header = false;
  friend bool operator==(const ErrorLine&, const ErrorLine&) = default;
};

void PrintTo(const ErrorLine& error, std::ostream* out) {
  *out << "{line " << error.line << ", " << error.text << ", " << error.reason << "}";
}

std::vector<ErrorLine> InEnglish(const std::vector<SetLineError>& errors) {
  std::vector<ErrorLine> lines;
  for (const SetLineError& error : errors)
    lines.push_back({error.line, error.text, EnglishReason(error.reason), error.header});
  return lines;
}

struct ReadCase {
  const char* name;
  std::string text;
  LevelSet set;
  std::vector<ErrorLine> errors;
};

class ReadLevelSetTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadLevelSetTest, GivesTheSetAndTheBadLines) {
  const LevelSetReading reading = ReadLevelSet(GetParam().text);
  EXPECT_EQ(reading.set, GetParam().set);
  EXPECT_EQ(InEnglish(reading.errors), GetParam().errors);
}

const std::string CodeTooLong =
    "text follows the 17 characters of the code; a title goes after a tab";

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadLevelSetTest,
    testing::Values(
        ReadCase{"Empty", "", {}, {}},
        ReadCase{"OneCodeWithoutLineEnd", Maze, {"", "", {{1, Maze, ""}}}, {}},
        ReadCase{"HeaderTitlesAndComments",
                 "# title: First steps\n# author: A. Designer\n# a comment\n" + std::string(Maze) +
                     "\tThe small maze\n" + Corridor + "\n",
                 {"First steps", "A. Designer", {{4, Maze, "The small maze"}, {5, Corridor, ""}}},
                 {}},
        ReadCase{"CrLfBlankLinesAndBlanksAround",
                 "\r\n# Title:   Spaced out  \r\n\r\n   \t\r\n  " + std::string(Maze) +
                     "  \t  Blanks around  \r\n" + Corridor + "\r\n",
                 {"Spaced out", "", {{5, Maze, "Blanks around"}, {6, Corridor, ""}}},
                 {}},
        ReadCase{"HeaderOnlyBeforeTheFirstLevel",
                 std::string(Maze) + "\n# title: Too late\n# author: Too late\n",
                 {"", "", {{1, Maze, ""}}},
                 {}},
        ReadCase{"FirstTitleCounts",
                 "# title: One\n# title: Two\n# titles: Three\n",
                 {"One", "", {}},
                 {}},
        ReadCase{"ByteOrderMarkAndUtf8Titles",
                 "\xEF\xBB\xBF# title: Niveaux d\xC3\xA9j\xC3\xA0 vus\n" + std::string(Maze) +
                     "\t\xE8\xBF\xB7\xE8\xB7\xAF \xF0\x9F\x8E\xB2\n",
                 {"Niveaux d\xC3\xA9j\xC3\xA0 vus",
                  "",
                  {{2, Maze, "\xE8\xBF\xB7\xE8\xB7\xAF \xF0\x9F\x8E\xB2"}}},
                 {}},
        ReadCase{"BadLinesWithTheReaderReasons",
                 std::string(Maze) + "\n9001122221100bba0\n3001122221100bb\n3991122221100bba0\n" +
                     Maze + " title without a tab\n" + Maze + "0\nhello\n" + Corridor + "\n",
                 {"", "", {{1, Maze, ""}, {8, Corridor, ""}}},
                 {{2, "9001122221100bba0", "the first character must be the board size 3, 5 or 7"},
                  {3, "3001122221100bb", "the code ends before its 4 wall digits"},
                  {4, "3991122221100bba0", "character 1 is not a coordinate from 0 to 2"},
                  {5, std::string(Maze) + " title without a tab", CodeTooLong},
                  {6, std::string(Maze) + "0", CodeTooLong},
                  {7, "hello", "the first character must be the board size 3, 5 or 7"}}},
        ReadCase{"BrokenUtf8",
                 "# title: \xC3\x28\n" + std::string(Maze) + "\tover\xC0\xAF" + "long\n" + Maze +
                     "\tsurrogate \xED\xA0\x80\n" + Maze + "\tcut \xE2\x82\n",
                 {},
                 {{1, "# title: \xC3\x28", "the line is not valid UTF-8", /*header=*/true},
                  {2, Maze, "the title is not valid UTF-8"},
                  {3, Maze, "the title is not valid UTF-8"},
                  {4, Maze, "the title is not valid UTF-8"}}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

// The fields are split at the first tab before any blank is dropped: a line
// that starts with a tab has an empty code, and is no comment even when its
// title starts with '#'.
INSTANTIATE_TEST_SUITE_P(
    LeadingTabs, ReadLevelSetTest,
    testing::Values(ReadCase{"TitleWithoutCode",
                             "\tjust a title\n  \t\t" + std::string(Maze) + "\n",
                             {},
                             {{1, "", "the line has no code before its tab"},
                              {2, "", "the line has no code before its tab"}}},
                    ReadCase{"HashAfterATab",
                             "\t# title: Not a header\n  # title: A header\n" + std::string(Maze),
                             {"A header", "", {{3, Maze, ""}}},
                             {{1, "", "the line has no code before its tab"}}},
                    ReadCase{"BlanksBeforeTheCode",
                             "  " + std::string(Maze) + "\tindented\n",
                             {"", "", {{1, Maze, "indented"}}},
                             {}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(WriteLevelSetTest, WritesHeaderAndOneLinePerLevel) {
  const LevelSet set{
      "First steps", "A. Designer", {{1, Maze, "The small maze"}, {2, Corridor, ""}}};
  EXPECT_EQ(WriteLevelSet(set), "# title: First steps\n# author: A. Designer\n" +
                                    std::string(Maze) + "\tThe small maze\n" + Corridor + "\n");
  EXPECT_EQ(WriteLevelSet(LevelSet{"", "", {{1, Maze, ""}}}), std::string(Maze) + "\n");
}

TEST(WriteLevelSetTest, WhatIsWrittenReadsBackAsTheSameSet) {
  const std::vector<LevelSet> sets = {
      {},
      {"Only a title", "", {}},
      {"", "Only an author", {{1, Corridor, "# not a comment"}}},
      {"Title",
       "Author",
       {{3, Maze, "first"}, {4, MazeTurned, ""}, {5, Corridor, "third: \xC3\xA9"}}},
  };
  for (const LevelSet& set : sets) {
    const LevelSetReading reading = ReadLevelSet(WriteLevelSet(set));
    EXPECT_TRUE(reading.errors.empty());
    EXPECT_EQ(reading.set.title, set.title);
    EXPECT_EQ(reading.set.author, set.author);
    ASSERT_EQ(reading.set.levels.size(), set.levels.size());
    for (std::size_t i = 0; i < set.levels.size(); ++i) {
      EXPECT_EQ(reading.set.levels[i].code, set.levels[i].code);
      EXPECT_EQ(reading.set.levels[i].title, set.levels[i].title);
    }
  }
}

TEST(WriteLevelSetTest, LineBreaksAndTabsInTextsCannotMakeNewLines) {
  const LevelSet set{"Two\nlines",
                     "Tab\tbed\r\n# title: injected",
                     {{1, Maze, "one\n" + std::string(Corridor)}, {2, Corridor, "  \t "}}};
  const LevelSetReading reading = ReadLevelSet(WriteLevelSet(set));
  EXPECT_TRUE(reading.errors.empty());
  EXPECT_EQ(reading.set.title, "Two lines");
  EXPECT_EQ(reading.set.author, "Tab bed  # title: injected");
  ASSERT_EQ(reading.set.levels.size(), 2u);
  EXPECT_EQ(reading.set.levels[0].title, "one " + std::string(Corridor));
  EXPECT_EQ(reading.set.levels[1].title, "");
}

TEST(CheckLevelSetTest, ReportsInvalidUnsolvableAndDuplicateLevelsByLine) {
  const std::string text = "# title: Checked\n" + std::string(Maze) + "\tfirst\n" + OpenBoard +
                           "\n" + "3001122221100bbz0\n" + MazeTurned + "\tthe first, turned\n" +
                           Corridor + "\n" + Maze + "\n" + OpenBoard + "\n";
  const std::vector<SetProblem> problems = CheckLevelSet(ReadLevelSet(text));
  const std::vector<SetProblem> expected = {
      {SetProblemKind::Unsolvable, 3, 0, OpenBoard, {}},
      {SetProblemKind::Invalid, 4, 0, "3001122221100bbz0", {ReasonId::NotAWallDigit, {"15"}}},
      {SetProblemKind::Duplicate, 5, 2, MazeTurned, {}},
      {SetProblemKind::Duplicate, 7, 2, Maze, {}},
      {SetProblemKind::Duplicate, 8, 3, OpenBoard, {}},
      {SetProblemKind::Unsolvable, 8, 0, OpenBoard, {}},
  };
  EXPECT_EQ(problems, expected);
  EXPECT_EQ(DescribeSetProblem(problems[2]),
            "line 5: " + std::string(MazeTurned) +
                " is the same level as line 2, up to turns and mirrors");
  EXPECT_EQ(DescribeSetProblem(problems[0]), "line 3: 3001122221100fbe5 has no solution");
  EXPECT_EQ(
      DescribeSetProblem(problems[1]),
      "line 4: invalid level '3001122221100bbz0': character 15 is not a hexadecimal wall digit");
}

TEST(CheckLevelSetTest, AGoodSetHasNoProblems) {
  const std::string text = std::string(Maze) + "\n" + Corridor + "\n";
  EXPECT_TRUE(CheckLevelSet(ReadLevelSet(text)).empty());
}

}  // namespace
