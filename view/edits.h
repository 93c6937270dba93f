#pragma once
// Every change the editor makes to its level, as a value. The pointer editing
// decides the click edits; the commands name the others; the editor's document
// applies each one (EditorDocument::Apply).

#include <string>
#include <variant>

#include "logic/level.h"
#include "view/editing_state.h"

namespace edit {

/// Flips the inner wall position beside a square.
struct FlipWall {
  int column;
  int row;
  WallKind kind;
  friend bool operator==(const FlipWall&, const FlipWall&) = default;
};

/// Takes a ball or hole into the hand; the level itself is unchanged.
struct PickUp {
  CarriedPiece piece;
  friend bool operator==(const PickUp&, const PickUp&) = default;
};

/// Puts the carried piece on a square where no piece of its kind stands; the carry ends.
struct PutDown {
  CarriedPiece piece;
  int column;
  int row;
  friend bool operator==(const PutDown&, const PutDown&) = default;
};

/// Puts the carried piece on the square of another piece of its kind: the two
/// trade squares and the other one is carried on.
struct Exchange {
  CarriedPiece piece;
  int column;
  int row;
  CarriedPiece displaced;
  friend bool operator==(const Exchange&, const Exchange&) = default;
};

/// Ends a carry: the piece stays on the square its record holds.
struct EndCarry {
  friend bool operator==(const EndCarry&, const EndCarry&) = default;
};

/// A random maze of this size; the same size keeps the pieces, another size
/// starts from the default placement.
struct BoardSize {
  int size;
  friend bool operator==(const BoardSize&, const BoardSize&) = default;
};

/// Every inner wall opened; the pieces stay.
struct Clear {
  friend bool operator==(const Clear&, const Clear&) = default;
};

/// A new random maze of the same size; the pieces stay.
struct Random {
  friend bool operator==(const Random&, const Random&) = default;
};

/// Top and bottom change places.
struct XFlip {
  friend bool operator==(const XFlip&, const XFlip&) = default;
};

/// Left and right change places.
struct YFlip {
  friend bool operator==(const YFlip&, const YFlip&) = default;
};

/// A quarter turn clockwise.
struct Rotate {
  friend bool operator==(const Rotate&, const Rotate&) = default;
};

/// The balls move one move along a shortest solution.
struct SolutionStep {
  friend bool operator==(const SolutionStep&, const SolutionStep&) = default;
};

/// A level code typed or pasted by the user: read all or nothing, then the
/// level is rechecked whether or not the text was taken.
struct ReadCode {
  std::string text;
  friend bool operator==(const ReadCode&, const ReadCode&) = default;
};

}  // namespace edit

/// What a click does: nothing (std::monostate) or one of the pointer's edits.
using ClickEdit = std::variant<std::monostate, edit::FlipWall, edit::PickUp, edit::PutDown, edit::Exchange>;

/// Every edit the document applies.
using Edit = std::variant<edit::FlipWall, edit::PickUp, edit::PutDown, edit::Exchange, edit::EndCarry,
                          edit::BoardSize, edit::Clear, edit::Random, edit::XFlip, edit::YFlip,
                          edit::Rotate, edit::SolutionStep, edit::ReadCode>;
