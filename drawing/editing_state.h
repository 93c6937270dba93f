#pragma once
// What the pointer is doing: the carried piece and the hovered square or wall.
// The editor's document changes it; the drawing reads it.

#include <cstdint>

#include "logic/level.h"

/// What the hand holds. The numbers are those the editing state is known by:
/// 1 to 3 the ball of colour number value - 1, 4 to 6 the hole of colour number value - 4.
enum class CarriedPiece : std::int8_t {
  Nothing = 0,
  BlueBall = 1,
  GreenBall = 2,
  RedBall = 3,
  BlueHole = 4,
  GreenHole = 5,
  RedHole = 6,
};

constexpr CarriedPiece CarriedBall(Colour colour) {
  return static_cast<CarriedPiece>(1 + ColourNumber(colour));
}
constexpr CarriedPiece CarriedHole(Colour colour) {
  return static_cast<CarriedPiece>(4 + ColourNumber(colour));
}
constexpr bool IsBall(CarriedPiece piece) {
  return piece >= CarriedPiece::BlueBall && piece <= CarriedPiece::RedBall;
}
constexpr bool IsHole(CarriedPiece piece) {
  return piece >= CarriedPiece::BlueHole && piece <= CarriedPiece::RedHole;
}
/// The colour of a ball or hole in the hand.
constexpr Colour ColourOf(CarriedPiece piece) {
  return static_cast<Colour>((static_cast<int>(piece) - 1) % 3);
}

struct EditingState {
  CarriedPiece CarriedItem = CarriedPiece::Nothing;
  WallKind HoverKind = WallKind::None;  // always None while something is carried
  std::int32_t HoverColumn = -1;        // the hovered square, -1 when none;
  std::int32_t HoverRow = -1;           // always on the current board
  std::int32_t PointerX = 0;            // last pointer position, view pixels
  std::int32_t PointerY = 0;
};

constexpr bool IsCarrying(const EditingState& s) { return s.CarriedItem != CarriedPiece::Nothing; }
constexpr bool CarriesBall(const EditingState& s) { return IsBall(s.CarriedItem); }
constexpr bool CarriesHole(const EditingState& s) { return IsHole(s.CarriedItem); }
constexpr bool HasHoveredSquare(const EditingState& s) { return s.HoverColumn >= 0; }
