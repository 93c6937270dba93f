#include "play/endless_play.h"

#include <gtest/gtest.h>

#include <chrono>

#include "logic/level_analysis.h"
#include "logic/level_code.h"

namespace {

const GradeParameters Defaults;

// Every size with every grade: a level of that grade, solvable, made within
// the budget (the budget bounds the search; the level itself usually comes
// in a few milliseconds), and the same for the same seed.
TEST(EndlessPlayTest, EverySizeAndGradeGivesALevelOfThatGrade) {
  LevelAnalyzer analyzer;
  for (const int size : {3, 5, 7}) {
    for (const Grade grade : AllGrades) {
      SCOPED_TRACE(std::to_string(size) + " x " + std::to_string(size) + ", " +
                   std::string(GradeName(grade)));
      const EndlessLevel made = MakeEndlessLevel(size, grade, 42, Defaults);
      EXPECT_TRUE(made.ofTheGradeAsked);
      EXPECT_EQ(made.grade.grade, grade);
      Level level;
      ASSERT_TRUE(ParseLevelCode(level, made.code).accepted);
      EXPECT_EQ(level.boardSize, size);
      EXPECT_EQ(GradeLevel(analyzer.Analyze(level)), made.grade);
      EXPECT_EQ(MakeEndlessLevel(size, grade, 42, Defaults).code, made.code);
    }
  }
}

// Endless play grades with the parameters it is given, as calibrate fits
// them: the level it makes has the grade asked under those parameters, and
// under the defaults the same level has another grade.
TEST(EndlessPlayTest, TheLevelsGradeIsTheOneAskedUnderTheParametersGiven) {
  // Each row's grades lie apart by construction: 25 points more put every
  // Normal level's default points below 20; doubled weights put a Hard
  // level's (45 to 74) at 22 to 37; 30 points fewer put a Normal level's at
  // 50 to 74.
  GradeParameters raised;
  raised.offset = 25.0;
  GradeParameters doubled;
  doubled.perMove = 2.0;
  doubled.perCounterIntuitiveStep = 6.0;
  doubled.perEffortDoubling = 4.0;
  doubled.perSolutionsDoubling = 2.0;
  GradeParameters lowered;
  lowered.offset = -30.0;
  struct Case {
    const char* name;
    GradeParameters parameters;
    int size;
    Grade asked;
    Grade underDefaults;
  };
  const Case cases[] = {
      {"25 points more, Normal", raised, 5, Grade::Normal, Grade::Easy},
      {"doubled weights, Hard", doubled, 5, Grade::Hard, Grade::Normal},
      {"30 points fewer, Normal", lowered, 7, Grade::Normal, Grade::Hard},
  };
  LevelAnalyzer analyzer;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const EndlessLevel made = MakeEndlessLevel(c.size, c.asked, 7, c.parameters);
    EXPECT_TRUE(made.ofTheGradeAsked);
    EXPECT_EQ(made.grade.grade, c.asked);
    Level level;
    ASSERT_TRUE(ParseLevelCode(level, made.code).accepted);
    const LevelAnalysis& analysis = analyzer.Analyze(level);
    EXPECT_EQ(GradeLevel(analysis, c.parameters), made.grade);
    EXPECT_EQ(GradeLevel(analysis)->grade, c.underDefaults);
  }
}

TEST(EndlessPlayTest, OtherSeedsGiveOtherLevels) {
  EXPECT_NE(MakeEndlessLevel(5, Grade::Normal, 1, Defaults).code,
            MakeEndlessLevel(5, Grade::Normal, 2, Defaults).code);
}

}  // namespace
