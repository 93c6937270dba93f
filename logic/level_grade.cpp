#include "logic/level_grade.h"

#include <algorithm>
#include <cctype>
#include <cmath>

std::optional<LevelGrade> GradeLevel(const LevelAnalysis& analysis,
                                     const GradeParameters& parameters) {
  if (!analysis.solvable) return std::nullopt;
  const double effort = std::max(analysis.greedyEffort, 1);
  const double solutions = std::max<double>(analysis.solutions, 1);
  const double sum = parameters.perMove * analysis.moves +
                     parameters.perCounterIntuitiveStep *
                         static_cast<double>(analysis.counterIntuitiveSteps.size()) +
                     parameters.perEffortDoubling * std::log2(effort) -
                     parameters.perSolutionsDoubling * std::log2(solutions);
  const int points = std::max(0, static_cast<int>(std::lround(sum)));
  return LevelGrade{points, GradeOfPoints(points, parameters)};
}

Grade GradeOfPoints(int points, const GradeParameters& parameters) {
  if (points >= parameters.expertFrom) return Grade::Expert;
  if (points >= parameters.hardFrom) return Grade::Hard;
  if (points >= parameters.normalFrom) return Grade::Normal;
  return Grade::Easy;
}

int GradeThreshold(Grade grade, const GradeParameters& parameters) {
  switch (grade) {
    case Grade::Easy: return 0;
    case Grade::Normal: return parameters.normalFrom;
    case Grade::Hard: return parameters.hardFrom;
    case Grade::Expert: return parameters.expertFrom;
  }
  return 0;
}

std::string_view GradeName(Grade grade) {
  switch (grade) {
    case Grade::Easy: return "Easy";
    case Grade::Normal: return "Normal";
    case Grade::Hard: return "Hard";
    case Grade::Expert: return "Expert";
  }
  return "Easy";
}

std::optional<Grade> GradeNamed(std::string_view name) {
  for (const Grade grade : AllGrades) {
    const std::string_view known = GradeName(grade);
    const bool same = known.size() == name.size() &&
                      std::equal(known.begin(), known.end(), name.begin(), [](char a, char b) {
                        return std::tolower(static_cast<unsigned char>(a)) ==
                               std::tolower(static_cast<unsigned char>(b));
                      });
    if (same) return grade;
  }
  return std::nullopt;
}
