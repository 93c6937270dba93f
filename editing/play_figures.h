#pragma once
// How people fare on the published levels of a designer's set, as the
// sharing site's API tells (GET /api/levels/CODE): the rules of designer
// mode's copy of them. Which levels to ask for and when, whether an answer is
// plausible, and the text of the copy kept in the user's data folder, so that
// the last figures are shown without the site; the fetching and the file are
// the editor's.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// What the site counts of one published level.
struct PlayFigures {
  int plays = 0;                        // attempts
  double solvedFirst = 0.0;             // the share of sessions that solved it at once, 0 to 1
  std::optional<double> medianSeconds;  // of solved attempts; none before the first
  double rating = 0.0;                  // Glicko-2, higher is harder for people
  double deviation = 0.0;
  bool provisional = true;  // the rating is not settled yet
  int likes = 0;
  int dislikes = 0;
};

/// What the site said of one level when last asked.
struct PlayFiguresEntry {
  std::int64_t fetched = 0;            // seconds since 1970
  std::optional<PlayFigures> figures;  // none: the level is not published
};

/// The copy, by canonical level code.
using PlayFiguresCache = std::map<std::string, PlayFiguresEntry>;

/// Seconds an answer stands before the level is asked for again.
inline constexpr std::int64_t PlayFiguresFreshFor = 10 * 60;

/// Whether figures read from an answer can be the site's (counts not
/// negative, the share within 0 to 1, finite numbers).
bool PlausibleFigures(const PlayFigures& figures);

/// The canonical codes of the set's levels to ask the site for now: each
/// level once, those without a fresh answer; levels that are not valid codes
/// are left out.
std::vector<std::string> CodesToFetch(const std::vector<std::string>& setCodes,
                                      const PlayFiguresCache& cache, std::int64_t now);

/// The figures the copy holds for a level in any form of its code; none when
/// it was never asked for or is not published.
const PlayFigures* FindFigures(const PlayFiguresCache& cache, const std::string& code);

/// What the copy knows of a level.
enum class FiguresKnown {
  Nothing,       // never answered: not asked yet, or the site not reached
  NotPublished,  // the site does not have it
  Figures,
};
FiguresKnown KnownOf(const PlayFiguresCache& cache, const std::string& code);

/// Whether people's figures are shown with the set's levels: once any of
/// them is known to be published, every level gets its line, so that the
/// levels' rows stay alike; before, none has one.
bool ShowsPlayFigures(const PlayFiguresCache& cache, const std::vector<std::string>& setCodes);

/// The copy's text: a first line naming the format, then one line per level.
std::string WritePlayFiguresCache(const PlayFiguresCache& cache);
/// Reads the copy's text. A text of another format gives an empty copy; a
/// damaged line is left out and the others kept, so the figures are asked
/// for again.
PlayFiguresCache ReadPlayFiguresCache(std::string_view text);
