#pragma once
// Distances between placements of the balls on one board: a breadth-first
// search from one placement gives the number of moves to every placement it
// can reach, and a search backward from one placement the number of moves
// from every placement that can reach it. One search thus rates every choice
// of holes for given balls, or every choice of balls for given holes.
//
// The searches keep their buffers in the object between calls; each object
// belongs to one thread.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "logic/level.h"

class PlacementDistances {
 public:
  /// No depth limit.
  static constexpr int Unlimited = -1;

  /// Moves from start to every placement it reaches on level's board, up to
  /// depthLimit moves. start is a StateIndex of three distinct squares.
  void SearchFrom(const Level& level, StateIndex start, int depthLimit = Unlimited);

  /// Moves to target from every placement that reaches it, up to depthLimit.
  void SearchTo(const Level& level, StateIndex target, int depthLimit = Unlimited);

  /// The moves between the searched placement and state; -1 when not reached.
  // The first call after a search fills a table of every distance.
  int Distance(StateIndex state) const;

  /// The largest distance reached; -1 before the first search.
  int Depth() const { return static_cast<int>(m_layerStarts.size()) - 2; }

  /// How many placements lie from least to most moves away (most < 0: no upper end).
  std::size_t CountWithin(int least, int most) const;

  struct Placement {
    StateIndex state;
    int moves;
  };

  /// The n-th of those placements in the order the search reached them; n < CountWithin.
  Placement PlacementWithin(int least, int most, std::size_t n) const;

  /// Every placement reached, the searched one first, in order of distance.
  std::size_t ReachedCount() const { return m_layerStarts.back(); }

 private:
  template <unsigned Bits, typename ExpandLayer>
  void Search(const Level& level, StateIndex origin, int depthLimit, ExpandLayer expand);
  std::size_t LayerStart(int distance) const;
  StateIndex StateAt(std::size_t position) const;

  int m_squares = 0;                          // N * N of the last board searched
  unsigned m_bits = 0;                        // the width of a square's field in a key
  std::vector<std::uint64_t> m_reached;       // one bit per key
  std::vector<std::uint32_t> m_states;        // every placement reached, layer by layer, as
                                              // keys: blue | green << m_bits | red << 2 m_bits
  std::vector<std::size_t> m_layerStarts{0};  // where each layer begins in m_states, then the end
  mutable std::vector<std::uint16_t> m_distance;  // per StateIndex, filled on the first Distance()
};
