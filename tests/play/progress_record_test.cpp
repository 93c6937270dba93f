#include "play/progress_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* Small = "3001122001122fbe5";
constexpr const char* Large = "5020100030201ffbfeffbfe55";

ProgressRecord Record(std::map<std::string, int> fewest, std::string last = "") {
  return ProgressRecord{std::move(fewest), std::move(last)};
}

TEST(ProgressRecordTest, TextRoundTripsAndSortsByCode) {
  const ProgressRecord record = Record({{Large, 12}, {Small, 0}}, Large);
  const std::string text = WriteProgress(record);
  EXPECT_EQ(text, std::string("# Korvalo progress 1\nsolved\t") + Small + "\t0\nsolved\t" + Large +
                      "\t12\nlast\t" + Large + "\n");
  const ProgressReading reading = ReadProgress(text);
  EXPECT_FALSE(reading.Damaged());
  EXPECT_EQ(reading.record, record);
  EXPECT_EQ(ReadProgress(WriteProgress(ProgressRecord{})).record, ProgressRecord{});
}

TEST(ProgressRecordTest, DamagedTextsNameTheirBadLinesAndKeepTheRest) {
  const std::string header = "# Korvalo progress 1\n";
  const struct {
    const char* what;
    std::string text;
    std::vector<int> badLines;
    ProgressRecord record;
  } cases[] = {
      {"empty: no progress yet", "", {}, {}},
      {"CR LF and blank lines",
       header + "\r\nsolved\t" + Small + "\t3\r\n\r\n",
       {},
       Record({{Small, 3}})},
      {"the same level twice keeps the fewer",
       header + "solved\t" + Small + "\t5\nsolved\t" + Small + "\t3\n",
       {},
       Record({{Small, 3}})},
      {"no header", std::string("solved\t") + Small + "\t3\n", {1}, Record({{Small, 3}})},
      {"another program's file", "\x89PNG\r\n\x1a\n", {1, 2}, {}},
      {"moves not a count",
       header + "solved\t" + Small + "\t-1\nsolved\t" + Large + "\tmany\n",
       {2, 3},
       {}},
      {"cut short in a line",
       header + "solved\t" + Small + "\t4\nsolved\t" + Large,
       {3},
       Record({{Small, 4}})},
      {"upper-case code, unknown entry, extra field",
       header + "solved\t3001122001122FBE5\t1\nbest\t" + Small + "\nlast\t" + Small + "\tx\n",
       {2, 3, 4},
       {}},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    const ProgressReading reading = ReadProgress(test.text);
    EXPECT_EQ(reading.badLines, test.badLines);
    EXPECT_EQ(reading.record, test.record);
  }
}

TEST(ProgressRecordTest, MergeKeepsTheFewerMovesOfBothAndTheNewerLastLevel) {
  ProgressRecord mine = Record({{Small, 4}, {Large, 10}}, Small);
  MergeProgress(mine, Record({{Large, 12}, {"7000000000000000000000000000000000000", 30}}, Large));
  EXPECT_EQ(mine, Record({{Small, 4}, {Large, 10}, {"7000000000000000000000000000000000000", 30}},
                         Large));
  MergeProgress(mine, Record({{Small, 2}}));
  EXPECT_EQ(mine.fewestMoves.at(Small), 2);
  EXPECT_EQ(mine.lastPlayed, Large);  // a record without a last level leaves it

  EXPECT_FALSE(KeepFewestMoves(mine, Small, 2));
  EXPECT_FALSE(KeepFewestMoves(mine, Small, 9));
  EXPECT_TRUE(KeepFewestMoves(mine, Small, 1));
}

}  // namespace
