#include "play/game_state.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "logic/level_code.h"
#include "play/game_start.h"
#include "tests/support/game_test_support.h"
#include "tests/support/level_code_reading.h"

namespace {

// 3 x 3, every inner side open; balls red (1, 1), green (2, 1), blue (1, 2);
// holes red (0, 0), green (1, 0), blue (0, 1). Shortest solutions: N W and W N.
constexpr const char* TwoMoveCode = "3111221000110fbe5";
constexpr StateIndex TwoMoveStart = 376;
constexpr StateIndex TwoMoveTarget = 12;
constexpr StateIndex AfterNorth = 103;  // red (1, 0), green (2, 0), blue (1, 1)
constexpr StateIndex AfterWest = 285;   // red (0, 1), green (1, 1), blue (0, 2)
// Cleared 3 x 3 with the default pieces: no solution.
constexpr const char* UnsolvableCode = "3001122221100fbe5";
// Every ball already on its hole.
constexpr const char* SolvedCode = "3001122001122fbe5";

Level LevelOf(const char* code) {
  Level level;
  EXPECT_NE(ReadLevelCode(level, code).outcome, CodeReading::Rejected) << code;
  RecheckLevel(level);
  return level;
}

StateIndex BallsOf(const GameState& game) {
  Pieces balls = game.level().balls;
  return EncodeState(game.level(), balls);
}

/// Plays keys: N S W E tilt, u undoes, r restarts.
void Play(GameState& game, const std::string& keys) {
  for (const char key : keys) testsupport::PlayKey(game, key);
}

struct PlayCase {
  const char* keys;
  int moves;
  StateIndex balls;
  std::optional<int> remaining;
  std::optional<Direction> hint;
};

class GamePlayTest : public testing::TestWithParam<PlayCase> {};

TEST_P(GamePlayTest, CountsMovesAndFindsTheWayFromHere) {
  const PlayCase& c = GetParam();
  GameState game(LevelOf(TwoMoveCode));
  Play(game, c.keys);
  EXPECT_EQ(game.MoveCount(), c.moves);
  EXPECT_EQ(BallsOf(game), c.balls);
  EXPECT_EQ(game.ShortestRemaining(), c.remaining);
  EXPECT_EQ(game.Hint(), c.hint);
  EXPECT_EQ(game.IsSolved(), c.balls == TwoMoveTarget);
  EXPECT_EQ(game.ShortestFromStart(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, GamePlayTest,
    testing::Values(
        PlayCase{"", 0, TwoMoveStart, 2, Direction::North},
        PlayCase{"N", 1, AfterNorth, 1, Direction::West},
        PlayCase{"W", 1, AfterWest, 1, Direction::North},
        PlayCase{"NW", 2, TwoMoveTarget, 0, std::nullopt},
        // A tilt that moves no ball is not a move.
        PlayCase{"NN", 1, AfterNorth, 1, Direction::West},
        // Once solved, the board no longer tilts.
        PlayCase{"NWS", 2, TwoMoveTarget, 0, std::nullopt},
        PlayCase{"NWu", 1, AfterNorth, 1, Direction::West},
        PlayCase{"NWuu", 0, TwoMoveStart, 2, Direction::North},
        PlayCase{"Nuuu", 0, TwoMoveStart, 2, Direction::North},  // undo stops at the start
        PlayCase{"NWr", 0, TwoMoveStart, 2, Direction::North},
        PlayCase{"SNr", 0, TwoMoveStart, 2, Direction::North},
        PlayCase{"SNNW", 4, TwoMoveTarget, 0, std::nullopt},
        // Back two moves, then off the shortest way: red (0, 0), green (1, 1), blue (0, 1).
        PlayCase{"SNNWuuW", 3, 39, 1, Direction::North}));

struct StatusCase {
  const char* code;
  const char* keys;
  bool hint;
  std::vector<std::string> lines;
};

class StatusLinesTest : public testing::TestWithParam<StatusCase> {};

TEST_P(StatusLinesTest, SaysWhereThePlayerStands) {
  const StatusCase& c = GetParam();
  GameState game(LevelOf(c.code));
  Play(game, c.keys);
  if (c.hint) game.ShowHint();
  EXPECT_EQ(StatusLines(game), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Games, StatusLinesTest,
    testing::Values(
        StatusCase{TwoMoveCode, "", false, {"Moves: 0", "Shortest solution from here: 2 moves"}},
        StatusCase{TwoMoveCode,
                   "",
                   true,
                   {"Moves: 0", "Shortest solution from here: 2 moves", "Hint: North"}},
        StatusCase{TwoMoveCode,
                   "N",
                   true,
                   {"Moves: 1", "Shortest solution from here: 1 move", "Hint: West"}},
        StatusCase{TwoMoveCode,
                   "NW",
                   true,
                   {"Moves: 2", "Solved in 2 moves", "Shortest possible: 2 moves"}},
        StatusCase{TwoMoveCode,
                   "SNNW",
                   false,
                   {"Moves: 4", "Solved in 4 moves", "Shortest possible: 2 moves"}},
        StatusCase{SolvedCode,
                   "N",
                   false,
                   {"Moves: 0", "Solved in 0 moves", "Shortest possible: 0 moves"}},
        StatusCase{UnsolvableCode,
                   "N",
                   true,
                   {"Moves: 1", "No solution from here", "No hint: the holes cannot be reached"}}));

TEST(GameStateTest, HintLastsUntilThePositionChanges) {
  GameState game(LevelOf(TwoMoveCode));
  game.Tilt(Direction::North);
  game.ShowHint();
  EXPECT_FALSE(game.Tilt(Direction::North));  // nothing moves: still the same position
  EXPECT_TRUE(game.HintShown());
  ASSERT_TRUE(game.Tilt(Direction::South));
  EXPECT_FALSE(game.HintShown());
  game.ShowHint();
  game.Undo();
  EXPECT_FALSE(game.HintShown());
}

TEST(GameStateTest, LevelWithoutSolutionCanStillBePlayed) {
  GameState game(LevelOf(UnsolvableCode));
  EXPECT_FALSE(game.HasSolution());
  EXPECT_EQ(game.ShortestFromStart(), std::nullopt);
  EXPECT_TRUE(game.Tilt(Direction::North));
  EXPECT_EQ(game.MoveCount(), 1);
  EXPECT_EQ(game.Hint(), std::nullopt);
}

// Following the hint from any position of a random level of each size reaches
// the holes in exactly the shortest number of moves, one fewer after each hint.
TEST(GameStateTest, FollowingTheHintSolvesInTheShortestNumberOfMoves) {
  std::mt19937 engine(20261210);
  const RandomSource random = [&engine] { return static_cast<int>(engine() % 32768); };
  for (const int size : {3, 5, 7}) {
    for (int round = 0; round < 4; ++round) {
      GameState game(RandomSolvableLevel(size, random));
      for (int wander = 0; wander < 3; ++wander) game.Tilt(AllDirections[engine() % 4]);
      if (!game.HasSolution()) continue;  // wandered into a dead end
      const int shortest = *game.ShortestRemaining();
      for (int step = 0; step < shortest; ++step) {
        SCOPED_TRACE(WriteLevelCode(game.level()));
        Level copy = game.level();
        const Solution fromHere = ShortestSolution(copy);
        ASSERT_TRUE(game.Hint().has_value());
        EXPECT_EQ(*game.Hint(), fromHere.moves.front());
        ASSERT_TRUE(game.Tilt(*game.Hint()));
        EXPECT_EQ(game.ShortestRemaining(), shortest - step - 1);
      }
      EXPECT_TRUE(game.IsSolved());
    }
  }
}

}  // namespace
