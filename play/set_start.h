#pragma once
// How a game of a level set begins: the command line names a file, read
// here, or holds a level code as before.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "logic/maze.h"
#include "logic/reason.h"
#include "play/game_start.h"
#include "play/set_progress.h"

/// Largest set file read: far more levels than anyone plays, and a bound on
/// what a wrong file name can make the game read.
inline constexpr std::size_t MaxSetFileBytes = 4 * 1024 * 1024;

/// A set file's text, or why there is none.
struct SetFileReading {
  std::optional<std::string> text;
  Reason reason;  // why there is no text
};

/// Reads a whole regular file of at most MaxSetFileBytes.
SetFileReading ReadSetFile(const std::string& path);

/// Reads the command line as OpenGame does, except that a text naming an
/// existing file (or folder) is a level set, whose levels are played in order
/// with progress kept in `progress`; followed by EditorSuffix (as the
/// editor's Test Set passes it), the set is the editor's, as its Test
/// command's level is. A set that cannot be read or holds no
/// playable level gives a random DefaultBoardSize level and a notice that says
/// why; a text that is neither a file nor a level code says both.
GameStart OpenGameOrSet(const std::vector<std::string>& arguments, const RandomSource& random,
                        std::shared_ptr<ProgressStore> progress);
