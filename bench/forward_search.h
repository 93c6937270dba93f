#pragma once
// The yardstick of the solver's speed: a plain breadth-first search from the
// balls with the solver's own move tables and moves (logic/ball_moves.h) and
// a visited bit set, stopping when it reaches the holes. The solver must cost
// at most a fifth more than this one on every level, since this one never
// costs more than one pass over the placements a level can reach. Also the
// step that keeps the solver's kept answer out of a timing.

#include <cstdint>
#include <vector>

#include "logic/ball_moves.h"
#include "logic/maze.h"
#include "logic/moves.h"
#include "logic/solver.h"

namespace yardstick {

struct ForwardResult {
  bool found = false;
  std::int64_t statesExpanded = 0;
};

class ForwardSearch {
 public:
  /// Searches from the balls to the holes of the level; encodes both.
  ForwardResult Run(Level& level) {
    const StateIndex start = EncodeState(level, level.balls);
    const StateIndex target = EncodeState(level, level.holes);
    switch (level.boardSize) {
      case 3: return Search<4>(level, start, target);
      case 5: return Search<5>(level, start, target);
      default: return Search<6>(level, start, target);
    }
  }

 private:
  /// The search on placements packed as the solver packs them: the squares of
  /// the blue, green and red ball in fields of Bits bits.
  template <unsigned Bits>
  ForwardResult Search(const Level& level, StateIndex start, StateIndex target) {
    using ballmoves::Squares;
    const int squares = level.boardSize * level.boardSize;
    const ballmoves::MoveTables tables = ballmoves::BuildMoveTables(level);
    const std::size_t keyCount = static_cast<std::size_t>(squares) << (2 * Bits);
    m_visited.assign((keyCount + 63) / 64, 0);
    const auto placements = static_cast<std::size_t>(BallPlacements(level.boardSize));
    if (m_queue.size() < placements + 1) m_queue.resize(placements + 1);
    ForwardResult result;
    if (start == target) {
      result.found = true;
      return result;
    }
    const auto keyOf = [](const Squares& balls) {
      return static_cast<std::uint32_t>(balls.blue) |
             static_cast<std::uint32_t>(balls.green) << Bits |
             static_cast<std::uint32_t>(balls.red) << (2 * Bits);
    };
    const auto keyOfState = [&](StateIndex state) {
      return keyOf({state % squares, state / squares % squares, state / squares / squares});
    };
    std::uint64_t* const visited = m_visited.data();
    const auto insert = [visited](std::uint32_t key) {
      std::uint64_t& word = visited[key / 64];
      const std::uint64_t mask = std::uint64_t{1} << (key % 64);
      const bool isNew = (word & mask) == 0;
      word |= mask;
      return isNew;
    };
    constexpr std::uint32_t Mask = (1u << Bits) - 1;
    const std::uint32_t targetKey = keyOfState(target);
    std::uint32_t* const queue = m_queue.data();
    queue[0] = keyOfState(start);
    insert(queue[0]);
    std::size_t tail = 1;
    for (std::size_t head = 0; head < tail; ++head) {
      ++result.statesExpanded;
      const std::uint32_t key = queue[head];
      const Squares current = {static_cast<int>(key & Mask), static_cast<int>((key >> Bits) & Mask),
                               static_cast<int>(key >> (2 * Bits))};
      const auto reach = [&](const Squares& next) {
        const std::uint32_t nextKey = keyOf(next);
        queue[tail] = nextKey;
        tail += insert(nextKey);
        return nextKey == targetKey;
      };
      bool found = false;
      // Mostly the balls stand apart, and each move is three look-ups.
      if (ballmoves::Touching(tables, current)) {
        for (std::size_t d = 0; d < 4 && !found; ++d) {
          found = reach(ballmoves::Apply(tables.destination[d], current));
        }
      } else {
        for (std::size_t d = 0; d < 4 && !found; ++d) {
          found = reach(ballmoves::ApplyApart(tables.destination[d], current));
        }
      }
      if (found) {
        result.found = true;
        return result;
      }
    }
    return result;
  }

  std::vector<std::uint64_t> m_visited;
  std::vector<std::uint32_t> m_queue;
};

/// Asks the solver about a small level, so that the next question about the
/// level timed finds no answer kept and searches.
inline void AskAboutAnotherLevel() {
  static Level small = [] {
    Level level;
    ClearMaze(level, 3);
    return level;
  }();
  SolutionExists(small);
}

}  // namespace yardstick
