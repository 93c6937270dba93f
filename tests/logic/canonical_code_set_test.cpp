#include "logic/canonical_code_set.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

/// The 37-digit code with the number written into its last sixteen digits.
std::string NumberedCode(std::uint64_t number) {
  std::string code = "7001122001122ffffffff0000000000000000";
  for (std::size_t i = 0; i < 16; ++i, number >>= 4) {
    code[code.size() - 1 - i] = "0123456789abcdef"[number & 15];
  }
  return code;
}

TEST(CanonicalCodeSetTest, AnswersTheFirstLineOfEveryCodeMetBefore) {
  struct Row {
    const char* code;
    int line;
    std::optional<int> firstLine;
  };
  const Row rows[] = {
      {"3001122221100fbe5", 1, std::nullopt},
      {"50022444422005eae44c9f644", 2, std::nullopt},
      {"76342030002556aa97fe5aa95fe55a9572555", 3, std::nullopt},
      {"3001122221100fbe5", 4, 1},
      // Differs from the first only in its last digit, or by its length.
      {"3001122221100fbe4", 5, std::nullopt},
      {"76342030002556aa97fe5aa95fe55a9572555", 6, 3},
      {"3001122221100fbe4", 7, 5},
  };
  CanonicalCodeSet set;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    EXPECT_EQ(set.FirstLineOrAdd(row.code, row.line), row.firstLine);
  }
  EXPECT_EQ(set.Size(), 4u);
}

// The repeat check of check-set holds millions of levels: every code stays
// found through the table's growth, in at most 64 bytes each.
TEST(CanonicalCodeSetTest, KeepsEveryCodeThroughGrowthInSixtyFourBytesEach) {
  constexpr int Count = 200000;
  CanonicalCodeSet set;
  for (int i = 0; i < Count; ++i) {
    ASSERT_EQ(set.FirstLineOrAdd(NumberedCode(i * 7919ull), i + 1), std::nullopt) << i;
  }
  for (int i = 0; i < Count; i += 997) {
    EXPECT_EQ(set.FirstLineOrAdd(NumberedCode(i * 7919ull), Count + 1), i + 1) << i;
  }
  EXPECT_EQ(set.Size(), static_cast<std::size_t>(Count));
  EXPECT_LE(set.Bytes(), 64u * Count);
}

}  // namespace
