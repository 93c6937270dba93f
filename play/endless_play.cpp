#include "play/endless_play.h"

#include <chrono>
#include <cstdlib>
#include <limits>

#include "logic/level_analysis.h"
#include "logic/level_code.h"
#include "logic/level_generator.h"

namespace {

/// Levels generated per round; each round draws from a seed of its own.
constexpr int LevelsPerRound = 6;

/// The points of the grade: from its threshold up to the next one's (a
/// span as wide again above Expert's).
struct PointRange {
  int least = 0;
  int most = 0;
};

PointRange RangeOf(Grade grade, const GradeParameters& parameters) {
  const int least = GradeThreshold(grade, parameters);
  switch (grade) {
    case Grade::Easy: return {least, GradeThreshold(Grade::Normal, parameters) - 1};
    case Grade::Normal: return {least, GradeThreshold(Grade::Hard, parameters) - 1};
    case Grade::Hard: return {least, GradeThreshold(Grade::Expert, parameters) - 1};
    case Grade::Expert: return {least, 2 * least};
  }
  return {least, least};
}

/// How far points lie outside the range; 0 inside.
int Distance(int points, PointRange range) {
  if (points < range.least) return range.least - points;
  if (points > range.most) return points - range.most;
  return 0;
}

/// The shortest solution is never longer than the points, and the extras
/// (counter-intuitive steps, the effort) seldom give more than two thirds
/// of them.
GenerationRequest RoundRequest(int size, PointRange range, std::uint64_t seed) {
  GenerationRequest request;
  request.size = size;
  request.minMoves = std::max(1, range.least / 3);
  // The easiest levels are short above all: on a large board even a short
  // level's effort brings points.
  const int most = range.least == 0 ? range.most / 3 : range.most;
  request.maxMoves = std::min(std::max(request.minMoves, most), MostSolutionMoves(size));
  request.count = LevelsPerRound;
  request.seed = seed;
  request.attemptLimit = 300;
  request.timeLimit = std::chrono::milliseconds(EndlessBudgetMilliseconds / 4);
  return request;
}

}  // namespace

EndlessLevel MakeEndlessLevel(int size, Grade grade, std::uint64_t seed,
                              const GradeParameters& parameters) {
  const PointRange range = RangeOf(grade, parameters);
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(EndlessBudgetMilliseconds);
  LevelAnalyzer analyzer;
  Level level;
  EndlessLevel nearest;
  int nearestDistance = std::numeric_limits<int>::max();
  for (std::uint64_t round = 0; std::chrono::steady_clock::now() < deadline; ++round) {
    for (const FoundLevel& found : GenerateLevels(RoundRequest(size, range, seed + round)).levels) {
      if (!ParseLevelCode(level, found.code).accepted) continue;
      const std::optional<LevelGrade> graded = GradeLevel(analyzer.Analyze(level), parameters);
      if (!graded) continue;
      const int distance = Distance(graded->points, range);
      if (distance == 0) return {found.code, *graded, true};
      if (distance < nearestDistance) {
        nearestDistance = distance;
        nearest = {found.code, *graded, false};
      }
    }
  }
  return nearest;
}
