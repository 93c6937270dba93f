#pragma once
// "Did you mean ...?" for a mistyped command or option.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

/// The number of single-character insertions, deletions, substitutions and
/// swaps of neighbours that turn one word into the other.
std::size_t EditDistance(std::string_view a, std::string_view b);

/// "; did you mean 'WORD'?" for the known word nearest to the typed one, when
/// it is near enough to be a slip (at most two edits, and fewer than half of
/// the word); empty otherwise.
std::string Suggestion(std::string_view typed, const std::vector<std::string_view>& known);
