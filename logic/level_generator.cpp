#include "logic/level_generator.h"

#include <set>
#include <utility>

#include "logic/placement_distances.h"
#include "logic/placement_graph.h"
#include "logic/search_support.h"

int MostSolutionMoves(int size) { return BallPlacements(size) - 1; }

std::optional<Reason> GenerationRequestProblem(const GenerationRequest& request) {
  if (!IsBoardSize(request.size)) return Reason{ReasonId::BoardSize};
  if (request.minMoves < 0) return Reason{ReasonId::NegativeLeastMoves};
  // Also keeps the counting of moves from ever passing the largest int.
  const int most = MostSolutionMoves(request.size);
  if (request.minMoves > most || request.maxMoves > most) {
    return Reason{ReasonId::TooManyMoves, {std::to_string(request.size), std::to_string(most)}};
  }
  if (request.maxMoves != NoMoveLimit && request.maxMoves < request.minMoves) {
    return Reason{ReasonId::LargestMovesBelowLeast};
  }
  if (request.count < 0) return Reason{ReasonId::NegativeLevelCount};
  if (request.openWalls < 0) return Reason{ReasonId::NegativeOpenWalls};
  if (request.attemptLimit == 0) return Reason{ReasonId::NoAttempts};
  if (request.timeLimit.count() < 0) return Reason{ReasonId::NegativeTimeLimit};
  if (request.minEffort < 0) return Reason{ReasonId::NegativeLeastEffort};
  if (request.maxEffort != NoEffortLimit && request.maxEffort < request.minEffort) {
    return Reason{ReasonId::LargestEffortBelowLeast};
  }
  return std::nullopt;
}

namespace {

bool LimitsEffort(const GenerationRequest& request) {
  return request.minEffort > 0 || request.maxEffort != NoEffortLimit;
}

bool EffortInRange(const GenerationRequest& request, int effort) {
  return effort >= request.minEffort &&
         (request.maxEffort == NoEffortLimit || effort <= request.maxEffort);
}

/// Random candidates for a request, with the searches that rate them and
/// their buffers kept from one candidate to the next.
class Candidates {
 public:
  explicit Candidates(const GenerationRequest& request)
      : m_request(request), m_random(request.seed) {}

  /// A random candidate: its level, when its holes can go where the request asks.
  std::optional<FoundLevel> Next() {
    BuildRandomMaze(m_level, m_request.size, m_random);
    OpenRandomWalls(m_level, m_request.openWalls, m_random);
    const StateIndex balls = RandomPlacement(m_request.size, m_random);
    if (m_request.unique || LimitsEffort(m_request)) return HolesOfQuality(balls);
    return HolesInRange(balls);
  }

 private:
  std::optional<FoundLevel> HolesInRange(StateIndex balls) {
    m_distances.SearchFrom(m_level, balls, m_request.maxMoves);
    const std::size_t inRange = m_distances.CountWithin(m_request.minMoves, m_request.maxMoves);
    if (inRange == 0) return std::nullopt;
    const auto pick = m_random.Below(static_cast<std::uint32_t>(inRange));
    const auto holes = m_distances.PlacementWithin(m_request.minMoves, m_request.maxMoves, pick);
    return DescribeLevel(m_level, balls, holes.state, holes.moves);
  }

  /// The same choice among the placements in range that pass the quality
  /// asked for. The graph numbers the placements in the order the search of
  /// HolesInRange reaches them.
  std::optional<FoundLevel> HolesOfQuality(StateIndex balls) {
    m_graph.Build(m_level, balls, m_request.maxMoves);
    CollectEligibleHoles();
    if (m_eligible.empty()) return std::nullopt;
    if (!LimitsEffort(m_request)) {
      return Describe(balls, m_eligible[m_random.Below(Count(m_eligible.size()))]);
    }
    // The first `draws` places of a shuffle, drawn one by one.
    const std::size_t draws =
        std::min(m_eligible.size(), static_cast<std::size_t>(EffortDrawsPerCandidate));
    for (std::size_t i = 0; i < draws; ++i) {
      const std::size_t pick = i + m_random.Below(Count(m_eligible.size() - i));
      std::swap(m_eligible[i], m_eligible[pick]);
      const StateIndex holes = m_graph.State(m_eligible[i]);
      if (EffortInRange(m_request,
                        m_analyzer.GreedyEffort(m_level, balls, holes, m_request.maxEffort))) {
        return Describe(balls, m_eligible[i]);
      }
    }
    return std::nullopt;
  }

  /// The placements in the move range, only those with one shortest solution
  /// when the request is for unique levels.
  void CollectEligibleHoles() {
    m_eligible.clear();
    if (m_request.unique) CountShortestPaths(m_graph, m_counts);
    const PlacementGraph::Node end = m_request.maxMoves == NoMoveLimit
                                         ? static_cast<PlacementGraph::Node>(m_graph.Size())
                                         : m_graph.LayerStart(m_request.maxMoves + 1);
    for (PlacementGraph::Node node = m_graph.LayerStart(m_request.minMoves); node < end; ++node) {
      if (!m_request.unique || m_counts[node] == 1) m_eligible.push_back(node);
    }
  }

  FoundLevel Describe(StateIndex balls, PlacementGraph::Node holes) {
    return DescribeLevel(m_level, balls, m_graph.State(holes), m_graph.Distance(holes));
  }

  static std::uint32_t Count(std::size_t size) { return static_cast<std::uint32_t>(size); }

  const GenerationRequest& m_request;
  SeededRandom m_random;
  Level m_level;
  PlacementDistances m_distances;
  PlacementGraph m_graph;
  LevelAnalyzer m_analyzer;
  std::vector<std::uint32_t> m_counts;
  std::vector<PlacementGraph::Node> m_eligible;
};

}  // namespace

GenerationResult GenerateLevels(const GenerationRequest& request, const SearchControl& control) {
  GenerationResult result;
  if (GenerationRequestProblem(request)) {
    result.end = SearchEnd::OutOfReach;
    return result;
  }
  SearchRun run(control, request.timeLimit);
  Candidates candidates(request);
  std::set<std::string> canonicalCodes(request.avoid.begin(), request.avoid.end());
  std::uint64_t triedSinceLastLevel = 0;
  while (result.levels.size() < static_cast<std::size_t>(request.count)) {
    result.end = run.StopReason();
    if (result.end != SearchEnd::Done) break;
    if (triedSinceLastLevel == request.attemptLimit) {
      result.end = SearchEnd::OutOfReach;
      break;
    }
    ++triedSinceLastLevel;
    const std::optional<FoundLevel> found = candidates.Next();
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
