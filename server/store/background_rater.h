#pragma once
// The ratings' batches in a worker: a thread of its own, with a connection of
// its own, that rates the first attempts waiting in the queue every
// RatingPeriod (PlayRecords::RatePending), as many batches as it takes to
// empty it. Every worker runs one; the one whose round comes first takes the
// turn and the others find the queue empty, so the figures lag behind the
// records by about one period. A record is stored before its answer, so a
// worker that stops or dies loses no rating: the next round of any worker
// rates what it left.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class BackgroundRater {
 public:
  static constexpr std::chrono::milliseconds RatingPeriod{100};
  /// The most first attempts one transaction rates, so that it holds
  /// SQLite's write lock for a few milliseconds at most.
  static constexpr int MostPerBatch = 500;

  /// Starts rating the database that `locator` names (as OpenDatabase takes
  /// it). A database it cannot reach is tried again at the next round.
  explicit BackgroundRater(std::string locator, std::chrono::milliseconds period = RatingPeriod);
  /// Finishes the batch under way and stops.
  ~BackgroundRater();
  BackgroundRater(const BackgroundRater&) = delete;
  BackgroundRater& operator=(const BackgroundRater&) = delete;

 private:
  void Run();

  const std::string m_locator;
  const std::chrono::milliseconds m_period;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_stopped = false;
  std::thread m_thread;
};
