#include "logic/placement_graph.h"

#include <algorithm>

#include "logic/placement_numbers.h"

namespace {

using ballmoves::Apply;
using ballmoves::BuildMoveTables;
using ballmoves::MoveTables;
using ballmoves::PackSquares;
using ballmoves::Squares;
using ballmoves::SquaresOfState;
using ballmoves::StateOfSquares;
using ballmoves::UnpackSquares;

}  // namespace

void PlacementGraph::Build(const Level& level, StateIndex start, int depthLimit) {
  m_squares = level.boardSize * level.boardSize;
  const auto stateCount = static_cast<std::size_t>(StateCount(level));
  const MoveTables tables = BuildMoveTables(level);
  // Room for every placement at once, plus the one slot a placement reached
  // again is written to before it is dropped: a list that grew on the way
  // would cost copies and fresh pages again and again.
  m_balls.resize(stateCount + 1);
  m_successors.reserve(stateCount);
  m_successors.clear();
  m_size = 0;
  m_reached.assign((stateCount + 63) / 64, 0);
  m_nodeOf.resize(stateCount);
  // The node of a placement, numbered when first reached. Written always and
  // kept only when new: whether a placement is new is close to a coin toss,
  // which a branch would keep guessing wrong.
  const auto nodeOf = [this](const Squares& balls) {
    const auto state = static_cast<std::uint32_t>(StateOfSquares(balls, m_squares));
    std::uint64_t& word = m_reached[state / 64];
    const std::uint64_t mask = std::uint64_t{1} << (state % 64);
    const bool isNew = (word & mask) == 0;
    word |= mask;
    const Node node = isNew ? static_cast<Node>(m_size) : m_nodeOf[state];
    m_nodeOf[state] = node;
    m_balls[m_size] = PackSquares(balls);
    m_size += isNew;
    return node;
  };
  nodeOf(SquaresOfState(start, m_squares));
  m_layerStarts.assign({0, 1});
  for (int depth = 1; depthLimit < 0 || depth <= depthLimit; ++depth) {
    const Node begin = m_layerStarts[m_layerStarts.size() - 2];
    const Node end = m_layerStarts.back();
    m_successors.resize(end);
    for (Node node = begin; node < end; ++node) {
      const Squares from = UnpackSquares(m_balls[node]);
      for (std::size_t direction = 0; direction < 4; ++direction) {
        m_successors[node][direction] = nodeOf(Apply(tables.destination[direction], from));
      }
    }
    if (Size() == end) break;
    m_layerStarts.push_back(static_cast<Node>(Size()));
  }
}

std::optional<PlacementGraph::Node> PlacementGraph::Find(StateIndex state) const {
  if (state < 0 || static_cast<std::size_t>(state) >= m_nodeOf.size()) return std::nullopt;
  const auto bit = static_cast<std::size_t>(state);
  if (((m_reached[bit / 64] >> (bit % 64)) & 1) == 0) return std::nullopt;
  return m_nodeOf[bit];
}

StateIndex PlacementGraph::State(Node node) const {
  return StateOfSquares(UnpackSquares(m_balls[node]), m_squares);
}

int PlacementGraph::Distance(Node node) const {
  // The layer holding the node: the last one that starts at or before it.
  return static_cast<int>(std::upper_bound(m_layerStarts.begin(), m_layerStarts.end(), node) -
                          m_layerStarts.begin()) -
         1;
}

PlacementGraph::Node PlacementGraph::LayerStart(int distance) const {
  const auto layer = static_cast<std::size_t>(std::max(distance, 0));
  return layer < m_layerStarts.size() ? m_layerStarts[layer] : m_layerStarts.back();
}
