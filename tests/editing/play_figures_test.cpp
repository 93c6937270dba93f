#include "editing/play_figures.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* TwoMoves = "3111221000110fbe5";
constexpr const char* TwoMovesTurned = "3110110221221fbe5";  // its canonical form
constexpr const char* OtherLevel = "3001122221100fbe5";
constexpr std::int64_t Now = 1'800'000'000;

PlayFigures Sample() {
  PlayFigures figures;
  figures.plays = 12;
  figures.solvedFirst = 7.0 / 12.0;
  figures.medianSeconds = 41.5;
  figures.rating = 1623.456789;
  figures.deviation = 187.25;
  figures.provisional = true;
  figures.likes = 3;
  figures.dislikes = 1;
  return figures;
}

void ExpectSame(const PlayFigures& read, const PlayFigures& written) {
  EXPECT_EQ(read.plays, written.plays);
  EXPECT_EQ(read.solvedFirst, written.solvedFirst);
  EXPECT_EQ(read.medianSeconds, written.medianSeconds);
  EXPECT_EQ(read.rating, written.rating);
  EXPECT_EQ(read.deviation, written.deviation);
  EXPECT_EQ(read.provisional, written.provisional);
  EXPECT_EQ(read.likes, written.likes);
  EXPECT_EQ(read.dislikes, written.dislikes);
}

TEST(PlayFiguresTest, TheCopyReadsBackAsWritten) {
  PlayFigures settled = Sample();
  settled.provisional = false;
  settled.medianSeconds.reset();  // published, never solved
  PlayFiguresCache cache;
  cache[TwoMovesTurned] = {Now - 5, Sample()};
  cache[OtherLevel] = {Now - 7, std::nullopt};  // not published
  const PlayFiguresCache read = ReadPlayFiguresCache(WritePlayFiguresCache(cache));
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read.at(TwoMovesTurned).fetched, Now - 5);
  ASSERT_TRUE(read.at(TwoMovesTurned).figures);
  ExpectSame(*read.at(TwoMovesTurned).figures, Sample());
  EXPECT_EQ(read.at(OtherLevel).fetched, Now - 7);
  EXPECT_FALSE(read.at(OtherLevel).figures);

  cache[TwoMovesTurned] = {Now, settled};
  ExpectSame(*ReadPlayFiguresCache(WritePlayFiguresCache(cache)).at(TwoMovesTurned).figures,
             settled);
}

TEST(PlayFiguresTest, ADamagedCopyKeepsOnlyItsSoundLines) {
  const std::string sound = WritePlayFiguresCache({{TwoMovesTurned, {Now, Sample()}}});
  const std::string line = sound.substr(sound.find('\n') + 1);
  struct Case {
    const char* what;
    std::string text;
    std::size_t entries;
  };
  const Case cases[] = {
      {"empty", "", 0},
      {"another format", "korvalo play figures 2\n" + line, 0},
      {"no heading", line, 0},
      {"cut in the middle", sound.substr(0, sound.size() - 9), 0},
      {"a binary line", sound + std::string("\0\xff\t1\n", 5), 1},
      {"a count of text", sound + OtherLevel + "\t5\tmany\t0.5\t-\t1500\t350\t1\t0\t0\n", 1},
      {"a share above one", sound + OtherLevel + "\t5\t3\t1.5\t-\t1500\t350\t1\t0\t0\n", 1},
      {"negative plays", sound + OtherLevel + "\t5\t-3\t0.5\t-\t1500\t350\t1\t0\t0\n", 1},
      {"not a number", sound + OtherLevel + "\t5\t3\t0.5\t-\tnan\t350\t1\t0\t0\n", 1},
      {"a field too many", sound + OtherLevel + "\t5\t3\t0.5\t-\t1500\t350\t1\t0\t0\t9\n", 1},
      {"not a level", sound + "3zz\t5\tnot published\n", 1},
      {"not the canonical form", sound + TwoMoves + "\t5\tnot published\n", 1},
      {"a sound second line", sound + OtherLevel + "\t5\tnot published\n", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReadPlayFiguresCache(c.text).size(), c.entries);
  }
}

TEST(PlayFiguresTest, AsksOnceForEachLevelWithoutAFreshAnswer) {
  PlayFiguresCache cache;
  // Two forms of one level, a line that is no level, another level.
  const std::vector<std::string> set = {TwoMoves, TwoMovesTurned, "not a code", OtherLevel};
  EXPECT_EQ(CodesToFetch(set, cache, Now), (std::vector<std::string>{TwoMovesTurned, OtherLevel}));

  cache[TwoMovesTurned] = {Now - 60, Sample()};
  cache[OtherLevel] = {Now - 60, std::nullopt};
  EXPECT_TRUE(CodesToFetch(set, cache, Now).empty());
  EXPECT_EQ(CodesToFetch(set, cache, Now - 60 + PlayFiguresFreshFor).size(), 2u);
  EXPECT_EQ(CodesToFetch(set, cache, Now - 61).size(), 2u);  // the clock went back
}

TEST(PlayFiguresTest, FindsTheFiguresOfAPublishedLevelInAnyForm) {
  PlayFiguresCache cache;
  cache[TwoMovesTurned] = {Now, Sample()};
  cache[OtherLevel] = {Now, std::nullopt};
  ASSERT_NE(FindFigures(cache, TwoMoves), nullptr);
  EXPECT_EQ(FindFigures(cache, TwoMoves)->plays, 12);
  EXPECT_EQ(FindFigures(cache, OtherLevel), nullptr);  // not published
  EXPECT_EQ(FindFigures(cache, "7000"), nullptr);      // not asked for, not a level
}

TEST(PlayFiguresTest, EveryLevelHasItsLineOnceOneIsKnownPublished) {
  constexpr const char* NotAsked = "5000000000000000000000000000000000fbe5";
  PlayFiguresCache cache;
  cache[OtherLevel] = {Now, std::nullopt};
  const std::vector<std::string> set = {TwoMoves, OtherLevel, NotAsked};
  EXPECT_EQ(KnownOf(cache, TwoMoves), FiguresKnown::Nothing);
  EXPECT_EQ(KnownOf(cache, OtherLevel), FiguresKnown::NotPublished);
  EXPECT_FALSE(ShowsPlayFigures(cache, set));
  cache[TwoMovesTurned] = {Now, Sample()};
  EXPECT_EQ(KnownOf(cache, TwoMoves), FiguresKnown::Figures);
  EXPECT_TRUE(ShowsPlayFigures(cache, set));
  EXPECT_FALSE(ShowsPlayFigures(cache, {OtherLevel, NotAsked}));
}

}  // namespace
