// The history of undoable changes: order, groups, its limit and its listener.

#include "editing/history.h"

#include <gtest/gtest.h>

#include <string>

namespace {

/// A change that appends its letter to a text, and takes it off again.
HistoryStep Append(std::string& text, char letter, ChangeKind kind = ChangeKind::FlipWall) {
  text += letter;
  return {kind, [&text] { text.pop_back(); }, [&text, letter] { text += letter; }};
}

TEST(HistoryTest, UndoesNewestFirstAndANewChangeForgetsTheRedo) {
  History history;
  std::string text;
  history.Push(Append(text, 'a', ChangeKind::AddLevel));
  history.Push(Append(text, 'b', ChangeKind::RemoveLevel));
  EXPECT_EQ(history.UndoKind(), ChangeKind::RemoveLevel);
  EXPECT_TRUE(history.Undo());
  EXPECT_EQ(text, "a");
  EXPECT_EQ(history.RedoKind(), ChangeKind::RemoveLevel);
  EXPECT_EQ(history.UndoKind(), ChangeKind::AddLevel);
  EXPECT_TRUE(history.Redo());
  EXPECT_EQ(text, "ab");
  history.Undo();
  history.Push(Append(text, 'c'));
  EXPECT_FALSE(history.CanRedo());
  history.Undo();
  history.Undo();
  EXPECT_EQ(text, "");
  EXPECT_FALSE(history.Undo());
  EXPECT_EQ(history.UndoKind(), std::nullopt);
}

TEST(HistoryTest, AGroupIsOneChangeUndoneInReverseOrder) {
  History history;
  std::string text;
  {
    const HistoryGroup group(history, ChangeKind::AddLevel);
    history.Push(Append(text, 'x'));
    history.Push(Append(text, 'y'));
  }
  { const HistoryGroup empty(history, ChangeKind::Titles); }
  {
    const HistoryGroup single(history, ChangeKind::UpdateLevel);
    history.Push(Append(text, 'z', ChangeKind::FlipWall));
  }
  EXPECT_EQ(history.UndoKind(), ChangeKind::UpdateLevel) << "a group of one takes the group's name";
  history.Undo();
  EXPECT_EQ(history.UndoKind(), ChangeKind::AddLevel) << "an empty group leaves no change";
  history.Undo();
  EXPECT_EQ(text, "");
  history.Redo();
  EXPECT_EQ(text, "xy");
}

TEST(HistoryTest, KeepsTheNewestChangesUpToItsLimitAndTellsItsListener) {
  History history;
  int told = 0;
  history.SetListener([&] { ++told; });
  std::string text;
  for (std::size_t i = 0; i < History::Limit + 3; ++i) history.Push(Append(text, 'a'));
  EXPECT_EQ(told, static_cast<int>(History::Limit) + 3);
  std::size_t undone = 0;
  while (history.Undo()) ++undone;
  EXPECT_EQ(undone, History::Limit);
  EXPECT_EQ(text.size(), 3u) << "the oldest changes can no longer be undone";
  history.Clear();
  EXPECT_FALSE(history.CanRedo());
}

}  // namespace
