// The sharing page's worker, in-process and cold: every answer is for a level
// the worker has not seen just before, so no answer kept by the solver can
// serve it. BM_Page/N, BM_Picture/N, BM_EmbeddedPage/N: 2,000 random N x N
// levels (a random maze with the balls and holes on random squares),
// answered one after another. BM_Hard...: a 7 x 7 level with a 35-move
// solution and the level on which the search works hardest, each answered
// after another level.
//
// The parts of a picture (drawing the frame, encoding the PNG) and of a page
// (the game's shortest solution, the HTML) are timed apart as well, and the
// answers that need no level work: a redirect to the canonical address, a
// 304 for a cache that holds the answer, and a refused address.
//
// Goals on a 2-core machine: a picture well under 2 ms, a page well under
// 0.5 ms of worker time.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "bench/forward_search.h"
#include "bench/random_levels.h"
#include "drawing/buffer_canvas.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "picture/board_image_data.h"
#include "picture/png_writer.h"
#include "play/game_state.h"
#include "server/responses.h"

namespace {

constexpr int LevelCount = 2000;

constexpr const char* LongSolution = "7003366663300d4dae70cec86baf110a5e554";   // 35 moves
constexpr const char* HardestSearch = "76342030002556aa97fe5aa95fe55a9572555";  // no solution

using bench::RandomLevel;

/// The codes of LevelCount random levels of the size, the same on every run.
const std::vector<std::string>& RandomCodes(int size) {
  static std::vector<std::string> codes[8];
  std::vector<std::string>& list = codes[size];
  if (list.empty()) {
    std::mt19937 engine(static_cast<unsigned>(1000 + size));
    while (list.size() < LevelCount) {
      const std::string code = WriteLevelCode(RandomLevel(size, engine));
      if (std::find(list.begin(), list.end(), code) == list.end()) list.push_back(code);
    }
  }
  return list;
}

Level LevelOf(const std::string& code) {
  Level level;
  ParseLevelCode(level, code);
  return level;
}

// As the worker does at its start.
const bool MemoryKept = (KeepFreedMemoryForTheNextAnswer(), true);

SiteAnswers& Answers() {
  static SiteAnswers answers("https://www.example.org");
  return answers;
}

HttpResponse Get(const std::string& target) {
  Request request;
  request.target = target;
  return Answers().Respond(request);
}

std::string Target(const std::string& code, const char* suffix) {
  return "/cgi-bin/korvz?s=" + code + suffix;
}

/// Answers the level's address for each code in turn; fails on anything but a 200.
void AnswerEach(benchmark::State& state, const std::vector<std::string>& codes,
                const char* suffix) {
  std::vector<std::string> targets;
  for (const std::string& code : codes) targets.push_back(Target(code, suffix));
  std::size_t next = 0;
  for (auto _ : state) {
    const HttpResponse response = Get(targets[next]);
    if (response.status != 200) state.SkipWithError("the level was not served");
    benchmark::DoNotOptimize(response.body.data());
    next = (next + 1) % targets.size();
  }
  state.counters["levels"] = static_cast<double>(codes.size());
}

void BM_Page(benchmark::State& state) {
  AnswerEach(state, RandomCodes(static_cast<int>(state.range(0))), "");
}
void BM_Picture(benchmark::State& state) {
  AnswerEach(state, RandomCodes(static_cast<int>(state.range(0))), "&png=1");
}
void BM_EmbeddedPage(benchmark::State& state) {
  AnswerEach(state, RandomCodes(static_cast<int>(state.range(0))), "&embed=1");
}

/// One known level, answered after a question about another so it is cold each time.
void AnswerColdOne(benchmark::State& state, const char* code, const char* suffix) {
  const std::string target = Target(code, suffix);
  for (auto _ : state) {
    state.PauseTiming();
    yardstick::AskAboutAnotherLevel();
    state.ResumeTiming();
    const HttpResponse response = Get(target);
    if (response.status != 200) state.SkipWithError("the level was not served");
    benchmark::DoNotOptimize(response.body.data());
  }
}

void BM_HardPage(benchmark::State& state, const char* code) { AnswerColdOne(state, code, ""); }
void BM_HardPicture(benchmark::State& state, const char* code) {
  AnswerColdOne(state, code, "&png=1");
}

// ------------------------------------------------------------ the parts

/// The levels of RandomCodes, read from their codes as the worker reads them.
std::vector<Level> RandomLevels(int size) {
  std::vector<Level> levels;
  for (const std::string& code : RandomCodes(size)) levels.push_back(LevelOf(code));
  return levels;
}

void BM_ShortestSolution(benchmark::State& state) {
  const std::vector<Level> levels = RandomLevels(static_cast<int>(state.range(0)));
  std::size_t next = 0;
  for (auto _ : state) {
    const GameState game(levels[next]);
    benchmark::DoNotOptimize(game.ShortestFromStart());
    next = (next + 1) % levels.size();
  }
}

void BM_SolutionExists(benchmark::State& state) {
  std::vector<Level> levels = RandomLevels(static_cast<int>(state.range(0)));
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SolutionExists(levels[next]));
    next = (next + 1) % levels.size();
  }
}

void BM_DrawFrame(benchmark::State& state) {
  BufferRenderer renderer(BuiltInBoardPixels());
  const std::vector<Level> levels = RandomLevels(7);
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(renderer.DrawFrame(levels[next], EditingState{}).pixels.data());
    next = (next + 1) % levels.size();
  }
}

void BM_EncodePng(benchmark::State& state) {
  BufferRenderer renderer(BuiltInBoardPixels());
  std::vector<RgbImage> frames;
  for (std::size_t i = 0; i < 50; ++i)
    frames.push_back(renderer.DrawFrame(LevelOf(RandomCodes(7)[i]), EditingState{}));
  std::size_t next = 0, bytes = 0;
  for (auto _ : state) {
    const std::string png = EncodePng(frames[next]);
    bytes += png.size();
    next = (next + 1) % frames.size();
  }
  state.counters["bytes"] =
      benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kAvgIterations);
}

// ------------------------------------------------------------ no level work

void BM_Redirect(benchmark::State& state) {
  const std::string target = Target("3111221000110FBE5", "&utm_source=chat");
  for (auto _ : state) {
    const HttpResponse response = Get(target);
    if (response.status != 301) state.SkipWithError("no redirect");
    benchmark::DoNotOptimize(response.body.data());
  }
}

void BM_NotModified(benchmark::State& state) {
  Request request;
  request.target = Target(RandomCodes(7)[0], "&png=1");
  request.ifNoneMatch = Answers().Respond(request).Header("ETag");
  for (auto _ : state) {
    const HttpResponse response = Answers().Respond(request);
    if (response.status != 304) state.SkipWithError("no 304");
    benchmark::DoNotOptimize(response.body.data());
  }
}

void BM_RefusedAddress(benchmark::State& state) {
  const std::string target = "/cgi-bin/korvz?s=%3Cscript%3Ealert(1)%3C/script%3E";
  for (auto _ : state) benchmark::DoNotOptimize(Get(target).body.data());
}

}  // namespace

BENCHMARK(BM_Page)->Arg(5)->Arg(7)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EmbeddedPage)->Arg(7)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Picture)->Arg(5)->Arg(7)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HardPage, long_solution, LongSolution)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HardPage, hardest_search, HardestSearch)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HardPicture, long_solution, LongSolution)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HardPicture, hardest_search, HardestSearch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShortestSolution)->Arg(5)->Arg(7)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolutionExists)->Arg(7)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Redirect)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NotModified)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefusedAddress)->Unit(benchmark::kMicrosecond);
