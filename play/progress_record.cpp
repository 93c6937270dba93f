#include "play/progress_record.h"

#include <charconv>
#include <optional>

namespace {

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

/// A code as the canonical codes are written: digits and lower-case hex
/// letters, as long as a 7 x 7 code at most.
bool LooksLikeCode(std::string_view text) {
  if (text.empty() || text.size() > 37) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::optional<int> MovesOf(std::string_view text) {
  int moves = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), moves);
  if (error != std::errc() || end != text.data() + text.size() || moves < 0) return std::nullopt;
  return moves;
}

/// Takes one line into the record; false when it is no entry.
bool ReadEntry(std::string_view line, ProgressRecord& record) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.size() == 3 && fields[0] == "solved" && LooksLikeCode(fields[1])) {
    const std::optional<int> moves = MovesOf(fields[2]);
    if (!moves) return false;
    KeepFewestMoves(record, std::string(fields[1]), *moves);
    return true;
  }
  if (fields.size() == 2 && fields[0] == "last" && LooksLikeCode(fields[1])) {
    record.lastPlayed = fields[1];
    return true;
  }
  return false;
}

}  // namespace

ProgressReading ReadProgress(std::string_view text) {
  ProgressReading reading;
  int number = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;
    ++number;
    if (number == 1 && line == ProgressHeader) continue;
    // A file without the header is no progress file of ours, even where its
    // lines read as entries: it is kept aside.
    if (number == 1) reading.badLines.push_back(1);
    if (line.empty()) continue;
    if (!ReadEntry(line, reading.record) && number != 1) reading.badLines.push_back(number);
  }
  return reading;
}

std::string WriteProgress(const ProgressRecord& record) {
  std::string text(ProgressHeader);
  text += '\n';
  for (const auto& [code, moves] : record.fewestMoves) {
    text += "solved\t" + code + '\t' + std::to_string(moves) + '\n';
  }
  if (!record.lastPlayed.empty()) text += "last\t" + record.lastPlayed + '\n';
  return text;
}

void MergeProgress(ProgressRecord& into, const ProgressRecord& from) {
  for (const auto& [code, moves] : from.fewestMoves) KeepFewestMoves(into, code, moves);
  if (!from.lastPlayed.empty()) into.lastPlayed = from.lastPlayed;
}

bool KeepFewestMoves(ProgressRecord& record, const std::string& canonicalCode, int moves) {
  const auto [place, added] = record.fewestMoves.emplace(canonicalCode, moves);
  if (added) return true;
  if (place->second <= moves) return false;
  place->second = moves;
  return true;
}
