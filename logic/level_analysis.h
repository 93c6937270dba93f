#pragma once
// What a level asks of a player beyond the length of its solution. Every
// measure is taken over the placements of the balls reachable from the start
// with the move rule; a move that leaves the placement as it is leads nowhere
// (it is no successor and no step).
//
// h(placement): the sum over the three balls of the Manhattan distance
// (columns plus rows) from the ball to the hole of its colour; 0 only when
// the level is solved. A player who follows intuition tries to lower it.
//
// - moves: the length of a shortest solution.
// - solutions: the number of distinct direction sequences of exactly that
//   length that put every ball on its own hole: 1 when the balls stand there
//   already, 0 when they cannot get there. Such a sequence never holds a move
//   that changes nothing, nor passes the holes before its end (it would not
//   be shortest), so these are the shortest paths between the placements.
//   Counts above SolutionCountLimit are kept as SolutionCountLimit + 1.
// - reachable: the placements reachable from the start, the start included.
// - counter-intuitive steps: a placement is one move nearer to the holes when
//   its shortest distance to the solved placement, over the reachable
//   placements, is one less. The walk goes from the start to the holes, each
//   time taking the first of N, S, W, E (the solver's order of letters) that
//   leads one move nearer; so it is the very shortest solution the solver
//   gives and the editor's solution step follows. A step counts when none of
//   the moves that lead one move nearer lowers h.
// - greedy effort: a greedy player expands placements best first by h, equal
//   h in the order they were first discovered. Expanding a placement
//   discovers its successors in the order N, S, W, E; a placement is
//   discovered once only, so a move back to one discovered before (expanded
//   or still waiting) discovers nothing and leaves its place in the order as
//   it was. The effort is the number of placements expanded until the solved
//   one is, both the start and the solved placement counted: 1 when the
//   level is solved already. (The solved placement, h = 0, is expanded right
//   after the expansion that discovers it.)
//
// The analysis of a 7 x 7 level takes a few milliseconds (bench/analysis_bench),
// so an editor can run it after every change.

#include <cstdint>
#include <string>
#include <vector>

#include "logic/level.h"
#include "logic/moves.h"
#include "logic/placement_graph.h"

/// Counts of shortest solutions are exact up to this.
inline constexpr std::uint32_t SolutionCountLimit = 1000000000;
/// The count kept for every number of solutions above SolutionCountLimit.
inline constexpr std::uint32_t ManySolutions = SolutionCountLimit + 1;

/// No bound on a greedy player's effort.
inline constexpr int NoEffortLimit = -1;

/// Everything the analysis tells about a level.
struct LevelAnalysis {
  bool solvable = false;
  int moves = -1;               // -1 when unsolvable
  std::uint32_t solutions = 0;  // ManySolutions for more than SolutionCountLimit
  int reachable = 0;
  std::vector<Direction> solution;         // the walk; empty when solved or unsolvable
  std::vector<int> counterIntuitiveSteps;  // the walk's counter-intuitive steps, 0 the first
  int greedyEffort = -1;                   // -1 when unsolvable
  friend bool operator==(const LevelAnalysis&, const LevelAnalysis&) = default;
};

/// The count as digits, or "1000000000+" for more than SolutionCountLimit.
std::string SolutionCountText(std::uint32_t solutions);

/// Runs the analysis with buffers it keeps between levels; one object per
/// thread.
class LevelAnalyzer {
 public:
  /// The analysis of the level's balls and holes; the level is consistent
  /// (LevelIsConsistent). Asked again about the same walls, balls and holes,
  /// it gives the last answer again without a search.
  const LevelAnalysis& Analyze(const Level& level);

  /// The greedy player's effort from start to target on level's board; -1
  /// when the holes cannot be reached. With a limit, it gives up after
  /// `limit` placements expanded short of the holes and returns limit + 1.
  int GreedyEffort(const Level& level, StateIndex start, StateIndex target,
                   int limit = NoEffortLimit);

 private:
  void Search(const Level& level, StateIndex start, StateIndex target);
  void CountSolutions(PlacementGraph::Node target);
  void Walk(const Level& level, StateIndex target);

  PlacementGraph m_graph;
  std::vector<std::uint32_t> m_toHoles;            // per node on a layer up to the holes' own: the
                                                   // shortest direction sequences to the holes
  std::vector<std::uint64_t> m_discovered;         // the greedy player's, a bit per StateIndex
  std::vector<std::vector<std::uint32_t>> m_open;  // the greedy player's queue, a list per h
  std::vector<std::size_t> m_openHeads;            // the next to expand in each list
  bool m_known = false;  // m_answer is for the board, walls and placements below
  std::int32_t m_boardSize = 0;
  std::vector<Cell> m_cells;
  StateIndex m_start = 0;
  StateIndex m_target = 0;
  LevelAnalysis m_answer;
};

/// The number of shortest direction sequences from the graph's start to each
/// of its nodes, capped like solutions: one sweep rates every choice of holes
/// for the balls.
void CountShortestPaths(const PlacementGraph& graph, std::vector<std::uint32_t>& counts);
