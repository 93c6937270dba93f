#pragma once
// A set file's lines as they were read, so that saving the set writes back
// every line that is no level (comments, blank lines, unreadable lines) in its
// place, every unchanged level line byte for byte, and each line with the end
// it had. The set's levels fill the file's level lines in order; levels beyond
// them follow the last line, and level lines beyond the set's levels go.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "logic/level_set.h"

class SetFileLines {
 public:
  /// No file: the text is the set as the format writes it.
  SetFileLines() = default;
  /// The lines of a file's text, with what reading it found.
  SetFileLines(std::string_view text, const LevelSetReading& reading);

  /// The file's text for the set as it stands now.
  std::string Text(const LevelSet& set) const;
  /// The lines that are neither levels, headers nor blank.
  std::size_t OtherLines() const;
  /// True when the file held lines and not one of them was a level.
  bool NoLevelRead() const;

 private:
  enum class Kind { Other, Level, Title, Author };
  struct Line {
    Kind kind = Kind::Other;
    std::string text;    // without its end
    std::string ending;  // "\n", "\r\n", or empty for a last line without one
    SetLevel level;      // for a level line: the level as read
  };
  /// A header line, or nothing when the value is empty.
  static std::string HeaderLine(const std::string& key, const std::string& value);
  static std::string LevelLine(const SetLevel& level);
  /// The line end the file mostly uses, for the lines a save adds.
  std::string Newline() const;
  bool Has(Kind kind) const;

  std::vector<Line> m_lines;
  bool m_byteOrderMark = false;
  std::string m_title;  // as read
  std::string m_author;
};
