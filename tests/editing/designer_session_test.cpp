// The designer's session: what counts as unkept work and what leaving would
// drop, the board's tie to its set level through Add, Update and undo, the
// caveats, whether each command can act, and one search per change of the level.

#include "editing/designer_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "logic/level_code.h"
#include "logic/solver.h"
#include "logic/symmetry.h"

namespace {

constexpr const char* SolvedThreeCode = "3001122001122fbe5";
constexpr const char* RowCode = "5020100030201ffbfeffbfe55";
constexpr const char* ClearedSevenCode = "7003366663300fffbffefffbffefffbffe555";  // no solution

Level LevelOf(const char* code) {
  Level level;
  EXPECT_TRUE(ParseLevelCode(level, code).accepted) << code;
  return level;
}

class DesignerSessionTest : public ::testing::Test {
 protected:
  DesignerSessionTest() {
    session.AddListener([this](SessionChange change) { told.push_back(change); });
  }
  std::string BoardCode() const { return WriteLevelCode(session.board().level()); }
  void Put(const char* code, OriginKind from) {
    session.board().Apply(edit::ReplaceLevel{LevelOf(code), from});
  }
  void Flip() { session.board().Apply(edit::FlipWall{0, 0, WallKind::East}); }
  std::vector<std::string> Codes() const {
    std::vector<std::string> codes;
    for (const SetLevel& level : session.set().set().levels) codes.push_back(level.code);
    return codes;
  }

  DesignerSession session{[] { return 0; }};
  std::vector<SessionChange> told;
};

// --- Unkept work ------------------------------------------------------------------

enum class Work {
  Untouched,        // the first random board, an empty set
  HandMade,         // the first board with a wall flipped
  Generated,        // a generated level, never added
  Pasted,           // a pasted level, never added
  AddedUnsaved,     // a pasted level added to the set, the set in no file
  SavedSetLevel,    // a saved set's level on the board, unchanged
  ChangedSetLevel,  // a saved set's level 2 on the board with a wall flipped
  TurnedBack,       // a saved set's level turned four times
  RemovedAndSaved,  // a saved set's level on the board, then removed and saved
};

struct UnkeptCase {
  const char* name;
  Work setup;
  bool boardUnkept;
  std::optional<std::size_t> boardSetLevel;  // when the board is unkept: its set level
  bool setUnkept;
};

class UnkeptWorkTest : public DesignerSessionTest,
                       public ::testing::WithParamInterface<UnkeptCase> {
 protected:
  void SetUpWork(Work setup) {
    switch (setup) {
      case Work::Untouched: return;
      case Work::HandMade: Flip(); return;
      case Work::Generated: Put(RowCode, OriginKind::Generated); return;
      case Work::Pasted: Put(RowCode, OriginKind::Pasted); return;
      case Work::AddedUnsaved:
        Put(RowCode, OriginKind::Pasted);
        session.AddBoardLevel();
        return;
      case Work::SavedSetLevel:
      case Work::ChangedSetLevel:
      case Work::TurnedBack:
      case Work::RemovedAndSaved:
        session.OpenSet(std::string(SolvedThreeCode) + "\n" + RowCode + "\n", "set.txt");
        session.EditLevel(1);
        break;
    }
    if (setup == Work::ChangedSetLevel) Flip();
    if (setup == Work::TurnedBack) {
      for (int turn = 0; turn < 4; ++turn) session.board().Apply(edit::Rotate{});
    }
    if (setup == Work::RemovedAndSaved) {
      session.Select(1);
      session.RemoveSelected();
      session.SetSaved("set.txt");
    }
  }
};

TEST_P(UnkeptWorkTest, EachLeavingAsksAboutWhatItWouldDrop) {
  const UnkeptCase& c = GetParam();
  SetUpWork(c.setup);
  EXPECT_EQ(session.BoardUnkept(), c.boardUnkept);
  EXPECT_EQ(session.HoldsUnkeptWork(), c.boardUnkept || c.setUnkept);
  std::optional<std::optional<std::size_t>> board;
  if (c.boardUnkept) board.emplace(c.boardSetLevel);
  for (const Leaving leaving : {Leaving::Close, Leaving::LeaveSet, Leaving::ReplaceBoard}) {
    SCOPED_TRACE(static_cast<int>(leaving));
    const UnkeptWork work = session.WhatLeavingDrops(leaving);
    EXPECT_EQ(work.board, board);
    EXPECT_EQ(work.set, c.setUnkept && leaving != Leaving::ReplaceBoard)
        << "another set level on the board leaves the set as it is";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnkeptWorkTest,
    ::testing::Values(UnkeptCase{"Untouched", Work::Untouched, false, {}, false},
                      UnkeptCase{"HandMade", Work::HandMade, true, {}, false},
                      UnkeptCase{"Generated", Work::Generated, true, {}, false},
                      UnkeptCase{"Pasted", Work::Pasted, true, {}, false},
                      UnkeptCase{"AddedUnsaved", Work::AddedUnsaved, false, {}, true},
                      UnkeptCase{"SavedSetLevel", Work::SavedSetLevel, false, {}, false},
                      UnkeptCase{"ChangedSetLevel", Work::ChangedSetLevel, true, 1, false},
                      UnkeptCase{"TurnedBack", Work::TurnedBack, false, {}, false},
                      UnkeptCase{"RemovedAndSaved", Work::RemovedAndSaved, false, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesignerSessionTest, UndoingAnAddMakesAGeneratedLevelUnkeptAgain) {
  Put(RowCode, OriginKind::Generated);
  session.AddBoardLevel();
  EXPECT_FALSE(session.BoardUnkept());
  session.board().Undo();
  EXPECT_EQ(Codes(), std::vector<std::string>{});
  EXPECT_TRUE(session.BoardUnkept());
  session.board().Redo();
  EXPECT_FALSE(session.BoardUnkept());
  EXPECT_EQ(session.BoardSetLevel(), 0u);
}

// --- The set's rules --------------------------------------------------------------

TEST_F(DesignerSessionTest, TheBoardFollowsTheLevelItWasAddedAsUntilUpdated) {
  Put(SolvedThreeCode, OriginKind::Pasted);
  const KeptLevel added = session.AddBoardLevel();
  EXPECT_EQ(added.index, 0u);
  EXPECT_EQ(session.selected(), 0u);
  EXPECT_FALSE(session.CanAct(SessionCommand::UpdateLevel)) << "nothing to put back yet";
  Flip();
  EXPECT_TRUE(session.CanAct(SessionCommand::UpdateLevel));
  const std::string edited = BoardCode();
  const std::optional<KeptLevel> updated = session.UpdateBoardLevel();
  ASSERT_TRUE(updated);
  EXPECT_EQ(updated->index, 0u);
  EXPECT_EQ(Codes(), std::vector<std::string>{edited});
  EXPECT_FALSE(session.BoardUnkept());
  session.board().Undo();
  EXPECT_EQ(Codes(), std::vector<std::string>{SolvedThreeCode}) << "Update is one step";
  EXPECT_TRUE(session.BoardUnkept()) << "and the board's changes are unkept again";
  EXPECT_EQ(BoardCode(), edited);
}

TEST_F(DesignerSessionTest, KeepingTheBoardAddsOrUpdatesAsItsOriginAsks) {
  Put(SolvedThreeCode, OriginKind::Generated);
  EXPECT_EQ(session.KeepBoardLevel().index, 0u);
  Put(RowCode, OriginKind::Pasted);
  EXPECT_EQ(session.KeepBoardLevel().index, 1u);
  Flip();
  EXPECT_EQ(session.KeepBoardLevel().index, 1u) << "the changed set level goes back into it";
  EXPECT_EQ(session.set().size(), 2u);
  EXPECT_EQ(session.UpdateBoardLevel().has_value(), true);
  session.NewSet();
  EXPECT_EQ(session.UpdateBoardLevel(), std::nullopt) << "the board's level is in no set now";
}

TEST_F(DesignerSessionTest, CaveatsNameALevelWithoutSolutionOrARepeatUpToTurns) {
  struct {
    const char* name;
    Level level;
    LevelCaveat caveat;
  } cases[] = {
      {"first", LevelOf(SolvedThreeCode), {}},
      {"no solution", LevelOf(ClearedSevenCode), {LevelCaveat::Kind::NoSolution, 0}},
      {"turned repeat", LevelOf(SolvedThreeCode), {LevelCaveat::Kind::SameAs, 0}},
      {"another", LevelOf(RowCode), {}},
  };
  RotateLevel(cases[2].level);
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    session.board().Apply(edit::ReplaceLevel{c.level, OriginKind::Pasted});
    EXPECT_EQ(session.AddBoardLevel().caveat, c.caveat);
  }
}

TEST_F(DesignerSessionTest, EditingASetLevelPutsItOnTheBoardAsAnUndoableStep) {
  session.OpenSet(std::string(SolvedThreeCode) + "\n" + RowCode + "\n", "set.txt");
  const std::string before = BoardCode();
  EXPECT_TRUE(session.EditLevel(1));
  EXPECT_EQ(BoardCode(), RowCode);
  EXPECT_EQ(session.BoardSetLevel(), 1u);
  EXPECT_FALSE(session.EditLevel(1)) << "already on the board, unchanged";
  EXPECT_FALSE(session.EditLevel(2));
  session.board().Undo();
  EXPECT_EQ(BoardCode(), before);
  EXPECT_EQ(session.BoardSetLevel(), 0u) << "opening the set put its first level there";
}

TEST_F(DesignerSessionTest, CommandsActWhereTheSelectionAndHistoryLetThem) {
  struct {
    std::optional<std::size_t> selected;
    bool remove, up, down;
  } cases[] = {{std::nullopt, false, false, false},
               {0, true, false, true},
               {1, true, true, true},
               {2, true, true, false}};
  session.OpenSet("3001122001122fbe5\n# a comment\n5020100030201ffbfeffbfe55\n3001122001122fbe5\n",
                  "set.txt");
  EXPECT_FALSE(session.CanAct(SessionCommand::Undo)) << "opening forgets the history";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.selected ? static_cast<int>(*c.selected) : -1);
    session.Select(c.selected);
    EXPECT_EQ(session.CanAct(SessionCommand::RemoveLevel), c.remove);
    EXPECT_EQ(session.CanAct(SessionCommand::EditLevel), c.remove);
    EXPECT_EQ(session.CanAct(SessionCommand::MoveUp), c.up);
    EXPECT_EQ(session.CanAct(SessionCommand::MoveDown), c.down);
  }
  session.Select(2);
  EXPECT_TRUE(session.MoveSelectedUp());
  EXPECT_EQ(session.selected(), 1u) << "the selection goes with the level";
  EXPECT_TRUE(session.CanAct(SessionCommand::Undo));
  session.Select(2);
  EXPECT_TRUE(session.RemoveSelected());
  EXPECT_EQ(session.selected(), 1u) << "the selection stays within the set";
  session.Select(7);
  EXPECT_EQ(session.selected(), std::nullopt);
}

TEST_F(DesignerSessionTest, TitlesChangeAsOneStepAndOnlyWhenTheyDiffer) {
  Put(SolvedThreeCode, OriginKind::Pasted);
  session.AddBoardLevel();
  EXPECT_FALSE(session.ChangeTitles("", "", ""));
  EXPECT_TRUE(session.ChangeTitles("Firsts", "A. Designer", "Solved"));
  EXPECT_EQ(session.set().set().levels[0].title, "Solved");
  session.board().Undo();
  EXPECT_EQ(session.set().set().title, "");
  EXPECT_EQ(session.set().set().levels[0].title, "");
}

// --- Batches, order, titles and the first board --------------------------------

// Six 3 x 3 levels with their figures (length, greedy effort, grade points),
// chosen so that each key has a tie, and one level without a solution.
constexpr const char* LevelA = "3112101102102fa21";  // 10 moves, effort 28, 35 points
constexpr const char* LevelB = "3110122101120cb64";  // 11 moves, effort 54, 41 points
constexpr const char* LevelC = "3021112201110ba25";  // 7 moves, effort 9, 19 points
constexpr const char* LevelD = "3212010112021f2a1";  // 6 moves, effort 28, 25 points
constexpr const char* LevelE = "30011202212009bc1";  // 8 moves, effort 16, 19 points
constexpr const char* LevelF = "3102212112021d865";  // 8 moves, effort 15, 21 points
constexpr const char* Unsolvable = ClearedSevenCode;

std::string SetText(const std::vector<std::string>& codes) {
  std::string text;
  for (const std::string& code : codes) text += code + "\n";
  return text;
}

std::string Turned(const char* code) {
  Level level = LevelOf(code);
  RotateLevel(level);
  return WriteLevelCode(level);
}

TEST_F(DesignerSessionTest, GeneratedLevelsGoInAfterTheSelectionAsOneStepWithoutRepeats) {
  session.OpenSet(SetText({LevelA, LevelB, LevelC}), "set.txt");
  session.Select(0);
  const std::vector<std::string> batch = {
      LevelD,         Turned(LevelB),  // a set level turned: left out
      "not a level",  LevelE,
      Turned(LevelD),  // a level of the batch turned: left out
      LevelF};
  EXPECT_EQ(session.InsertLevels(batch), 3u);
  EXPECT_EQ(Codes(), (std::vector<std::string>{LevelA, LevelD, LevelE, LevelF, LevelB, LevelC}));
  EXPECT_EQ(session.selected(), 1u) << "the first level put in";
  EXPECT_EQ(session.history().UndoKind(), ChangeKind::AddLevels);
  session.board().Undo();
  EXPECT_EQ(Codes(), (std::vector<std::string>{LevelA, LevelB, LevelC})) << "one step takes all";
  session.board().Redo();
  EXPECT_EQ(Codes().size(), 6u);

  session.Select(std::nullopt);
  EXPECT_EQ(session.InsertLevels({Turned(LevelF)}), 0u) << "nothing new: no step";
  EXPECT_EQ(session.history().UndoKind(), ChangeKind::AddLevels);
  EXPECT_EQ(session.InsertLevels({SolvedThreeCode}), 1u);
  EXPECT_EQ(Codes().back(), SolvedThreeCode) << "with no selection, after the last level";
}

struct OrderCase {
  const char* name;
  SetOrder key;
  std::vector<std::string> sorted;
};

class SetOrderTest : public DesignerSessionTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(SetOrderTest, SortsStablyAsOneStepWithLevelsWithoutSolutionLast) {
  const std::vector<std::string> original = {LevelA, Unsolvable, LevelB, LevelC,
                                             LevelD, LevelE,     LevelF};
  session.OpenSet(SetText(original), "set.txt");
  session.Select(0);
  EXPECT_EQ(session.SortedBy(), std::nullopt);
  EXPECT_TRUE(session.SortLevels(GetParam().key));
  EXPECT_EQ(Codes(), GetParam().sorted);
  EXPECT_EQ(session.SortedBy(), GetParam().key);
  EXPECT_EQ(session.set().set().levels[*session.selected()].code, LevelA)
      << "the selection stays with its level";
  EXPECT_FALSE(session.SortLevels(GetParam().key)) << "in order already";
  EXPECT_EQ(session.history().UndoKind(), ChangeKind::SortLevels);
  session.board().Undo();
  EXPECT_EQ(Codes(), original);
  EXPECT_EQ(session.SortedBy(), std::nullopt) << "the old order follows no key";
  session.board().Redo();
  EXPECT_EQ(session.SortedBy(), GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SetOrderTest,
    ::testing::Values(OrderCase{"Length",
                                SetOrder::Length,
                                {LevelD, LevelC, LevelE, LevelF, LevelA, LevelB, Unsolvable}},
                      OrderCase{"GreedyEffort",
                                SetOrder::GreedyEffort,
                                {LevelC, LevelF, LevelE, LevelA, LevelD, LevelB, Unsolvable}},
                      OrderCase{"Grade",
                                SetOrder::Grade,
                                {LevelC, LevelE, LevelF, LevelD, LevelA, LevelB, Unsolvable}}),
    [](const testing::TestParamInfo<OrderCase>& info) { return info.param.name; });

// The session grades with the parameters it is given, as calibrate fits
// them: the board's verdict and the sort by grade both follow them. With the
// moves alone at 3 points each, D (6 moves) becomes Easy and the order by
// grade becomes the order by length.
TEST(DesignerSessionGradingTest, TheVerdictAndTheSortByGradeFollowTheParameters) {
  GradeParameters lengthOnly;
  lengthOnly.perMove = 3.0;
  lengthOnly.perCounterIntuitiveStep = 0.0;
  lengthOnly.perEffortDoubling = 0.0;
  lengthOnly.perSolutionsDoubling = 0.0;
  struct Case {
    const char* name;
    GradeParameters grading;
    LevelGrade gradeOfD;
    std::vector<std::string> sorted;
  };
  const Case cases[] = {
      {"defaults",
       {},
       {25, Grade::Normal},
       {LevelC, LevelE, LevelF, LevelD, LevelA, LevelB, Unsolvable}},
      {"length only",
       lengthOnly,
       {18, Grade::Easy},
       {LevelD, LevelC, LevelE, LevelF, LevelA, LevelB, Unsolvable}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DesignerSession session([] { return 0; }, c.grading);
    session.board().Apply(edit::ReplaceLevel{LevelOf(LevelD), OriginKind::Pasted});
    EXPECT_EQ(session.board().verdict().grade, c.gradeOfD);
    session.OpenSet(SetText({LevelA, Unsolvable, LevelB, LevelC, LevelD, LevelE, LevelF}),
                    "set.txt");
    session.SortLevels(SetOrder::Grade);
    std::vector<std::string> codes;
    for (const SetLevel& level : session.set().set().levels) codes.push_back(level.code);
    EXPECT_EQ(codes, c.sorted);
  }
}

TEST_F(DesignerSessionTest, TheSortKeyIsShownOnlyWhileTheOrderFollowsIt) {
  session.OpenSet(SetText({LevelB, LevelA, LevelC}), "set.txt");
  session.SortLevels(SetOrder::Length);
  session.Select(2);
  session.RenameLevel(2, "Longest");
  EXPECT_EQ(session.SortedBy(), SetOrder::Length) << "a title leaves the order";
  session.InsertLevels({LevelE});
  EXPECT_EQ(session.SortedBy(), std::nullopt) << "8 moves after 11";
  session.board().Undo();
  EXPECT_EQ(session.SortedBy(), SetOrder::Length);
  // The longest level changed into one that is solved at once.
  session.EditLevel(2);
  session.board().Apply(
      edit::ReplaceLevel{LevelOf(SolvedThreeCode), OriginKind::SetLevel, session.set().IdOf(2)});
  session.UpdateBoardLevel();
  EXPECT_EQ(session.SortedBy(), std::nullopt);
  session.NewSet();
  EXPECT_EQ(session.SortedBy(), std::nullopt);
}

TEST_F(DesignerSessionTest, RenamingALevelIsOneStep) {
  session.OpenSet(SetText({LevelA, LevelB}), "set.txt");
  session.Select(std::nullopt);
  EXPECT_FALSE(session.CanAct(SessionCommand::RenameLevel)) << "nothing selected";
  session.Select(1);
  EXPECT_TRUE(session.CanAct(SessionCommand::RenameLevel));
  EXPECT_TRUE(session.RenameLevel(1, "The long one"));
  EXPECT_FALSE(session.RenameLevel(1, "The long one"));
  EXPECT_FALSE(session.RenameLevel(2, "past the end"));
  EXPECT_EQ(session.set().set().levels[1].title, "The long one");
  EXPECT_EQ(session.history().UndoKind(), ChangeKind::RenameLevel);
  session.board().Undo();
  EXPECT_EQ(session.set().set().levels[1].title, "");
  EXPECT_FALSE(session.board().CanUndo());
}

TEST_F(DesignerSessionTest, TheFirstBoardHasASolutionAndIsNoWork) {
  // The fixture's source always draws 0, as does this one that draws high.
  DesignerSession high{[] { return 32767; }};
  for (DesignerSession* started : {&session, &high}) {
    EXPECT_TRUE(started->board().verdict().shortestMoves.has_value());
    EXPECT_EQ(started->board().level().solvable, 1);
    EXPECT_FALSE(started->HoldsUnkeptWork());
    EXPECT_FALSE(started->board().CanUndo());
  }
}

TEST_F(DesignerSessionTest, OpeningASetShowsItsFirstLevelUnlessTheBoardHoldsWork) {
  session.OpenSet(SetText({LevelA, LevelB}), "one.txt");
  EXPECT_EQ(BoardCode(), LevelA);
  EXPECT_EQ(session.BoardSetLevel(), 0u);
  EXPECT_EQ(session.selected(), 0u);
  EXPECT_FALSE(session.board().CanUndo()) << "the start of the work, not a step";

  Flip();  // the board's level now differs from level 1, and the user keeps it
  const std::string kept = BoardCode();
  session.OpenSet(SetText({LevelC}), "two.txt");
  EXPECT_EQ(BoardCode(), kept);
  EXPECT_TRUE(session.BoardUnkept());
}

// --- Changes and searches ---------------------------------------------------------

TEST_F(DesignerSessionTest, PointerMovesAreToldApartAndSearchNothing) {
  session.board().verdict();
  const int searches = session.board().verdictSearches();
  told.clear();
  for (int x = 0; x < 300; x += 7) session.board().PointerMoved(x, x);
  EXPECT_EQ(told, std::vector<SessionChange>(told.size(), SessionChange::Pointer));
  EXPECT_FALSE(told.empty());
  session.board().verdict();
  EXPECT_EQ(session.board().verdictSearches(), searches);

  told.clear();
  Flip();
  EXPECT_EQ(told, std::vector<SessionChange>{SessionChange::Work});
  session.Select(std::nullopt);
  EXPECT_EQ(told.size(), 1u) << "the selection did not change";
}

TEST_F(DesignerSessionTest, AddingAChangedLevelSearchesItOnce) {
  const int searches = session.board().verdictSearches();
  Flip();                     // the change's one search
  session.board().verdict();  // the status line's question
  session.AddBoardLevel();    // the caveat's
  session.board().verdict();  // and the status line's again after the add
  EXPECT_EQ(session.board().verdictSearches(), searches + 1);
}

// Every change of the level runs one search, the verdict's, which also answers
// the lamp's solvable byte; the level logic's own recheck is not run besides.
struct SearchCase {
  const char* name;
  std::function<void(EditorDocument&)> prepare;
  std::function<void(EditorDocument&)> change;
  int searches;
};

/// A square where no ball or hole stands.
std::pair<int, int> FreeSquare(const Level& level) {
  for (int row = 0; row < level.boardSize; ++row) {
    for (int column = 0; column < level.boardSize; ++column) {
      bool taken = false;
      for (int i = 0; i < 3; ++i) {
        taken = taken || (level.balls[i].column == column && level.balls[i].row == row) ||
                (level.holes[i].column == column && level.holes[i].row == row);
      }
      if (!taken) return {column, row};
    }
  }
  return {-1, -1};
}

void Nothing(EditorDocument&) {}
void FlipOf(EditorDocument& board) { board.Apply(edit::FlipWall{0, 0, WallKind::East}); }
void PickUpRed(EditorDocument& board) { board.Apply(edit::PickUp{CarriedPiece::RedBall}); }

class SearchesPerChangeTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchesPerChangeTest, OneSearchAnswersTheVerdictAndTheLamp) {
  const SearchCase& c = GetParam();
  DesignerSession session{[] { return 0; }};
  EditorDocument& board = session.board();
  board.Apply(edit::ReplaceLevel{LevelOf(RowCode), OriginKind::Pasted});
  c.prepare(board);
  session.board().verdict();
  const int before = board.rechecks() + board.verdictSearches();

  c.change(board);

  EXPECT_EQ(board.rechecks() + board.verdictSearches() - before, c.searches);
  if (IsCarrying(board.editing())) return;  // a carried piece is not searched
  board.verdict();
  EXPECT_EQ(board.rechecks() + board.verdictSearches() - before, c.searches)
      << "the status line's question is answered by the same search";
  Level rechecked = board.level();
  RecheckLevel(rechecked);
  EXPECT_EQ(board.level().solvable, rechecked.solvable);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, SearchesPerChangeTest,
    ::testing::Values(
        SearchCase{"FlipWall", Nothing, FlipOf, 1},
        SearchCase{"Clear", Nothing, [](EditorDocument& b) { b.Apply(edit::Clear{}); }, 1},
        SearchCase{"Random", Nothing, [](EditorDocument& b) { b.Apply(edit::Random{}); }, 1},
        SearchCase{"BoardSize", Nothing, [](EditorDocument& b) { b.Apply(edit::BoardSize{3}); }, 1},
        SearchCase{"PickUp", Nothing, PickUpRed, 0},
        SearchCase{"PutDown", PickUpRed,
                   [](EditorDocument& b) {
                     const auto [column, row] = FreeSquare(b.level());
                     b.Apply(edit::PutDown{CarriedPiece::RedBall, column, row});
                   },
                   1},
        SearchCase{"ReadCode", Nothing,
                   [](EditorDocument& b) { b.Apply(edit::ReadCode{SolvedThreeCode}); }, 1},
        SearchCase{"Undo", FlipOf, [](EditorDocument& b) { b.Undo(); }, 1},
        SearchCase{"Redo",
                   [](EditorDocument& b) {
                     FlipOf(b);
                     b.Undo();
                   },
                   [](EditorDocument& b) { b.Redo(); }, 1},
        SearchCase{"PointerMoves", Nothing,
                   [](EditorDocument& b) {
                     for (int x = 0; x < 300; x += 7) b.PointerMoved(x, x);
                   },
                   0}),
    [](const testing::TestParamInfo<SearchCase>& info) { return info.param.name; });

}  // namespace
