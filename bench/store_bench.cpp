// The published levels' work in a worker, in-process: publishing distinct
// levels through the API's answer (the JSON read, the level checked and
// solved, its canonical code, one write transaction) on SQLite and on a
// throwaway PostgreSQL cluster, and a gallery page read by key from a store
// of thousands of levels.
//
//   build/bin/store_bench [--benchmark_filter=Publish]

#include <benchmark/benchmark.h>

#include <random>

#include "bench/random_levels.h"
#include "logic/level_code.h"
#include "server/store_answers.h"
#include "server/store_setup.h"
#include "tests/server/store_databases.h"

namespace {

/// A random level of the size with a solution of at least one move.
std::string SolvableCode(int size, std::mt19937& engine) {
  for (;;) {
    Level level = bench::RandomLevel(size, engine);
    if (!level.solvable) continue;
    std::string code = WriteLevelCode(level);
    if (level.startState != level.targetState) return code;
  }
}

Request Publication(const std::string& code) {
  Request request;
  request.method = "POST";
  request.target = "/api/levels";
  request.clientAddress = "192.0.2.1";
  request.body = "{\"code\":\"" + code +
                 "\",\"title\":\"A level for the benchmark\",\"author\":\"Bench\","
                 "\"description\":\"Published again and again.\"}";
  return request;
}

void Publish(benchmark::State& state, Backend backend) {
  const int size = static_cast<int>(state.range(0));
  FreshDatabase fresh(backend);
  auto database = OpenMigrated(fresh.locator());
  StoreAnswers answers(*database, "", {1 << 30, 1 << 30, 3600});
  std::mt19937 engine(20261211);
  int stored = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const Request request = Publication(SolvableCode(size, engine));
    state.ResumeTiming();
    const auto answer = answers.Respond(request);
    if (!answer || (answer->status != 201 && answer->status != 200)) {
      state.SkipWithError("a publication was refused");
      break;
    }
    stored += answer->status == 201;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["stored"] = stored;
  state.counters["database_ms"] =
      std::chrono::duration<double, std::milli>(database->TimeSpent()).count();
}

void PublishSQLite(benchmark::State& state) { Publish(state, Backend::SQLite); }
void PublishPostgreSQL(benchmark::State& state) { Publish(state, Backend::PostgreSQL); }
BENCHMARK(PublishSQLite)->Arg(5)->Arg(7)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(PublishPostgreSQL)
    ->Arg(5)
    ->Arg(7)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3);

/// The address of an HTML link: its &amp; as &.
std::string WithoutEscapes(std::string_view link) {
  std::string address;
  for (std::size_t i = 0; i < link.size();) {
    if (link.substr(i, 5) == "&amp;") {
      address += '&';
      i += 5;
    } else {
      address += link[i++];
    }
  }
  return address;
}

/// Pages of the gallery from a store of 5,000 levels, each order in turn,
/// each page from the key the page before gave.
void GalleryPage(benchmark::State& state, Backend backend) {
  FreshDatabase fresh(backend);
  auto database = OpenMigrated(fresh.locator());
  LevelStore store(*database);
  std::mt19937 engine(7);
  database->WriteTransaction([&] {
    for (int i = 0; i < 5000; ++i) {
      PublishedLevel level;
      level.code = std::to_string(71000000 + i);
      level.boardSize = 7;
      level.moves = static_cast<int>(engine() % 40) + 1;
      level.grade = level.moves;
      level.title = "Level " + std::to_string(i);
      level.published = 1800000000 + i / 3;
      database->Run(
          "INSERT INTO levels (code, board_size, moves, grade, title, author, description, "
          "token_hash, published, hidden) VALUES (?, 7, ?, ?, ?, '', '', 'h', ?, 0)",
          {level.code, std::int64_t{level.moves}, std::int64_t{level.grade}, level.title,
           level.published});
    }
  });
  StoreAnswers answers(*database, "");
  const char* orders[] = {"newest", "longest", "grade"};
  std::string next[3];
  std::size_t turn = 0;
  for (auto _ : state) {
    const std::size_t order = turn++ % 3;
    Request request;
    request.target =
        next[order].empty() ? std::string("/gallery?order=") + orders[order] : next[order];
    const auto answer = answers.Respond(request);
    const std::string& body = answer->body;
    const std::size_t link = body.find("rel=\"next\" href=\"");
    if (link == std::string::npos) {
      next[order].clear();
    } else {
      const std::size_t start = link + 17;
      next[order] =
          WithoutEscapes(std::string_view(body).substr(start, body.find('"', start) - start));
    }
    benchmark::DoNotOptimize(body.data());
  }
  state.SetItemsProcessed(state.iterations());
}

void GallerySQLite(benchmark::State& state) { GalleryPage(state, Backend::SQLite); }
void GalleryPostgreSQL(benchmark::State& state) { GalleryPage(state, Backend::PostgreSQL); }
BENCHMARK(GallerySQLite)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(GalleryPostgreSQL)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
