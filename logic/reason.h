#pragma once
// Why a level code, a line of a set, a generation request or a set's file was
// not taken: what went wrong as an id, with the numbers and words it names.
// Each reason has one English form, here; the programs without Qt show it
// through EnglishReason, the windowed ones translate the same form (context
// "Reason"), so a form reworded here is reworded everywhere.

#include <string>
#include <vector>

enum class ReasonId {
  None,  // nothing went wrong
  // The level code.
  NoBoardSize,
  CodeEndsBeforeCoordinates,  // arguments: the number of coordinate digits
  NotACoordinate,             // arguments: the character's position, the largest coordinate
  TwoPiecesOnOneSquare,
  CodeEndsBeforeWalls,  // arguments: the number of wall digits
  NotAWallDigit,        // arguments: the character's position
  // A line of a set.
  TextAfterCode,  // arguments: the length of the code
  LineNotUtf8,
  NoCodeBeforeTab,
  TitleNotUtf8,
  UnplayablePieces,  // the code is read, but the moves cannot take its placement
  LineTooLong,
  // A generation request.
  BoardSize,
  NegativeLeastMoves,
  TooManyMoves,  // arguments: the board size, the most moves a shortest solution has
  LargestMovesBelowLeast,
  NegativeLevelCount,
  NegativeOpenWalls,
  NoAttempts,
  NegativeTimeLimit,
  NegativeLeastEffort,
  LargestEffortBelowLeast,
  // A set's file.
  NoSuchFile,
  IsAFolder,
  NotARegularFile,
  FileTooLarge,  // arguments: the largest size in MiB
  NoPlayableLevel,
  System,  // arguments: the system's own words, shown as they are
};

/// The last id, for those who go through them all.
inline constexpr ReasonId LastReasonId = ReasonId::System;

/// A reason and the arguments that stand for %1, %2 in its form.
struct Reason {
  ReasonId id = ReasonId::None;
  std::vector<std::string> arguments = {};
  friend bool operator==(const Reason&, const Reason&) = default;
};

/// The English form of the reason, with %1 and %2 where its arguments stand;
/// empty for None.
const char* ReasonForm(ReasonId id);

/// The reason in English, its arguments in their places.
std::string EnglishReason(const Reason& reason);
