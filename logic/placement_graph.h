#pragma once
// The placements of the balls reachable from a start, with the move between
// them: a breadth-first search that keeps, for every placement it reaches,
// where each of the four moves leads. Sweeps over the graph then need no move
// and no look-up by placement: counting the shortest paths, forward or
// backward, is one pass over a list. The object keeps its buffers between
// searches; each object belongs to one thread.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "logic/level.h"

class PlacementGraph {
 public:
  /// A placement's number: its place in the order of the search, so the
  /// start is 0 and the numbers grow with the distance from it.
  using Node = std::uint32_t;

  /// No depth limit.
  static constexpr int Unlimited = -1;

  /// Every placement start reaches on level's board within depthLimit moves.
  /// start is a StateIndex of three distinct squares.
  void Build(const Level& level, StateIndex start, int depthLimit = Unlimited);

  /// The placements reached, the start included.
  std::size_t Size() const { return m_size; }

  /// The number of a placement; nothing when the search did not reach it.
  std::optional<Node> Find(StateIndex state) const;

  StateIndex State(Node node) const;

  /// Where the move in the direction (N, S, W, E: 0 to 3) leads; the node
  /// itself when it changes nothing. For every node without a depth limit;
  /// with one, the moves from the last layer were not searched.
  Node Successor(Node node, std::size_t direction) const { return m_successors[node][direction]; }

  /// The moves from the start to the node.
  int Distance(Node node) const;

  /// The first node `distance` moves from the start; Size() past the last layer.
  Node LayerStart(int distance) const;

  /// The distance of the last layer.
  int Depth() const { return static_cast<int>(m_layerStarts.size()) - 2; }

 private:
  int m_squares = 0;                              // N * N of the board searched
  std::size_t m_size = 0;                         // nodes numbered
  std::vector<std::uint32_t> m_balls;             // per node: blue | green << 8 | red << 16
  std::vector<std::array<Node, 4>> m_successors;  // per node of the layers moved from
  std::vector<Node> m_layerStarts;                // per distance, then the end
  std::vector<std::uint64_t> m_reached;           // a bit per StateIndex
  std::vector<Node> m_nodeOf;                     // per StateIndex, where m_reached is set
};
