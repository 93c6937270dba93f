#pragma once
// The yardstick of the solver's speed: a plain breadth-first search from the
// balls with move tables and a visited bit set, stopping when it reaches the
// holes. Every search here must be about as fast as this one on every level,
// since this one never costs more than one pass over the placements a level
// can reach. Also the step that keeps the solver's kept answer out of a timing.

#include <array>
#include <cstdint>
#include <vector>

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
    const int n = level.boardSize;
    const int squares = n * n;
    BuildTables(level);
    const auto count = static_cast<std::size_t>(squares) * squares * squares;
    m_visited.assign((count + 63) / 64, 0);
    if (m_queue.size() < count + 1) m_queue.resize(count + 1);
    ForwardResult result;
    if (start == target) {
      result.found = true;
      return result;
    }
    const auto index = [squares](int blue, int green, int red) {
      return static_cast<std::uint32_t>((red * squares + green) * squares + blue);
    };
    const auto insert = [this](std::uint32_t state) {
      std::uint64_t& word = m_visited[state / 64];
      const std::uint64_t mask = std::uint64_t{1} << (state % 64);
      const bool isNew = (word & mask) == 0;
      word |= mask;
      return isNew;
    };
    const auto targetIndex = static_cast<std::uint32_t>(target);
    insert(static_cast<std::uint32_t>(start));
    m_queue[0] = Pack(start % squares, start / squares % squares, start / squares / squares);
    std::size_t tail = 1;
    for (std::size_t head = 0; head < tail; ++head) {
      ++result.statesExpanded;
      const std::uint32_t packed = m_queue[head];
      const int blue = packed & 0xff;
      const int green = (packed >> 8) & 0xff;
      const int red = packed >> 16;
      for (const auto& destination : m_destination) {
        int b = destination[blue];
        int g = destination[green];
        int r = destination[red];
        // Mostly no ball heads for a square another ball holds.
        if ((b == green) | (b == red) | (g == blue) | (g == red) | (r == blue) | (r == green)) {
          Settle(blue, green, red, b, g, r);
        }
        const std::uint32_t next = index(b, g, r);
        if (next == targetIndex) {
          result.found = true;
          return result;
        }
        m_queue[tail] = Pack(b, g, r);
        tail += insert(next);
      }
    }
    return result;
  }

 private:
  static std::uint32_t Pack(int blue, int green, int red) {
    return static_cast<std::uint32_t>(blue | (green << 8) | (red << 16));
  }

  /// A ball heading for a square that a ball staying behind holds stays too.
  static void Settle(int blue, int green, int red, int& b, int& g, int& r) {
    for (int round = 0; round < 2; ++round) {
      if (b == green && g == green) b = blue;
      if (b == red && r == red) b = blue;
      if (g == blue && b == blue) g = green;
      if (g == red && r == red) g = green;
      if (r == blue && b == blue) r = red;
      if (r == green && g == green) r = red;
    }
  }

  void BuildTables(const Level& level) {
    const int n = level.boardSize;
    for (int square = 0; square < n * n; ++square) {
      const Cell cell = level.cells[static_cast<std::size_t>(square)];
      const auto to = [&](Cell bit, int target) {
        return static_cast<std::uint8_t>((cell & bit) ? target : square);
      };
      m_destination[0][static_cast<std::size_t>(square)] = to(OpenNorth, square - n);
      m_destination[1][static_cast<std::size_t>(square)] = to(OpenSouth, square + n);
      m_destination[2][static_cast<std::size_t>(square)] = to(OpenWest, square - 1);
      m_destination[3][static_cast<std::size_t>(square)] = to(OpenEast, square + 1);
    }
  }

  std::array<std::array<std::uint8_t, 49>, 4> m_destination{};
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
