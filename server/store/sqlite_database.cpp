// The SQLite back end: one file, written ahead (WAL) so that readers never
// wait for the writer, short waits so that writers of other workers take
// their turn as soon as the lock is free, and write transactions that take
// the lock at their start. Checkpoints (copying the log into the file, with
// its flush to the disk) run on a thread of their own, never in a request's
// commit: a commit that had to do one would hold up every request queued
// behind it for as long as the disk takes.

#include <pthread.h>
#include <signal.h>
#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "server/store/database.h"

namespace {

/// A writer that finds the file locked waits in steps that grow from 50
/// microseconds to 1 millisecond (SQLite's own timeout sleeps up to 100 ms
/// at a time, long after the lock was let go), for about 5 seconds in all.
int WaitShortly(void*, int waitsSoFar) {
  constexpr int MostWaits = 5000;
  if (waitsSoFar >= MostWaits) return 0;
  const int micros = waitsSoFar < 5 ? 50 << waitsSoFar : 1000;
  std::this_thread::sleep_for(std::chrono::microseconds(micros));
  return 1;
}

/// Copies the log into the database file every CheckpointPeriod on its own
/// connection, as far as no reader still needs it (a passive checkpoint,
/// which never waits for a writer or holds one up), until it is stopped.
class Checkpointer {
 public:
  static constexpr std::chrono::milliseconds CheckpointPeriod{200};

  explicit Checkpointer(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
      sqlite3_close(m_db);
      m_db = nullptr;
      return;  // the requests' connection checkpoints as SQLite does by itself
    }
    sqlite3_busy_handler(m_db, WaitShortly, nullptr);
    // A connection finds the log only when it first reads the file; until
    // then its checkpoints do nothing at all, and the log would grow for
    // ever. One read at the start opens it.
    sqlite3_exec(m_db, "SELECT COUNT(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    // The thread takes no signal: a worker's stop signals stay for its main
    // thread, which reads them (server/fastcgi_worker.cpp); a handler run on
    // this thread instead would leave the worker waiting for ever.
    sigset_t all, before;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &before);
    m_thread = std::thread([this] { Run(); });
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
  }
  ~Checkpointer() {
    if (m_thread.joinable()) {
      {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopped = true;
      }
      m_wake.notify_one();
      m_thread.join();
    }
    sqlite3_close(m_db);
  }
  Checkpointer(const Checkpointer&) = delete;
  Checkpointer& operator=(const Checkpointer&) = delete;

  bool running() const { return m_thread.joinable(); }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_wake.wait_for(lock, CheckpointPeriod, [this] { return m_stopped; })) {
      lock.unlock();
      // Another worker's checkpoint may be running: then this one is skipped.
      sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
      lock.lock();
    }
  }

  sqlite3* m_db = nullptr;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_stopped = false;
  std::thread m_thread;
};

class SqliteDatabase final : public Database {
 public:
  explicit SqliteDatabase(const std::string& path) {
    const int opened =
        sqlite3_open_v2(path.c_str(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (opened != SQLITE_OK) {
      const std::string reason = m_db != nullptr ? sqlite3_errmsg(m_db) : sqlite3_errstr(opened);
      sqlite3_close(m_db);
      throw DatabaseError("cannot open the SQLite file " + path + ": " + reason);
    }
    sqlite3_busy_handler(m_db, WaitShortly, nullptr);
    try {
      // WAL is kept in the file: the first worker to open it sets it for all.
      Execute("PRAGMA journal_mode=WAL", {});
      // In WAL a commit is durable at the next checkpoint; a power cut may
      // lose the last commits but never corrupts the file.
      Execute("PRAGMA synchronous=NORMAL", {});
      Execute("PRAGMA foreign_keys=ON", {});
      m_checkpointer = std::make_unique<Checkpointer>(path);
      if (m_checkpointer->running()) Execute("PRAGMA wal_autocheckpoint=0", {});
    } catch (...) {
      Close();
      throw;
    }
  }
  ~SqliteDatabase() override { Close(); }

  Dialect dialect() const override { return Dialect::SQLite; }

 protected:
  DbRows Execute(std::string_view sql, const std::vector<DbValue>& parameters) override {
    sqlite3_stmt* statement = Prepared(sql);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (static_cast<std::size_t>(sqlite3_bind_parameter_count(statement)) != parameters.size())
      throw DatabaseError("wrong number of parameters for: " + std::string(sql));
    for (std::size_t i = 0; i < parameters.size(); ++i)
      Bind(statement, static_cast<int>(i + 1), parameters[i]);
    DbRows rows;
    for (;;) {
      const int step = sqlite3_step(statement);
      if (step == SQLITE_DONE) break;
      if (step != SQLITE_ROW) {
        const std::string reason = sqlite3_errmsg(m_db);
        sqlite3_reset(statement);
        throw DatabaseError("SQLite: " + reason, step == SQLITE_BUSY || step == SQLITE_LOCKED);
      }
      rows.push_back(RowOf(statement));
    }
    sqlite3_reset(statement);
    return rows;
  }

  void Begin() override { Execute("BEGIN IMMEDIATE", {}); }
  void Commit() override { Execute("COMMIT", {}); }
  void Rollback() override {
    if (!sqlite3_get_autocommit(m_db)) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
  }

 private:
  sqlite3_stmt* Prepared(std::string_view sql) {
    const auto found = m_statements.find(sql);
    if (found != m_statements.end()) return found->second;
    sqlite3_stmt* statement = nullptr;
    const int prepared = sqlite3_prepare_v3(m_db, sql.data(), static_cast<int>(sql.size()),
                                            SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (prepared != SQLITE_OK)
      throw DatabaseError(
          "SQLite: " + std::string(sqlite3_errmsg(m_db)) + " in: " + std::string(sql),
          prepared == SQLITE_BUSY || prepared == SQLITE_LOCKED);
    m_statements.emplace(std::string(sql), statement);
    return statement;
  }

  void Bind(sqlite3_stmt* statement, int index, const DbValue& value) {
    int bound = SQLITE_OK;
    if (const auto* number = std::get_if<std::int64_t>(&value))
      bound = sqlite3_bind_int64(statement, index, *number);
    else if (const auto* text = std::get_if<std::string>(&value))
      bound = sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()),
                                SQLITE_TRANSIENT);
    else
      bound = sqlite3_bind_null(statement, index);
    if (bound != SQLITE_OK) throw DatabaseError("SQLite: " + std::string(sqlite3_errmsg(m_db)));
  }

  static DbRow RowOf(sqlite3_stmt* statement) {
    DbRow row;
    const int count = sqlite3_column_count(statement);
    for (int column = 0; column < count; ++column) {
      switch (sqlite3_column_type(statement, column)) {
        case SQLITE_NULL: row.columns.emplace_back(nullptr); break;
        case SQLITE_INTEGER:
          row.columns.emplace_back(
              static_cast<std::int64_t>(sqlite3_column_int64(statement, column)));
          break;
        default: {
          const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
          row.columns.emplace_back(
              std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))));
        }
      }
    }
    return row;
  }

  void Close() {
    m_checkpointer.reset();
    for (auto& [sql, statement] : m_statements) sqlite3_finalize(statement);
    m_statements.clear();
    sqlite3_close(m_db);
    m_db = nullptr;
  }

  sqlite3* m_db = nullptr;
  std::map<std::string, sqlite3_stmt*, std::less<>> m_statements;
  std::unique_ptr<Checkpointer> m_checkpointer;
};

}  // namespace

std::unique_ptr<Database> OpenSqlite(const std::string& path) {
  return std::make_unique<SqliteDatabase>(path);
}
