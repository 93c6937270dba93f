#pragma once
// The player's progress as one record and as the text of the progress file:
// the fewest moves per level, by canonical code, and the level played last.
// Two games running at once each merge the file's record into their own
// before they write it, so neither loses what the other kept.
//
// The file's text, UTF-8, one entry per line:
//   # Korvalo progress 1
//   solved<TAB>CANONICAL CODE<TAB>FEWEST MOVES
//   last<TAB>CANONICAL CODE
// Lines may come in any order; a level's fewest moves appear once.

#include <map>
#include <string>
#include <string_view>
#include <vector>

/// The first line of every progress file.
inline constexpr std::string_view ProgressHeader = "# Korvalo progress 1";

struct ProgressRecord {
  std::map<std::string, int> fewestMoves;  // by canonical code; moves >= 0
  std::string lastPlayed;                  // canonical code; empty when none
  friend bool operator==(const ProgressRecord&, const ProgressRecord&) = default;
};

/// A progress file's text read: what could be read, and the lines that could
/// not (counted from 1; line 1 when the header is missing).
struct ProgressReading {
  ProgressRecord record;
  std::vector<int> badLines;
  /// The text is not wholly a progress file: it must be kept aside, not written over.
  bool Damaged() const { return !badLines.empty(); }
};

/// Reads the text; an empty text is an empty record, not damaged.
ProgressReading ReadProgress(std::string_view text);

/// The text of the record, levels in the order of their codes.
std::string WriteProgress(const ProgressRecord& record);

/// Takes `from`'s achievements into `into`: for each level the fewer moves;
/// `from`'s last level played when it names one.
void MergeProgress(ProgressRecord& into, const ProgressRecord& from);

/// Keeps moves as the level's fewest when they are fewer than the record
/// holds, or the first; true when the record changed.
bool KeepFewestMoves(ProgressRecord& record, const std::string& canonicalCode, int moves);
