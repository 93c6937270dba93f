#include "editing/set_file_lines.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

/// The text without the format's trailing line end.
std::string WithoutLineEnd(std::string text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

}  // namespace

SetFileLines::SetFileLines(std::string_view text, const LevelSetReading& reading)
    : m_title(reading.set.title), m_author(reading.set.author) {
  if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
    m_byteOrderMark = true;
    text.remove_prefix(ByteOrderMark.size());
  }
  std::size_t nextLevel = 0;
  bool titleFound = m_title.empty();
  bool authorFound = m_author.empty();
  for (int number = 1; !text.empty(); ++number) {
    const std::size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    std::string_view ending = end == std::string_view::npos ? "" : "\n";
    if (!ending.empty() && !raw.empty() && raw.back() == '\r') {
      raw.remove_suffix(1);
      ending = "\r\n";
    }
    Line line;
    line.text.assign(raw.data(), raw.size());
    line.ending.assign(ending.data(), ending.size());
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const bool beforeLevels = nextLevel == 0;
    if (nextLevel < reading.set.levels.size() && reading.set.levels[nextLevel].line == number) {
      line.kind = Kind::Level;
      line.level = reading.set.levels[nextLevel++];
    } else if (!titleFound && beforeLevels && SetHeaderValue(line.text, "title") == m_title) {
      line.kind = Kind::Title;
      titleFound = true;
    } else if (!authorFound && beforeLevels && SetHeaderValue(line.text, "author") == m_author) {
      line.kind = Kind::Author;
      authorFound = true;
    }
    m_lines.push_back(std::move(line));
  }
}

std::string SetFileLines::HeaderLine(const std::string& key, const std::string& value) {
  LevelSet header;
  (key == "title" ? header.title : header.author) = value;
  return WithoutLineEnd(WriteLevelSet(header));
}

std::string SetFileLines::LevelLine(const SetLevel& level) {
  LevelSet one;
  one.levels.push_back(level);
  return WithoutLineEnd(WriteLevelSet(one));
}

std::string SetFileLines::Newline() const {
  for (const Line& line : m_lines) {
    if (!line.ending.empty()) return line.ending;
  }
  return "\n";
}

bool SetFileLines::Has(Kind kind) const {
  return std::any_of(m_lines.begin(), m_lines.end(),
                     [kind](const Line& line) { return line.kind == kind; });
}

std::string SetFileLines::Text(const LevelSet& set) const {
  const std::string newline = Newline();
  std::string text;
  if (m_byteOrderMark) text.append(ByteOrderMark);
  // A name the file has no header for goes first, as the format writes it.
  for (const auto& [kind, key, value] : {std::tuple{Kind::Title, "title", &set.title},
                                         std::tuple{Kind::Author, "author", &set.author}}) {
    const std::string header = HeaderLine(key, *value);
    if (!Has(kind) && !header.empty()) text.append(header).append(newline);
  }
  std::size_t next = 0;
  for (const Line& line : m_lines) {
    std::string written = line.text;
    switch (line.kind) {
      case Kind::Other: break;
      case Kind::Title:
        if (set.title != m_title) written = HeaderLine("title", set.title);
        if (written.empty()) continue;  // the title was taken away
        break;
      case Kind::Author:
        if (set.author != m_author) written = HeaderLine("author", set.author);
        if (written.empty()) continue;
        break;
      case Kind::Level: {
        if (next == set.levels.size()) continue;  // a level was removed
        const SetLevel& level = set.levels[next++];
        const bool same = level.code == line.level.code && level.title == line.level.title;
        if (!same) written = LevelLine(level);
        break;
      }
    }
    text.append(written).append(line.ending);
  }
  for (; next < set.levels.size(); ++next) {
    if (!text.empty() && text.back() != '\n' && text != ByteOrderMark) text += newline;
    text.append(LevelLine(set.levels[next])).append(newline);
  }
  return text;
}

std::size_t SetFileLines::OtherLines() const {
  return static_cast<std::size_t>(std::count_if(
      m_lines.begin(), m_lines.end(),
      [](const Line& line) { return line.kind == Kind::Other && !IsBlank(line.text); }));
}

bool SetFileLines::NoLevelRead() const { return !Has(Kind::Level) && OtherLines() > 0; }
