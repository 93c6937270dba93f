#include "logic/level_grade.h"

#include <algorithm>
#include <cctype>
#include <cmath>

double GradeSum(double moves, double counterIntuitiveSteps, double greedyEffort, double solutions,
                const GradeParameters& parameters) {
  return parameters.offset + parameters.perMove * moves +
         parameters.perCounterIntuitiveStep * counterIntuitiveSteps +
         parameters.perEffortDoubling * std::log2(std::max(greedyEffort, 1.0)) -
         parameters.perSolutionsDoubling * std::log2(std::max(solutions, 1.0));
}

std::optional<LevelGrade> GradeLevel(const LevelAnalysis& analysis,
                                     const GradeParameters& parameters) {
  if (!analysis.solvable) return std::nullopt;
  const double sum =
      GradeSum(analysis.moves, static_cast<double>(analysis.counterIntuitiveSteps.size()),
               analysis.greedyEffort, static_cast<double>(analysis.solutions), parameters);
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
