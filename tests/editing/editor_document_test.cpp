#include "editing/editor_document.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "logic/level_code.h"
#include "logic/maze.h"
#include "logic/solver.h"
#include "logic/symmetry.h"
#include "tests/support/board_test_support.h"

namespace {

using testsupport::Square;
using testsupport::SquareOf;

/// RecheckLevel writes 0 or 1; any other value shows it has not run since.
constexpr std::uint8_t NotRechecked = 7;

constexpr const char* ClearedSevenCode = "7003366663300fffbffefffbffefffbffe555";

/// Board size, walls and every piece's square by colour: what an edit can change.
struct Board {
  int boardSize;
  std::vector<Cell> cells;
  Square balls[3];
  Square holes[3];
  friend bool operator==(const Board&, const Board&) = default;
};

Board BoardOf(const Level& level) {
  Board board{level.boardSize, level.cells, {}, {}};
  for (const Colour colour : ColoursRedFirst) {
    board.balls[ColourNumber(colour)] = SquareOf(level.balls, colour);
    board.holes[ColourNumber(colour)] = SquareOf(level.holes, colour);
  }
  return board;
}

void PrintTo(const Board& board, std::ostream* out) {
  Level level;
  level.boardSize = board.boardSize;
  level.cells = board.cells;
  for (const Colour colour : ColoursRedFirst) {
    const int i = ColourNumber(colour);
    level.balls[i] = {static_cast<std::int8_t>(board.balls[i].column),
                      static_cast<std::int8_t>(board.balls[i].row), 0, ColourNumber(colour)};
    level.holes[i] = {static_cast<std::int8_t>(board.holes[i].column),
                      static_cast<std::int8_t>(board.holes[i].row), 0, ColourNumber(colour)};
  }
  *out << WriteLevelCode(level);
}

/// One edit applied to the starting level: the maze of a source that always
/// draws 0, with the default placement (red ball on (0, 0), green ball on its
/// hole in the centre, blue ball on (4, 4); blue hole (0, 0), red hole (4, 4)).
struct EditCase {
  const char* name;
  bool carryingRed;  // the red ball is in the hand first
  Edit edit;
  std::function<void(Level&)> expectedChange;  // applied to a copy of the level before
  int documentRechecks;                        // by the document itself
  bool rechecked;                              // by anyone, the level logic included
  bool repaints;
  CarriedPiece carriedAfter;
};

void Unchanged(Level&) {}

class EditorDocumentTest : public ::testing::TestWithParam<EditCase> {
 protected:
  void SetUp() override {
    document.AddListener([this](DocumentChange) { ++repaints; });
    RandomMaze(level, 5, [] { return 0; });
  }

  EditorDocument document{[] { return 0; }};
  Level& level = document.LevelForTests();
  int repaints = 0;
};

TEST_P(EditorDocumentTest, AppliesTheEditWithItsRecheckAndOneRepaint) {
  const EditCase& c = GetParam();
  if (c.carryingRed) document.Apply(edit::PickUp{CarriedPiece::RedBall});
  Level expected = level;
  c.expectedChange(expected);
  level.solvable = NotRechecked;
  const int rechecksBefore = document.rechecks();
  repaints = 0;

  document.Apply(c.edit);

  EXPECT_EQ(BoardOf(level), BoardOf(expected));
  EXPECT_EQ(document.rechecks() - rechecksBefore, c.documentRechecks);
  EXPECT_EQ(level.solvable != NotRechecked, c.rechecked);
  EXPECT_EQ(repaints, c.repaints ? 1 : 0);
  EXPECT_EQ(document.editing().CarriedItem, c.carriedAfter);
  EXPECT_TRUE(LevelIsConsistent(level));
}

INSTANTIATE_TEST_SUITE_P(
    Edits, EditorDocumentTest,
    ::testing::Values(EditCase{"FlipWall", false, edit::FlipWall{0, 0, WallKind::South},
                               [](Level& l) { ToggleWall(l, 0, 0, WallKind::South); }, 0, true,
                               true, CarriedPiece::Nothing},
                      EditCase{"PickUp", false, edit::PickUp{CarriedPiece::GreenHole}, Unchanged, 0,
                               false, true, CarriedPiece::GreenHole},
                      EditCase{"PutDown", true, edit::PutDown{CarriedPiece::RedBall, 3, 1},
                               [](Level& l) { l.balls[0].column = 3, l.balls[0].row = 1; }, 1, true,
                               true, CarriedPiece::Nothing},
                      EditCase{"Exchange", true,
                               edit::Exchange{CarriedPiece::RedBall, 2, 2, CarriedPiece::GreenBall},
                               [](Level& l) {
                                 std::swap(l.balls[0].column, l.balls[1].column);
                                 std::swap(l.balls[0].row, l.balls[1].row);
                               },
                               0, false, true, CarriedPiece::GreenBall},
                      EditCase{"EndCarryIdle", false, edit::EndCarry{}, Unchanged, 0, false, false,
                               CarriedPiece::Nothing},
                      EditCase{"EndCarry", true, edit::EndCarry{}, Unchanged, 1, true, true,
                               CarriedPiece::Nothing},
                      EditCase{"SameSizeKeepsPieces", false, edit::BoardSize{5},
                               [](Level& l) { RandomMaze(l, 5, [] { return 0; }); }, 0, true, true,
                               CarriedPiece::Nothing},
                      EditCase{"NewSizeCarrying", true, edit::BoardSize{7},
                               [](Level& l) {
                                 l.balls[0].column =
                                     -1;  // a new size starts from the default placement
                                 RandomMaze(l, 7, [] { return 0; });
                               },
                               1, true, true, CarriedPiece::Nothing},
                      EditCase{"UnknownSizeChangesNothing", false, edit::BoardSize{4}, Unchanged, 0,
                               false, false, CarriedPiece::Nothing},
                      EditCase{"Clear", false, edit::Clear{}, [](Level& l) { ClearMaze(l, 5); }, 0,
                               true, true, CarriedPiece::Nothing},
                      EditCase{"Random", true, edit::Random{},
                               [](Level& l) { RandomMaze(l, 5, [] { return 0; }); }, 1, true, true,
                               CarriedPiece::Nothing},
                      EditCase{"XFlip", false, edit::XFlip{}, [](Level& l) { XFlip(l); }, 0, false,
                               true, CarriedPiece::Nothing},
                      EditCase{"YFlipCarrying", true, edit::YFlip{}, [](Level& l) { YFlip(l); }, 1,
                               true, true, CarriedPiece::Nothing},
                      EditCase{"Rotate", false, edit::Rotate{}, [](Level& l) { RotateLevel(l); }, 0,
                               false, true, CarriedPiece::Nothing},
                      EditCase{"SolutionStep", false, edit::SolutionStep{},
                               [](Level& l) { StepTowardSolution(l); }, 0, false, true,
                               CarriedPiece::Nothing},
                      EditCase{"ReadCodeCarrying", true, edit::ReadCode{ClearedSevenCode},
                               [](Level& l) { ParseLevelCode(l, ClearedSevenCode); }, 1, true, true,
                               CarriedPiece::RedBall},
                      EditCase{"ReadCodeRejected", false, edit::ReadCode{" 3001122221100fbe5"},
                               Unchanged, 1, true, true, CarriedPiece::Nothing}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Undo and redo ---------------------------------------------------------------

/// Every field of the level, buffers included, in the order of its records.
void ExpectSameFields(const Level& expected, const Level& actual) {
  EXPECT_EQ(expected.boardSize, actual.boardSize);
  EXPECT_EQ(expected.cells, actual.cells);
  for (std::size_t i = 0; i < 3; ++i) {
    for (const auto& [e, a] : {std::pair{expected.balls[i], actual.balls[i]},
                               std::pair{expected.holes[i], actual.holes[i]}}) {
      EXPECT_EQ(e.column, a.column);
      EXPECT_EQ(e.row, a.row);
      EXPECT_EQ(e.sortKey, a.sortKey);
      EXPECT_EQ(e.colour, a.colour);
    }
  }
  EXPECT_EQ(expected.startState, actual.startState);
  EXPECT_EQ(expected.targetState, actual.targetState);
  EXPECT_EQ(expected.solvable, actual.solvable);
}

/// A level change as the user makes it: one edit, or a carry of several.
struct UndoCase {
  const char* name;
  std::vector<Edit> edits;
};

class UndoTest : public ::testing::TestWithParam<UndoCase> {
 protected:
  void SetUp() override {
    document.EnableUndo();
    RandomMaze(level, 5, [] { return 0; });
  }
  EditorDocument document{[draw = 0]() mutable { return draw++; }};
  Level& level = document.LevelForTests();
};

TEST_P(UndoTest, UndoGivesTheLevelBeforeAndRedoTheLevelAfter) {
  const Level before = level;
  for (const Edit& edit : GetParam().edits) document.Apply(edit);
  const Level after = level;
  ASSERT_FALSE(SameBoard(before, after));
  ASSERT_TRUE(document.CanUndo());

  document.Undo();
  ExpectSameFields(before, level);
  EXPECT_FALSE(document.CanUndo());
  EXPECT_TRUE(document.CanRedo());

  document.Redo();
  ExpectSameFields(after, level);
  EXPECT_TRUE(document.CanUndo());
  EXPECT_FALSE(document.CanRedo());
}

Level SolvedThreeByThree() {
  Level level;
  ParseLevelCode(level, "3001122001122fbe5");
  RecheckLevel(level);
  return level;
}

INSTANTIATE_TEST_SUITE_P(
    Changes, UndoTest,
    ::testing::Values(
        UndoCase{"FlipWall", {edit::FlipWall{1, 1, WallKind::East}}},
        UndoCase{"PutDown",
                 {edit::PickUp{CarriedPiece::RedBall}, edit::PutDown{CarriedPiece::RedBall, 3, 1}}},
        UndoCase{"CarryWithExchangeIsOneChange",
                 {edit::PickUp{CarriedPiece::RedBall},
                  edit::Exchange{CarriedPiece::RedBall, 2, 2, CarriedPiece::GreenBall},
                  edit::PutDown{CarriedPiece::GreenBall, 1, 3}}},
        UndoCase{"CarryEndedByACommand",
                 {edit::PickUp{CarriedPiece::BlueHole},
                  edit::Exchange{CarriedPiece::BlueHole, 4, 4, CarriedPiece::RedHole},
                  edit::EndCarry{}}},
        UndoCase{"NewSize", {edit::BoardSize{7}}}, UndoCase{"Clear", {edit::Clear{}}},
        UndoCase{"Random", {edit::Random{}}}, UndoCase{"XFlip", {edit::XFlip{}}},
        UndoCase{"YFlip", {edit::YFlip{}}}, UndoCase{"Rotate", {edit::Rotate{}}},
        UndoCase{"ReadCode", {edit::ReadCode{ClearedSevenCode}}},
        UndoCase{"ReplaceLevel", {edit::ReplaceLevel{SolvedThreeByThree()}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UndoTest, NothingIsKeptWithoutUndoOrForEditsThatChangeNothing) {
  EditorDocument document{[] { return 0; }};
  document.Apply(edit::XFlip{});
  EXPECT_FALSE(document.CanUndo()) << "undo is off until enabled";
  document.EnableUndo();
  document.Apply(edit::ReadCode{"not a code"});
  document.Apply(edit::EndCarry{});
  document.Apply(edit::PickUp{CarriedPiece::RedBall});
  document.Apply(edit::EndCarry{});  // put back where it was
  EXPECT_FALSE(document.CanUndo());
}

TEST(UndoTest, UndoEndsACarryFirstAndANewChangeForgetsTheRedo) {
  EditorDocument document{[] { return 0; }};
  document.EnableUndo();
  Level& level = document.LevelForTests();
  const Level start = level;
  document.Apply(edit::XFlip{});
  const Level flipped = level;
  document.Apply(edit::PickUp{CarriedPiece::RedBall});
  document.Apply(edit::Exchange{CarriedPiece::RedBall, 2, 2, CarriedPiece::GreenBall});

  document.Undo();  // the carry ends, is kept as a change, and is undone at once
  EXPECT_FALSE(IsCarrying(document.editing()));
  EXPECT_TRUE(SameBoard(level, flipped));
  document.Undo();
  EXPECT_TRUE(SameBoard(level, start));

  document.Apply(edit::Rotate{});
  EXPECT_FALSE(document.CanRedo());
}

TEST(UndoTest, KeepsTheNewestChangesUpToItsLimit) {
  EditorDocument document{[] { return 0; }};
  document.EnableUndo();
  for (std::size_t i = 0; i < EditorDocument::UndoLimit + 5; ++i) {
    document.Apply(edit::FlipWall{0, 0, WallKind::East});
  }
  std::size_t undone = 0;
  while (document.CanUndo()) {
    document.Undo();
    ++undone;
  }
  EXPECT_EQ(undone, EditorDocument::UndoLimit);
}

// --- Where the board came from, and the verdict ------------------------------------

TEST(BoardOriginTest, TheBoardKnowsWhereItsLevelCameFromAndWhetherItDiffers) {
  EditorDocument document{[] { return 0; }};
  document.EnableUndo();
  EXPECT_EQ(document.origin().kind, OriginKind::None);
  EXPECT_FALSE(document.BoardChanged()) << "the first level as it was made";

  document.Apply(edit::ReplaceLevel{SolvedThreeByThree(), OriginKind::SetLevel, 42});
  EXPECT_EQ(document.origin().kind, OriginKind::SetLevel);
  EXPECT_EQ(document.origin().setLevelId, 42u);
  EXPECT_FALSE(document.BoardChanged());
  EXPECT_EQ(document.history().UndoKind(), ChangeKind::EditSetLevel);

  document.Apply(edit::FlipWall{0, 0, WallKind::East});
  EXPECT_TRUE(document.BoardChanged());
  document.Apply(edit::FlipWall{0, 0, WallKind::East});
  EXPECT_FALSE(document.BoardChanged()) << "flipped back";
  document.Apply(edit::PickUp{CarriedPiece::GreenHole});
  document.Apply(edit::PutDown{CarriedPiece::GreenHole, 0, 2});
  EXPECT_TRUE(document.BoardChanged());
  EXPECT_EQ(document.history().UndoKind(), ChangeKind::MoveHole);

  document.TieToSetLevel(7);  // the board's level went into set level 7
  EXPECT_FALSE(document.BoardChanged());
  EXPECT_EQ(document.origin().setLevelId, 7u);
  document.Undo();
  EXPECT_EQ(document.origin().setLevelId, 42u) << "undo gives back the tie as well";
  EXPECT_TRUE(document.BoardChanged());
}

TEST(VerdictTest, IsSearchedOncePerChangeOfTheLevel) {
  EditorDocument document{[] { return 0; }};
  document.EnableUndo();
  document.Apply(edit::ReplaceLevel{SolvedThreeByThree()});
  EXPECT_EQ(document.verdict().shortestMoves, 0);
  document.verdict();
  document.PointerMoved(100, 100);
  document.PointerMoved(120, 130);
  EXPECT_EQ(document.verdict().shortestMoves, 0);
  EXPECT_EQ(document.verdictSearches(), 1) << "pointer moves change no level";

  document.Apply(edit::ReadCode{"3111221000110fbe5"});
  Level copy = document.level();
  const Solution solution = ShortestSolution(copy);
  EXPECT_EQ(document.verdict().shortestMoves, static_cast<int>(solution.moves.size()));
  document.Apply(edit::ReadCode{ClearedSevenCode});
  EXPECT_EQ(document.verdict().shortestMoves, std::nullopt);
  document.Undo();
  EXPECT_EQ(document.verdict().shortestMoves, static_cast<int>(solution.moves.size()));
  EXPECT_EQ(document.verdictSearches(), 4);
}

TEST(ChangeKindTest, EachEditIsNamedForWhatItDoes) {
  EXPECT_EQ(ChangeKindOf(edit::FlipWall{0, 0, WallKind::East}, CarriedPiece::Nothing),
            ChangeKind::FlipWall);
  EXPECT_EQ(ChangeKindOf(edit::PutDown{CarriedPiece::RedBall, 0, 0}, CarriedPiece::RedBall),
            ChangeKind::MoveBall);
  EXPECT_EQ(ChangeKindOf(edit::EndCarry{}, CarriedPiece::BlueHole), ChangeKind::MoveHole);
  EXPECT_EQ(ChangeKindOf(edit::BoardSize{7}, CarriedPiece::Nothing), ChangeKind::NewBoard);
  EXPECT_EQ(ChangeKindOf(edit::Random{}, CarriedPiece::Nothing), ChangeKind::RandomMaze);
  EXPECT_EQ(ChangeKindOf(edit::ReadCode{""}, CarriedPiece::Nothing), ChangeKind::LevelCode);
  EXPECT_EQ(ChangeKindOf(edit::ReplaceLevel{Level{}, OriginKind::Pasted}, CarriedPiece::Nothing),
            ChangeKind::Paste);
  EXPECT_EQ(ChangeKindOf(edit::ReplaceLevel{Level{}, OriginKind::Generated}, CarriedPiece::Nothing),
            ChangeKind::Generate);
}

// The carry ends, with its recheck, before the flip: the balls' encoded start
// is that of the level before the flip, which the flip leaves alone.
TEST(EditorDocumentOrderTest, CarryEndsBeforeTheBoardCommand) {
  EditorDocument document{[] { return 0; }};
  Level& level = document.LevelForTests();
  RandomMaze(level, 5, [] { return 0; });
  document.Apply(edit::PickUp{CarriedPiece::BlueBall});
  Level rechecked = level;
  RecheckLevel(rechecked);

  document.Apply(edit::XFlip{});

  EXPECT_EQ(level.startState, rechecked.startState);
  EXPECT_EQ(level.solvable, rechecked.solvable);
}

TEST(EditorDocumentOrderTest, ClicksThatHitNothingDoNotRepaint) {
  EditorDocument document{[] { return 0; }};
  int repaints = 0;
  document.AddListener([&](DocumentChange) { ++repaints; });
  document.Clicked(0, 0);  // off the floor
  document.PointerMoved(105,
                        147);  // square (1, 2) of the 5 x 5 board, empty in the default placement
  document.Clicked(105 + 15, 147 + 15);
  EXPECT_EQ(repaints, 1) << "only the pointer move repaints";
}

// A size change leaves no hover on a square of the old board.
TEST(EditorDocumentOrderTest, ResizeForgetsTheHover) {
  EditorDocument document{[] { return 0; }};
  document.PointerMoved(250, 250);  // square (4, 4) of the 5 x 5 board
  ASSERT_EQ(document.editing().HoverColumn, 4);
  document.Apply(edit::BoardSize{3});
  EXPECT_FALSE(HasHoveredSquare(document.editing()));
  document.PointerMoved(250, 250);
  document.Apply(edit::ReadCode{"3001122221100fbe5"});
  EXPECT_FALSE(HasHoveredSquare(document.editing()));
}

}  // namespace
