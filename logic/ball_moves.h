#pragma once
// The move rule on square numbers, for the searches of the logic: a move is
// one table look-up per ball and a few comparisons, instead of decoding,
// sorting and encoding Piece records. It gives the same outcome as the moves
// of logic/moves.h; the tests hold the two against each other.

#include <array>
#include <cassert>
#include <cstdint>

#include "logic/level.h"

// For the searches in solver.cpp and placement_distances.cpp, and for the
// solver's yardstick in bench/forward_search.h.
namespace ballmoves {

constexpr int MaxSquares = 49;
using SquareTable = std::array<std::uint8_t, MaxSquares>;
constexpr std::uint8_t NoSquare = 0xff;

/// Per direction, the square a ball moves to (its own when a wall is in the
/// way), and the square a ball must have come from to arrive on a square by
/// moving (NoSquare when none can); per square, its open neighbours as bits.
struct MoveTables {
  std::array<SquareTable, 4> destination{};
  std::array<SquareTable, 4> source{};
  std::array<std::uint64_t, MaxSquares> neighbours{};
};

inline MoveTables BuildMoveTables(const Level& level) {
  const int n = level.boardSize;
  assert(n * n <= MaxSquares && level.cells.size() == static_cast<std::size_t>(n * n));
  MoveTables tables;
  for (auto& sources : tables.source) sources.fill(NoSquare);
  for (int square = 0; square < n * n; ++square) {
    const Cell cell = level.cells[square];
    const auto to = [&](Cell bit, int target) {
      return static_cast<std::uint8_t>((cell & bit) ? target : square);
    };
    tables.destination[0][square] = to(OpenNorth, square - n);
    tables.destination[1][square] = to(OpenSouth, square + n);
    tables.destination[2][square] = to(OpenWest, square - 1);
    tables.destination[3][square] = to(OpenEast, square + 1);
    for (std::size_t direction = 0; direction < 4; ++direction) {
      const std::uint8_t target = tables.destination[direction][square];
      if (target == square) continue;
      tables.source[direction][target] = static_cast<std::uint8_t>(square);
      tables.neighbours[square] |= std::uint64_t{1} << target;
    }
  }
  return tables;
}

/// Squares of the blue, green and red ball.
struct Squares {
  int blue;
  int green;
  int red;
  friend bool operator==(const Squares&, const Squares&) = default;
};

// A ball heads for a square another ball stands on: it stays when that ball
// stays. The balls ahead decide first, and a chain is at most three balls
// long, so two rounds settle every ball. Without branches: on crowded levels
// which way each test goes is close to a coin toss, and mispredicted branches
// cost more than the few operations done in vain.
inline Squares Settle(const Squares& from, int blue, int green, int red) {
  bool blueStays = blue == from.blue;
  bool greenStays = green == from.green;
  bool redStays = red == from.red;
  for (int round = 0; round < 2; ++round) {
    blueStays |= ((blue == from.green) & greenStays) | ((blue == from.red) & redStays);
    greenStays |= ((green == from.blue) & blueStays) | ((green == from.red) & redStays);
    redStays |= ((red == from.blue) & blueStays) | ((red == from.green) & greenStays);
  }
  return {blueStays ? from.blue : blue, greenStays ? from.green : green, redStays ? from.red : red};
}

/// The outcome of a move when no ball has another as its open neighbour:
/// every ball takes its step or stays at a wall.
inline Squares ApplyApart(const SquareTable& destination, const Squares& from) {
  return {destination[from.blue], destination[from.green], destination[from.red]};
}

/// The outcome of a move when some ball may have another as its open
/// neighbour: every ball takes its step, then those blocked stay.
inline Squares ApplyTouching(const SquareTable& destination, const Squares& from) {
  return Settle(from, destination[from.blue], destination[from.green], destination[from.red]);
}

/// True when some ball has another as its open neighbour, so that a move may
/// take a ball to a square another one stands on.
inline bool Touching(const MoveTables& tables, const Squares& balls) {
  const std::uint64_t blueNeighbours = tables.neighbours[balls.blue];
  return ((blueNeighbours >> balls.green) | (blueNeighbours >> balls.red) |
          (tables.neighbours[balls.green] >> balls.red)) &
         1;
}

// The same outcome as moving the balls front to back: a ball stays when a wall
// is in its way or when the square ahead holds a ball that stays. Small, so
// that the searches' inner loops take it in.
inline Squares Apply(const SquareTable& destination, const Squares& from) {
  const int blue = destination[from.blue];
  const int green = destination[from.green];
  const int red = destination[from.red];
  // Mostly no ball heads for a square another ball stands on, and every ball
  // simply takes its one step.
  const bool meeting = (blue == from.green) | (blue == from.red) | (green == from.blue) |
                       (green == from.red) | (red == from.blue) | (red == from.green);
  if (!meeting) return {blue, green, red};
  return Settle(from, blue, green, red);
}

/// The move tables for placements packed as keys: the squares of the blue,
/// green and red ball in fields of Bits bits, blue lowest. Per direction and
/// field, the destination of every square already in its field, so that a
/// move of balls standing apart is three look-ups and two ors.
template <unsigned Bits>
struct KeyMoveTables {
  static constexpr std::uint32_t FieldMask = (1u << Bits) - 1;
  std::array<std::array<std::array<std::uint32_t, 1u << Bits>, 3>, 4> field{};

  explicit KeyMoveTables(const MoveTables& tables) {
    for (std::size_t direction = 0; direction < 4; ++direction) {
      for (std::size_t square = 0; square < MaxSquares && square <= FieldMask; ++square) {
        for (unsigned ball = 0; ball < 3; ++ball) {
          field[direction][ball][square] = std::uint32_t{tables.destination[direction][square]}
                                           << (Bits * ball);
        }
      }
    }
  }
  static Squares SquaresOf(std::uint32_t key) {
    return {static_cast<int>(key & FieldMask), static_cast<int>((key >> Bits) & FieldMask),
            static_cast<int>(key >> (2 * Bits))};
  }
  static std::uint32_t KeyOf(const Squares& balls) {
    return static_cast<std::uint32_t>(balls.blue) |
           static_cast<std::uint32_t>(balls.green) << Bits |
           static_cast<std::uint32_t>(balls.red) << (2 * Bits);
  }
  /// The key after a move of balls that stand apart.
  std::uint32_t MoveApart(std::size_t direction, const Squares& from) const {
    const auto& fields = field[direction];
    return fields[0][from.blue] | fields[1][from.green] | fields[2][from.red];
  }
};

}  // namespace ballmoves
