#pragma once
// The yardstick of the solver's speed: a plain breadth-first search from the
// balls with the solver's own move tables and moves (logic/ball_moves.h) and
// a visited bit set, stopping when it reaches the holes. The solver's time is
// held against this one's on every 7 x 7 level (the goal: at most 1.1 times),
// since this one never costs more than one pass over the placements a level
// can reach. Also the step that keeps the solver's kept answer out of a
// timing.
//
// The inner loop as tight as we know how: placements as keys of three 6-bit
// fields (for 7 x 7), so that the visited set is a 25 KB bitmap that stays in
// the first-level cache; the queue a flat array written whether or not the
// successor is new; balls apart (most states) move by three look-ups of
// destinations already shifted into their fields; crowded balls settle
// without branches. It expands some 114 million states a second on the
// slowest level for it (109,908 states in 0.97 ms on a loaded 2-core
// machine at 2.1 GHz), about 118 instructions a state on crowded small
// levels. Tried and dropped, since they did worse: the four successors'
// keys as one 16-byte vector from three look-ups (the lanes cost more to
// take apart than the look-ups saved: 1.11 instead of 1.03 ms), and this
// loop cut into layers like the solver's forward side (13 % more
// instructions).

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
    using Keys = ballmoves::KeyMoveTables<Bits>;
    const Keys keys(tables);
    const auto keyOfState = [&](StateIndex state) {
      return Keys::KeyOf({state % squares, state / squares % squares, state / squares / squares});
    };
    std::uint64_t* const visited = m_visited.data();
    const std::uint32_t targetKey = keyOfState(target);
    std::uint32_t* const queue = m_queue.data();
    queue[0] = keyOfState(start);
    visited[queue[0] / 64] |= std::uint64_t{1} << (queue[0] % 64);
    std::size_t tail = 1;
    for (std::size_t head = 0; head < tail; ++head) {
      ++result.statesExpanded;
      const Squares current = Keys::SquaresOf(queue[head]);
      bool found = false;
      const auto reach = [&](std::uint32_t next) {
        queue[tail] = next;
        std::uint64_t& word = visited[next / 64];
        const std::uint64_t mask = std::uint64_t{1} << (next % 64);
        tail += (word & mask) == 0;
        word |= mask;
        found = next == targetKey;
      };
      if (ballmoves::Touching(tables, current)) {
        for (std::size_t d = 0; d < 4 && !found; ++d) {
          reach(Keys::KeyOf(ballmoves::ApplyTouching(tables.destination[d], current)));
        }
      } else {
        for (std::size_t d = 0; d < 4 && !found; ++d) reach(keys.MoveApart(d, current));
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
