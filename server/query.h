#pragma once
// The query of a level address, `s=CODE` with the optional `png=1` or
// `embed=1`, read with suspicion: it comes from anyone.

#include <string>
#include <string_view>
#include <variant>

/// Longest query read; anything longer is refused unread.
inline constexpr std::size_t MaxQueryLength = 1024;

struct LevelQuery {
  std::string code;    // the value of s: only hexadecimal digits
  bool png = false;    // png=1: the picture of the level
  bool embed = false;  // embed=1: the page for a frame on another site
};

/// Why a query names no level, in words for the person who followed the address.
struct QueryError {
  std::string reason;
};

/// Reads the query. Parameters other than s, png and embed are ignored (link
/// shorteners and social sites append their own), but every part of the
/// query must be well-formed text: valid escapes, valid UTF-8, no control
/// characters and no characters of markup (< > " ' `).
std::variant<LevelQuery, QueryError> ReadQuery(std::string_view query);
