#include "logic/calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <variant>
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
  GradeParameters written;
  written.perMove = 1.0 / 3.0;
  written.perCounterIntuitiveStep = -0.125;
  written.perEffortDoubling = 4.75e-3;
  written.perSolutionsDoubling = 2.5;
  written.offset = -17.0625;
  written.normalFrom = 12;
  written.hardFrom = 40;
  written.expertFrom = 90;
  const std::string text = WriteGradeParameters(written);
  EXPECT_EQ(ReadGradeParameters(text), written) << text;

  const std::string weights =
      "perMove 1\nperCounterIntuitiveStep 3\nperEffortDoubling 2\nperSolutionsDoubling 1\n"
      "offset 0\n";
  EXPECT_EQ(ReadGradeParameters("# fitted\n\n" + weights +
                                "normalFrom 20\nhardFrom 45\n"
                                "expertFrom 75\n"),
            GradeParameters{});
  struct Broken {
    const char* what;
    std::string text;
  } broken[] = {
      {"nothing", ""},
      {"a threshold missing", weights + "normalFrom 20\nhardFrom 45\n"},
      {"a name twice", weights + "normalFrom 20\nhardFrom 45\nexpertFrom 75\nperMove 2\n"},
      {"an unknown name", weights + "normalFrom 20\nhardFrom 45\nexpertFrom 75\nharder 1\n"},
      {"no number", "perMove x\n" + weights.substr(10) + "normalFrom 20\nhardFrom 45\n"},
      {"thresholds not rising", weights + "normalFrom 20\nhardFrom 20\nexpertFrom 75\n"},
      {"a threshold below 1", weights + "normalFrom 0\nhardFrom 45\nexpertFrom 75\n"},
      {"a fraction of a point", weights + "normalFrom 20.5\nhardFrom 45\nexpertFrom 75\n"},
      {"a number too big", weights + "normalFrom 20\nhardFrom 45\nexpertFrom 1e300\n"},
      {"more on a line", weights + "normalFrom 20 21\nhardFrom 45\nexpertFrom 75\n"},
  };
  for (const Broken& b : broken) EXPECT_FALSE(ReadGradeParameters(b.text)) << b.what;
}

TEST(CalibrationTest, TheGradeReadsANamedOrInstalledFileElseItsDefaults) {
  EXPECT_EQ(InstalledGradeParametersPath("/cfg", "/home/u"), "/cfg/korvalo/grade_parameters.txt");
  EXPECT_EQ(InstalledGradeParametersPath(nullptr, "/home/u"),
            "/home/u/.config/korvalo/grade_parameters.txt");
  EXPECT_EQ(InstalledGradeParametersPath("relative", "/home/u"),
            "/home/u/.config/korvalo/grade_parameters.txt");
  EXPECT_EQ(InstalledGradeParametersPath(nullptr, nullptr), "");

  const std::string folder = ::testing::TempDir() + "calibration_test_files";
  std::filesystem::create_directories(folder);
  GradeParameters fitted;
  fitted.perMove = 2.0;
  const std::string good = folder + "/good.txt", bad = folder + "/bad.txt";
  std::ofstream(good) << WriteGradeParameters(fitted);
  std::ofstream(bad) << "perMove 2\n";
  const std::string missing = folder + "/missing.txt";

  const auto chosen = [](const std::string& named, const std::string& installed) {
    return ChosenGradeParameters(named, installed);
  };
  EXPECT_EQ(std::get<GradeParameters>(chosen("", "")), GradeParameters{});
  EXPECT_EQ(std::get<GradeParameters>(chosen("", missing)), GradeParameters{});
  EXPECT_EQ(std::get<GradeParameters>(chosen("", good)), fitted);
  EXPECT_EQ(std::get<GradeParameters>(chosen(good, bad)), fitted);
  for (const auto& [named, installed] :
       {std::pair{missing, good}, std::pair{bad, good}, std::pair{std::string(), bad}}) {
    const auto refused = chosen(named, installed);
    ASSERT_TRUE(std::holds_alternative<GradeParametersError>(refused)) << named << installed;
    const std::string& reason = std::get<GradeParametersError>(refused).reason;
    EXPECT_NE(reason.find(named.empty() ? installed : named), std::string::npos) << reason;
  }

  // A program that shows grades starts with the defaults where grade would
  // refuse, and keeps the reason to say once.
  struct InUseCase {
    std::string installed;
    GradeParameters parameters;
    bool problem;
  };
  for (const InUseCase& c : {InUseCase{missing, {}, false}, InUseCase{good, fitted, false},
                             InUseCase{bad, {}, true}, InUseCase{folder, {}, true}}) {
    const GradeParametersInUse inUse = InstalledOrDefaultGradeParameters(c.installed);
    EXPECT_EQ(inUse.parameters, c.parameters) << c.installed;
    EXPECT_EQ(!inUse.problem.empty(), c.problem) << c.installed;
    if (c.problem) {
      EXPECT_NE(inUse.problem.find(c.installed), std::string::npos) << inUse.problem;
    }
  }
  std::filesystem::remove_all(folder);
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
    difficulty.push_back(1000 + 12 * moves + 70 * counter + 40 * std::log2(effort) -
                         25 * std::log2(solutions));
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
  // The grade's own weights, each with the sign its term has for people, on
  // the scale of the default points, whose thresholds stay.
  EXPECT_GT(fit->perMove, 0.0);
  EXPECT_GT(fit->perCounterIntuitiveStep, fit->perMove);
  EXPECT_GT(fit->perEffortDoubling, 0.0);
  EXPECT_GT(fit->perSolutionsDoubling, 0.0);
  EXPECT_EQ(fit->hardFrom, GradeParameters{}.hardFrom);
  double fittedMean = 0.0, defaultMean = 0.0;
  for (const GradeMeasures& level : settledMeasures) {
    fittedMean += GradePoints(level, *fit);
    defaultMean += GradePoints(level, GradeParameters{});
  }
  EXPECT_NEAR(fittedMean, defaultMean, 1e-6 * std::fabs(defaultMean));
  std::vector<double> grades;
  for (const GradeMeasures& level : settledMeasures) grades.push_back(GradePoints(level, *fit));
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
