#pragma once
// Every sentence the game shows, as what it says and the numbers and words in
// it, so that each front end words it in its own language: the game window
// through its translations, the web page and the server in English
// (EnglishText). Which sentences stand where is decided once, in the
// functions that make them (StatusTexts, SetTexts, ...).

#include <string>
#include <vector>

#include "logic/reason.h"

enum class GameTextId {
  Moves,               // numbers: moves made
  SolvedIn,            // numbers: moves made
  ShortestPossible,    // numbers: the shortest solution's moves
  ShortestFromHere,    // numbers: moves still needed
  NoSolutionFromHere,  //
  Hint,                // numbers: the direction (a Direction's number)
  NoHint,              //
  SetHeading,          // numbers: level, levels; words: the level's title (may be empty)
  SetAchievement,      // numbers: fewest moves (-1: not solved), levels solved, levels
  OfferNext,           // numbers: the next level
  SetComplete,         // numbers: levels, the level offered next (0: none)
  EndOfSet,            // numbers: levels solved, levels, the first level not solved
  NoSolution,          //
  ProgressUnsaved,     //
  EndlessLevel,        // numbers: board size, the Grade's number, points; words: the level code
  SetNotOpened,        // words: quoted path; reason
  ProgressKeptAside,   // words: the name the damaged progress file is kept under
  ProgressUnreadable,  // words: the progress file's name
  LeftOut,             // numbers: lines left out, the first one's line; reason: the first one's
  NoCodeGiven,         // numbers: the size of the random level instead
  CodeUnreadable,      // numbers: the random level's size; words: quoted code; reason (may be None)
  SetUnreadable,       // numbers: the random level's size; words: quoted path; reason
  SetWithoutLevels,    // numbers: the random level's size; words: quoted path
  NeitherFileNorCode,  // numbers: the random level's size; words: quoted text; reason
  SquareReading,       // numbers: column, row (from 1), its walls as a Cell's bits, the colour of
                       //   the ball and of the hole on it (-1: none)
  TiltReading,         // numbers: the direction, then per ball, red first, NumbersPerBall numbers
                       //   (play/board_reading.h)
};

/// One sentence: what it says, with its numbers and words in the order the
/// comment of its id gives, and the reason it names. The words (titles,
/// quoted names) are shown as they are; the reason is worded as reasons are.
struct GameText {
  GameTextId id;
  std::vector<int> numbers = {};
  std::vector<std::string> words = {};
  Reason reason = {};
  friend bool operator==(const GameText&, const GameText&) = default;
};

/// The sentence in English.
std::string EnglishText(const GameText& text);

/// "playing a random 5 x 5 level instead.", the end of the notices that fall back on one.
std::string EnglishRandomLevelInstead(int size);

/// The sentences in English, joined by the separator.
std::string EnglishText(const std::vector<GameText>& texts, const std::string& separator);
