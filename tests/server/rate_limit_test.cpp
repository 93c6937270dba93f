// The publishing limit: per client in a window, the client known only by a
// keyed hash that changes with the day.

#include "server/rate_limit.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t Day = 86400;
constexpr std::int64_t Noon = 20000 * Day + Day / 2;

TEST(RateLimiter, CountsEachClientInItsWindow) {
  RateLimiter limiter(2, 3600);
  struct Step {
    const char* client;
    std::int64_t at;
    bool allowed;
  } steps[] = {
      {"192.0.2.1", Noon, true},         {"192.0.2.1", Noon + 1, true},
      {"192.0.2.1", Noon + 2, false},    {"2001:db8::1", Noon + 2, true},
      {"192.0.2.1", Noon + 3599, false}, {"192.0.2.1", Noon + 3600, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.client) + " at " + std::to_string(step.at - Noon));
    EXPECT_EQ(limiter.Allow(step.client, step.at), step.allowed);
  }
}

TEST(RateLimiter, NamesAClientByAHashThatChangesWithTheDay) {
  RateLimiter limiter(1, 2 * Day);  // a window longer than the day the key lives
  const std::string today = limiter.ClientName("192.0.2.1", Noon);
  EXPECT_EQ(today.size(), 32u);
  EXPECT_EQ(today.find("192"), std::string::npos);
  EXPECT_EQ(limiter.ClientName("192.0.2.1", Noon + 100), today);
  EXPECT_NE(limiter.ClientName("192.0.2.2", Noon), today);
  // A new day: a new key, and the counts start anew.
  EXPECT_TRUE(limiter.Allow("192.0.2.1", Noon));
  EXPECT_FALSE(limiter.Allow("192.0.2.1", Noon + 60));
  const std::int64_t tomorrow = Noon + Day / 2 + 10;
  EXPECT_NE(limiter.ClientName("192.0.2.1", tomorrow), today);
  EXPECT_TRUE(limiter.Allow("192.0.2.1", tomorrow));
  // Another worker has its own key.
  EXPECT_NE(RateLimiter(1, 3600).ClientName("192.0.2.1", Noon), today);
}

}  // namespace
