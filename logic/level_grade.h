#pragma once
// How hard a level is for a player, as one number of difficulty points and a
// named grade, worked out from the level's analysis (logic/level_analysis.h).
//
// points = offset
//        + perMove x moves
//        + perCounterIntuitiveStep x counter-intuitive steps
//        + perEffortDoubling x log2(greedy effort)
//        - perSolutionsDoubling x log2(shortest solutions)
// rounded to the nearest whole number and never below 0. Length counts, but
// a step where the obvious move is wrong counts more, and so does a maze in
// which intuition wanders long (the effort grows by doublings, so its
// logarithm); many shortest solutions forgive, so they take points off.
// The grade is the highest whose threshold the points reach.
//
// Every number of the rule lives in GradeParameters, with its defaults here,
// so that they can be fitted to players' ratings (logic/calibration.h) and
// handed in without a change of the rule.

#include <optional>
#include <string_view>

#include "logic/level_analysis.h"

/// The named grades, easiest first.
enum class Grade { Easy, Normal, Hard, Expert };

/// The grades in order, for tables and choices.
inline constexpr Grade AllGrades[] = {Grade::Easy, Grade::Normal, Grade::Hard, Grade::Expert};

/// The weights of the analysis' figures and the grades' thresholds.
struct GradeParameters {
  double perMove = 1.0;
  double perCounterIntuitiveStep = 3.0;
  double perEffortDoubling = 2.0;
  double perSolutionsDoubling = 1.0;
  double offset = 0.0;  // added to every level's sum; a fit places its points with it
  int normalFrom = 20;  // points at which a level stops being Easy
  int hardFrom = 45;
  int expertFrom = 75;
  friend bool operator==(const GradeParameters&, const GradeParameters&) = default;
};

/// A level's difficulty as the grade rates it.
struct LevelGrade {
  int points = 0;
  Grade grade = Grade::Easy;
  friend bool operator==(const LevelGrade&, const LevelGrade&) = default;
};

/// The sum the points are rounded from, for a level's figures (moves,
/// counter-intuitive steps, greedy effort, shortest solutions; an effort or
/// a number of solutions below 1 counts as 1).
double GradeSum(double moves, double counterIntuitiveSteps, double greedyEffort, double solutions,
                const GradeParameters& parameters = {});

/// The difficulty of an analysed level; nullopt when it has no solution.
std::optional<LevelGrade> GradeLevel(const LevelAnalysis& analysis,
                                     const GradeParameters& parameters = {});

/// The grade that points reach.
Grade GradeOfPoints(int points, const GradeParameters& parameters = {});

/// The least points of a grade (0 for Easy).
int GradeThreshold(Grade grade, const GradeParameters& parameters = {});

/// "Easy", "Normal", "Hard", "Expert": the names the tool prints and the
/// programs translate.
std::string_view GradeName(Grade grade);

/// The grade of a name as GradeName gives it (any letter case); nullopt for
/// any other text.
std::optional<Grade> GradeNamed(std::string_view name);
