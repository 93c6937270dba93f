#include "server/store/background_rater.h"

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <memory>

#include "server/store/database.h"
#include "server/store/play_records.h"

BackgroundRater::BackgroundRater(std::string locator, std::chrono::milliseconds period)
    : m_locator(std::move(locator)), m_period(period) {
  // The thread takes no signal: a worker's stop signals stay for its main
  // thread, which reads them (server/fastcgi_worker.cpp).
  sigset_t all, before;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &before);
  m_thread = std::thread([this] { Run(); });
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

BackgroundRater::~BackgroundRater() {
  {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_stopped = true;
  }
  m_wake.notify_one();
  m_thread.join();
}

void BackgroundRater::Run() {
  std::unique_ptr<Database> database;
  std::unique_lock<std::mutex> lock(m_mutex);
  while (!m_wake.wait_for(lock, m_period, [this] { return m_stopped; })) {
    lock.unlock();
    try {
      if (!database) database = OpenDatabase(m_locator);
      PlayRecords records(*database);
      while (records.RatePending(MostPerBatch) == MostPerBatch) {
      }
    } catch (const DatabaseError& error) {
      // The worker's health check reports a database that cannot be reached;
      // the queue waits for the next round.
      std::fprintf(stderr, "korvz: rating the play records: %s\n", error.what());
      database.reset();
    }
    lock.lock();
  }
}
