#pragma once
// How often one client may publish or report, without keeping its address:
// the client is known only by a keyed hash of its address, whose key is
// random, lives only in this worker's memory and is replaced every day (with
// everything counted under the old one), so no hash can be tied to an
// address later, nor two days' hashes to each other.
//
// Each worker counts on its own: workers share no memory, and a shared count
// would need the address's hash in the database. A client whose requests
// reach several workers gets at most the limit once per worker, which still
// bounds it (lighttpd sends requests to the least loaded worker, so a quick
// run of requests spreads over them).

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

class RateLimiter {
 public:
  /// At most `allowed` requests per client in each `windowSeconds`.
  RateLimiter(int allowed, std::int64_t windowSeconds);

  /// Whether the client may go on at `now` (seconds since 1970); counts it when it may.
  bool Allow(std::string_view clientAddress, std::int64_t now);

  /// The client's name for today, as a report's reporter is kept.
  std::string ClientName(std::string_view clientAddress, std::int64_t now);

 private:
  struct Count {
    std::int64_t windowStart = 0;
    int requests = 0;
  };

  void TurnKeyForDay(std::int64_t now);

  int m_allowed;
  std::int64_t m_window;
  std::int64_t m_day = -1;
  std::string m_key;
  std::unordered_map<std::string, Count> m_counts;
};
