#include "cli/set_stream.h"

#include <utility>

#include "logic/level_set.h"

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

/// A comment line of the set (after a byte order mark on the first line).
bool IsComment(std::size_t number, std::string_view text) {
  if (number == 1 && text.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
    text.remove_prefix(ByteOrderMark.size());
  }
  return IsCommentLine(text);
}

SetEntry Invalid(std::size_t number, std::string text, Reason reason,
                 SetEntry::Kind kind = SetEntry::Kind::Invalid) {
  SetEntry entry;
  entry.kind = kind;
  entry.line = number;
  entry.code = std::move(text);
  entry.reason = std::move(reason);
  return entry;
}

SetEntry TooLong(std::size_t number, std::string_view start,
                 SetEntry::Kind kind = SetEntry::Kind::Invalid) {
  return Invalid(number, std::string(start.substr(0, TooLongShown)) + "...",
                 {ReasonId::LineTooLong}, kind);
}

}  // namespace

SetStream::SetStream(ReadBytes read) : m_lines(std::move(read)) {}

SetEntry SetStream::Next() {
  for (;;) {
    const InputLine line = m_lines.Next();
    std::optional<SetEntry> entry;
    switch (line.kind) {
      case InputLine::Kind::Text: entry = Read(line.number, line.text); break;
      case InputLine::Kind::TooLong: entry = ReadTooLong(line.number, line.text); break;
      case InputLine::Kind::End: return {};
      case InputLine::Kind::ReadError: {
        SetEntry failure;
        failure.kind = SetEntry::Kind::ReadError;
        failure.error = line.error;
        return failure;
      }
    }
    if (entry) return std::move(*entry);
  }
}

// ReadLevelSet reads whole texts. A line is read with the header found so far
// in front of it, or after a line break (a byte order mark counts on the first
// line only), which gives what the whole text would: the first title and
// author stay, and header lines count only before the first level. The line
// reader has taken off the CR of a CR LF already, so the line goes in with a
// CR of its own for ReadLevelSet to take off: a CR left before it stays, as it
// does in the whole text.
std::optional<SetEntry> SetStream::Read(std::size_t number, std::string_view text) {
  const bool comment = IsComment(number, text);
  if (comment && m_levelSeen) return std::nullopt;
  std::string lines = comment ? HeaderSoFar() : std::string();
  if (number > 1 && lines.empty()) lines.push_back('\n');
  lines.append(text);
  lines.push_back('\r');
  LevelSetReading reading = ReadLevelSet(lines);
  if (!reading.errors.empty()) {
    SetLineError& error = reading.errors.back();
    return Invalid(number, std::move(error.text), std::move(error.reason),
                   error.header ? SetEntry::Kind::InvalidHeader : SetEntry::Kind::Invalid);
  }
  if (!reading.set.levels.empty()) {
    m_levelSeen = true;
    SetEntry entry;
    entry.kind = SetEntry::Kind::Level;
    entry.line = number;
    entry.code = std::move(reading.set.levels.back().code);
    entry.title = std::move(reading.set.levels.back().title);
    return entry;
  }
  if (comment && m_title.empty()) m_title = std::move(reading.set.title);
  if (comment && m_author.empty()) m_author = std::move(reading.set.author);
  return std::nullopt;
}

std::optional<SetEntry> SetStream::ReadTooLong(std::size_t number, std::string_view start) {
  if (!IsComment(number, start)) return TooLong(number, start);
  if (m_levelSeen) return std::nullopt;
  // A comment too long to hold matters only when it names the set.
  const std::string title = m_title;
  const std::string author = m_author;
  const bool namesTheSet = Read(number, start) || m_title != title || m_author != author;
  m_title = title;
  m_author = author;
  if (namesTheSet) return TooLong(number, start, SetEntry::Kind::InvalidHeader);
  return std::nullopt;
}

std::string SetStream::HeaderSoFar() const {
  // CR LF line ends: the reader takes off one CR, so a title ending in CR
  // reads back as it is.
  std::string header;
  if (!m_title.empty()) header += "# title: " + m_title + "\r\n";
  if (!m_author.empty()) header += "# author: " + m_author + "\r\n";
  return header;
}
