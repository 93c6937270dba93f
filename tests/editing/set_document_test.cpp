// The designer's level set: ids that stay with their levels, undoable changes,
// the modified state against the saved set, and the listeners.

#include "editing/set_document.h"

#include <gtest/gtest.h>

#include <functional>

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

// --- The file's own lines ---------------------------------------------------------

constexpr const char* Solved = "3001122001122fbe5";
constexpr const char* Corridor = "5020100030201ffbfeffbfe55";

TEST(SetFileTest, OpenAndSaveWithNoChangeGiveTheSameBytes) {
  const std::string texts[] = {
      "# title: Firsts\n\n# a comment\n3001122001122fbe5\tSolved\n  \n",
      "3001122001122fbe5\r\n# CR LF ends\r\n5020100030201ffbfeffbfe55",  // no end at the end
      "\xEF\xBB\xBF# title:  Spaced \n3001122001122fbe5  \t Solved \n",
      "3001122001122fbe\tmistyped\n\tno code\n\x01\x02\xff binary\n",
      "",
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    SetDocument set;
    set.Open(text, "set.txt");
    EXPECT_EQ(set.Text(), text);
  }
}

TEST(SetFileTest, EditsKeepEveryOtherLineInItsPlace) {
  const std::string text =
      "# title: Firsts\r\n"
      "# made by hand\r\n"
      "3001122001122fbe5\tSolved\r\n"
      "\r\n"
      "3001122001122fbe\tmistyped\r\n"
      "5020100030201ffbfeffbfe55";
  const struct {
    const char* name;
    std::function<void(SetDocument&)> edit;
    std::string expected;
  } cases[] = {
      {"add after the last line, with the file's line end",
       [](SetDocument& set) { set.Add(Solved, "Again"); },
       text + "\r\n3001122001122fbe5\tAgain\r\n"},
      {"remove the first level: the second takes its line", [](SetDocument& set) { set.Remove(0); },
       "# title: Firsts\r\n# made by hand\r\n5020100030201ffbfeffbfe55\r\n\r\n"
       "3001122001122fbe\tmistyped\r\n"},
      {"move: the levels change lines, the others stay", [](SetDocument& set) { set.MoveDown(0); },
       "# title: Firsts\r\n# made by hand\r\n5020100030201ffbfeffbfe55\r\n\r\n"
       "3001122001122fbe\tmistyped\r\n3001122001122fbe5\tSolved"},
      {"retitle the set and a level",
       [](SetDocument& set) {
         set.SetNames("Seconds", "A. Designer");
         set.SetTitle(1, "Corridor");
       },
       "# author: A. Designer\r\n# title: Seconds\r\n# made by hand\r\n"
       "3001122001122fbe5\tSolved\r\n\r\n3001122001122fbe\tmistyped\r\n"
       "5020100030201ffbfeffbfe55\tCorridor"},
      {"take the title away", [](SetDocument& set) { set.SetNames("", ""); },
       text.substr(std::string("# title: Firsts\r\n").size())},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetDocument set;
    set.Open(text, "set.txt");
    c.edit(set);
    EXPECT_EQ(set.Text(), c.expected);
    SetDocument again;
    again.Open(set.Text(), "set.txt");
    EXPECT_EQ(again.set().levels.size(), set.size()) << "the text reads back as the set";
  }
}

TEST(SetFileTest, AFileWithoutLevelsIsToldApart) {
  const struct {
    std::string text;
    bool noLevel;
    std::size_t otherLines;
  } cases[] = {
      {"", false, 0},
      {"\n  \n", false, 0},
      {"# only a comment\n", true, 1},
      {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), true, 3},
      {"3001122001122fbe5\nnot a level\n", false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    SetDocument set;
    set.Open(c.text, "file");
    EXPECT_EQ(set.NoLevelRead(), c.noLevel);
    EXPECT_EQ(set.OtherLines(), c.otherLines);
    set.Add(Corridor);
    set.Saved("file");
    EXPECT_FALSE(set.NoLevelRead()) << "the saved file holds a level";
    EXPECT_EQ(set.Text().substr(0, c.text.size()), c.text) << "nothing of the file is lost";
  }
}

}  // namespace
