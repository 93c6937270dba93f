// The server program's answers, in-process: the level page and the picture
// for a 7 x 7 level with a long solution, and for one without a solution
// (whose searches visit every reachable placement). Each answer must take
// well under 20 ms of server time.

#include <benchmark/benchmark.h>

#include "server/responses.h"

namespace {

constexpr const char* LongSolution = "7003366663300d4dae70cec86baf110a5e554";  // 35 moves
constexpr const char* NoSolution = "76342030002556aa97fe5aa95fe55a9572555";

void Answer(benchmark::State& state, const std::string& query) {
  CgiRequest request;
  request.query = query;
  request.host = "www.example.org";
  for (auto _ : state) {
    const HttpResponse response = Respond(request);
    if (response.status != 200) state.SkipWithError("the level was not served");
    benchmark::DoNotOptimize(response.body.data());
  }
}

void BM_PageOfALongSolution(benchmark::State& state) {
  Answer(state, std::string("s=") + LongSolution);
}
void BM_PageWithoutSolution(benchmark::State& state) {
  Answer(state, std::string("s=") + NoSolution);
}
void BM_PictureOfALongSolution(benchmark::State& state) {
  Answer(state, std::string("s=") + LongSolution + "&png=1");
}
void BM_RefusedQuery(benchmark::State& state) {
  CgiRequest request;
  request.query = "s=%3Cscript%3Ealert(1)%3C/script%3E";
  for (auto _ : state) benchmark::DoNotOptimize(Respond(request).body.data());
}

}  // namespace

BENCHMARK(BM_PageOfALongSolution)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageWithoutSolution)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureOfALongSolution)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefusedQuery)->Unit(benchmark::kMicrosecond);
