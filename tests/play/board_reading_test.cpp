// The sentences a player who cannot see the board asks for: a square's walls
// and pieces, and what each tilt would do, on small boards drawn by hand.
#include "play/board_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logic/maze.h"

namespace {

struct Placed {
  int column;
  int row;
};

/// A cleared 3 x 3 board with the balls (red, green, blue) and holes placed,
/// and the walls east or south of the given squares.
Level Board(Placed red, Placed green, Placed blue, std::vector<std::pair<Placed, WallKind>> walls,
            Placed redHole = {2, 2}, Placed greenHole = {1, 2}, Placed blueHole = {0, 2}) {
  Level level;
  ClearMazeWithoutRecheck(level, 3);
  const auto piece = [](Placed at, Colour colour) {
    return Piece{static_cast<std::int8_t>(at.column), static_cast<std::int8_t>(at.row), 0,
                 ColourNumber(colour)};
  };
  level.balls = {piece(red, Colour::Red), piece(green, Colour::Green), piece(blue, Colour::Blue)};
  level.holes = {piece(redHole, Colour::Red), piece(greenHole, Colour::Green),
                 piece(blueHole, Colour::Blue)};
  for (const auto& [at, kind] : walls) ToggleWallWithoutRecheck(level, at.column, at.row, kind);
  return level;
}

TEST(BoardReadingTest, ASquareSaysItsWallsAndWhatStandsOnIt) {
  // Red ball on (1,1) with walls east of it and south of the square above it.
  const Level level =
      Board({1, 1}, {0, 0}, {2, 0}, {{{1, 1}, WallKind::East}, {{1, 0}, WallKind::South}});
  const struct {
    BoardSquare square;
    const char* expected;
  } cases[] = {
      {{1, 1}, "Column 2, row 2: the red ball; walls north, east; open south, west"},
      {{0, 0}, "Column 1, row 1: the green ball; walls north, west; open south, east"},
      {{2, 2}, "Column 3, row 3: the red hole; walls south, east; open north, west"},
      {{0, 1}, "Column 1, row 2: walls west; open north, south, east"},
      {{2, 1}, "Column 3, row 2: walls west, east; open north, south"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(EnglishText(SquareReadingText(level, c.square)), c.expected);
  }
}

TEST(BoardReadingTest, BallAndHoleOnOneSquareAndTheRareSides) {
  Level open = Board({2, 2}, {0, 0}, {2, 0}, {});
  open.cells[4] = OpenNorth | OpenSouth | OpenWest | OpenEast;
  EXPECT_EQ(EnglishText(SquareReadingText(open, {1, 1})), "Column 2, row 2: no walls");
  EXPECT_EQ(EnglishText(SquareReadingText(open, {2, 2})),
            "Column 3, row 3: the red ball, the red hole; walls south, east; open north, west");
  Level closed = open;
  closed.cells[4] = 0;
  EXPECT_EQ(EnglishText(SquareReadingText(closed, {1, 1})), "Column 2, row 2: walls on every side");
}

TEST(BoardReadingTest, EachTiltSaysWhereEveryBallGoesAndWhatHoldsIt) {
  // Red and green in one column, red ahead to the north; blue at the east
  // border with a wall south of it.
  const Level level = Board({0, 1}, {0, 2}, {2, 0}, {{{2, 0}, WallKind::South}});
  std::vector<std::string> said;
  for (const GameText& text : TiltReadingTexts(level)) said.push_back(EnglishText(text));
  const std::vector<std::string> expected = {
      "Tilt north: the red ball goes to column 1, row 1, the green ball goes to column 1, row 2, "
      "the blue ball stays at a wall",
      "Tilt south moves no ball: the red ball stays behind the green ball, the green ball stays at "
      "a wall, the blue ball stays at a wall",
      "Tilt west: the red ball stays at a wall, the green ball stays at a wall, the blue ball goes "
      "to column 2, row 1",
      "Tilt east: the red ball goes to column 2, row 2, the green ball goes to column 2, row 3, "
      "the blue ball stays at a wall",
  };
  EXPECT_EQ(said, expected);

  const Level cornered = Board({0, 0}, {0, 1}, {0, 2}, {});
  EXPECT_EQ(
      EnglishText(TiltReadingTexts(cornered)[2]),
      "Tilt west moves no ball: the red ball stays at a wall, the green ball stays at a wall, "
      "the blue ball stays at a wall");
}

TEST(BoardReadingTest, TheTiltsAgreeWithTheMoves) {
  // Whatever the words, a ball said to go somewhere is there after the move.
  const Level level = Board({1, 1}, {1, 0}, {2, 1}, {{{0, 1}, WallKind::East}});
  const std::vector<GameText> texts = TiltReadingTexts(level);
  ASSERT_EQ(texts.size(), 4u);
  for (const Direction direction : AllDirections) {
    const GameText& text = texts[static_cast<std::size_t>(direction)];
    EXPECT_EQ(text.numbers[0], static_cast<int>(direction));
    Pieces after = level.balls;
    Move(level, after, direction);
    for (std::size_t i = 1; i < text.numbers.size(); i += NumbersPerBall) {
      for (const Piece& ball : after) {
        if (ball.colour != text.numbers[i]) continue;
        EXPECT_EQ(ball.column + 1, text.numbers[i + 2]);
        EXPECT_EQ(ball.row + 1, text.numbers[i + 3]);
      }
    }
  }
}

TEST(BoardReadingTest, TheReadingCursorStopsAtTheBorder) {
  const Level level = Board({1, 1}, {0, 0}, {2, 0}, {});
  EXPECT_EQ(StepOnBoard(level, {0, 0}, Direction::North), (BoardSquare{0, 0}));
  EXPECT_EQ(StepOnBoard(level, {0, 0}, Direction::West), (BoardSquare{0, 0}));
  EXPECT_EQ(StepOnBoard(level, {2, 2}, Direction::East), (BoardSquare{2, 2}));
  EXPECT_EQ(StepOnBoard(level, {2, 2}, Direction::South), (BoardSquare{2, 2}));
  EXPECT_EQ(StepOnBoard(level, {1, 1}, Direction::South), (BoardSquare{1, 2}));
  // Walls do not stop the reading cursor: it reads every square.
  const Level walled = Board({1, 1}, {0, 0}, {2, 0}, {{{1, 1}, WallKind::East}});
  EXPECT_EQ(StepOnBoard(walled, {1, 1}, Direction::East), (BoardSquare{2, 1}));
}

}  // namespace
