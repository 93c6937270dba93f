#include "logic/level_grade.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logic/level_code.h"
#include "tests/support/level_code_reading.h"

namespace {

/// An analysis with the figures the grade reads; the walk itself does not count.
LevelAnalysis Figures(int moves, std::uint32_t solutions, int counterIntuitive, int effort) {
  LevelAnalysis analysis;
  analysis.solvable = true;
  analysis.moves = moves;
  analysis.solutions = solutions;
  analysis.counterIntuitiveSteps.assign(static_cast<std::size_t>(counterIntuitive), 0);
  analysis.greedyEffort = effort;
  return analysis;
}

struct GradeCase {
  const char* what;
  LevelAnalysis analysis;
  int points;
  Grade grade;
};

TEST(LevelGradeTest, PointsAndGradeFollowTheFiguresOfTheAnalysis) {
  const GradeCase cases[] = {
      {"solved already", Figures(0, 1, 0, 1), 0, Grade::Easy},
      {"one move, one way", Figures(1, 1, 0, 2), 3, Grade::Easy},
      {"many solutions take points off, never below 0", Figures(2, 1024, 0, 2), 0, Grade::Easy},
      {"just below Normal", Figures(17, 1, 0, 2), 19, Grade::Easy},
      {"Normal at its threshold", Figures(18, 1, 0, 2), 20, Grade::Normal},
      {"a counter-intuitive step weighs three moves", Figures(15, 1, 1, 2), 20, Grade::Normal},
      {"effort by its doublings", Figures(14, 1, 0, 64), 26, Grade::Normal},
      {"Hard", Figures(35, 2, 2, 16), 48, Grade::Hard},
      {"Expert", Figures(50, 1, 5, 256), 81, Grade::Expert},
      {"counted solutions beyond the limit", Figures(85, ManySolutions, 0, 1024), 75,
       Grade::Expert},
  };
  for (const GradeCase& test : cases) {
    SCOPED_TRACE(test.what);
    const std::optional<LevelGrade> grade = GradeLevel(test.analysis);
    ASSERT_TRUE(grade);
    EXPECT_EQ(grade->points, test.points);
    EXPECT_EQ(grade->grade, test.grade);
  }
}

TEST(LevelGradeTest, ALevelWithoutSolutionHasNoGrade) { EXPECT_FALSE(GradeLevel(LevelAnalysis{})); }

// Parameters handed in replace the defaults everywhere: the weights and every threshold.
TEST(LevelGradeTest, ParametersHandedInDecide) {
  GradeParameters movesOnly;
  movesOnly.perCounterIntuitiveStep = 0;
  movesOnly.perEffortDoubling = 0;
  movesOnly.perSolutionsDoubling = 0;
  movesOnly.normalFrom = 5;
  movesOnly.hardFrom = 6;
  movesOnly.expertFrom = 7;
  const LevelAnalysis analysis = Figures(6, 8, 4, 1000);
  EXPECT_EQ(GradeLevel(analysis, movesOnly), (LevelGrade{6, Grade::Hard}));
  EXPECT_EQ(GradeOfPoints(7, movesOnly), Grade::Expert);
  EXPECT_EQ(GradeThreshold(Grade::Normal, movesOnly), 5);
}

TEST(LevelGradeTest, EachGradeStartsAtItsThresholdAndNamesRoundTrip) {
  for (const Grade grade : AllGrades) {
    SCOPED_TRACE(std::string(GradeName(grade)));
    const int threshold = GradeThreshold(grade);
    EXPECT_EQ(GradeOfPoints(threshold), grade);
    if (threshold > 0) {
      EXPECT_NE(GradeOfPoints(threshold - 1), grade);
    }
    EXPECT_EQ(GradeNamed(GradeName(grade)), grade);
  }
  EXPECT_EQ(GradeNamed("eXPERT"), Grade::Expert);
  EXPECT_FALSE(GradeNamed("Expert "));
  EXPECT_FALSE(GradeNamed(""));
}

// Real levels through the analyzer: the grade grows with what the level asks.
TEST(LevelGradeTest, RealLevelsAreGradedFromTheirAnalysis) {
  struct RealCase {
    const char* code;
    Grade grade;
  };
  LevelAnalyzer analyzer;
  const RealCase cases[] = {
      {"5020100030201ffbfeffbfe55", Grade::Easy},
  };
  for (const RealCase& test : cases) {
    SCOPED_TRACE(test.code);
    Level level;
    ASSERT_NE(ReadLevelCode(level, test.code).outcome, CodeReading::Rejected);
    const std::optional<LevelGrade> grade = GradeLevel(analyzer.Analyze(level));
    ASSERT_TRUE(grade);
    EXPECT_EQ(grade->grade, test.grade);
  }
}

}  // namespace
