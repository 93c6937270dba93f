#include "server/rate_limit.h"

#include "server/secrets.h"

namespace {

constexpr std::int64_t SecondsPerDay = 86400;
/// Clients counted at once; beyond, the counts of ended windows are dropped.
constexpr std::size_t MostClients = 100000;

}  // namespace

RateLimiter::RateLimiter(int allowed, std::int64_t windowSeconds)
    : m_allowed(allowed), m_window(windowSeconds) {}

void RateLimiter::TurnKeyForDay(std::int64_t now) {
  const std::int64_t day = now / SecondsPerDay;
  if (day == m_day) return;
  m_day = day;
  m_key = RandomHex(32);
  m_counts.clear();
}

std::string RateLimiter::ClientName(std::string_view clientAddress, std::int64_t now) {
  TurnKeyForDay(now);
  return KeyedHashHex(m_key, clientAddress).substr(0, 32);
}

bool RateLimiter::Allow(std::string_view clientAddress, std::int64_t now) {
  const std::string name = ClientName(clientAddress, now);
  if (m_counts.size() >= MostClients) {
    std::erase_if(m_counts,
                  [&](const auto& entry) { return now - entry.second.windowStart >= m_window; });
    if (m_counts.size() >= MostClients) return false;  // a flood of addresses: nobody new gets in
  }
  Count& count = m_counts[name];
  if (now - count.windowStart >= m_window) count = {now, 0};
  if (count.requests >= m_allowed) return false;
  ++count.requests;
  return true;
}
