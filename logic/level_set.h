#pragma once
// A set of levels as plain text, UTF-8:
//
//   # title: First steps
//   # author: A. Designer
//   # any other line starting with '#' is a comment
//   5020100030201ffbfeffbfe55<TAB>The corridor
//   3001122221100bba0
//
// One level per line as its code, optionally followed by a tab and a title:
// the fields are split at the first tab, so a line that starts with a tab has
// an empty code. "# title: ..." and "# author: ..." before the first level
// name the set. Blank lines, CR LF line ends and a byte order mark at the
// start are accepted.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "logic/canonical_code_set.h"
#include "logic/level.h"
#include "logic/reason.h"

/// A level line of a set.
struct SetLevel {
  int line = 0;       // counted from 1
  std::string code;   // as written, without the blanks around it
  std::string title;  // without the blanks around it; empty when none
  friend bool operator==(const SetLevel&, const SetLevel&) = default;
};

struct LevelSet {
  std::string title;
  std::string author;
  std::vector<SetLevel> levels;
  friend bool operator==(const LevelSet&, const LevelSet&) = default;
};

/// A line that should have been a level and is not, or a header line that
/// names the set and cannot.
struct SetLineError {
  int line = 0;
  std::string text;     // the code as written; for a header, the line
  Reason reason;        // the code reader's reason, or why the line is not a level
  bool header = false;  // a "# title:" or "# author:" line, not a level
  friend bool operator==(const SetLineError&, const SetLineError&) = default;
};

struct LevelSetReading {
  LevelSet set;
  std::vector<SetLineError> errors;  // in line order
};

/// True when the line is a comment: its code field, before the first tab,
/// starts with '#' after blanks. The line has no line end.
bool IsCommentLine(std::string_view line);

/// The value of a "# key: value" header line (the key in lower case, matched
/// in any case); none when the line is no such comment. The line has no line end.
std::optional<std::string_view> SetHeaderValue(std::string_view line, std::string_view key);

/// The set a text holds, with every line that is not a valid level. A level
/// line must hold exactly one code: text after it without a tab is an error.
LevelSetReading ReadLevelSet(std::string_view text);

/// The text of a set, which reads back as the same set (line numbers aside)
/// when its codes are valid. Tabs and line breaks in the titles and the author
/// become blanks, and blanks around them are dropped, since the format cannot
/// hold them.
std::string WriteLevelSet(const LevelSet& set);

enum class SetProblemKind { Invalid, InvalidHeader, Unsolvable, Duplicate };

/// Something wrong with one line of a set.
struct SetProblem {
  SetProblemKind kind = SetProblemKind::Invalid;
  int line = 0;
  int firstLine = 0;  // for a duplicate, the line of the first level with its canonical code
  std::string code;   // the code as written; for a header, the line
  Reason reason;      // for an invalid line or header, why
  friend bool operator==(const SetProblem&, const SetProblem&) = default;
};

/// The invalid lines and headers, the levels without a solution and the
/// levels whose canonical code an earlier level of the set already has, in
/// line order.
std::vector<SetProblem> CheckLevelSet(const LevelSetReading& reading);

/// The checks of CheckLevelSet on one level line at a time, for sets read as a
/// stream: it keeps only the canonical codes met so far, packed.
class SetLevelChecker {
 public:
  /// The problems of the set's next level line, in the order CheckLevelSet
  /// gives them.
  std::vector<SetProblem> Check(const SetLevel& entry);

 private:
  CanonicalCodeSet m_seen;
  Level m_level;
};

/// One line for a problem, such as "line 7: CODE is the same level as line 3,
/// up to turns and mirrors".
std::string DescribeSetProblem(const SetProblem& problem);
