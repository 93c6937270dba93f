// The PostgreSQL back end, through libpq: one connection per worker, each
// statement prepared once under a name of its own and run with its
// parameters as text (PostgreSQL gives them their types from the statement).

#include <libpq-fe.h>

#include <map>

#include "server/store/database.h"

namespace {

/// The statement with PostgreSQL's numbered parameters ($1, $2, ...) for our
/// question marks; question marks inside quoted text stay.
std::string NumberedParameters(std::string_view sql) {
  std::string numbered;
  int next = 0;
  char quote = 0;
  for (char c : sql) {
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '?') {
      numbered += '$' + std::to_string(++next);
      continue;
    }
    numbered += c;
  }
  return numbered;
}

/// Serialization failures, deadlocks and a unique key that a concurrent
/// transaction took first: the transaction may succeed when tried again.
bool IsConflict(const PGresult* result) {
  const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
  if (state == nullptr) return false;
  const std::string_view code(state);
  return code == "40001" || code == "40P01" || code == "23505";
}

class Result {
 public:
  explicit Result(PGresult* result) : m_result(result) {}
  ~Result() { PQclear(m_result); }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  PGresult* get() const { return m_result; }

 private:
  PGresult* m_result;
};

class PostgresDatabase final : public Database {
 public:
  explicit PostgresDatabase(const std::string& address)
      : m_connection(PQconnectdb(address.c_str())) {
    if (PQstatus(m_connection) != CONNECTION_OK) {
      const std::string reason = PQerrorMessage(m_connection);
      PQfinish(m_connection);
      throw DatabaseError("cannot connect to PostgreSQL: " + reason);
    }
    // Only warnings from the server, and none of them on standard error.
    PQsetNoticeProcessor(
        m_connection, [](void*, const char*) {}, nullptr);
  }
  ~PostgresDatabase() override { PQfinish(m_connection); }

  Dialect dialect() const override { return Dialect::PostgreSQL; }

 protected:
  DbRows Execute(std::string_view sql, const std::vector<DbValue>& parameters) override {
    Reconnect();
    const std::string& name = Prepared(sql);
    std::vector<std::string> texts(parameters.size());
    std::vector<const char*> values(parameters.size());
    for (std::size_t i = 0; i < parameters.size(); ++i) {
      if (const auto* number = std::get_if<std::int64_t>(&parameters[i])) {
        texts[i] = std::to_string(*number);
        values[i] = texts[i].c_str();
      } else if (const auto* text = std::get_if<std::string>(&parameters[i])) {
        values[i] = text->c_str();
      }
    }
    const Result result(PQexecPrepared(m_connection, name.c_str(), static_cast<int>(values.size()),
                                       values.data(), nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
      throw DatabaseError("PostgreSQL: " + std::string(PQresultErrorMessage(result.get())),
                          IsConflict(result.get()));
    return RowsOf(result.get());
  }

  void Begin() override { Execute("BEGIN", {}); }
  void Commit() override { Execute("COMMIT", {}); }
  void Rollback() override {
    if (PQtransactionStatus(m_connection) != PQTRANS_IDLE)
      PQclear(PQexec(m_connection, "ROLLBACK"));
  }

 private:
  /// A connection that broke (the server restarted) is opened again between
  /// transactions; its prepared statements went with it.
  void Reconnect() {
    if (PQstatus(m_connection) == CONNECTION_OK) return;
    PQreset(m_connection);
    m_statements.clear();
    if (PQstatus(m_connection) != CONNECTION_OK)
      throw DatabaseError("PostgreSQL: " + std::string(PQerrorMessage(m_connection)));
  }

  const std::string& Prepared(std::string_view sql) {
    const auto found = m_statements.find(sql);
    if (found != m_statements.end()) return found->second;
    const std::string name = "korvz" + std::to_string(m_statements.size() + 1);
    const Result result(
        PQprepare(m_connection, name.c_str(), NumberedParameters(sql).c_str(), 0, nullptr));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
      throw DatabaseError("PostgreSQL: " + std::string(PQresultErrorMessage(result.get())) +
                              " in: " + std::string(sql),
                          IsConflict(result.get()));
    return m_statements.emplace(std::string(sql), name).first->second;
  }

  /// Whole-number columns (int2, int4, int8) as numbers, the rest as text.
  static DbRows RowsOf(PGresult* result) {
    constexpr Oid Int8 = 20, Int2 = 21, Int4 = 23;
    DbRows rows(static_cast<std::size_t>(PQntuples(result)));
    const int columns = PQnfields(result);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const int row = static_cast<int>(r);
      for (int column = 0; column < columns; ++column) {
        if (PQgetisnull(result, row, column)) {
          rows[r].columns.emplace_back(nullptr);
          continue;
        }
        std::string text(PQgetvalue(result, row, column),
                         static_cast<std::size_t>(PQgetlength(result, row, column)));
        const Oid type = PQftype(result, column);
        if (type == Int8 || type == Int2 || type == Int4)
          rows[r].columns.emplace_back(static_cast<std::int64_t>(std::stoll(text)));
        else
          rows[r].columns.emplace_back(std::move(text));
      }
    }
    return rows;
  }

  PGconn* m_connection;
  std::map<std::string, std::string, std::less<>> m_statements;
};

}  // namespace

std::unique_ptr<Database> OpenPostgres(const std::string& address) {
  return std::make_unique<PostgresDatabase>(address);
}
