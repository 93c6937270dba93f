// The web page's play session: the shared rules table played through it, the
// desktop game's status lines, and the board area drawn as the editor draws it.

#include "web/module/play_session.h"

#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "drawing/board_geometry.h"
#include "rules_table.h"
#include "tests/support/level_code_reading.h"
#include "view/board_renderer.h"
#include "view/raster_conversion.h"

namespace {

std::optional<Direction> DirectionOfLetter(char letter) {
  for (Direction direction : AllDirections)
    if (DirectionLetter(direction) == letter) return direction;
  return std::nullopt;
}

std::string ExpectedVerdict(CodeReading outcome) {
  switch (outcome) {
    case CodeReading::Rejected: return "invalid";
    case CodeReading::Unsolvable: return "unsolvable";
    case CodeReading::Solvable: return "solvable";
  }
  return "?";
}

TEST(RulesTableTest, HasLevelsOfEveryKind) {
  const std::vector<RulesCase> cases = ReadRulesTable(KORVALO_RULES_TABLE);
  int solvable = 0, unsolvable = 0, invalid = 0, sevens = 0;
  for (const RulesCase& c : cases) {
    solvable += c.verdict == "solvable";
    unsolvable += c.verdict == "unsolvable";
    invalid += c.verdict == "invalid";
    sevens += c.code[0] == '7' && c.verdict == "solvable";
  }
  EXPECT_GE(solvable, 5);
  EXPECT_GE(unsolvable, 2);
  EXPECT_GE(invalid, 3);
  EXPECT_GE(sevens, 2);
}

TEST(RulesTableTest, EveryLevelPlaysAsTheTableSays) {
  for (const RulesCase& c : ReadRulesTable(KORVALO_RULES_TABLE)) {
    SCOPED_TRACE(c.code);
    PlaySession session;
    EXPECT_EQ(ExpectedVerdict(session.Open(c.code).outcome), c.verdict);
    if (c.verdict == "invalid") {
      EXPECT_FALSE(session.IsOpen());
      continue;
    }
    const std::optional<int> shortest = session.ShortestFromStart();
    EXPECT_EQ(shortest ? std::to_string(*shortest) : "-", c.length);
    const std::string solution = session.SolutionFromHere();
    EXPECT_EQ(solution.empty() ? "-" : solution, c.solution);
    if (c.verdict != "solvable") continue;

    const std::string letters = c.solution == "-" ? "" : c.solution;
    ASSERT_EQ(letters.size(), c.ballsAfterEachMove.size());
    for (std::size_t i = 0; i < letters.size(); ++i) {
      const std::optional<Direction> direction = DirectionOfLetter(letters[i]);
      ASSERT_TRUE(direction.has_value());
      EXPECT_TRUE(session.Tilt(*direction)) << "move " << i + 1;
      EXPECT_EQ(session.Balls(), c.ballsAfterEachMove[i]) << "after move " << i + 1;
    }
    EXPECT_TRUE(session.IsSolved());
    EXPECT_EQ(session.MoveCount(), static_cast<int>(letters.size()));
    const std::string solved = "Solved in " + std::to_string(letters.size()) + " move";
    EXPECT_NE(session.StatusText().find(solved), std::string::npos) << session.StatusText();
  }
}

TEST(PlaySessionTest, UndoRestartAndHintAsInTheDesktopGame) {
  PlaySession session;
  ASSERT_EQ(session.Open("3111221000110fbe5").outcome, CodeReading::Solvable);
  EXPECT_EQ(session.StatusText(), "Moves: 0\nShortest solution from here: 2 moves");
  session.ShowHint();
  EXPECT_EQ(session.StatusText(), "Moves: 0\nShortest solution from here: 2 moves\nHint: North");
  ASSERT_TRUE(session.Tilt(Direction::North));
  EXPECT_EQ(session.StatusText(), "Moves: 1\nShortest solution from here: 1 move");
  EXPECT_EQ(session.SolutionFromHere(), "W");
  EXPECT_TRUE(session.Undo());
  EXPECT_EQ(session.Balls(), "111221");
  EXPECT_FALSE(session.Undo());
  ASSERT_TRUE(session.Tilt(Direction::West));
  ASSERT_TRUE(session.Tilt(Direction::North));
  EXPECT_TRUE(session.IsSolved());
  EXPECT_EQ(session.StatusText(), "Moves: 2\nSolved in 2 moves\nShortest possible: 2 moves");
  session.Restart();
  EXPECT_EQ(session.MoveCount(), 0);
  EXPECT_EQ(session.Balls(), "111221");
}

TEST(PlaySessionTest, CodeIsTheWrittenFormOfTheLevelRead) {
  PlaySession session;
  ASSERT_NE(session.Open("3111221000110FBE5trailing").outcome, CodeReading::Rejected);
  EXPECT_EQ(session.Code(), "3111221000110fbe5");
  // A rejected code leaves the open level alone.
  EXPECT_EQ(session.Open("9").outcome, CodeReading::Rejected);
  EXPECT_EQ(session.Code(), "3111221000110fbe5");
  EXPECT_TRUE(session.IsOpen());
}

TEST(PlaySessionTest, NothingHappensBeforeALevelIsOpen) {
  PlaySession session;
  EXPECT_FALSE(session.Tilt(Direction::North));
  EXPECT_FALSE(session.Undo());
  session.Restart();
  session.ShowHint();
  EXPECT_EQ(session.StatusText(), "");
  EXPECT_EQ(session.SolutionFromHere(), "-");
  EXPECT_TRUE(session.DrawBoardArea().empty());
}

/// The image as the browser hands it over: RGBA bytes.
std::vector<std::uint8_t> RgbaBytes(const QImage& image) {
  std::vector<std::uint8_t> bytes;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      bytes.insert(bytes.end(), {static_cast<std::uint8_t>(qRed(pixel)),
                                 static_cast<std::uint8_t>(qGreen(pixel)),
                                 static_cast<std::uint8_t>(qBlue(pixel)), 0x80});
    }
  }
  return bytes;
}

void GiveImages(PlaySession& session, const BoardImages& images) {
  const QImage* ordered[] = {
      &images.ballSheet, &images.wallHoverSheet,      &images.lampLit,
      &images.lampUnlit, &images.labelSolutionExists, &images.labelNoSolution};
  for (std::size_t i = 0; i < BoardImageCount; ++i) {
    const std::vector<std::uint8_t> bytes = RgbaBytes(*ordered[i]);
    ASSERT_TRUE(session.SetImage(AllBoardImages[i], ordered[i]->width(), ordered[i]->height(),
                                 bytes.data()));
  }
}

struct AreaCase {
  int n;
  Rect area;
};

// The board's frame with ten pixels of background left, right and above it.
constexpr AreaCase AreaCases[] = {
    {3, {84, 84, 157, 147}}, {5, {42, 42, 241, 231}}, {7, {0, 0, 325, 315}}};

TEST(PlaySessionTest, BoardAreaIsTheFrameWithItsMargin) {
  for (const AreaCase& c : AreaCases) {
    EXPECT_EQ(BoardArea(c.n), c.area) << "N = " << c.n;
    EXPECT_EQ(c.area.y + c.area.height, StatusTop(c.n));
  }
}

// The page shows the colours' shapes from the start, as the game does.
TEST(PlaySessionTest, BoardAreaShowsTheEditorsFrameOfTheCurrentPosition) {
  const BoardImages images = LoadBoardImages();
  BoardRenderer renderer(DrawOptions{true, BoardScale(), ClassicBackground});
  for (const char* code : {"3111221000110fbe5", "50022444422005eae44c9f644",
                           "7003366663300d4dae70cec86baf110a5e554"}) {
    SCOPED_TRACE(code);
    PlaySession session;
    ASSERT_NE(session.Open(code).outcome, CodeReading::Rejected);
    EXPECT_TRUE(session.DrawBoardArea().empty());  // no images yet
    GiveImages(session, images);
    ASSERT_TRUE(session.HasAllImages());
    for (int step = 0; step < 2; ++step) {
      if (step == 1) {
        ASSERT_TRUE(session.Tilt(Direction::North) || session.Tilt(Direction::South));
      }
      Level level;
      ASSERT_NE(ReadLevelCode(level, code).outcome, CodeReading::Rejected);
      // The position after the tilt, drawn by the editor's own renderer.
      const std::string balls = session.Balls();
      for (std::size_t i = 0; i < 3; ++i) {
        level.balls[i].row = static_cast<std::int8_t>(balls[2 * i] - '0');
        level.balls[i].column = static_cast<std::int8_t>(balls[2 * i + 1] - '0');
      }
      const Rect area = BoardArea(level.boardSize);
      const QImage expected =
          renderer.DrawFrame(level, EditingState{}).copy(area.x, area.y, area.width, area.height);
      const std::vector<std::uint8_t> expectedBytes = RgbaBytes(expected);
      std::vector<std::uint8_t> drawn = session.DrawBoardArea();
      ASSERT_EQ(drawn.size(), expectedBytes.size());
      for (std::size_t i = 3; i < drawn.size(); i += 4) {
        EXPECT_EQ(drawn[i], 0xff) << "alpha of pixel " << i / 4;
        drawn[i] = 0x80;  // as RgbaBytes writes it
      }
      EXPECT_TRUE(drawn == expectedBytes) << "step " << step;
    }
  }
}

// Switched off, the shapes go and the classic frame is left; switched on again, they come back.
TEST(PlaySessionTest, ShapesSwitchOffAndOn) {
  const BoardImages images = LoadBoardImages();
  const char* code = "50022444422005eae44c9f644";
  Level level;
  ASSERT_TRUE(ParseLevelCode(level, code).accepted);
  RecheckLevel(level);
  const Rect area = BoardArea(level.boardSize);
  PlaySession session;
  ASSERT_NE(session.Open(code).outcome, CodeReading::Rejected);
  GiveImages(session, images);
  for (const bool symbols : {false, true}) {
    session.SetSymbols(symbols);
    EXPECT_EQ(session.Symbols(), symbols);
    BoardRenderer renderer(DrawOptions{symbols, BoardScale(), ClassicBackground});
    std::vector<std::uint8_t> drawn = session.DrawBoardArea();
    for (std::size_t i = 3; i < drawn.size(); i += 4) drawn[i] = 0x80;  // as RgbaBytes writes it
    EXPECT_TRUE(drawn ==
                RgbaBytes(renderer.DrawFrame(level).copy(area.x, area.y, area.width, area.height)))
        << (symbols ? "with" : "without") << " the shapes";
  }
}

TEST(PlaySessionTest, ImageOfTheWrongSizeIsRefused) {
  PlaySession session;
  const std::vector<std::uint8_t> bytes(108 * 28 * 4, 0);
  EXPECT_FALSE(session.SetImage(BoardImage::BallSheet, 108, 28, bytes.data()));
  EXPECT_FALSE(session.SetImage(BoardImage::BallSheet, 108, 27, nullptr));
  EXPECT_TRUE(session.SetImage(BoardImage::BallSheet, 108, 27, bytes.data()));
  EXPECT_FALSE(session.HasAllImages());
}

}  // namespace
