// Play records taken by a worker, in-process: each a record of a random
// session at one of a few hundred published levels (the JSON read, the claimed
// line replayed, the attempt stored and, for a session's first attempt, both
// ratings updated, in one write transaction), on SQLite and on a throwaway
// PostgreSQL cluster. Every accepted record must be a row: the benchmark
// fails otherwise.
//
//   build/bin/records_bench

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

#include "logic/level_code.h"
#include "logic/solver.h"
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

void TakeRecords(benchmark::State& state, Backend backend) {
  FreshDatabase fresh(backend);
  auto database = OpenMigrated(fresh.locator());
  StoreAnswers answers(*database, "", {1 << 30, 1 << 30, 3600, 1 << 30});
  std::vector<std::pair<std::string, std::string>> levels;
  for (const char* code : Levels) {
    answers.Respond(
        Post("/api/levels", std::string("{\"code\":\"") + code + "\",\"title\":\"x\"}"));
    levels.emplace_back(code, Letters(code));
  }
  std::mt19937_64 engine(20261211);
  std::int64_t accepted = 0;
  for (auto _ : state) {
    state.PauseTiming();
    char session[33];
    std::snprintf(session, sizeof session, "%016llx%016llx",
                  static_cast<unsigned long long>(engine() % 5000),
                  static_cast<unsigned long long>(engine() % 2));
    const auto& [code, letters] = levels[engine() % levels.size()];
    const bool solved = engine() % 2 == 0;
    const Request request =
        Post("/api/attempts", "{\"level\":\"" + code + "\",\"session\":\"" + session +
                                  "\",\"solved\":" + (solved ? "true" : "false") + ",\"moves\":\"" +
                                  (solved ? letters : "N") +
                                  "\",\"undos\":2,\"hints\":0,\"restarts\":1,\"seconds\":40,"
                                  "\"version\":\"bench\"}");
    state.ResumeTiming();
    const auto answer = answers.Respond(request);
    if (!answer || answer->status != 202) {
      state.SkipWithError("a record was refused");
      break;
    }
    ++accepted;
  }
  state.SetItemsProcessed(state.iterations());
  if (database->Run("SELECT COUNT(*) FROM attempts")[0].Int(0) != accepted)
    state.SkipWithError("the rows are not the records accepted");
}

void RecordsSQLite(benchmark::State& state) { TakeRecords(state, Backend::SQLite); }
void RecordsPostgreSQL(benchmark::State& state) { TakeRecords(state, Backend::PostgreSQL); }

}  // namespace

BENCHMARK(RecordsSQLite)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2);
BENCHMARK(RecordsPostgreSQL)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2);
