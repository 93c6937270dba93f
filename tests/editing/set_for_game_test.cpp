// What Test Set hands the game: the set's text with its unsaved changes, the
// selected level as the game counts it, and whether the set's own file holds it.

#include "editing/set_for_game.h"

#include <gtest/gtest.h>

#include "logic/level_code.h"

namespace {

constexpr const char* SolvedThreeCode = "3001122001122fbe5";
constexpr const char* RowCode = "5020100030201ffbfeffbfe55";

const std::string SavedText = "# title: Corridors\n# a comment the file keeps\n" +
                              std::string(SolvedThreeCode) + "\tFirst\n\n" + RowCode + "\tSecond\n";

class SetForGameTest : public ::testing::Test {
 protected:
  void AddToSet(const char* code) {
    Level level;
    ASSERT_TRUE(ParseLevelCode(level, code).accepted) << code;
    session.board().Apply(edit::ReplaceLevel{level, OriginKind::Pasted});
    session.AddBoardLevel();
  }

  DesignerSession session{[] { return 0; }};
};

TEST_F(SetForGameTest, AnEmptySetHasNothingToPlay) {
  EXPECT_FALSE(SetForGameOf(session).has_value());
}

TEST_F(SetForGameTest, ASavedUnchangedSetIsPlayedFromItsOwnFile) {
  ASSERT_TRUE(session.OpenSet(SavedText, "/sets/corridors.txt").empty());
  session.Select(1);
  const std::optional<SetForGame> game = SetForGameOf(session);
  ASSERT_TRUE(game.has_value());
  EXPECT_EQ(game->text, SavedText);
  EXPECT_EQ(game->level, 2);
  EXPECT_TRUE(game->inOwnFile);
}

// The changes that are in no file go to the game; the file's other lines stay in their places.
TEST_F(SetForGameTest, UnsavedChangesAreInTheText) {
  ASSERT_TRUE(session.OpenSet(SavedText, "/sets/corridors.txt").empty());
  AddToSet(SolvedThreeCode);
  session.Select(2);
  const std::optional<SetForGame> game = SetForGameOf(session);
  ASSERT_TRUE(game.has_value());
  EXPECT_EQ(game->text, SavedText + SolvedThreeCode + "\n");
  EXPECT_EQ(game->level, 3);
  EXPECT_FALSE(game->inOwnFile);
}

TEST_F(SetForGameTest, ANewSetIsInNoFile) {
  AddToSet(SolvedThreeCode);
  AddToSet(RowCode);
  session.Select(1);
  const std::optional<SetForGame> game = SetForGameOf(session);
  ASSERT_TRUE(game.has_value());
  EXPECT_EQ(game->text, std::string(SolvedThreeCode) + "\n" + RowCode + "\n");
  EXPECT_EQ(game->level, 2);
  EXPECT_FALSE(game->inOwnFile);

  session.Select(std::nullopt);
  EXPECT_EQ(SetForGameOf(session)->level, 1) << "no selection starts at the first level";
}

}  // namespace
