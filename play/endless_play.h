#pragma once
// Endless play: a new random level of a chosen board size and grade, made in
// a fraction of a second, the same for the same seed.

#include <cstdint>
#include <string>

#include "logic/level_grade.h"

/// Longest time spent looking for a level of the grade; after it the
/// nearest level found is played.
inline constexpr int EndlessBudgetMilliseconds = 400;

struct EndlessLevel {
  std::string code;
  LevelGrade grade;
  bool ofTheGradeAsked = false;  // false when only a level of another grade came in time
};

/// A solvable level of the size (3, 5 or 7) whose grade under the
/// parameters is the one asked, or, when none turns up within
/// EndlessBudgetMilliseconds, the one whose points lie nearest to the grade's.
EndlessLevel MakeEndlessLevel(int size, Grade grade, std::uint64_t seed,
                              const GradeParameters& parameters);
