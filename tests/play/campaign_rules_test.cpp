#include <gtest/gtest.h>

#include <string>

#include "play/campaign.h"
#include "tests/cli/temp_folder.h"

namespace {

// 3 x 3 levels: each solved by the moves named.
constexpr const char* TwoMoves = "3111221000110fbe5";   // N W
constexpr const char* Solved = "3001122001122fbe5";     // already solved
constexpr const char* FourMoves = "31011121121026ac5";  // four moves
constexpr const char* NoSolution = "3001122221100fbe5";

class CampaignTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Named out of order on purpose: the names give the order.
    m_folder.Write("02-second.txt",
                   std::string("# title: Second\n") + FourMoves + "\n" + Solved + "\n");
    m_folder.Write("01-first.txt",
                   std::string("# title: First\n") + TwoMoves + "\tOne\n" + NoSolution + "\n");
    m_folder.Write("03-empty.txt", "# title: nothing to play\nbogus\n");
    m_folder.Write("notes.md", std::string(TwoMoves) + "\n");
    m_campaign = ReadCampaign(m_folder.Path());
  }

  std::string Code(int chapter, int level) const {
    return m_campaign.chapters[static_cast<std::size_t>(chapter)]
        .set.levels[static_cast<std::size_t>(level)]
        .canonicalCode;
  }

  TempFolder m_folder;
  Campaign m_campaign;
  MemoryProgressStore m_progress;
};

TEST_F(CampaignTest, ChaptersAreTheFoldersSetsInTheOrderOfTheirNames) {
  ASSERT_EQ(m_campaign.chapters.size(), 2u);
  EXPECT_EQ(m_campaign.chapters[0].set.title, "First");
  EXPECT_EQ(m_campaign.chapters[1].set.title, "Second");
  EXPECT_TRUE(ReadCampaign(m_folder.Path("none")).Empty());
}

TEST_F(CampaignTest, ResumesAtTheLevelPlayedLastOrTheNextNotSolved) {
  const struct {
    const char* what;
    std::vector<std::pair<int, int>> solved;  // chapter, level
    std::optional<std::pair<int, int>> last;
    CampaignPlace place;
  } cases[] = {
      {"a new player", {}, std::nullopt, {0, 0}},
      {"the last level, not solved", {{0, 0}}, std::pair{1, 0}, {1, 0}},
      {"the last level solved: the next not solved", {{0, 0}}, std::pair{0, 0}, {0, 1}},
      {"on into the next chapter", {{0, 1}}, std::pair{0, 1}, {1, 0}},
      {"after the last one, back to the first not solved",
       {{1, 0}, {1, 1}},
       std::pair{1, 1},
       {0, 0}},
      {"everything solved: the very first",
       {{0, 0}, {0, 1}, {1, 0}, {1, 1}},
       std::pair{1, 0},
       {0, 0}},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    MemoryProgressStore progress;
    for (const auto& [chapter, level] : test.solved)
      progress.SetFewestMoves(Code(chapter, level), 9);
    if (test.last) progress.SetLastPlayed(Code(test.last->first, test.last->second));
    EXPECT_EQ(ResumePlace(m_campaign, progress), test.place);
  }
}

TEST_F(CampaignTest, PickerRowsShowBestAgainstShortestWithStars) {
  m_progress.SetFewestMoves(Code(0, 0), 2);
  const std::vector<PickerRow> first = PickerRows(m_campaign.chapters[0].set, m_progress);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].number, 1);
  EXPECT_EQ(first[0].title, "One");
  EXPECT_EQ(first[0].fewest, 2);
  EXPECT_EQ(first[0].shortest, 2);
  EXPECT_EQ(first[0].stars, 3);
  EXPECT_EQ(first[1].shortest, std::nullopt);
  EXPECT_EQ(first[1].stars, 0);
  EXPECT_EQ(SolvedLevels(m_campaign.chapters[0].set, m_progress), 1);
  EXPECT_EQ(PickerRows(m_campaign.chapters[1].set, m_progress)[0].shortest, 4);
}

TEST(StarsTest, FewestMovesAgainstTheShortest) {
  const struct {
    std::optional<int> fewest;
    std::optional<int> shortest;
    int stars;
  } cases[] = {
      {std::nullopt, 5, 0},
      {5, 5, 3},
      {7, 5, 2},
      {8, 5, 2},
      {9, 5, 1},
      {3, 2, 2},
      {4, 2, 1},
      {0, 0, 3},
      {40, 10, 1},
      {2, std::nullopt, 3},  // a level without solution cannot be solved: any record is best
  };
  for (const auto& test : cases) {
    EXPECT_EQ(Stars(test.fewest, test.shortest), test.stars)
        << test.fewest.value_or(-1) << " of " << test.shortest.value_or(-1);
  }
}

}  // namespace
