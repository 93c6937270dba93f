#include "play/set_progress.h"

std::optional<int> MemoryProgressStore::FewestMoves(const std::string& canonicalCode) const {
  const auto found = m_fewestMoves.find(canonicalCode);
  if (found == m_fewestMoves.end()) return std::nullopt;
  return found->second;
}

bool MemoryProgressStore::SetFewestMoves(const std::string& canonicalCode, int moves) {
  if (m_failWrites) return false;
  m_fewestMoves[canonicalCode] = moves;
  return true;
}

bool MemoryProgressStore::SetLastPlayed(const std::string& canonicalCode) {
  if (m_failWrites) return false;
  m_lastPlayed = canonicalCode;
  return true;
}
