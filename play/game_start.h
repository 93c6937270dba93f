#pragma once
// How a game begins: the command line read as a level code (as the editor's
// Test command passes it, or typed by hand), or a random level that can be solved.

#include <string>
#include <string_view>
#include <vector>

#include "logic/level.h"
#include "logic/maze.h"
#include "play/set_play.h"

/// The editor's Test command puts this directly after the level code.
inline constexpr std::string_view EditorSuffix = "Level Editor";

/// Size of the random level played when no usable level is given.
inline constexpr int DefaultBoardSize = 5;

/// What the command line asks for.
struct GameParameter {
  std::string code;         // the level code without surrounding blanks; empty when none
  bool fromEditor = false;  // the text ended with EditorSuffix
};

/// Joins the arguments with single blanks, since the editor's one text may
/// arrive split at its blank, and takes EditorSuffix off the end.
GameParameter ParseParameterText(const std::vector<std::string>& arguments);

/// A random maze of the given size (3, 5 or 7) whose holes the balls can
/// reach, preferring levels that take at least `size` moves; always returns,
/// whatever the source draws.
Level RandomSolvableLevel(int size, const RandomSource& random);

/// The level a game begins with, and what the window says about it.
struct GameStart {
  Level level;                   // consistent, with its buffers; may have no solution
  bool editorLevel = false;      // the level, or the set, is the one the editor passed
  std::vector<GameText> notice;  // how the level came about, when worth saying; else empty
  std::optional<SetPlay> set = std::nullopt;  // the set played, whose current level is `level`
};

/// A text as a notice quotes it: in double quotes, control characters as '?',
/// cut short after 40 characters.
std::string QuotedForNotice(std::string_view text);

/// The end of every notice that falls back on a random level, in English.
std::string RandomLevelInstead();

/// Reads the command line: a readable code is played as given, even without a
/// solution; no code gives a random level; an unreadable one gives a random
/// DefaultBoardSize level and a notice that says so.
GameStart OpenGame(const std::vector<std::string>& arguments, const RandomSource& random);
