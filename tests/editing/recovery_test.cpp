// The recovery of the designer's unkept work: written and read whole or not
// at all, restored into a fresh session as it was, and which files a start offers.

#include "editing/recovery.h"

#include <gtest/gtest.h>

#include "logic/level_code.h"

namespace {

constexpr const char* SolvedThreeCode = "3001122001122fbe5";
constexpr const char* RowCode = "5020100030201ffbfeffbfe55";

Level LevelOf(const char* code) {
  Level level;
  EXPECT_TRUE(ParseLevelCode(level, code).accepted) << code;
  return level;
}

/// A session with a set opened from a file with a comment, one level added
/// and level 1 on the board with a wall flipped.
void MakeWork(DesignerSession& session) {
  session.OpenSet(std::string("# title: Mine\n# kept\n") + SolvedThreeCode + "\tFirst\n",
                  "/sets/mine.txt");
  session.board().Apply(edit::ReplaceLevel{LevelOf(RowCode), OriginKind::Pasted});
  session.AddBoardLevel();
  session.EditLevel(0);
  session.board().Apply(edit::FlipWall{0, 0, WallKind::East});
}

TEST(RecoveryTest, RestoresTheSetTheBoardAndWhereItCameFrom) {
  DesignerSession crashed{[] { return 0; }};
  MakeWork(crashed);
  const Recovery kept = RecoveryOf(crashed);
  const std::optional<Recovery> read = ReadRecovery(WriteRecovery(kept));
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, kept);

  DesignerSession restarted{[] { return 0; }};
  Recover(restarted, *read);
  EXPECT_EQ(RecoveryOf(restarted), kept);
  EXPECT_EQ(restarted.set().Text(), crashed.set().Text()) << "the comment too";
  EXPECT_EQ(restarted.set().path(), "/sets/mine.txt");
  EXPECT_TRUE(restarted.set().modified());
  EXPECT_EQ(restarted.BoardSetLevel(), 0u);
  EXPECT_TRUE(restarted.BoardUnkept());
  EXPECT_TRUE(restarted.CanAct(SessionCommand::UpdateLevel));
  EXPECT_FALSE(restarted.CanAct(SessionCommand::Undo)) << "the history starts anew";
  restarted.UpdateBoardLevel();
  EXPECT_EQ(restarted.set().set().levels[0].code, WriteLevelCode(crashed.board().level()));
}

TEST(RecoveryTest, KeepsWhatAPathOrSetMayHoldByteForByte) {
  Recovery recovery;
  recovery.setPath = "/odd\nfolder/set 1.txt";
  recovery.setText = std::string("# end\nend\n\0\xff", 12);
  recovery.origin = OriginKind::Generated;
  recovery.originCode = RowCode;
  recovery.boardCode = SolvedThreeCode;
  EXPECT_EQ(ReadRecovery(WriteRecovery(recovery)), recovery);
}

TEST(RecoveryTest, ATextCutShortOrChangedReadsAsNone) {
  DesignerSession session{[] { return 0; }};
  MakeWork(session);
  const std::string text = WriteRecovery(RecoveryOf(session));
  for (std::size_t length = 0; length < text.size(); ++length) {
    EXPECT_EQ(ReadRecovery(text.substr(0, length)), std::nullopt) << length;
  }
  const struct {
    const char* find;
    const char* replace;
  } changes[] = {{"recovery 1", "recovery 2"},
                 {"modified 1", "modified 2"},
                 {"origin set-level", "origin elsewhere"},
                 {"origin-level 0", "origin-level x"},
                 {"\nset ", "\nset 1"}};
  for (const auto& change : changes) {
    std::string changed = text;
    const std::size_t at = changed.find(change.find);
    ASSERT_NE(at, std::string::npos) << change.find;
    changed.replace(at, std::string(change.find).size(), change.replace);
    EXPECT_EQ(ReadRecovery(changed), std::nullopt) << change.replace;
  }
  EXPECT_EQ(ReadRecovery(text + "more"), std::nullopt);
}

TEST(RecoveryTest, OffersOnlyWorkWhoseRunIsGone) {
  DesignerSession session{[] { return 0; }};
  const std::string nothing = WriteRecovery(RecoveryOf(session));
  MakeWork(session);
  const std::string work = WriteRecovery(RecoveryOf(session));
  const std::vector<RecoveryFile> files = {
      {"running", true, work},
      {"crashed", false, work},
      {"clean", false, nothing},
      {"cut", false, work.substr(0, work.size() / 2)},
  };
  const RecoveryChoice choice = ChooseRecoveries(files);
  EXPECT_EQ(choice.offer, std::vector<std::string>{"crashed"});
  EXPECT_EQ(choice.remove, (std::vector<std::string>{"clean", "cut"}));
}

}  // namespace
