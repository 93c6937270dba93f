#include "play/endless_play.h"

#include <gtest/gtest.h>

#include <chrono>

#include "logic/level_analysis.h"
#include "logic/level_code.h"

namespace {

// Every size with every grade: a level of that grade, solvable, made within
// the budget (the budget bounds the search; the level itself usually comes
// in a few milliseconds), and the same for the same seed.
TEST(EndlessPlayTest, EverySizeAndGradeGivesALevelOfThatGrade) {
  LevelAnalyzer analyzer;
  for (const int size : {3, 5, 7}) {
    for (const Grade grade : AllGrades) {
      SCOPED_TRACE(std::to_string(size) + " x " + std::to_string(size) + ", " +
                   std::string(GradeName(grade)));
      const EndlessLevel made = MakeEndlessLevel(size, grade, 42);
      EXPECT_TRUE(made.ofTheGradeAsked);
      EXPECT_EQ(made.grade.grade, grade);
      Level level;
      ASSERT_TRUE(ParseLevelCode(level, made.code).accepted);
      EXPECT_EQ(level.boardSize, size);
      EXPECT_EQ(GradeLevel(analyzer.Analyze(level)), made.grade);
      EXPECT_EQ(MakeEndlessLevel(size, grade, 42).code, made.code);
    }
  }
}

TEST(EndlessPlayTest, OtherSeedsGiveOtherLevels) {
  EXPECT_NE(MakeEndlessLevel(5, Grade::Normal, 1).code, MakeEndlessLevel(5, Grade::Normal, 2).code);
}

}  // namespace
