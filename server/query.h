#pragma once
// The query of a level address, read with suspicion: it comes from anyone.
// Its parameters are read through one table (QueryParameters), which also
// writes the canonical query of a level, so reading and writing cannot drift
// apart.

#include <optional>
#include <string>
#include <string_view>
#include <variant>

/// Longest query read; anything longer is refused unread.
inline constexpr std::size_t MaxQueryLength = 1024;

/// What the address asks for: the level's page, its picture, or the compact
/// page for a frame on another site.
enum class Answer { Page, Picture, Embedded };

struct LevelQuery {
  std::string code;  // the value of s: only hexadecimal digits
  Answer answer = Answer::Page;
};

/// Why a query names no level, in words for the person who followed the address.
struct QueryError {
  std::string reason;
};

/// One parameter a level address takes.
struct QueryParameter {
  std::string_view name;
  /// What values it takes, in words for the page that refuses a wrong one.
  std::string_view values;
  /// For a switch, the one value it takes and the answer it asks for; empty
  /// for the level code.
  std::string_view switchValue;
  Answer answer = Answer::Page;
};

/// Every parameter, in the order of the canonical query: the code, then the
/// switches (at most one of which may be given).
inline constexpr QueryParameter QueryParameters[] = {
    {"s", "a level code", "", Answer::Page},
    {"png", "only the value 1", "1", Answer::Picture},
    {"embed", "only the value 1", "1", Answer::Embedded},
};

/// Reads the query. Parameters the table does not name are ignored (link
/// shorteners and social sites append their own; the canonical address leaves
/// them out), but every part of the query must be well-formed text: valid
/// escapes, valid UTF-8, no control characters and no characters of markup
/// (< > " ' `). Does not check that the code names a level.
std::variant<LevelQuery, QueryError> ReadQuery(std::string_view query);

/// The query of the level's one address: "s=CODE", followed by the switch of
/// the answer when it is not the page ("&png=1").
std::string CanonicalQuery(const LevelQuery& query);
