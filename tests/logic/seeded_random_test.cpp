#include "logic/seeded_random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "logic/level_code.h"
#include "logic/maze.h"

namespace {

TEST(SeededRandomTest, GivesTheReferenceSequence) {
  // The first outputs of SplitMix64 for the seeds 0 and 1, as its authors' code gives them.
  struct Row {
    std::uint64_t seed;
    std::vector<std::uint64_t> outputs;
  };
  for (const Row& row : {Row{0, {0xe220a8397b1dcdafu, 0x6e789e6aa1b965f4u, 0x06c45d188009454fu}},
                         Row{1, {0x910a2dec89025cc1u, 0xbeeb8da1658eec67u, 0xf893a2eefb32555eu}}}) {
    SCOPED_TRACE(row.seed);
    SeededRandom random(row.seed);
    for (std::uint64_t expected : row.outputs) EXPECT_EQ(random.Next(), expected);
  }
}

TEST(SeededRandomTest, BelowAndDraw31TakeTheTopBitsOfADraw) {
  // 0xe220a839 is the top half of the seed-0 draw: 10 * 0xe220a839 >> 32 is 8.
  struct Row {
    std::uint32_t bound;
    std::uint32_t expected;
  };
  for (const Row& row :
       {Row{10, 8}, Row{1, 0}, Row{2, 1}, Row{49, 43}, Row{0x80000000u, 0x7110541cu}}) {
    SCOPED_TRACE(row.bound);
    SeededRandom random(0);
    EXPECT_EQ(random.Below(row.bound), row.expected);
  }
  SeededRandom random(0);
  EXPECT_EQ(random.Draw31(), 0x7110541c);
}

TEST(SeededRandomTest, BelowStaysBelowItsBound) {
  SeededRandom random(77);
  for (std::uint32_t bound : {1u, 2u, 3u, 9u, 25u, 49u, 110544u, 0xffffffffu}) {
    for (int i = 0; i < 1000; ++i) ASSERT_LT(random.Below(bound), bound);
  }
}

TEST(SeededRandomTest, MazesOfOneSeedAreEqualAndOfTwoSeedsDiffer) {
  auto mazeCode = [](std::uint64_t seed) {
    SeededRandom random(seed);
    Level level;
    RandomMaze(level, 7, MazeSource(random));
    return WriteLevelCode(level);
  };
  EXPECT_EQ(mazeCode(5), mazeCode(5));
  EXPECT_NE(mazeCode(5), mazeCode(6));
  // Pinned, so that a change of the source or of the maze shows.
  EXPECT_EQ(mazeCode(5), "7003366663300cbcad2c94d277259fa4aa550");
}

}  // namespace
