// The designer's level set: ids that stay with their levels, undoable changes,
// the modified state against the saved set, and the listeners.

#include "editing/set_document.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* SetText =
    "# title: Firsts\n"
    "3001122001122fbe5\tSolved\n"
    "5020100030201ffbfeffbfe55\tCorridor\n"
    "31011121121026ac5\n";

std::vector<std::string> Codes(const SetDocument& set) {
  std::vector<std::string> codes;
  for (const SetLevel& level : set.set().levels) codes.push_back(level.code);
  return codes;
}

class SetDocumentTest : public ::testing::Test {
 protected:
  SetDocumentTest() {
    set.RecordInto(&history);
    set.AddListener([this] { ++told; });
    set.Open(SetText, "firsts.txt");
    told = 0;
  }
  History history;
  SetDocument set;
  int told = 0;
};

TEST_F(SetDocumentTest, IdsStayWithTheirLevelsThroughMovesRemovalAndUndo) {
  const std::uint64_t corridor = set.IdOf(1);
  const std::uint64_t last = set.IdOf(2);
  set.MoveUp(1);
  EXPECT_EQ(set.IndexOf(corridor), 0u);
  set.Remove(0);
  EXPECT_EQ(set.IndexOf(corridor), std::nullopt);
  EXPECT_EQ(set.IndexOf(last), 1u);
  history.Undo();
  history.Undo();
  EXPECT_EQ(set.IndexOf(corridor), 1u);
  const std::uint64_t added = set.IdOf(set.Add("3001122001122fbe5"));
  EXPECT_NE(added, corridor);
  EXPECT_NE(added, last);
}

TEST_F(SetDocumentTest, ModifiedMeansDifferentFromTheSavedSet) {
  EXPECT_FALSE(set.modified());
  set.MoveDown(0);
  EXPECT_TRUE(set.modified());
  set.MoveUp(1);
  EXPECT_FALSE(set.modified()) << "moved back";
  set.SetNames("Seconds", "");
  EXPECT_TRUE(set.modified());
  history.Undo();
  EXPECT_FALSE(set.modified());
  history.Redo();
  set.Saved("seconds.txt");
  EXPECT_FALSE(set.modified());
  history.Undo();
  EXPECT_TRUE(set.modified()) << "undone past the save";
  EXPECT_EQ(set.path(), "seconds.txt");
}

TEST_F(SetDocumentTest, EveryChangeIsUndoneAndRedoneAndTold) {
  const std::vector<std::string> before = Codes(set);
  const struct {
    ChangeKind kind;
    std::function<void()> change;
  } changes[] = {
      {ChangeKind::AddLevel, [&] { set.Add("3001122001122fbe5", "Again"); }},
      {ChangeKind::UpdateLevel, [&] { set.Replace(0, "31011121121026ac5"); }},
      {ChangeKind::RemoveLevel, [&] { set.Remove(1); }},
      {ChangeKind::MoveLevelUp, [&] { set.MoveUp(1); }},
      {ChangeKind::MoveLevelDown, [&] { set.MoveDown(0); }},
      {ChangeKind::Titles, [&] { set.SetTitle(0, "First"); }},
      {ChangeKind::Titles, [&] { set.SetNames("T", "A"); }},
  };
  std::vector<LevelSet> states{set.set()};
  for (const auto& c : changes) {
    c.change();
    EXPECT_EQ(history.UndoKind(), c.kind);
    states.push_back(set.set());
  }
  EXPECT_EQ(told, static_cast<int>(std::size(changes)));
  for (std::size_t i = std::size(changes); i > 0; --i) {
    history.Undo();
    EXPECT_EQ(set.set(), states[i - 1]) << i;
  }
  EXPECT_EQ(Codes(set), before);
  while (history.Redo()) {
  }
  EXPECT_EQ(set.set(), states.back());
}

TEST_F(SetDocumentTest, NothingIsKeptAtTheEndsAndAnotherSetForgetsTheHistory) {
  EXPECT_FALSE(set.MoveUp(0));
  EXPECT_FALSE(set.MoveDown(2));
  EXPECT_FALSE(history.CanUndo());
  set.Remove(0);
  set.New();
  EXPECT_FALSE(history.CanUndo()) << "the changes belong to the set that was closed";
  EXPECT_EQ(set.size(), 0u);
  EXPECT_FALSE(set.modified());
  EXPECT_EQ(told, 2);
}

}  // namespace
