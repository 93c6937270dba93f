#include "cli/suggestion.h"

#include <algorithm>

std::size_t EditDistance(std::string_view a, std::string_view b) {
  // Three rows of the table: the one two back is needed for swaps.
  std::vector<std::size_t> twoBack(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        current[j] = std::min(current[j], twoBack[j - 2] + 1);
      }
    }
    twoBack.swap(previous);
    previous.swap(current);
  }
  return previous[b.size()];
}

std::string Suggestion(std::string_view typed, const std::vector<std::string_view>& known) {
  std::string_view best;
  std::size_t bestDistance = 3;  // more than two edits is no slip
  for (std::string_view word : known) {
    const std::size_t distance = EditDistance(typed, word);
    if (distance < bestDistance && 2 * distance < std::max(typed.size(), word.size())) {
      best = word;
      bestDistance = distance;
    }
  }
  if (best.empty()) return {};
  return "; did you mean '" + std::string(best) + "'?";
}
