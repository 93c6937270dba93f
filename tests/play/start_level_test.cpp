#include "play/start_level.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "logic/level_code.h"
#include "play/set_start.h"

namespace {

namespace fs = std::filesystem;

using Arguments = std::vector<std::string>;

struct TakeCase {
  const char* name;
  Arguments arguments;
  std::optional<int> level;
  Arguments rest;
  std::string error;  // empty when the command line is taken
};

TEST(StartLevelTest, TakesTheOptionOutOrRefusesIt) {
  // One case a line, so that each reads across.
  // clang-format off
  const TakeCase cases[] = {
      {"none", {"sets/one.txt"}, std::nullopt, {"sets/one.txt"}, ""},
      {"nothing at all", {}, std::nullopt, {}, ""},
      {"before the file", {"--level", "2", "one.txt"}, 2, {"one.txt"}, ""},
      {"after the file", {"one.txt", "--level", "12"}, 12, {"one.txt"}, ""},
      {"with equals", {"--level=3", "my", "set.txt"}, 3, {"my", "set.txt"}, ""},
      {"leading zero", {"--level", "007", "one.txt"}, 7, {"one.txt"}, ""},
      {"largest taken", {"--level", "9999999", "one.txt"}, 9999999, {"one.txt"}, ""},
      {"zero", {"--level", "0", "one.txt"}, std::nullopt, {}, "--level needs a level number from 1, not \"0\""},
      {"negative", {"--level", "-2", "one.txt"}, std::nullopt, {}, "--level needs a level number from 1, not \"-2\""},
      {"word", {"--level", "two", "one.txt"}, std::nullopt, {}, "--level needs a level number from 1, not \"two\""},
      {"trailing letters", {"--level=2x", "one.txt"}, std::nullopt, {}, "--level needs a level number from 1, not \"2x\""},
      {"blank", {"--level", " 2", "one.txt"}, std::nullopt, {}, "--level needs a level number from 1, not \" 2\""},
      {"empty after equals", {"--level=", "one.txt"}, std::nullopt, {}, "--level needs a level number from 1, not \"\""},
      {"leading zeros beyond the digits", {"--level", "000000000005", "one.txt"}, 5, {"one.txt"}, ""},
      {"more than any set holds", {"--level", "12345678", "one.txt"}, std::nullopt, {}, "there is no level 12345678: no set file holds that many levels"},
      {"overflow", {"--level", "99999999999999999999", "one.txt"}, std::nullopt, {}, "there is no level 99999999999999999999: no set file holds that many levels"},
      {"missing number", {"one.txt", "--level"}, std::nullopt, {}, "--level needs a level number"},
      {"twice", {"--level", "1", "--level=2", "one.txt"}, std::nullopt, {}, "--level is given more than once"},
      {"no set", {"--level", "2"}, std::nullopt, {}, "--level needs a level-set file to play"},
  };
  // clang-format on
  for (const TakeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const StartLevelOption option = TakeStartLevel(c.arguments);
    EXPECT_EQ(option.error, c.error);
    EXPECT_EQ(option.level, c.level);
    EXPECT_EQ(option.rest, c.rest);
  }
}

constexpr const char* TwoMoveCode = "3111221000110fbe5";
constexpr const char* OneMoveCode = "5020100030201ffbfeffbfe55";

/// A set file of two levels in a folder of the test's own.
class StartLevelFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "start_level_test.XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_folder = pattern;
    std::ofstream(m_folder / "two.txt", std::ios::binary) << TwoMoveCode << "\tFirst\nnot a level\n"
                                                          << OneMoveCode << "\tSecond\n";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
  }

  GameStart Open(const Arguments& arguments) const {
    return OpenGameOrSet(
        arguments, [] { return 0; }, std::make_shared<MemoryProgressStore>());
  }
  std::string SetPath() const { return (m_folder / "two.txt").string(); }

  fs::path m_folder;
};

TEST_F(StartLevelFileTest, StartsTheSetAtTheLevelAsked) {
  GameStart start = Open({SetPath()});
  EXPECT_EQ(ApplyStartLevel(2, start), "");
  ASSERT_TRUE(start.set.has_value());
  EXPECT_EQ(start.set->Index(), 1);
  EXPECT_EQ(WriteLevelCode(start.level), OneMoveCode);

  EXPECT_EQ(ApplyStartLevel(1, start), "");
  EXPECT_EQ(start.set->Index(), 0);
  EXPECT_EQ(WriteLevelCode(start.level), TwoMoveCode);
}

TEST_F(StartLevelFileTest, RefusesALevelPastTheEndOrALevelCode) {
  GameStart set = Open({SetPath()});
  EXPECT_EQ(ApplyStartLevel(3, set), "there is no level 3 to start at: the set has 2 levels");
  EXPECT_EQ(set.set->Index(), 0) << "a refused level changes nothing";

  GameStart code = Open({OneMoveCode});
  EXPECT_EQ(ApplyStartLevel(1, code), "--level needs a level-set file to play, not a level code");
}

// The game says why the set could not be opened, as it does without the option.
TEST_F(StartLevelFileTest, ASetThatCannotBeOpenedIsLeftToItsNotice) {
  for (const std::string& path : {(m_folder / "missing.txt").string(), m_folder.string()}) {
    SCOPED_TRACE(path);
    GameStart start = Open({path});
    ASSERT_FALSE(start.notice.empty());
    EXPECT_EQ(ApplyStartLevel(2, start), "");
    EXPECT_FALSE(start.set.has_value());
  }
}

}  // namespace
