#include "logic/glicko2.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Glicko2Test, GivesTheWorkedExampleOfThePaper) {
  // A player of 1500 (deviation 200) beats a 1400 (30) and loses to a 1550 (100)
  // and a 1700 (300), with tau 0.5. Computed by the algorithm's steps in full
  // precision; the paper, rounding its steps, prints 1464.06, 151.52 and 0.05999.
  const Rating player{1500.0, 200.0, 0.06};
  const std::vector<RatedGame> games = {
      {{1400.0, 30.0, 0.06}, 1.0}, {{1550.0, 100.0, 0.06}, 0.0}, {{1700.0, 300.0, 0.06}, 0.0}};
  const Rating updated = Glicko2Update(player, games, 0.5);
  EXPECT_NEAR(updated.rating, 1464.0507, 0.0001);
  EXPECT_NEAR(updated.deviation, 151.5165, 0.0001);
  EXPECT_NEAR(updated.volatility, 0.059996, 0.000001);
}

TEST(Glicko2Test, APeriodWithoutGamesOnlyWidensTheDeviation) {
  const Rating updated = Glicko2Update({1620.0, 350.0, 0.06}, {}, 0.5);
  EXPECT_EQ(updated.rating, 1620.0);
  EXPECT_NEAR(updated.deviation, 350.1552, 0.0001);
  EXPECT_EQ(updated.volatility, 0.06);
}

TEST(Glicko2Test, BoundedUpdatesStayWithinTheCutOffs) {
  struct Row {
    const char* what;
    Rating player;
    Rating opponent;
    double score;
  };
  // Results as unlikely as they come, which plain Glicko-2 answers with huge jumps.
  for (const Row& row :
       {Row{"weakest beats strongest", {0.0, 350.0, 0.06}, {4000.0, 30.0, 0.06}, 1},
        Row{"strongest loses to weakest", {4000.0, 350.0, 0.06}, {0.0, 30.0, 0.06}, 0},
        Row{"settled and surprised", {1500.0, 30.0, 0.15}, {3900.0, 30.0, 0.06}, 1}}) {
    SCOPED_TRACE(row.what);
    const Rating updated = BoundedUpdate(row.player, {{row.opponent, row.score}});
    EXPECT_LE(std::abs(updated.rating - row.player.rating), LargestRatingChange);
    EXPECT_GE(updated.rating, LowestRating);
    EXPECT_LE(updated.rating, HighestRating);
    EXPECT_GE(updated.deviation, LowestDeviation);
    EXPECT_LE(updated.deviation, StartDeviation);
    EXPECT_GE(updated.volatility, LowestVolatility);
    EXPECT_LE(updated.volatility, HighestVolatility);
  }
}

TEST(Glicko2Test, ALevelSettlesAfterEnoughFirstAttemptsAndHardLevelsRise) {
  // A level solved by a third of newcomers ends above the start and settled.
  Rating level;
  for (int i = 0; i < 60; ++i) level = BoundedUpdate(level, {{Rating{}, i % 3 == 0 ? 0.0 : 1.0}});
  EXPECT_TRUE(IsSettled(level)) << level.deviation;
  EXPECT_GT(level.rating, StartRating);
  EXPECT_FALSE(IsSettled(Rating{}));
}

}  // namespace
