#pragma once
// A placement of the balls in the forms the searches of the logic keep it: a
// StateIndex (square numbers as base N*N digits, blue lowest) and three bytes
// of one word, which need no division to read.

#include <cstdint>

#include "logic/ball_moves.h"

namespace ballmoves {

inline Squares SquaresOfState(StateIndex state, int squares) {
  return {state % squares, state / squares % squares, state / squares / squares};
}

inline StateIndex StateOfSquares(const Squares& balls, int squares) {
  return (balls.red * squares + balls.green) * squares + balls.blue;
}

/// blue | green << 8 | red << 16.
inline std::uint32_t PackSquares(const Squares& balls) {
  return static_cast<std::uint32_t>(balls.blue | (balls.green << 8) | (balls.red << 16));
}

inline Squares UnpackSquares(std::uint32_t packed) {
  return {static_cast<int>(packed & 0xff), static_cast<int>((packed >> 8) & 0xff),
          static_cast<int>(packed >> 16)};
}

}  // namespace ballmoves
