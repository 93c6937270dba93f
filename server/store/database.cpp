#include "server/store/database.h"

#include <charconv>
#include <thread>

namespace {

constexpr int WriteAttempts = 5;

/// Adds the time of one call to the total, however the call ends.
class TimeCounter {
 public:
  explicit TimeCounter(std::chrono::nanoseconds& total)
      : m_total(total), m_start(std::chrono::steady_clock::now()) {}
  ~TimeCounter() { m_total += std::chrono::steady_clock::now() - m_start; }
  TimeCounter(const TimeCounter&) = delete;
  TimeCounter& operator=(const TimeCounter&) = delete;

 private:
  std::chrono::nanoseconds& m_total;
  std::chrono::steady_clock::time_point m_start;
};

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool DbRow::IsNull(std::size_t column) const {
  return std::holds_alternative<std::nullptr_t>(columns.at(column));
}

std::int64_t DbRow::Int(std::size_t column) const {
  const DbValue& value = columns.at(column);
  if (const auto* number = std::get_if<std::int64_t>(&value)) return *number;
  if (const auto* text = std::get_if<std::string>(&value)) {
    std::int64_t number = 0;
    std::from_chars(text->data(), text->data() + text->size(), number);
    return number;
  }
  return 0;
}

std::string DbRow::Text(std::size_t column) const {
  const DbValue& value = columns.at(column);
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<std::int64_t>(&value)) return std::to_string(*number);
  return {};
}

DbRows Database::Run(std::string_view sql, const std::vector<DbValue>& parameters) {
  TimeCounter counter(m_timeSpent);
  return Execute(sql, parameters);
}

void Database::WriteTransaction(const std::function<void()>& work) {
  if (m_inTransaction) throw DatabaseError("a write transaction inside another");
  for (int attempt = 1;; ++attempt) {
    try {
      {
        TimeCounter counter(m_timeSpent);
        Begin();
      }
      m_inTransaction = true;
      work();
      TimeCounter counter(m_timeSpent);
      Commit();
      m_inTransaction = false;
      return;
    } catch (const DatabaseError& error) {
      const bool began = m_inTransaction;
      m_inTransaction = false;
      if (began) Rollback();
      if (!error.busy() || attempt == WriteAttempts) throw;
      std::this_thread::sleep_for(std::chrono::milliseconds(attempt * 5));
    } catch (...) {
      const bool began = m_inTransaction;
      m_inTransaction = false;
      if (began) Rollback();
      throw;
    }
  }
}

DbRows Database::RunAlone(std::string_view sql, const std::vector<DbValue>& parameters) {
  if (m_inTransaction) throw DatabaseError("a statement of its own inside a transaction");
  for (int attempt = 1;; ++attempt) {
    try {
      return Run(sql, parameters);
    } catch (const DatabaseError& error) {
      if (!error.busy() || attempt == WriteAttempts) throw;
      std::this_thread::sleep_for(std::chrono::milliseconds(attempt * 5));
    }
  }
}

std::optional<std::string> Database::HealthProblem() {
  try {
    const DbRows rows = Run("SELECT 1");
    if (rows.size() == 1 && rows[0].Int(0) == 1) return std::nullopt;
    return "the database answered SELECT 1 with something else";
  } catch (const DatabaseError& error) {
    return error.what();
  }
}

std::unique_ptr<Database> OpenDatabase(const std::string& locator) {
  if (StartsWith(locator, "postgresql://") || StartsWith(locator, "postgres://"))
    return OpenPostgres(locator);
  if (locator.empty()) throw DatabaseError("no database named");
  return OpenSqlite(locator);
}
