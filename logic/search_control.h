#pragma once
// What the long designer searches (generation to a difficulty, the hardest
// level) share with their callers: progress, found levels, cancellation and
// how a search ended. A command-line tool shows the progress on a terminal
// and sets the flag on Ctrl+C; an editor runs the search on a worker thread
// and sets the flag from its Cancel button.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

/// A level a search found: its code, its canonical code and the length of its
/// shortest solution.
struct FoundLevel {
  std::string code;
  std::string canonicalCode;
  int moves = 0;
  friend bool operator==(const FoundLevel&, const FoundLevel&) = default;
};

/// Where a search stands.
struct SearchProgress {
  int levelsFound = 0;            // levels handed to `found` so far
  std::uint64_t levelsTried = 0;  // candidate levels rated so far
  int bestMoves = -1;             // the longest shortest solution found so far; -1 before any
  std::chrono::milliseconds elapsed{0};
};

/// How a search ended.
enum class SearchEnd {
  Done,        // it did what was asked: every level, or every evaluation allowed
  OutOfReach,  // too many candidates in a row without a new level: the target is out of reach
  TimeUp,      // the time limit passed
  Cancelled,   // the cancel flag was set
};

/// The caller's side of a search; every part may be left empty. The callbacks
/// run on a searching thread, one call at a time, between two candidate levels.
struct SearchControl {
  const std::atomic<bool>* cancel = nullptr;     // the search stops soon after this turns true
  std::function<void(const FoundLevel&)> found;  // each new level, or each improvement of the best
  // Called every progressInterval, and once at the end.
  std::function<void(const SearchProgress&)> progress;
  std::chrono::milliseconds progressInterval{200};
};

/// "done", "out of reach", "time up" or "cancelled".
const char* SearchEndName(SearchEnd end);
