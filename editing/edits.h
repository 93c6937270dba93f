#pragma once
// Every change the editor makes to its level, as a value. The pointer editing
// decides the click edits; the commands name the others; the editor's document
// applies each one (EditorDocument::Apply).

#include <cstdint>
#include <string>
#include <variant>

#include "drawing/editing_state.h"
#include "logic/level.h"

/// Where a level put on the board as a whole came from.
enum class OriginKind : std::uint8_t {
  None,      // nowhere in particular: the first level, or a typed code
  SetLevel,  // a level of the designer's set
  Generated,
  Pasted,
};

namespace edit {

/// Flips the inner wall position beside a square.
struct FlipWall {
  int column;
  int row;
  WallKind kind;
};

/// Takes a ball or hole into the hand; the level itself is unchanged.
struct PickUp {
  CarriedPiece piece;
};

/// Puts the carried piece on a square where no piece of its kind stands; the carry ends.
struct PutDown {
  CarriedPiece piece;
  int column;
  int row;
};

/// Puts the carried piece on the square of another piece of its kind: the two
/// trade squares and the other one is carried on.
struct Exchange {
  CarriedPiece piece;
  int column;
  int row;
  CarriedPiece displaced;
};

/// Ends a carry: the piece stays on the square its record holds.
struct EndCarry {};

/// A random maze of this size; the same size keeps the pieces, another size
/// starts from the default placement.
struct BoardSize {
  int size;
};

/// Every inner wall opened; the pieces stay.
struct Clear {};

/// A new random maze of the same size; the pieces stay.
struct Random {};

/// Top and bottom change places.
struct XFlip {};

/// Left and right change places.
struct YFlip {};

/// A quarter turn clockwise.
struct Rotate {};

/// The balls move one move along a shortest solution.
struct SolutionStep {};

/// A level code typed or pasted by the user: read all or nothing, then the
/// level is rechecked whether or not the text was taken.
struct ReadCode {
  std::string text;
};

/// A whole level put in the place of the current one (opened from a set,
/// generated, pasted after its code was read); it is rechecked, and the board
/// remembers where it came from.
struct ReplaceLevel {
  Level level;
  OriginKind from = OriginKind::None;
  std::uint64_t setLevelId = 0;  // for a set level: the set's id of it
};

}  // namespace edit

/// What a click does: nothing (std::monostate) or one of the pointer's edits.
using ClickEdit =
    std::variant<std::monostate, edit::FlipWall, edit::PickUp, edit::PutDown, edit::Exchange>;

/// Every edit the document applies.
using Edit =
    std::variant<edit::FlipWall, edit::PickUp, edit::PutDown, edit::Exchange, edit::EndCarry,
                 edit::BoardSize, edit::Clear, edit::Random, edit::XFlip, edit::YFlip, edit::Rotate,
                 edit::SolutionStep, edit::ReadCode, edit::ReplaceLevel>;
