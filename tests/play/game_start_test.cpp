#include "play/game_start.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "logic/level_code.h"
#include "logic/solver.h"

namespace {

using Arguments = std::vector<std::string>;

constexpr const char* Cleared5 = "5002244442200ffbfeffbfe55";  // no solution
constexpr const char* TwoMoveCode = "3111221000110fbe5";       // solvable in two moves

RandomSource FixedSource(int draw) {
  return [draw] { return draw; };
}

RandomSource SeededSource(unsigned seed) {
  auto engine = std::make_shared<std::mt19937>(seed);
  return [engine] { return static_cast<int>((*engine)() % 32768); };
}

struct ParameterCase {
  Arguments arguments;
  std::string code;
  bool fromEditor;
};

class ParameterTextTest : public testing::TestWithParam<ParameterCase> {};

TEST_P(ParameterTextTest, FindsCodeAndEditorSuffix) {
  const ParameterCase& c = GetParam();
  const GameParameter parameter = ParseParameterText(c.arguments);
  EXPECT_EQ(parameter.code, c.code);
  EXPECT_EQ(parameter.fromEditor, c.fromEditor);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ParameterTextTest,
    testing::Values(ParameterCase{{std::string(Cleared5) + "Level Editor"}, Cleared5, true},
                    ParameterCase{{std::string(Cleared5) + "Level", "Editor"}, Cleared5, true},
                    ParameterCase{{std::string(Cleared5) + " Level Editor"}, Cleared5, true},
                    ParameterCase{{Cleared5}, Cleared5, false},
                    ParameterCase{{"  " + std::string(Cleared5) + "\t"}, Cleared5, false},
                    ParameterCase{{}, "", false}, ParameterCase{{""}, "", false},
                    ParameterCase{{"Level Editor"}, "", true},
                    ParameterCase{{"Level", "Editor"}, "", true},
                    ParameterCase{{"Editor"}, "Editor", false}));

void ExpectRandomSolvable(const Level& level, int size) {
  EXPECT_EQ(level.boardSize, size);
  EXPECT_TRUE(LevelIsConsistent(level));
  Level copy = level;
  EXPECT_TRUE(ShortestSolution(copy).exists);
}

struct UnreadableCase {
  Arguments arguments;
  const char* noticeStart;
};

class UnreadableTextTest : public testing::TestWithParam<UnreadableCase> {};

TEST_P(UnreadableTextTest, GivesRandomSolvableFiveByFiveAndSaysSo) {
  const UnreadableCase& c = GetParam();
  const GameStart start = OpenGame(c.arguments, SeededSource(7));
  ExpectRandomSolvable(start.level, DefaultBoardSize);
  EXPECT_FALSE(start.editorLevel);
  EXPECT_TRUE(EnglishText(start.notice, " ").starts_with(c.noticeStart))
      << EnglishText(start.notice, " ");
  EXPECT_TRUE(EnglishText(start.notice, " ").ends_with("playing a random 5 x 5 level instead."))
      << EnglishText(start.notice, " ");
}

constexpr const char* CouldNotRead = "Could not read the level code \"";

INSTANTIATE_TEST_SUITE_P(
    BadTexts, UnreadableTextTest,
    testing::Values(
        UnreadableCase{{"Level Editor"}, "No level code was given"},
        UnreadableCase{{"hello"}, CouldNotRead},
        UnreadableCase{{"9001122221100fbe5Level", "Editor"}, CouldNotRead},  // no such size
        UnreadableCase{{"3001122221100fbeLevel Editor"}, CouldNotRead},      // a wall digit short
        UnreadableCase{{"3001122221100fbg5"}, CouldNotRead},                 // not a wall digit
        UnreadableCase{{"3901122221100fbe5"}, CouldNotRead},                 // off the board
        UnreadableCase{{"3000000221100fbe5"}, CouldNotRead},                 // balls on one square
        UnreadableCase{{"30011"}, CouldNotRead},                             // cut short
        UnreadableCase{{std::string(200, '7') + "\x01"}, CouldNotRead}));

TEST(OpenGameTest, PlaysTheGivenCodeEvenWithoutSolution) {
  struct Case {
    Arguments arguments;
    const char* code;
    bool editorLevel;
    const char* notice;
  };
  const Case cases[] = {
      {{std::string(TwoMoveCode) + "Level Editor"}, TwoMoveCode, true, ""},
      {{std::string(TwoMoveCode) + "Level", "Editor"}, TwoMoveCode, true, ""},
      {{TwoMoveCode}, TwoMoveCode, false, ""},
      {{std::string(Cleared5) + "Level Editor"},
       Cleared5,
       true,
       "This level has no solution; the balls can still be moved."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    GameStart start = OpenGame(c.arguments, FixedSource(0));
    EXPECT_EQ(WriteLevelCode(start.level), c.code);
    EXPECT_TRUE(LevelIsConsistent(start.level));
    EXPECT_EQ(start.editorLevel, c.editorLevel);
    EXPECT_EQ(EnglishText(start.notice, " "), c.notice);
  }
}

TEST(OpenGameTest, NoArgumentGivesRandomSolvableLevelQuietly) {
  const GameStart start = OpenGame({}, SeededSource(3));
  ExpectRandomSolvable(start.level, DefaultBoardSize);
  EXPECT_FALSE(start.editorLevel);
  EXPECT_EQ(EnglishText(start.notice, " "), "");
}

// Sources that always draw the same number must not keep the search going
// for ever; a fair source gives a level worth playing.
TEST(RandomSolvableLevelTest, AlwaysSolvableWhateverTheDraws) {
  for (const int size : {3, 5, 7}) {
    for (const int draw : {0, 32767}) {
      SCOPED_TRACE(testing::Message() << size << " x " << size << ", draws " << draw);
      ExpectRandomSolvable(RandomSolvableLevel(size, FixedSource(draw)), size);
    }
    for (const unsigned seed : {1u, 2u, 3u}) {
      SCOPED_TRACE(testing::Message() << size << " x " << size << ", seed " << seed);
      Level level = RandomSolvableLevel(size, SeededSource(seed));
      ExpectRandomSolvable(level, size);
      EXPECT_GE(ShortestSolution(level).moves.size(), static_cast<std::size_t>(size));
    }
  }
}

}  // namespace
