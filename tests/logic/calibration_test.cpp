#include "logic/calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "logic/glicko2.h"
#include "logic/seeded_random.h"

namespace {

TEST(CalibrationTest, RankCorrelationOfKnownOrders) {
  struct Row {
    const char* what;
    std::vector<double> x, y;
    double expected;
  };
  for (const Row& row : {
           Row{"same order, other scale", {1, 2, 3, 4}, {10, 200, 3000, 40000}, 1.0},
           Row{"reversed", {1, 2, 3, 4}, {4, 3, 2, 1}, -1.0},
           // Ranks 0, 1.5, 1.5, 3 against 0, 1, 2, 3: 4.5 / sqrt(4.5 * 5).
           Row{"a tie takes the mean rank", {1, 2, 2, 3}, {1, 2, 3, 4}, 0.9486833},
           Row{"constant side", {1, 1, 1}, {1, 2, 3}, 0.0},
           Row{"one pair", {1}, {2}, 0.0},
       }) {
    SCOPED_TRACE(row.what);
    EXPECT_NEAR(RankCorrelation(row.x, row.y), row.expected, 1e-6);
  }
}

TEST(CalibrationTest, ParametersGoToTextAndBack) {
  const GradeParameters written{1510.5, {20, 3, 1, 150}, {8, 2, 1.5, 90}, {120, -10, 40, 35}};
  const auto read = ReadGradeParameters(WriteGradeParameters(written));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->intercept, written.intercept);
  EXPECT_EQ(read->weight, written.weight);
  EXPECT_EQ(read->spread, written.spread);
  for (const char* broken : {"", "intercept x\n", "intercept 1\nmoves 1 0 1\n", "moves 1 1 1\n"})
    EXPECT_FALSE(ReadGradeParameters(broken)) << broken;
}

/// A draw from about a normal distribution (the sum of twelve uniforms).
double Normal(SeededRandom& random, double mean, double spread) {
  double sum = 0.0;
  for (int i = 0; i < 12; ++i) sum += static_cast<double>(random.Next() >> 11) / 9007199254740992.0;
  return mean + (sum - 6.0) * spread;
}

TEST(CalibrationTest, TheFitOrdersSimulatedLevelsAsTheirTrueDifficulty) {
  // Levels whose difficulty for people is a known function of their
  // measures, and players of known skill, each playing a first attempt at
  // some levels: solved with the logistic chance of skill against difficulty.
  SeededRandom random(20261211);
  const int levelCount = 60;
  std::vector<GradeMeasures> measures;
  std::vector<double> difficulty;
  for (int i = 0; i < levelCount; ++i) {
    const double moves = 5 + static_cast<double>(random.Next() % 36);
    const double solutions = 1 + static_cast<double>(random.Next() % 50);
    const double counter = static_cast<double>(random.Next() % 9);
    const double effort = 10 + static_cast<double>(random.Next() % 400);
    measures.push_back({moves, solutions, counter, effort});
    difficulty.push_back(1000 + 12 * moves - 3 * solutions + 70 * counter + 0.6 * effort);
  }
  std::vector<Rating> levels(levelCount);
  for (int player = 0; player < 2000; ++player) {
    const double skill = Normal(random, 1500, 250);
    Rating rating;
    for (int game = 0; game < 30; ++game) {
      const std::size_t level = static_cast<std::size_t>(random.Next() % levelCount);
      const double chance = 1.0 / (1.0 + std::pow(10.0, (difficulty[level] - skill) / 400.0));
      const bool solved = static_cast<double>(random.Next() >> 11) / 9007199254740992.0 < chance;
      const Rating before = levels[level];
      levels[level] = BoundedUpdate(before, {{rating, solved ? 0.0 : 1.0}});
      rating = BoundedUpdate(rating, {{before, solved ? 1.0 : 0.0}});
    }
  }
  std::vector<GradeMeasures> settledMeasures;
  std::vector<double> settledRatings, settledDifficulty;
  for (int i = 0; i < levelCount; ++i) {
    if (!IsSettled(levels[static_cast<std::size_t>(i)])) continue;
    settledMeasures.push_back(measures[static_cast<std::size_t>(i)]);
    settledRatings.push_back(levels[static_cast<std::size_t>(i)].rating);
    settledDifficulty.push_back(difficulty[static_cast<std::size_t>(i)]);
  }
  ASSERT_GE(settledMeasures.size(), 50u);
  const auto fit = FitGrade(settledMeasures, settledRatings);
  ASSERT_TRUE(fit);
  std::vector<double> grades;
  for (const GradeMeasures& level : settledMeasures) grades.push_back(fit->Grade(level));
  EXPECT_GE(RankCorrelation(grades, settledDifficulty), 0.9);
  // The length alone orders them worse than the fit.
  std::vector<double> lengths;
  for (const GradeMeasures& level : settledMeasures) lengths.push_back(level[0]);
  EXPECT_LT(RankCorrelation(lengths, settledDifficulty),
            RankCorrelation(grades, settledDifficulty));
  const Interval interval = BootstrapInterval(grades, settledRatings, 500, 7);
  const double measured = RankCorrelation(grades, settledRatings);
  EXPECT_LE(interval.low, measured);
  EXPECT_GE(interval.high, measured);
  EXPECT_LT(interval.low, interval.high);
}

}  // namespace
