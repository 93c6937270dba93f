// Why a level has no solution: told only where it is sure, on a table of
// levels given by their codes.
#include "logic/unsolvable_reason.h"

#include <gtest/gtest.h>

#include <random>

#include "logic/maze.h"
#include "tests/support/test_levels.h"

namespace {

TEST(UnsolvableReasonTest, NamesABallThatNoOpenPathJoinsToItsHole) {
  const struct {
    const char* code;
    ReasonId expected;
    const char* what;
  } cases[] = {
      {"3000102202122fbe5", ReasonId::None, "solvable: each ball walks straight to its hole"},
      {"3000102202122fb60", ReasonId::GreenBallCutOff, "the green hole walled in"},
      {"3000102202122e3e5", ReasonId::BlueBallCutOff, "the blue ball walled in"},
      {"300010220212253e5", ReasonId::RedBallCutOff, "a wall across the board: red named first"},
      {"3001122221100bae1", ReasonId::RedBallCutOff, "the left column cut off"},
      {"3001122221100fbe5", ReasonId::None, "no solution, but every ball has a path"},
      {"5002244442200ffbfeffbfe55", ReasonId::None, "no solution on an open board"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Level level = testlevels::FromCode(c.code);
    EXPECT_EQ(UnsolvableReason(level).id, c.expected);
    if (c.expected != ReasonId::None) {
      EXPECT_FALSE(level.solvable);
    }
  }
}

// A reason is given only for a level the solver finds without solution.
TEST(UnsolvableReasonTest, NeverGivesAReasonForASolvableLevel) {
  std::mt19937 engine(20261211);
  int reasons = 0;
  for (int i = 0; i < 400; ++i) {
    const int n = 3 + 2 * (i % 2);
    Level level = testlevels::RandomLevel(n, engine);
    // Close a few sides at random, so that some balls are cut off.
    std::uniform_int_distribution<int> square(0, n - 1);
    for (int wall = 0; wall < 2 * n; ++wall)
      ToggleWall(level, square(engine), square(engine),
                 wall % 2 ? WallKind::East : WallKind::South);
    const Reason reason = UnsolvableReason(level);
    if (reason.id == ReasonId::None) continue;
    ++reasons;
    EXPECT_FALSE(level.solvable) << WriteLevelCode(level);
  }
  EXPECT_GT(reasons, 20) << "the fixture cuts balls off often enough to mean something";
}

}  // namespace
