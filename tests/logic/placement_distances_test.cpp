#include "logic/placement_distances.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

#include "logic/level_code.h"
#include "logic/moves.h"
#include "logic/solver.h"
#include "tests/support/test_levels.h"

namespace {

/// Every placement of three balls on distinct squares of the level's board.
std::vector<StateIndex> AllPlacements(const Level& level) {
  const int squares = level.boardSize * level.boardSize;
  std::vector<StateIndex> placements;
  for (int red = 0; red < squares; ++red) {
    for (int green = 0; green < squares; ++green) {
      for (int blue = 0; blue < squares; ++blue) {
        if (red != green && red != blue && green != blue) {
          placements.push_back((red * squares + green) * squares + blue);
        }
      }
    }
  }
  return placements;
}

/// The placements one move of the plain rule leads to from `from`, other than itself.
std::set<StateIndex> OneMoveFrom(Level& level, StateIndex from) {
  std::set<StateIndex> next;
  for (Direction direction : AllDirections) {
    Pieces balls;
    DecodeState(level, from, balls);
    Move(level, balls, direction);
    const StateIndex state = EncodeState(level, balls);
    if (state != from) next.insert(state);
  }
  return next;
}

std::set<StateIndex> AtDistance(const PlacementDistances& distances, int moves) {
  std::set<StateIndex> states;
  for (std::size_t i = 0; i < distances.CountWithin(moves, moves); ++i) {
    states.insert(distances.PlacementWithin(moves, moves, i).state);
  }
  return states;
}

/// The length of the shortest solution from balls to holes by the solver; -1 for none.
int SolverLength(Level level, StateIndex balls, StateIndex holes) {
  DecodeState(level, balls, level.balls);
  DecodeState(level, holes, level.holes);
  const Solution solution = ShortestSolution(level);
  return solution.exists ? static_cast<int>(solution.moves.size()) : -1;
}

TEST(PlacementDistancesTest, OneMoveAheadAndBackFollowTheMoveRule) {
  // Every placement of small boards, with walls, loops and open rooms, where
  // balls block each other in every way.
  std::mt19937 engine(3);
  for (int size : {3, 5}) {
    for (int board = 0; board < (size == 3 ? 12 : 2); ++board) {
      Level level = testlevels::RandomLevel(size, engine);
      SCOPED_TRACE(WriteLevelCode(level));
      const std::vector<StateIndex> placements = AllPlacements(level);
      std::map<StateIndex, std::set<StateIndex>> before;
      PlacementDistances distances;
      for (StateIndex from : placements) {
        const std::set<StateIndex> after = OneMoveFrom(level, from);
        for (StateIndex to : after) before[to].insert(from);
        distances.SearchFrom(level, from, 1);
        ASSERT_EQ(AtDistance(distances, 1), after) << "from " << from;
        ASSERT_LE(distances.Depth(), 1);
      }
      if (size == 5) continue;  // the way back: every placement of the small boards
      for (StateIndex to : placements) {
        distances.SearchTo(level, to, 1);
        ASSERT_EQ(AtDistance(distances, 1), before[to]) << "to " << to;
      }
    }
  }
}

TEST(PlacementDistancesTest, DistancesAreTheSolversShortestSolutions) {
  std::mt19937 engine(8);
  PlacementDistances from;
  PlacementDistances to;
  for (auto [size, levels] : testlevels::Samples) {
    for (int i = 0; i < std::min(levels, 8); ++i) {
      Level level = testlevels::RandomLevel(size, engine);
      SCOPED_TRACE(WriteLevelCode(level));
      const StateIndex balls = level.startState;
      const StateIndex holes = level.targetState;
      from.SearchFrom(level, balls);
      to.SearchTo(level, holes);
      const int length = SolverLength(level, balls, holes);
      EXPECT_EQ(from.Distance(holes), length);
      EXPECT_EQ(to.Distance(balls), length);
      // Further placements of each search, near and far, against the solver.
      for (int moves : {1, from.Depth() / 2, from.Depth()}) {
        const std::size_t count = from.CountWithin(moves, moves);
        if (count == 0) continue;
        const auto placement = from.PlacementWithin(moves, moves, count - 1);
        EXPECT_EQ(placement.moves, moves);
        EXPECT_EQ(from.Distance(placement.state), moves);
        EXPECT_EQ(SolverLength(level, balls, placement.state), moves);
      }
      for (int moves : {1, to.Depth()}) {
        if (to.CountWithin(moves, moves) == 0) continue;
        const auto placement = to.PlacementWithin(moves, moves, 0);
        EXPECT_EQ(SolverLength(level, placement.state, holes), moves);
      }
    }
  }
}

TEST(PlacementDistancesTest, BeforeAnySearchNothingIsReached) {
  const PlacementDistances distances;
  EXPECT_EQ(distances.Depth(), -1);
  EXPECT_EQ(distances.ReachedCount(), 0u);
  EXPECT_EQ(distances.CountWithin(0, PlacementDistances::Unlimited), 0u);
  EXPECT_EQ(distances.Distance(376), -1);
}

TEST(PlacementDistancesTest, TheTwoMoveLevel) {
  // The open 3 x 3 board: red (1, 1), green (2, 1), blue (1, 2) reach red
  // (0, 0), green (1, 0), blue (0, 1) in two moves.
  Level level;
  ClearMaze(level, 3);
  PlacementDistances distances;
  distances.SearchFrom(level, 376);
  EXPECT_EQ(distances.Distance(376), 0);
  EXPECT_EQ(distances.Distance(12), 2);
  distances.SearchTo(level, 12);
  EXPECT_EQ(distances.Distance(376), 2);
  EXPECT_EQ(distances.Distance(12), 0);
  EXPECT_EQ(distances.Distance(0), -1) << "three balls on one square are never reached";
  EXPECT_EQ(distances.Distance(-1), -1);
  EXPECT_EQ(distances.Distance(729), -1);
}

TEST(PlacementDistancesTest, LayersCountAndListEveryPlacementReached) {
  std::mt19937 engine(21);
  Level level = testlevels::RandomLevel(5, engine);
  PlacementDistances distances;
  distances.SearchFrom(level, level.startState);
  const int depth = distances.Depth();
  ASSERT_GT(depth, 2);
  EXPECT_EQ(distances.CountWithin(0, PlacementDistances::Unlimited), distances.ReachedCount());
  EXPECT_EQ(distances.CountWithin(0, 0), 1u);
  EXPECT_EQ(distances.PlacementWithin(0, 0, 0).state, level.startState);
  EXPECT_EQ(distances.CountWithin(depth + 1, PlacementDistances::Unlimited), 0u);
  EXPECT_EQ(distances.CountWithin(3, 2), 0u);
  std::size_t sum = 0;
  for (int moves = 0; moves <= depth; ++moves) {
    EXPECT_GT(distances.CountWithin(moves, moves), 0u) << moves;
    sum += distances.CountWithin(moves, moves);
  }
  EXPECT_EQ(sum, distances.ReachedCount());
  // A range lists its layers one after another, nearest first.
  const std::size_t inRange = distances.CountWithin(1, depth - 1);
  EXPECT_EQ(inRange, distances.ReachedCount() - 1 - distances.CountWithin(depth, depth));
  int last = 1;
  for (std::size_t i = 0; i < inRange; ++i) {
    const auto placement = distances.PlacementWithin(1, depth - 1, i);
    ASSERT_GE(placement.moves, last);
    ASSERT_LE(placement.moves, depth - 1);
    ASSERT_EQ(distances.Distance(placement.state), placement.moves);
    last = placement.moves;
  }
}

TEST(PlacementDistancesTest, ADepthLimitStopsTheSearchThere) {
  std::mt19937 engine(34);
  Level level = testlevels::RandomLevel(7, engine);
  PlacementDistances whole;
  PlacementDistances limited;
  whole.SearchFrom(level, level.startState);
  ASSERT_GT(whole.Depth(), 4);
  limited.SearchFrom(level, level.startState, 4);
  EXPECT_EQ(limited.Depth(), 4);
  EXPECT_EQ(limited.ReachedCount(), whole.CountWithin(0, 4));
  for (std::size_t i = 0; i < limited.ReachedCount(); ++i) {
    const auto placement = limited.PlacementWithin(0, 4, i);
    ASSERT_EQ(whole.Distance(placement.state), placement.moves);
  }
  limited.SearchFrom(level, level.startState, 0);
  EXPECT_EQ(limited.ReachedCount(), 1u);
}

}  // namespace
