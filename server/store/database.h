#pragma once
// The one small interface in front of both databases the site can use: SQLite
// (one file, the default) and PostgreSQL (shared by several machines).
// Statements are written once, with ? for each parameter; the parameters are
// always bound, never pasted into the text. Each back end prepares a
// statement the first time it sees its text and keeps it.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

/// A bound parameter or a column's value: NULL, a whole number or text.
using DbValue = std::variant<std::nullptr_t, std::int64_t, std::string>;

/// One row of a result; every column as the database gave it.
struct DbRow {
  std::vector<DbValue> columns;
  bool IsNull(std::size_t column) const;
  /// The column as a whole number (text holding one is read); 0 for NULL.
  std::int64_t Int(std::size_t column) const;
  /// The column as text (a number is written out); empty for NULL.
  std::string Text(std::size_t column) const;
};

using DbRows = std::vector<DbRow>;

/// A failure of the database: unreachable, a broken statement, a full disk.
/// `busy` marks a conflict with another writer that is worth trying again
/// (a lock, a serialization failure, a unique key another transaction took
/// at the same time, which the statement tried again finds).
class DatabaseError : public std::runtime_error {
 public:
  explicit DatabaseError(const std::string& what, bool busy = false)
      : std::runtime_error(what), m_busy(busy) {}
  bool busy() const { return m_busy; }

 private:
  bool m_busy;
};

enum class Dialect { SQLite, PostgreSQL };

class Database {
 public:
  virtual ~Database() = default;

  virtual Dialect dialect() const = 0;

  /// Runs one statement with its parameters and returns its rows (none for
  /// statements that return none). Throws DatabaseError.
  DbRows Run(std::string_view sql, const std::vector<DbValue>& parameters = {});

  /// Runs the work in one short write transaction (SQLite's BEGIN IMMEDIATE,
  /// so that the write lock is taken at the start and never upgraded), and
  /// commits it; a failure rolls it back and throws on. A transaction that
  /// lost against another writer is tried again, a few times.
  void WriteTransaction(const std::function<void()>& work);

  /// Runs one statement as a write transaction of its own, outside any
  /// other, tried again as WriteTransaction is when it lost against another
  /// writer. On PostgreSQL this is one round trip, without BEGIN and COMMIT.
  DbRows RunAlone(std::string_view sql, const std::vector<DbValue>& parameters = {});

  /// Whether the database answers a trivial query, and why not.
  std::optional<std::string> HealthProblem();

  /// The time spent waiting for the database since the start, for the metrics.
  std::chrono::nanoseconds TimeSpent() const { return m_timeSpent; }

 protected:
  virtual DbRows Execute(std::string_view sql, const std::vector<DbValue>& parameters) = 0;
  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;

 private:
  std::chrono::nanoseconds m_timeSpent{0};
  bool m_inTransaction = false;
};

/// Opens the database that `locator` names: a postgresql:// (or postgres://)
/// address for PostgreSQL, anything else the path of a SQLite file (created
/// when missing). Throws DatabaseError with the reason.
std::unique_ptr<Database> OpenDatabase(const std::string& locator);

std::unique_ptr<Database> OpenSqlite(const std::string& path);
std::unique_ptr<Database> OpenPostgres(const std::string& address);
