// Play records taken by a worker, in-process: each a record of a random
// session at one of a few published levels (the JSON read, the claimed line
// replayed, the attempt stored and counted and, for a session's first
// attempt, queued for its rating), on SQLite and on a throwaway PostgreSQL
// cluster; the same with the rating batches run between them, as a worker's
// rating thread runs them; and the batches alone, in ratings a second.
// Every accepted record must be a row: the benchmark fails otherwise.
//
//   build/bin/records_bench

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

#include "logic/level_code.h"
#include "logic/solver.h"
#include "server/store/play_records.h"
#include "server/store_answers.h"
#include "server/store_setup.h"
#include "tests/server/store_databases.h"

namespace {

constexpr const char* Levels[] = {"3111221000110fbe5", "5020100030201ffbfeffbfe55",
                                  "50022444422005eae44c9f644",
                                  "7003366663300d4dae70cec86baf110a5e554"};

std::string Letters(const std::string& code) {
  Level level;
  ParseLevelCode(level, code);
  std::string letters;
  for (Direction direction : ShortestSolution(level).moves) letters += DirectionLetter(direction);
  return letters;
}

Request Post(const std::string& target, std::string body) {
  Request request;
  request.method = "POST";
  request.target = target;
  request.clientAddress = "192.0.2.1";
  request.body = std::move(body);
  return request;
}

/// A worker's answers on a fresh database with the levels published.
class RecordsSite {
 public:
  explicit RecordsSite(Backend backend)
      : m_fresh(backend),
        m_database(OpenMigrated(m_fresh.locator())),
        m_answers(*m_database, "", {1 << 30, 1 << 30, 3600, 1 << 30}) {
    for (const char* code : Levels) {
      m_answers.Respond(
          Post("/api/levels", std::string("{\"code\":\"") + code + "\",\"title\":\"x\"}"));
      m_levels.emplace_back(code, Letters(code));
    }
  }

  /// A record, solved or given up, of a random session among 10,000 (most
  /// of them first attempts), or of a new session each time.
  Request NextRecord(bool newSession = false) {
    char session[33];
    std::snprintf(session, sizeof session, "%016llx%016llx",
                  static_cast<unsigned long long>(newSession ? m_engine() : m_engine() % 5000),
                  static_cast<unsigned long long>(m_engine() % 2));
    const auto& [code, letters] = m_levels[m_engine() % m_levels.size()];
    const bool solved = m_engine() % 2 == 0;
    return Post("/api/attempts", "{\"level\":\"" + code + "\",\"session\":\"" + session +
                                     "\",\"solved\":" + (solved ? "true" : "false") +
                                     ",\"moves\":\"" + (solved ? letters : "N") +
                                     "\",\"undos\":2,\"hints\":0,\"restarts\":1,\"seconds\":40,"
                                     "\"version\":\"bench\"}");
  }

  bool Take(const Request& request) {
    const auto answer = m_answers.Respond(request);
    return answer && answer->status == 202;
  }

  Database& database() { return *m_database; }

 private:
  FreshDatabase m_fresh;
  std::unique_ptr<Database> m_database;
  StoreAnswers m_answers;
  std::vector<std::pair<std::string, std::string>> m_levels;
  std::mt19937_64 m_engine{20261211};
};

/// Records one after another; with `rateEvery`, a batch rates what waits
/// after every so many records, inside the time.
void TakeRecords(benchmark::State& state, Backend backend, int rateEvery) {
  RecordsSite site(backend);
  PlayRecords plays(site.database());
  std::int64_t accepted = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const Request request = site.NextRecord();
    state.ResumeTiming();
    if (!site.Take(request)) {
      state.SkipWithError("a record was refused");
      break;
    }
    ++accepted;
    if (rateEvery > 0 && accepted % rateEvery == 0) plays.RatePending(rateEvery);
  }
  state.SetItemsProcessed(state.iterations());
  if (site.database().Run("SELECT COUNT(*) FROM attempts")[0].Int(0) != accepted)
    state.SkipWithError("the rows are not the records accepted");
}

/// Batches of state.range(0) first attempts rated, in ratings a second.
void RateBatches(benchmark::State& state, Backend backend) {
  RecordsSite site(backend);
  PlayRecords plays(site.database());
  const int batch = static_cast<int>(state.range(0));
  std::int64_t rated = 0;
  for (auto _ : state) {
    state.PauseTiming();
    while (plays.PendingRatings() < batch) site.Take(site.NextRecord(true));
    state.ResumeTiming();
    rated += plays.RatePending(batch);
  }
  state.SetItemsProcessed(rated);
}

void RecordsSQLite(benchmark::State& state) { TakeRecords(state, Backend::SQLite, 0); }
void RecordsPostgreSQL(benchmark::State& state) { TakeRecords(state, Backend::PostgreSQL, 0); }
void RecordsRatedSQLite(benchmark::State& state) { TakeRecords(state, Backend::SQLite, 200); }
void RecordsRatedPostgreSQL(benchmark::State& state) {
  TakeRecords(state, Backend::PostgreSQL, 200);
}
void RateSQLite(benchmark::State& state) { RateBatches(state, Backend::SQLite); }
void RatePostgreSQL(benchmark::State& state) { RateBatches(state, Backend::PostgreSQL); }

}  // namespace

BENCHMARK(RecordsSQLite)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2);
BENCHMARK(RecordsPostgreSQL)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2);
BENCHMARK(RecordsRatedSQLite)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2);
BENCHMARK(RecordsRatedPostgreSQL)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2);
// A fixed number of batches: the records they rate are made between them.
BENCHMARK(RateSQLite)
    ->Arg(50)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(40);
BENCHMARK(RatePostgreSQL)
    ->Arg(50)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(40);
