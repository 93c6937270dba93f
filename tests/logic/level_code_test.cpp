#include "logic/level_code.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "logic/maze.h"
#include "logic/solver.h"
#include "tests/support/level_code_reading.h"
#include "tests/support/test_levels.h"

namespace {

using testlevels::ByColour;
using testlevels::ExpectSameLevel;
using testlevels::Trio;

constexpr const char* ClearedCode = "3001122221100fbe5";

TEST(WriteLevelCodeTest, TheSmallMazeWithTheDefaultPlacement) {
  Level level;
  RandomMaze(level, 3, []() { return 0; });
  EXPECT_EQ(WriteLevelCode(level), "3001122221100bba0");
}

TEST(LevelCodeTest, WriteReadWriteGivesTheSameLevelAndText) {
  std::mt19937 engine(11);
  for (auto [size, levels] : testlevels::Samples) {
    for (int i = 0; i < levels; ++i) {
      const Level original = testlevels::RandomLevel(size, engine);
      const std::string code = WriteLevelCode(original);
      SCOPED_TRACE(code);
      Level read;
      ClearMaze(read, 3);
      const ReadResult result = ReadLevelCode(read, code);
      EXPECT_EQ(result.outcome,
                original.solvable ? CodeReading::Solvable : CodeReading::Unsolvable);
      EXPECT_EQ(result.reason, Reason{});
      EXPECT_TRUE(LevelIsConsistent(read));
      ExpectSameLevel(original, read);
      EXPECT_EQ(WriteLevelCode(read), code);
    }
  }
}

TEST(ReadLevelCodeTest, CapitalsAndTrailingCharactersReadAsTheSameLevel) {
  const Level expected = testlevels::FromCode(ClearedCode);
  for (const char* code :
       {"3001122221100FBE5", "3001122221100fbe5 and more", "3001122221100fBe5\n"}) {
    SCOPED_TRACE(code);
    Level level;
    ASSERT_NE(ReadLevelCode(level, code).outcome, CodeReading::Rejected);
    ExpectSameLevel(expected, level);
  }
}

TEST(ReadLevelCodeTest, BorderBitsAreIgnored) {
  // "f" opens square 2 (last column) to the east; "d" opens square 6 (last
  // row) to the south.
  // The last one opens every side a digit can name: the last square, which has
  // no digit, still comes out closed to the east and south.
  for (const char* code : {"3001122221100ffe5", "3001122221100fbed", "3001122221100ffff"}) {
    SCOPED_TRACE(code);
    Level level;
    ASSERT_NE(ReadLevelCode(level, code).outcome, CodeReading::Rejected);
    EXPECT_TRUE(LevelIsConsistent(level));
    EXPECT_EQ(WriteLevelCode(level), ClearedCode);
    EXPECT_EQ(level.cells[8] & (OpenEast | OpenSouth), 0);
  }
}

TEST(ReadLevelCodeTest, ReportsSolvabilityButLeavesTheFlagToTheCaller) {
  struct Row {
    const char* code;
    CodeReading outcome;
  };
  for (const Row& row :
       {Row{"3111221000110fbe5", CodeReading::Solvable}, Row{ClearedCode, CodeReading::Unsolvable},
        Row{"3001122001122fbe5", CodeReading::Solvable}}) {
    SCOPED_TRACE(row.code);
    Level level;
    level.solvable = 1;
    const ReadResult result = ReadLevelCode(level, row.code);
    EXPECT_EQ(result.outcome, row.outcome);
    EXPECT_EQ(level.solvable, 1);
  }
}

TEST(ReadLevelCodeTest, ChangesTheBoardSize) {
  Level level;
  RandomMaze(level, 5, []() { return 1; });
  ASSERT_NE(ReadLevelCode(level, "7003366663300fffbffefffbffefffbffe555").outcome,
            CodeReading::Rejected);
  EXPECT_EQ(level.boardSize, 7);
  EXPECT_EQ(level.cells.size(), 49u);
  EXPECT_EQ(level.startState, 1224);
  EXPECT_EQ(level.targetState, 116424);
  EXPECT_EQ(ColourOf(level.balls[0]), Colour::Red);
}

struct RejectionCase {
  const char* name;
  std::string code;
};

class RejectionTest : public testing::TestWithParam<RejectionCase> {};

// Both the parse step alone and the reader with its search reject the text
// and leave every field and buffer as it was.
TEST_P(RejectionTest, LeavesTheLevelAsItWas) {
  for (const bool parseOnly : {false, true}) {
    SCOPED_TRACE(parseOnly ? "ParseLevelCode" : "ReadLevelCode");
    Level level;
    RandomMaze(level, 5, []() { return 2; });
    std::swap(level.balls[0], level.balls[2]);  // an unusual record order must survive too
    const Level before = level;
    const Cell* cells = level.cells.data();

    if (parseOnly) {
      const ParseResult result = ParseLevelCode(level, GetParam().code);
      EXPECT_FALSE(result.accepted);
      EXPECT_FALSE(EnglishReason(result.reason).empty());
    } else {
      const ReadResult result = ReadLevelCode(level, GetParam().code);
      EXPECT_EQ(result.outcome, CodeReading::Rejected);
      EXPECT_FALSE(EnglishReason(result.reason).empty());
    }

    ExpectSameLevel(before, level);
    EXPECT_EQ(level.cells.data(), cells);
    EXPECT_EQ(level.startState, before.startState);
    EXPECT_EQ(level.targetState, before.targetState);
    EXPECT_EQ(level.solvable, before.solvable);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(level.balls[i].sortKey, before.balls[i].sortKey);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, RejectionTest,
    testing::Values(RejectionCase{"Empty", ""}, RejectionCase{"SizeNine", "9001122221100fbe5"},
                    RejectionCase{"BlankInFront", " 3001122221100fbe5"},
                    RejectionCase{"LastWallDigitMissing", "3001122221100fbe"},
                    RejectionCase{"WallLetterBeyondF", "3001122221100fge5"},
                    RejectionCase{"WallDigitIsABlank", "3001122221100fb 5"},
                    RejectionCase{"SizeOnly", "3"},
                    RejectionCase{"EndsInTheCoordinates", "300112222"},
                    RejectionCase{"CoordinateBeyondTheBoard", "3003122221100fbe5"},
                    RejectionCase{"CoordinateNotADigit", "300112222110:fbe5"},
                    RejectionCase{"CoordinateNegativeSign", "3-01122221100fbe5"},
                    RejectionCase{"TwoBallsOnOneSquare", "3000022221100fbe5"},
                    RejectionCase{"ThreeBallsOnTheFirstSquare", "3000000221100fbe5"},
                    RejectionCase{"TwoHolesOnOneSquare", "3001122222200fbe5"},
                    RejectionCase{"NulInsideTheWalls", std::string("3001122221100f\0e5", 17)}),
    [](const testing::TestParamInfo<RejectionCase>& info) { return info.param.name; });

// Codes list the pieces by colour, so a code written after a solution step,
// when the ball records stand blue, green, red, is still the same level.
TEST(LevelCodeTest, ListsPiecesByColourWhateverTheRecordOrder) {
  Level level = testlevels::FromCode("3111221000110fbe5");
  StepTowardSolution(level);
  ASSERT_EQ(ColourOf(level.balls[0]), Colour::Blue);
  const std::string code = WriteLevelCode(level);
  EXPECT_EQ(code, "3010211000110fbe5") << "red (1, 0), green (2, 0), blue (1, 1)";

  Level read;
  ClearMaze(read, 5);
  ASSERT_NE(ReadLevelCode(read, code).outcome, CodeReading::Rejected);
  EXPECT_EQ(ByColour(read.balls), ByColour(level.balls));
  EXPECT_EQ(ByColour(read.holes), ByColour(level.holes));

  // Reading into a level whose records stand blue, green, red gives each pair
  // to the record of its colour as well.
  ASSERT_NE(ReadLevelCode(level, "3111221000110fbe5").outcome, CodeReading::Rejected);
  EXPECT_EQ(ByColour(level.balls), (Trio{{1, 1}, {2, 1}, {1, 2}}));
}

}  // namespace
