#pragma once
// Where things stand in the 325 x 359 board image, for a board of N squares a
// side. The 7 x 7 layout is shifted by BoardOffset so smaller boards stay centred.

inline constexpr int ViewWidth = 325;
inline constexpr int ViewHeight = 359;
inline constexpr int Pitch = 42;       // from one square to the next
inline constexpr int SquareSize = 31;  // floor of one square
inline constexpr int GapSize = 11;     // a wall gap, and a wall bar's thickness
inline constexpr int BallSize = 27;

constexpr int BoardOffset(int n) { return 21 * (7 - n); }
constexpr int FloorOrigin(int n) { return BoardOffset(n) + 21; }
/// Width and height of the floor area, which ends with the last square.
constexpr int FloorExtent(int n) { return Pitch * n - GapSize; }
/// The first pixel row below the frame, where the lamp and label stand.
constexpr int StatusTop(int n) { return 315 - Pitch * ((7 - n) / 2); }
/// Left (or top) pixel of the square in this column (or row).
constexpr int SquareOrigin(int n, int index) { return FloorOrigin(n) + Pitch * index; }

/// True when the view point lies on the floor area of an N x N board.
constexpr bool IsOnFloor(int n, int x, int y) {
  const int fx = x - FloorOrigin(n);
  const int fy = y - FloorOrigin(n);
  return fx >= 0 && fy >= 0 && fx < FloorExtent(n) && fy < FloorExtent(n);
}
