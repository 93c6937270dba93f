#pragma once
// A level set read from a stream a line at a time, with the tool's bounded
// lines: the same levels, titles and bad lines as ReadLevelSet finds in the
// whole text, without holding more than one line, and each answer ready
// before the next line is read.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "cli/io/line_reader.h"
#include "logic/reason.h"

/// A level line of the set, a line that should have been one and is not, a
/// header line that cannot name the set, or the end of the stream.
struct SetEntry {
  enum class Kind {
    Level,          // code and title as written
    Invalid,        // code is the text as written, reason says why it is no level
    InvalidHeader,  // code is the header line as written, reason says what is wrong
    End,            // no more lines
    ReadError,      // error holds the error number; no more lines
  };
  Kind kind = Kind::End;
  std::size_t line = 0;  // counted from 1
  std::string code;
  std::string title;
  Reason reason;
  int error = 0;
};

class SetStream {
 public:
  explicit SetStream(ReadBytes read);

  /// Called before every read, e.g. to flush the answers so far to a terminal.
  void BeforeEachRead(std::function<void()> hook) { m_lines.BeforeEachRead(std::move(hook)); }

  /// The next level, invalid line or invalid header line; blank lines,
  /// comments and the header are passed over. A line over LineLimit bytes is
  /// invalid ("line too long", its first bytes followed by "..."), as a header
  /// when it is a comment that names the set, and passed over when it is a
  /// comment that names nothing.
  SetEntry Next();

  /// The set's title and author, as far as the lines read so far name them.
  const std::string& Title() const { return m_title; }
  const std::string& Author() const { return m_author; }

 private:
  std::optional<SetEntry> Read(std::size_t number, std::string_view text);
  std::optional<SetEntry> ReadTooLong(std::size_t number, std::string_view start);
  std::string HeaderSoFar() const;

  LineReader m_lines;
  std::string m_title;
  std::string m_author;
  bool m_levelSeen = false;  // header lines count only before the first level
};

/// Bytes of a too long line that its invalid entry keeps, before "...".
inline constexpr std::size_t TooLongShown = 32;
