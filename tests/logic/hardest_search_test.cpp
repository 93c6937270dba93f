#include "logic/hardest_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "logic/canonical_code.h"
#include "logic/level_code.h"
#include "logic/seeded_random.h"
#include "logic/solver.h"

namespace {

HardestRequest Request(int size, std::uint64_t seed, std::uint64_t evaluations) {
  HardestRequest request;
  request.size = size;
  request.seed = seed;
  request.timeLimit = std::chrono::milliseconds(0);
  request.evaluationLimit = evaluations;
  return request;
}

/// The length of the level's shortest solution by the solver; -1 for none.
int SolverLength(const std::string& code) {
  Level level;
  if (!ParseLevelCode(level, code).accepted) return -2;
  const Solution solution = ShortestSolution(level);
  return solution.exists ? static_cast<int>(solution.moves.size()) : -1;
}

class HardestSearchTest : public testing::TestWithParam<int> {};

TEST_P(HardestSearchTest, ReportsEveryImprovementAndEndsWithTheBest) {
  const int size = GetParam();
  std::vector<FoundLevel> improvements;
  SearchControl control;
  control.found = [&](const FoundLevel& level) { improvements.push_back(level); };
  const HardestResult result = FindHardestLevel(Request(size, 17, 400), control);
  EXPECT_EQ(result.end, SearchEnd::Done);
  EXPECT_GE(result.tried, 400u);
  ASSERT_FALSE(improvements.empty());
  EXPECT_EQ(improvements.back(), result.best);
  for (std::size_t i = 0; i < improvements.size(); ++i) {
    const FoundLevel& level = improvements[i];
    SCOPED_TRACE(level.code);
    EXPECT_EQ(SolverLength(level.code), level.moves);
    Level read;
    ASSERT_TRUE(ParseLevelCode(read, level.code).accepted);
    EXPECT_EQ(level.canonicalCode, CanonicalCode(read));
    if (i > 0) {
      EXPECT_GT(level.moves, improvements[i - 1].moves);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, HardestSearchTest, testing::Values(3, 5, 7));

TEST(HardestSearchTest, ASeedGivesTheSameClimb) {
  const HardestResult first = FindHardestLevel(Request(5, 4, 300));
  EXPECT_EQ(first.best, FindHardestLevel(Request(5, 4, 300)).best);
  EXPECT_NE(first.best.code, FindHardestLevel(Request(5, 5, 300)).best.code);
}

TEST(HardestSearchTest, ASeedAndAStepCountFixTheLevelFound) {
  // Found by this search; a faster rating or search must find the same.
  struct Case {
    int size;
    std::uint64_t seed;
    std::uint64_t evaluations;
    HardestGoal goal;
    const char* code;
    int moves;
  };
  const Case cases[] = {
      {5, 3, 600, HardestGoal::Moves, "5340302123234abb966f2b455", 60},
      {7, 1, 400, HardestGoal::Moves, "70402031523042562350e7694fc071aac0054", 71},
      {7, 9, 600, HardestGoal::Moves, "72314241462534d7b52ce33330653b8b3c145", 92},
      {5, 6, 500, HardestGoal::Effort, "51012404010013fb06b88f654", 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " x " << c.size << ", seed " << c.seed);
    HardestRequest request = Request(c.size, c.seed, c.evaluations);
    request.goal = c.goal;
    const HardestResult result = FindHardestLevel(request);
    EXPECT_EQ(result.best.code, c.code);
    EXPECT_EQ(result.best.moves, c.moves);
  }
}

TEST(HardestSearchTest, SoonPassesTheLongestSevenBySevenLevelKnownBefore) {
  // 58 moves was the longest 7 x 7 solution known before this search.
  const HardestResult result = FindHardestLevel(Request(7, 1, 400));
  EXPECT_GT(result.best.moves, 58);
  EXPECT_EQ(SolverLength(result.best.code), result.best.moves);
}

TEST(HardestSearchTest, ClimbsOnThreadsShareTheEvaluationsAndKeepTheBestOfThem) {
  // Each climb keeps its own course: the best of two climbs of 300
  // candidates, the second from the first draw of the seed.
  HardestRequest twoClimbs = Request(5, 17, 600);
  twoClimbs.threads = 2;
  const int first = FindHardestLevel(Request(5, 17, 300)).best.moves;
  const int second = FindHardestLevel(Request(5, SeededRandom(17).Next(), 300)).best.moves;
  ASSERT_NE(first, second);  // so that the test tells whether both climbs count

  std::vector<FoundLevel> improvements;
  SearchControl control;
  control.found = [&](const FoundLevel& level) { improvements.push_back(level); };
  const HardestResult result = FindHardestLevel(twoClimbs, control);
  EXPECT_EQ(result.end, SearchEnd::Done);
  EXPECT_EQ(result.best.moves, std::max(first, second));
  EXPECT_GE(result.tried, 600u);
  ASSERT_FALSE(improvements.empty());
  EXPECT_EQ(improvements.back(), result.best);
  for (std::size_t i = 1; i < improvements.size(); ++i) {
    EXPECT_GT(improvements[i].moves, improvements[i - 1].moves);
  }
  EXPECT_EQ(SolverLength(result.best.code), result.best.moves);
}

TEST(HardestSearchTest, StopsWhenCancelled) {
  std::atomic<bool> cancel{false};
  int found = 0;
  SearchControl control;
  control.cancel = &cancel;
  control.found = [&](const FoundLevel&) {
    ++found;
    cancel = true;
  };
  HardestRequest request = Request(7, 2, 0);
  request.timeLimit = std::chrono::hours(1);
  for (int threads : {1, 2}) {
    SCOPED_TRACE(testing::Message() << threads << " threads");
    cancel = false;
    found = 0;
    request.threads = threads;
    const HardestResult result = FindHardestLevel(request, control);
    EXPECT_EQ(result.end, SearchEnd::Cancelled);
    EXPECT_EQ(found, 1);  // no level after the cancellation
    EXPECT_EQ(SolverLength(result.best.code), result.best.moves);
  }

  // Cancelled before it starts: nothing rated, nothing found.
  const HardestResult none = FindHardestLevel(request, control);
  EXPECT_EQ(none.end, SearchEnd::Cancelled);
  EXPECT_EQ(none.tried, 0u);
  EXPECT_EQ(none.best.moves, -1);
  EXPECT_TRUE(none.best.code.empty());
}

TEST(HardestSearchTest, StopsAtTheTimeLimit) {
  HardestRequest request = Request(5, 2, 0);
  request.timeLimit = std::chrono::milliseconds(30);
  std::vector<SearchProgress> reports;
  SearchControl control;
  control.progress = [&](const SearchProgress& progress) { reports.push_back(progress); };
  const HardestResult result = FindHardestLevel(request, control);
  EXPECT_EQ(result.end, SearchEnd::TimeUp);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back().bestMoves, result.best.moves);
  EXPECT_EQ(reports.back().levelsTried, result.tried);
}

TEST(HardestSearchTest, RequestsThatCannotBeRunAreNamed) {
  EXPECT_FALSE(HardestRequestProblem(Request(5, 0, 10)));
  HardestRequest noThreads = Request(5, 0, 10);
  noThreads.threads = 0;
  for (const HardestRequest& request : {Request(4, 0, 10), Request(5, 0, 0), noThreads}) {
    EXPECT_TRUE(HardestRequestProblem(request));
    const HardestResult result = FindHardestLevel(request);
    EXPECT_EQ(result.end, SearchEnd::OutOfReach);
    EXPECT_EQ(result.best.moves, -1);
  }
}

}  // namespace
