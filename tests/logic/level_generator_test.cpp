#include "logic/level_generator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <set>
#include <string>
#include <vector>

#include "logic/canonical_code.h"
#include "logic/level_analysis.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "tests/support/test_levels.h"

namespace {

GenerationRequest Request(int size, int minMoves, int maxMoves, int count, std::uint64_t seed) {
  GenerationRequest request;
  request.size = size;
  request.minMoves = minMoves;
  request.maxMoves = maxMoves;
  request.count = count;
  request.seed = seed;
  return request;
}

std::vector<std::string> Codes(const GenerationResult& result) {
  std::vector<std::string> codes;
  for (const FoundLevel& level : result.levels) codes.push_back(level.code);
  return codes;
}

int OpenInnerSides(const Level& level) {
  const int n = level.boardSize;
  int open = 0;
  for (int square = 0; square < n * n; ++square) {
    open += (level.cells[square] & OpenEast) ? 1 : 0;
    open += (level.cells[square] & OpenSouth) ? 1 : 0;
  }
  return open;
}

TEST(GenerateLevelsTest, ASeedGivesTheSameLevels) {
  const GenerationRequest request = Request(5, 12, 20, 3, 2024);
  const GenerationResult first = GenerateLevels(request);
  EXPECT_EQ(first.end, SearchEnd::Done);
  EXPECT_EQ(Codes(first), Codes(GenerateLevels(request)));
  // Pinned: the random source, the maze, the placement and the choice of holes
  // are all ours, so these are the levels of this request on every machine.
  EXPECT_EQ(Codes(first),
            (std::vector<std::string>{"5224030241323b6aa27536645", "53334120121135b33aa8a9c55",
                                      "5140242433044c695ad31bc51"}));
  EXPECT_NE(Codes(first), Codes(GenerateLevels(Request(5, 12, 20, 3, 2025))));
}

TEST(GenerateLevelsTest, FewerLevelsAreTheFirstOfMore) {
  // What a time limit or a cancellation leaves is the start of the full answer.
  const GenerationResult more = GenerateLevels(Request(7, 20, NoMoveLimit, 6, 9));
  const GenerationResult fewer = GenerateLevels(Request(7, 20, NoMoveLimit, 4, 9));
  ASSERT_EQ(more.levels.size(), 6u);
  const std::vector<std::string> moreCodes = Codes(more);
  EXPECT_EQ(Codes(fewer), std::vector<std::string>(moreCodes.begin(), moreCodes.begin() + 4));
}

TEST(GenerateLevelsTest, LevelsToAvoidAreSkippedAndTheRestFollowInOrder) {
  // A small board, where repeats are met often: the levels of a set already
  // there are never found again, and the search goes on past them.
  const GenerationResult plain = GenerateLevels(Request(3, 4, 12, 5, 11));
  ASSERT_EQ(plain.levels.size(), 5u);
  GenerationRequest request = Request(3, 4, 12, 3, 11);
  request.avoid = {plain.levels[0].canonicalCode, plain.levels[2].canonicalCode};
  const GenerationResult avoiding = GenerateLevels(request);
  EXPECT_EQ(Codes(avoiding), (std::vector<std::string>{plain.levels[1].code, plain.levels[3].code,
                                                       plain.levels[4].code}));
}

struct RangeCase {
  int size;
  int minMoves;
  int maxMoves;
  int count;
  int openWalls;
};

class GeneratedLevelsTest : public testing::TestWithParam<RangeCase> {};

TEST_P(GeneratedLevelsTest, AreSolvableInRangeAndDistinct) {
  const RangeCase& range = GetParam();
  GenerationRequest request = Request(range.size, range.minMoves, range.maxMoves, range.count, 31);
  request.openWalls = range.openWalls;
  const GenerationResult result = GenerateLevels(request);
  EXPECT_EQ(result.end, SearchEnd::Done);
  ASSERT_EQ(result.levels.size(), static_cast<std::size_t>(range.count));
  std::set<std::string> canonicalCodes;
  for (const FoundLevel& found : result.levels) {
    SCOPED_TRACE(found.code);
    Level level;
    ASSERT_TRUE(ParseLevelCode(level, found.code).accepted);
    EXPECT_EQ(WriteLevelCode(level), found.code);
    EXPECT_EQ(found.canonicalCode, CanonicalCode(level));
    EXPECT_TRUE(canonicalCodes.insert(found.canonicalCode).second) << "a second level like it";
    const Solution solution = ShortestSolution(level);
    ASSERT_TRUE(solution.exists);
    EXPECT_EQ(static_cast<int>(solution.moves.size()), found.moves);
    EXPECT_GE(found.moves, range.minMoves);
    if (range.maxMoves != NoMoveLimit) {
      EXPECT_LE(found.moves, range.maxMoves);
    }
    // A spanning tree has N*N - 1 passages; each wall opened adds one, until none is left.
    const int n = range.size;
    EXPECT_EQ(OpenInnerSides(level), std::min(n * n - 1 + range.openWalls, 2 * n * (n - 1)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, GeneratedLevelsTest,
    testing::Values(RangeCase{3, 0, 0, 3, 0}, RangeCase{3, 1, 1, 5, 0}, RangeCase{3, 10, 14, 5, 0},
                    RangeCase{3, 2, NoMoveLimit, 5, 2}, RangeCase{3, 3, 6, 4, 99},
                    RangeCase{5, 25, NoMoveLimit, 3, 0}, RangeCase{5, 8, 9, 5, 6},
                    RangeCase{7, 40, NoMoveLimit, 3, 0}, RangeCase{7, 15, 15, 2, 10}));

struct QualityCase {
  int size;
  int minMoves;
  int maxMoves;
  bool unique;
  int minEffort;
  int maxEffort;
  int count;
};

class GeneratedQualityTest : public testing::TestWithParam<QualityCase> {};

// What the analysis finds in every level is what the request asked for.
TEST_P(GeneratedQualityTest, TheAnalysisConfirmsEveryLevel) {
  const QualityCase& c = GetParam();
  GenerationRequest request = Request(c.size, c.minMoves, c.maxMoves, c.count, 12);
  request.unique = c.unique;
  request.minEffort = c.minEffort;
  request.maxEffort = c.maxEffort;
  const GenerationResult result = GenerateLevels(request);
  EXPECT_EQ(result.end, SearchEnd::Done);
  ASSERT_EQ(result.levels.size(), static_cast<std::size_t>(c.count));
  EXPECT_EQ(Codes(GenerateLevels(request)), Codes(result));
  LevelAnalyzer analyzer;
  std::set<std::string> canonicalCodes;
  for (const FoundLevel& found : result.levels) {
    SCOPED_TRACE(found.code);
    Level level;
    ASSERT_TRUE(ParseLevelCode(level, found.code).accepted);
    EXPECT_TRUE(canonicalCodes.insert(CanonicalCode(level)).second) << "a second level like it";
    const LevelAnalysis& analysis = analyzer.Analyze(level);
    ASSERT_TRUE(analysis.solvable);
    EXPECT_EQ(analysis.moves, found.moves);
    EXPECT_GE(analysis.moves, c.minMoves);
    if (c.maxMoves != NoMoveLimit) {
      EXPECT_LE(analysis.moves, c.maxMoves);
    }
    if (c.unique) {
      EXPECT_EQ(analysis.solutions, 1u);
    }
    EXPECT_GE(analysis.greedyEffort, c.minEffort);
    if (c.maxEffort != NoEffortLimit) {
      EXPECT_LE(analysis.greedyEffort, c.maxEffort);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, GeneratedQualityTest,
    testing::Values(QualityCase{3, 4, 9, true, 0, NoEffortLimit, 6},
                    QualityCase{5, 20, NoMoveLimit, true, 0, NoEffortLimit, 3},
                    QualityCase{7, 30, 40, true, 0, NoEffortLimit, 3},
                    QualityCase{5, 10, 20, false, 200, NoEffortLimit, 3},
                    QualityCase{7, 20, 30, false, 1000, 3000, 3},
                    QualityCase{7, 25, NoMoveLimit, true, 0, 80, 2},
                    // The greedy player never does better than the solution itself.
                    QualityCase{3, 5, 5, true, 6, 6, 3}));

TEST(GenerateLevelsTest, AnEffortRangeEveryLevelMeetsChangesNothing) {
  // The quality search numbers the placements in the order the plain one
  // reaches them, and its first draw is the plain one's only draw.
  for (const GenerationRequest& plain :
       {Request(5, 12, 20, 3, 2024), Request(7, 30, NoMoveLimit, 3, 6)}) {
    GenerationRequest any = plain;
    any.maxEffort = 1000000;
    EXPECT_EQ(Codes(GenerateLevels(any)), Codes(GenerateLevels(plain)));
  }
}

TEST(GenerateLevelsTest, LevelsOfQualityArePinnedToo) {
  // Pinned like the plain levels: the count of solutions is part of the
  // choice on every machine.
  GenerationRequest request = Request(5, 12, 20, 3, 2024);
  request.unique = true;
  EXPECT_EQ(Codes(GenerateLevels(request)),
            (std::vector<std::string>{"5224030032110b6aa27536645", "53334122410335b33aa8a9c55",
                                      "5140242212223c695ad31bc51"}));
  request.unique = false;
  request.minEffort = 300;
  request.maxEffort = 400;
  EXPECT_EQ(Codes(GenerateLevels(request)),
            (std::vector<std::string>{"5131410312102b52bc9933e50", "52334303441329bab8daaa611",
                                      "51202131201006aaacccbee04"}));
}

TEST(GenerateLevelsTest, AnUnreachableTargetEndsAfterTheAttemptLimit) {
  GenerationRequest request = Request(3, 500, NoMoveLimit, 2, 1);
  request.attemptLimit = 300;
  const GenerationResult result = GenerateLevels(request);
  EXPECT_EQ(result.end, SearchEnd::OutOfReach);
  EXPECT_TRUE(result.levels.empty());
  EXPECT_EQ(result.tried, 300u);
}

TEST(GenerateLevelsTest, FindsEveryLevelThereIsAndThenRunsOutOfReach) {
  // On the 3 x 3 board without inner walls, the levels of no moves are the
  // placements of the three balls with every hole under its ball: 504
  // placements, which the eight symmetries gather into (504 + 4 * 6) / 8 = 66
  // kinds (only the four mirrors keep any placement, six each: the balls on
  // the three squares of their axis).
  GenerationRequest request = Request(3, 0, 0, 1000, 4);
  request.openWalls = 4;
  request.attemptLimit = 2000;
  const GenerationResult result = GenerateLevels(request);
  EXPECT_EQ(result.end, SearchEnd::OutOfReach);
  EXPECT_EQ(result.levels.size(), 66u);
}

TEST(GenerateLevelsTest, CancellingKeepsTheLevelsFoundSoFar) {
  std::atomic<bool> cancel{false};
  std::vector<FoundLevel> handedOver;
  SearchControl control;
  control.cancel = &cancel;
  control.found = [&](const FoundLevel& level) {
    handedOver.push_back(level);
    if (handedOver.size() == 2) cancel = true;
  };
  const GenerationResult result = GenerateLevels(Request(5, 10, NoMoveLimit, 50, 3), control);
  EXPECT_EQ(result.end, SearchEnd::Cancelled);
  EXPECT_EQ(result.levels, handedOver);
  EXPECT_EQ(result.levels.size(), 2u);

  const GenerationResult none = GenerateLevels(Request(5, 10, NoMoveLimit, 50, 3), control);
  EXPECT_EQ(none.end, SearchEnd::Cancelled);
  EXPECT_TRUE(none.levels.empty());
  EXPECT_EQ(none.tried, 0u);
}

TEST(GenerateLevelsTest, ATimeLimitEndsTheSearch) {
  GenerationRequest request = Request(5, 0, NoMoveLimit, 10000000, 5);
  request.timeLimit = std::chrono::milliseconds(20);
  const GenerationResult result = GenerateLevels(request);
  EXPECT_EQ(result.end, SearchEnd::TimeUp);
  EXPECT_LT(result.levels.size(), 10000000u);
}

TEST(GenerateLevelsTest, ProgressEndsWithTheFinalCounts) {
  std::vector<SearchProgress> reports;
  SearchControl control;
  control.progress = [&](const SearchProgress& progress) { reports.push_back(progress); };
  const GenerationResult result = GenerateLevels(Request(5, 20, 30, 4, 8), control);
  ASSERT_FALSE(reports.empty());
  const SearchProgress& last = reports.back();
  EXPECT_EQ(last.levelsFound, 4);
  EXPECT_EQ(last.levelsTried, result.tried);
  int longest = -1;
  for (const FoundLevel& level : result.levels) longest = std::max(longest, level.moves);
  EXPECT_EQ(last.bestMoves, longest);
}

TEST(GenerateLevelsTest, NoLevelsAskedForNoneTried) {
  const GenerationResult result = GenerateLevels(Request(7, 40, NoMoveLimit, 0, 1));
  EXPECT_EQ(result.end, SearchEnd::Done);
  EXPECT_TRUE(result.levels.empty());
  EXPECT_EQ(result.tried, 0u);
}

// No shortest solution has more moves than the board has placements but one.
TEST(GenerateLevelsTest, MostSolutionMovesPerBoardSize) {
  EXPECT_EQ(MostSolutionMoves(3), 503);
  EXPECT_EQ(MostSolutionMoves(5), 13799);
  EXPECT_EQ(MostSolutionMoves(7), 110543);
  GenerationRequest request = Request(3, 503, 503, 1, 0);
  EXPECT_FALSE(GenerationRequestProblem(request));
  request.maxMoves = 504;
  EXPECT_EQ(EnglishReason(GenerationRequestProblem(request).value()),
            "a shortest solution on a 3 x 3 board has at most 503 moves");
}

TEST(GenerateLevelsTest, RequestsThatCannotBeRunAreNamed) {
  struct Row {
    const char* name;
    GenerationRequest request;
  };
  GenerationRequest base = Request(5, 10, 20, 1, 0);
  std::vector<Row> rows;
  auto add = [&](const char* name, auto change) {
    GenerationRequest request = base;
    change(request);
    rows.push_back({name, request});
  };
  add("size 4", [](GenerationRequest& r) { r.size = 4; });
  add("size 9", [](GenerationRequest& r) { r.size = 9; });
  add("negative least", [](GenerationRequest& r) { r.minMoves = -1; });
  add("largest below least", [](GenerationRequest& r) { r.maxMoves = 9; });
  add("largest negative", [](GenerationRequest& r) { r.maxMoves = -2; });
  add("least beyond the board", [](GenerationRequest& r) { r.minMoves = r.maxMoves = 13800; });
  add("largest beyond the board", [](GenerationRequest& r) { r.maxMoves = INT_MAX; });
  add("negative count", [](GenerationRequest& r) { r.count = -1; });
  add("negative walls", [](GenerationRequest& r) { r.openWalls = -1; });
  add("no attempts", [](GenerationRequest& r) { r.attemptLimit = 0; });
  add("negative time", [](GenerationRequest& r) { r.timeLimit = std::chrono::milliseconds(-1); });
  add("negative least effort", [](GenerationRequest& r) { r.minEffort = -1; });
  add("largest effort below least", [](GenerationRequest& r) {
    r.minEffort = 30;
    r.maxEffort = 29;
  });
  EXPECT_FALSE(GenerationRequestProblem(base));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::optional<Reason> problem = GenerationRequestProblem(row.request);
    ASSERT_TRUE(problem);
    EXPECT_FALSE(EnglishReason(*problem).empty());
    const GenerationResult result = GenerateLevels(row.request);
    EXPECT_EQ(result.end, SearchEnd::OutOfReach);
    EXPECT_TRUE(result.levels.empty());
  }
}

}  // namespace
