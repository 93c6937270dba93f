#pragma once
// What the pointer is doing: the carried piece and the hovered square or wall.
// The pointer editing writes it; the drawing reads it.

#include <cstdint>

/// CarriedItem values: 0 nothing, 1 to 3 the ball of colour value - 1,
/// 4 to 6 the hole of colour value - 4.
inline constexpr std::int8_t NothingCarried = 0;
inline constexpr std::int8_t FirstBallItem = 1;
inline constexpr std::int8_t FirstHoleItem = 4;

/// HoverKind values.
inline constexpr std::uint8_t HoverNone = 0;
inline constexpr std::uint8_t HoverEastWall = 1;
inline constexpr std::uint8_t HoverSouthWall = 2;

struct EditingState {
  std::int8_t CarriedItem = NothingCarried;
  std::uint8_t HoverKind = HoverNone;  // always HoverNone while something is carried
  std::int32_t HoverColumn = -1;       // the hovered square, -1 when none;
  std::int32_t HoverRow = -1;          // always on the current board
  std::int32_t PointerX = 0;           // last pointer position, view pixels
  std::int32_t PointerY = 0;
};

constexpr bool CarriesBall(const EditingState& s) { return s.CarriedItem >= 1 && s.CarriedItem <= 3; }
constexpr bool CarriesHole(const EditingState& s) { return s.CarriedItem >= 4 && s.CarriedItem <= 6; }
constexpr bool HasHoveredSquare(const EditingState& s) { return s.HoverColumn >= 0; }
