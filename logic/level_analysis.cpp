#include "logic/level_analysis.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdlib>
#include <optional>

#include "logic/placement_numbers.h"

// One search from the balls over every placement they reach (PlacementGraph,
// with the moves of logic/ball_moves.h, the solver's own tables) gives the
// reachable count and each placement's distance from the start. Going back
// from the layer of the holes, a placement of layer k lies on a shortest
// solution when a move takes it to a placement of layer k + 1 that does, and
// the shortest continuations to the holes add up the same way. A placement
// one move nearer to the holes than one on a shortest solution is exactly a
// successor in the next layer with a continuation, so the walk needs nothing
// more. The greedy player searches on its own, move by move, as it stops long
// before the whole graph on most levels.

namespace {

using ballmoves::Apply;
using ballmoves::BuildMoveTables;
using ballmoves::MaxSquares;
using ballmoves::MoveTables;
using ballmoves::PackSquares;
using ballmoves::Squares;
using ballmoves::SquaresOfState;
using ballmoves::StateOfSquares;
using ballmoves::UnpackSquares;

/// Counts of at most ManySolutions each: the sum stays within 32 bits.
std::uint32_t AddCounts(std::uint32_t a, std::uint32_t b) { return std::min(a + b, ManySolutions); }

/// h of a placement: each ball's Manhattan distance to its hole, summed.
class HoleDistances {
 public:
  HoleDistances(int boardSize, const Squares& holes) {
    const auto fill = [boardSize](SquareDistances& distances, int hole) {
      for (int square = 0; square < boardSize * boardSize; ++square) {
        distances[square] =
            static_cast<std::uint8_t>(std::abs(square % boardSize - hole % boardSize) +
                                      std::abs(square / boardSize - hole / boardSize));
      }
    };
    fill(m_blue, holes.blue);
    fill(m_green, holes.green);
    fill(m_red, holes.red);
  }
  int operator()(const Squares& balls) const {
    return m_blue[balls.blue] + m_green[balls.green] + m_red[balls.red];
  }
  /// The greatest h on the board: each ball in a corner away from its hole.
  static int Greatest(int boardSize) { return 3 * 2 * (boardSize - 1); }

 private:
  using SquareDistances = std::array<std::uint8_t, MaxSquares>;
  SquareDistances m_blue{};
  SquareDistances m_green{};
  SquareDistances m_red{};
};

/// The placement of the pieces as a StateIndex, leaving the level's records alone.
StateIndex StateOf(const Level& level, const Pieces& pieces) {
  Pieces copy = pieces;
  return EncodeState(level, copy);
}

}  // namespace

std::string SolutionCountText(std::uint32_t solutions) {
  if (solutions > SolutionCountLimit) return std::to_string(SolutionCountLimit) + "+";
  return std::to_string(solutions);
}

const LevelAnalysis& LevelAnalyzer::Analyze(const Level& level) {
  assert(LevelIsConsistent(level));
  const StateIndex start = StateOf(level, level.balls);
  const StateIndex target = StateOf(level, level.holes);
  const bool same = m_known && level.boardSize == m_boardSize && start == m_start &&
                    target == m_target && level.cells == m_cells;
  if (!same) {
    m_known = false;  // stays so if the search runs out of memory
    Search(level, start, target);
    m_boardSize = level.boardSize;
    m_cells = level.cells;
    m_start = start;
    m_target = target;
    m_known = true;
  }
  return m_answer;
}

void LevelAnalyzer::Search(const Level& level, StateIndex start, StateIndex target) {
  m_answer = {};
  m_graph.Build(level, start);
  m_answer.reachable = static_cast<int>(m_graph.Size());
  const std::optional<PlacementGraph::Node> holes = m_graph.Find(target);
  if (!holes) return;
  m_answer.solvable = true;
  m_answer.moves = m_graph.Distance(*holes);
  CountSolutions(*holes);
  m_answer.solutions = m_toHoles[0];
  Walk(level, target);
  m_answer.greedyEffort = GreedyEffort(level, start, target);
}

void LevelAnalyzer::CountSolutions(PlacementGraph::Node target) {
  const int moves = m_answer.moves;
  m_toHoles.resize(m_graph.LayerStart(moves + 1));
  for (PlacementGraph::Node node = m_graph.LayerStart(moves); node < m_toHoles.size(); ++node) {
    m_toHoles[node] = node == target ? 1 : 0;
  }
  for (int distance = moves - 1; distance >= 0; --distance) {
    const PlacementGraph::Node next = m_graph.LayerStart(distance + 1);
    for (PlacementGraph::Node node = m_graph.LayerStart(distance); node < next; ++node) {
      std::uint32_t count = 0;
      for (std::size_t direction = 0; direction < 4; ++direction) {
        const PlacementGraph::Node successor = m_graph.Successor(node, direction);
        if (successor >= next) count = AddCounts(count, m_toHoles[successor]);
      }
      m_toHoles[node] = count;
    }
  }
}

void LevelAnalyzer::Walk(const Level& level, StateIndex target) {
  const int squares = level.boardSize * level.boardSize;
  const HoleDistances h(level.boardSize, SquaresOfState(target, squares));
  const auto hOf = [&](PlacementGraph::Node node) {
    return h(SquaresOfState(m_graph.State(node), squares));
  };
  PlacementGraph::Node current = 0;
  for (int step = 0; step < m_answer.moves; ++step) {
    const PlacementGraph::Node next = m_graph.LayerStart(step + 1);
    std::optional<std::size_t> taken;
    bool lowersH = false;
    for (std::size_t direction = 0; direction < 4; ++direction) {
      const PlacementGraph::Node successor = m_graph.Successor(current, direction);
      if (successor < next || m_toHoles[successor] == 0) continue;
      if (!taken) taken = direction;
      lowersH |= hOf(successor) < hOf(current);
    }
    assert(taken && "a placement on a shortest solution has a move one nearer");
    if (!lowersH) m_answer.counterIntuitiveSteps.push_back(step);
    m_answer.solution.push_back(AllDirections[*taken]);
    current = m_graph.Successor(current, *taken);
  }
}

int LevelAnalyzer::GreedyEffort(const Level& level, StateIndex start, StateIndex target,
                                int limit) {
  const int squares = level.boardSize * level.boardSize;
  const MoveTables tables = BuildMoveTables(level);
  const HoleDistances h(level.boardSize, SquaresOfState(target, squares));
  const std::uint32_t holes = PackSquares(SquaresOfState(target, squares));
  m_discovered.assign((static_cast<std::size_t>(StateCount(level)) + 63) / 64, 0);
  m_open.resize(static_cast<std::size_t>(HoleDistances::Greatest(level.boardSize)) + 1);
  for (auto& list : m_open) list.clear();
  m_openHeads.assign(m_open.size(), 0);
  std::size_t lowest = m_open.size();  // no list below holds a placement to expand
  const auto discover = [&](const Squares& balls) {
    const auto state = static_cast<std::uint32_t>(StateOfSquares(balls, squares));
    std::uint64_t& word = m_discovered[state / 64];
    const std::uint64_t mask = std::uint64_t{1} << (state % 64);
    if (word & mask) return;
    word |= mask;
    const auto list = static_cast<std::size_t>(h(balls));
    m_open[list].push_back(PackSquares(balls));
    lowest = std::min(lowest, list);
  };
  discover(SquaresOfState(start, squares));
  for (int expanded = 1;; ++expanded) {
    while (lowest < m_open.size() && m_openHeads[lowest] == m_open[lowest].size()) ++lowest;
    if (lowest == m_open.size()) return -1;  // every reachable placement expanded
    const std::uint32_t balls = m_open[lowest][m_openHeads[lowest]++];
    if (balls == holes) return expanded;
    if (limit != NoEffortLimit && expanded >= limit) return limit + 1;
    for (const auto& destination : tables.destination) {
      discover(Apply(destination, UnpackSquares(balls)));
    }
  }
}

void CountShortestPaths(const PlacementGraph& graph, std::vector<std::uint32_t>& counts) {
  counts.assign(graph.Size(), 0);
  counts[0] = 1;
  for (int distance = 0; distance < graph.Depth(); ++distance) {
    const PlacementGraph::Node next = graph.LayerStart(distance + 1);
    for (PlacementGraph::Node node = graph.LayerStart(distance); node < next; ++node) {
      for (std::size_t direction = 0; direction < 4; ++direction) {
        const PlacementGraph::Node successor = graph.Successor(node, direction);
        if (successor >= next) counts[successor] = AddCounts(counts[successor], counts[node]);
      }
    }
  }
}
