#include "editing/play_figures.h"

#include <charconv>
#include <cmath>
#include <set>
#include <sstream>

#include "logic/canonical_code.h"
#include "logic/level.h"
#include "logic/level_code.h"

namespace {

constexpr std::string_view Heading = "korvalo play figures 1";
constexpr std::string_view NotPublished = "not published";
constexpr std::string_view NoMedian = "-";

std::optional<std::string> CanonicalOf(const std::string& code) {
  Level level;
  if (!ParseLevelCode(level, code).accepted) return std::nullopt;
  return CanonicalCode(level);
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

template <typename Number>
std::optional<Number> ReadNumber(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

/// "plays, solved_first, median, rating, deviation, provisional, likes, dislikes".
std::optional<PlayFigures> ReadFigures(const std::vector<std::string_view>& fields) {
  if (fields.size() != 10) return std::nullopt;
  PlayFigures figures;
  const auto plays = ReadNumber<int>(fields[2]);
  const auto solvedFirst = ReadNumber<double>(fields[3]);
  const auto rating = ReadNumber<double>(fields[5]);
  const auto deviation = ReadNumber<double>(fields[6]);
  const auto likes = ReadNumber<int>(fields[8]);
  const auto dislikes = ReadNumber<int>(fields[9]);
  if (!plays || !solvedFirst || !rating || !deviation || !likes || !dislikes) return std::nullopt;
  if (fields[7] != "0" && fields[7] != "1") return std::nullopt;
  if (fields[4] != NoMedian) {
    figures.medianSeconds = ReadNumber<double>(fields[4]);
    if (!figures.medianSeconds) return std::nullopt;
  }
  figures.plays = *plays;
  figures.solvedFirst = *solvedFirst;
  figures.rating = *rating;
  figures.deviation = *deviation;
  figures.provisional = fields[7] == "1";
  figures.likes = *likes;
  figures.dislikes = *dislikes;
  if (!PlausibleFigures(figures)) return std::nullopt;
  return figures;
}

}  // namespace

bool PlausibleFigures(const PlayFigures& figures) {
  const bool finite = std::isfinite(figures.solvedFirst) && std::isfinite(figures.rating) &&
                      std::isfinite(figures.deviation) &&
                      (!figures.medianSeconds || std::isfinite(*figures.medianSeconds));
  return finite && figures.plays >= 0 && figures.likes >= 0 && figures.dislikes >= 0 &&
         figures.solvedFirst >= 0.0 && figures.solvedFirst <= 1.0 && figures.deviation >= 0.0 &&
         (!figures.medianSeconds || *figures.medianSeconds >= 0.0);
}

std::vector<std::string> CodesToFetch(const std::vector<std::string>& setCodes,
                                      const PlayFiguresCache& cache, std::int64_t now) {
  std::vector<std::string> codes;
  std::set<std::string> seen;
  for (const std::string& code : setCodes) {
    const std::optional<std::string> canonical = CanonicalOf(code);
    if (!canonical || !seen.insert(*canonical).second) continue;
    const auto known = cache.find(*canonical);
    // A clock set back makes an answer "from the future": it is asked for again.
    const bool fresh = known != cache.end() && known->second.fetched <= now &&
                       now - known->second.fetched < PlayFiguresFreshFor;
    if (!fresh) codes.push_back(*canonical);
  }
  return codes;
}

const PlayFigures* FindFigures(const PlayFiguresCache& cache, const std::string& code) {
  const std::optional<std::string> canonical = CanonicalOf(code);
  const auto known = canonical ? cache.find(*canonical) : cache.end();
  if (known == cache.end() || !known->second.figures) return nullptr;
  return &*known->second.figures;
}

FiguresKnown KnownOf(const PlayFiguresCache& cache, const std::string& code) {
  const std::optional<std::string> canonical = CanonicalOf(code);
  const auto known = canonical ? cache.find(*canonical) : cache.end();
  if (known == cache.end()) return FiguresKnown::Nothing;
  return known->second.figures ? FiguresKnown::Figures : FiguresKnown::NotPublished;
}

bool ShowsPlayFigures(const PlayFiguresCache& cache, const std::vector<std::string>& setCodes) {
  for (const std::string& code : setCodes)
    if (KnownOf(cache, code) == FiguresKnown::Figures) return true;
  return false;
}

std::string WritePlayFiguresCache(const PlayFiguresCache& cache) {
  std::ostringstream text;
  text.precision(17);  // a double reads back as the same number
  text << Heading << '\n';
  for (const auto& [code, entry] : cache) {
    text << code << '\t' << entry.fetched << '\t';
    if (!entry.figures) {
      text << NotPublished << '\n';
      continue;
    }
    const PlayFigures& figures = *entry.figures;
    text << figures.plays << '\t' << figures.solvedFirst << '\t';
    if (figures.medianSeconds) {
      text << *figures.medianSeconds;
    } else {
      text << NoMedian;
    }
    text << '\t' << figures.rating << '\t' << figures.deviation << '\t'
         << (figures.provisional ? 1 : 0) << '\t' << figures.likes << '\t' << figures.dislikes
         << '\n';
  }
  return text.str();
}

PlayFiguresCache ReadPlayFiguresCache(std::string_view text) {
  PlayFiguresCache cache;
  std::size_t start = 0;
  bool first = true;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (first) {
      if (line != Heading) return {};
      first = false;
      continue;
    }
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() < 3) continue;
    const std::string code(fields[0]);
    const auto fetched = ReadNumber<std::int64_t>(fields[1]);
    if (!fetched || CanonicalOf(code) != code) continue;
    PlayFiguresEntry entry{*fetched, std::nullopt};
    if (fields.size() == 3 && fields[2] == NotPublished) {
      cache[code] = entry;
    } else if (auto figures = ReadFigures(fields)) {
      entry.figures = *figures;
      cache[code] = entry;
    }
  }
  return cache;
}
