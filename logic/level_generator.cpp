#include "logic/level_generator.h"

#include <set>

#include "logic/placement_distances.h"
#include "logic/search_support.h"

int MostSolutionMoves(int size) {
  const int squares = size * size;
  return squares * (squares - 1) * (squares - 2) - 1;
}

std::optional<std::string> GenerationRequestProblem(const GenerationRequest& request) {
  if (!IsBoardSize(request.size)) return "the board size must be 3, 5 or 7";
  if (request.minMoves < 0) return "the least number of moves must not be negative";
  // Also keeps the counting of moves from ever passing the largest int.
  const int most = MostSolutionMoves(request.size);
  if (request.minMoves > most || request.maxMoves > most) {
    const std::string side = std::to_string(request.size);
    return "a shortest solution on a " + side + " x " + side + " board has at most " +
           std::to_string(most) + " moves";
  }
  if (request.maxMoves != NoMoveLimit && request.maxMoves < request.minMoves) {
    return "the largest number of moves must not be below the least";
  }
  if (request.count < 0) return "the number of levels must not be negative";
  if (request.openWalls < 0) return "the number of walls to open must not be negative";
  if (request.attemptLimit == 0) return "the attempt limit must be at least 1";
  if (request.timeLimit.count() < 0) return "the time limit must not be negative";
  return std::nullopt;
}

namespace {

/// A random candidate: its level, when it has a placement of the holes in range.
std::optional<FoundLevel> TryCandidate(const GenerationRequest& request, SeededRandom& random,
                                       PlacementDistances& distances, Level& level) {
  BuildRandomMaze(level, request.size, random);
  OpenRandomWalls(level, request.openWalls, random);
  const StateIndex balls = RandomPlacement(request.size, random);
  distances.SearchFrom(level, balls, request.maxMoves);
  const std::size_t inRange = distances.CountWithin(request.minMoves, request.maxMoves);
  if (inRange == 0) return std::nullopt;
  const auto pick = random.Below(static_cast<std::uint32_t>(inRange));
  const auto holes = distances.PlacementWithin(request.minMoves, request.maxMoves, pick);
  return DescribeLevel(level, balls, holes.state, holes.moves);
}

}  // namespace

GenerationResult GenerateLevels(const GenerationRequest& request, const SearchControl& control) {
  GenerationResult result;
  if (GenerationRequestProblem(request)) {
    result.end = SearchEnd::OutOfReach;
    return result;
  }
  SearchRun run(control, request.timeLimit);
  SeededRandom random(request.seed);
  PlacementDistances distances;
  Level level;
  std::set<std::string> canonicalCodes;
  std::uint64_t triedSinceLastLevel = 0;
  while (result.levels.size() < static_cast<std::size_t>(request.count)) {
    result.end = run.StopReason();
    if (result.end != SearchEnd::Done) break;
    if (triedSinceLastLevel == request.attemptLimit) {
      result.end = SearchEnd::OutOfReach;
      break;
    }
    ++triedSinceLastLevel;
    const std::optional<FoundLevel> found = TryCandidate(request, random, distances, level);
    run.CountTried();
    if (!found || !canonicalCodes.insert(found->canonicalCode).second) continue;
    result.levels.push_back(*found);
    run.Report(*found);
    triedSinceLastLevel = 0;
  }
  result.tried = run.Tried();
  run.Finish();
  return result;
}
