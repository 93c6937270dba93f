#include "logic/maze.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "logic/solver.h"

namespace {

/// The frame every level build shares: new cells for the size, the cells from
/// fillCells, and the pieces kept when they still fit. The caller rechecks.
// A size other than 3, 5 or 7 changes nothing: the level code, the moves and
// the solver's tables are made for those three.
template <typename FillCells>
void BuildLevel(Level& level, int size, FillCells fillCells) {
  if (!IsBoardSize(size)) return;
  FreeLevelBuffers(level);
  level.boardSize = size;
  level.cells.assign(static_cast<std::size_t>(size * size), 0);
  fillCells(level);
  if (PlacementIsInvalid(level)) SetDefaultPlacement(level);
}

void FillCleared(Level& level) {
  const int n = level.boardSize;
  std::fill(level.cells.begin(), level.cells.end(), Cell{15});
  for (int i = 0; i < n; ++i) {
    level.cells[i] &= ~OpenNorth;                // row 0
    level.cells[i * n] &= ~OpenWest;             // column 0
    level.cells[i * n + n - 1] &= ~OpenEast;     // column N-1
    level.cells[(n - 1) * n + i] &= ~OpenSouth;  // row N-1
  }
}

/// Wall numbers in ascending order: east walls of row r are 2Nr + c, south
/// walls 2Nr + N + c.
std::vector<int> WallList(int n) {
  std::vector<int> walls;
  walls.reserve(static_cast<std::size_t>(2 * n * (n - 1)));
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column + 1 < n; ++column) walls.push_back(2 * n * row + column);
    if (row + 1 < n) {
      for (int column = 0; column < n; ++column) walls.push_back(2 * n * row + n + column);
    }
  }
  return walls;
}

/// Swaps position k-1 with position |draw| mod k, for k from the length down to 2.
void ShuffleWalls(std::vector<int>& walls, const RandomSource& random) {
  for (std::size_t k = walls.size(); k >= 2; --k) {
    // Widened before the absolute value, so a draw of INT_MIN is harmless.
    const std::int64_t draw = random();
    const std::int64_t magnitude = draw < 0 ? -draw : draw;
    const auto j = static_cast<std::size_t>(magnitude % static_cast<std::int64_t>(k));
    std::swap(walls[k - 1], walls[j]);
  }
}

int FindRoot(const std::vector<int>& parent, int square) {
  while (parent[square] != square) square = parent[square];
  return square;
}

/// Points every square on the path from square up to its root, the root
/// included when includeRoot, at newRoot.
void Repoint(std::vector<int>& parent, int square, int newRoot, bool includeRoot) {
  while (parent[square] != square) {
    const int next = parent[square];
    parent[square] = newRoot;
    square = next;
  }
  if (includeRoot) parent[square] = newRoot;
}

struct Wall {
  int first;  // the left square of an east wall, the upper square of a south wall
  int second;
  bool east;
};

Wall DecodeWall(int number, int n) {
  const int q = number / n;
  const int column = number % n;
  if (q % 2 == 0) {
    const int square = (q / 2) * n + column;
    return {square, square + 1, true};
  }
  const int square = ((q - 1) / 2) * n + column;
  return {square, square + n, false};
}

void OpenWall(Level& level, const Wall& wall) {
  if (wall.east) {
    level.cells[wall.first] |= OpenEast;
    level.cells[wall.second] |= OpenWest;
  } else {
    level.cells[wall.first] |= OpenSouth;
    level.cells[wall.second] |= OpenNorth;
  }
}

// Randomised Kruskal: a wall opens exactly when its two squares are not yet
// joined, so the open passages form a spanning tree.
void FillRandom(Level& level, const RandomSource& random) {
  const int n = level.boardSize;
  std::vector<int> walls = WallList(n);
  ShuffleWalls(walls, random);
  std::fill(level.cells.begin(), level.cells.end(), Cell{0});
  std::vector<int> parent(static_cast<std::size_t>(n * n));
  for (std::size_t i = 0; i < parent.size(); ++i) parent[i] = static_cast<int>(i);
  for (int number : walls) {
    const Wall wall = DecodeWall(number, n);
    const int rootA = FindRoot(parent, wall.first);
    const int rootB = FindRoot(parent, wall.second);
    if (rootA == rootB) continue;
    Repoint(parent, wall.first, rootA, false);
    Repoint(parent, wall.second, rootA, true);
    OpenWall(level, wall);
  }
}

}  // namespace

RandomSource ClockSeededRandomSource() {
  const auto seed =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                 std::chrono::system_clock::now().time_since_epoch().count());
  // Shared, so copies of the source continue one sequence instead of repeating it.
  auto engine = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(seed));
  return [engine]() {
    std::uniform_int_distribution<int> draw(0, 32767);
    return draw(*engine);
  };
}

void ClearMazeWithoutRecheck(Level& level, int size) { BuildLevel(level, size, FillCleared); }

void ClearMaze(Level& level, int size) {
  if (!IsBoardSize(size)) return;
  ClearMazeWithoutRecheck(level, size);
  RecheckLevel(level);
}

void RandomMazeWithoutRecheck(Level& level, int size, const RandomSource& random) {
  BuildLevel(level, size, [&random](Level& built) { FillRandom(built, random); });
}

void RandomMaze(Level& level, int size, const RandomSource& random) {
  if (!IsBoardSize(size)) return;
  RandomMazeWithoutRecheck(level, size, random);
  RecheckLevel(level);
}

void ToggleWallWithoutRecheck(Level& level, int column, int row, WallKind kind) {
  const int n = level.boardSize;
  const bool onBoard = IsOnBoard(n, column, row);
  // Only inner sides are flipped: a border side must stay closed.
  if (onBoard && kind == WallKind::East && column + 1 < n) {
    level.cells[row * n + column] ^= OpenEast;
    level.cells[row * n + column + 1] ^= OpenWest;
  } else if (onBoard && kind == WallKind::South && row + 1 < n) {
    level.cells[row * n + column] ^= OpenSouth;
    level.cells[(row + 1) * n + column] ^= OpenNorth;
  }
}

void ToggleWall(Level& level, int column, int row, WallKind kind) {
  ToggleWallWithoutRecheck(level, column, row, kind);
  RecheckLevel(level);
}
