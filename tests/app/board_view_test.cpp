#include <unistd.h>

#include <QDesktopServices>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QUrl>
#include <QtTest/QTest>
#include <cstdio>
#include <functional>
#include <optional>

#include "app/command_table.h"
#include "app/level_code_dlg.h"
#include "app/web_addresses.h"
#include "drawing/board_geometry.h"
#include "logic/level_code.h"
#include "tests/app/board_view_fixture.h"
#include "tests/support/board_test_support.h"

namespace {

using testsupport::AllInnerSidesOpen;
using testsupport::Square;
using testsupport::SquareOf;

/// Catches the addresses the editor opens, in place of a browser.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  UrlCatcher() {
    for (const QString& scheme : {QStringLiteral("http"), QStringLiteral("https")}) {
      QDesktopServices::setUrlHandler(scheme, this, "open");
    }
  }
  ~UrlCatcher() override {
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  }
  QStringList opened;
 public slots:
  void open(const QUrl& url) { opened << url.toString(); }
};

class BoardViewTest : public BoardViewFixture {
 protected:
  /// Picks up the red ball, which the first level's default placement puts on (0, 0).
  void PickUpRedBall() {
    ClickSquare(0, 0);
    ASSERT_EQ(view.editing().CarriedItem, CarriedBall(Colour::Red));
  }
};

TEST_F(BoardViewTest, StartsWithARandomFiveByFiveLevel) {
  EXPECT_EQ(view.level().boardSize, 5);
  EXPECT_TRUE(LevelIsConsistent(view.level()));
  EXPECT_EQ(view.contentsRect().size(), QSize(ViewWidth, ViewHeight));
  EXPECT_EQ(view.frameWidth(), 2);
  EXPECT_TRUE(view.hasMouseTracking());
}

TEST_F(BoardViewTest, PointerEventsArriveInBoardPixels) {
  // (94, 63) is the first pixel of the wall gap east of (0, 0).
  const Cell before = view.level().cells[0];
  MoveTo(94, 63);
  EXPECT_EQ(view.editing().HoverKind, WallKind::East);
  EXPECT_EQ(view.editing().PointerX, 94);
  EXPECT_TRUE(Repainted());
  Click(94, 63);
  EXPECT_EQ(view.level().cells[0], before ^ OpenEast);
  EXPECT_TRUE(Repainted());
  DoubleClick(94, 63);  // two more flips
  EXPECT_EQ(view.level().cells[0], before ^ OpenEast);
  SettlePaints();
  Click(62, 63);  // off the floor: nothing, not even a repaint
  EXPECT_FALSE(Repainted());
}

// On a high-density screen a position can fall between two pixels: it belongs
// to the pixel that holds it, so x 93.6 is still the last pixel of square (0, 0).
TEST_F(BoardViewTest, PositionBetweenPixelsBelongsToThePixelHoldingIt) {
  const QPointF local = InView(93, 63) + QPointF(0.6, 0.6);
  QMouseEvent move(QEvent::MouseMove, local, view.mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&view, &move);
  EXPECT_EQ(view.editing().PointerX, 93);
  EXPECT_EQ(view.editing().HoverColumn, 0);
  EXPECT_EQ(view.editing().HoverKind, WallKind::None);
}

TEST_F(BoardViewTest, RightButtonEditsNothing) {
  const Level before = view.level();
  MoveTo(94, 63);
  SendMouse(QEvent::MouseButtonPress, 94, 63, Qt::RightButton, Qt::RightButton);
  EXPECT_TRUE(SameBoard(view.level(), before));
}

TEST_F(BoardViewTest, DoubleClickOnBallPutsItBack) {
  MoveTo(78, 78);
  ArmRecheck();
  DoubleClick(78, 78);
  EXPECT_EQ(view.editing().CarriedItem, CarriedPiece::Nothing);
  EXPECT_EQ(SquareOf(view.level().balls, Colour::Red), (Square{0, 0}));
  EXPECT_TRUE(Rechecked());
}

// What each command does to a carry, to the level and to the solver.
struct CommandCase {
  const char* name;
  int id;
  bool carrying;  // a ball is in the hand when the command runs
  bool endsCarry;
  bool changesLevel;
  bool rechecks;
  bool repaints;
};

class CommandEffectTest : public BoardViewTest,
                          public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandEffectTest, EndsCarryChangesAndRechecksAsItShould) {
  const CommandCase& c = GetParam();
  UrlCatcher browser;
  if (c.carrying) PickUpRedBall();
  ArmRecheck();
  const Level before = view.level();
  SettlePaints();

  EXPECT_TRUE(RunCommand(c.id));

  EXPECT_EQ(view.editing().CarriedItem == CarriedPiece::Nothing, !c.carrying || c.endsCarry);
  EXPECT_EQ(!SameBoard(view.level(), before), c.changesLevel);
  EXPECT_EQ(Rechecked(), c.rechecks);
  EXPECT_EQ(Repainted(), c.repaints);
  EXPECT_TRUE(LevelIsConsistent(view.level()));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandEffectTest,
    ::testing::Values(
        CommandCase{"Clear", CommandId("ID_EDIT_CLEARMAZE"), true, true, true, true, true},
        CommandCase{"Random", CommandId("ID_EDIT_RANDOM"), true, true, true, true, true},
        CommandCase{"XFlip", CommandId("ID_EDIT_XFLIP"), false, false, true, false, true},
        CommandCase{"XFlipCarrying", CommandId("ID_EDIT_XFLIP"), true, true, true, true, true},
        CommandCase{"YFlip", CommandId("ID_EDIT_YFLIP"), false, false, true, false, true},
        CommandCase{"YFlipCarrying", CommandId("ID_EDIT_YFLIP"), true, true, true, true, true},
        CommandCase{"Rotate", CommandId("ID_EDIT_ROTATE"), false, false, true, false, true},
        CommandCase{"RotateCarrying", CommandId("ID_EDIT_ROTATE"), true, true, true, true, true},
        CommandCase{"Test", CommandId("ID_GAME_TEST"), false, false, false, false, false},
        CommandCase{"TestCarrying", CommandId("ID_GAME_TEST"), true, true, false, true, true},
        CommandCase{"GetHtmlCarrying", CommandId("ID_EDIT_GETHTML"), true, false, false, false,
                    false},
        CommandCase{"HomepageCarrying", CommandId("ID_HELP_HOMEPAGE"), true, false, false, false,
                    false},
        CommandCase{"MakerSiteCarrying", CommandId("ID_MAKER_SITE"), true, false, false, false,
                    false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BoardViewTest, ClearOpensEveryInnerSideAndKeepsThePieces) {
  const Level before = view.level();
  RunCommand(CommandId("ID_EDIT_CLEARMAZE"));
  EXPECT_TRUE(AllInnerSidesOpen(view.level()));
  for (const Colour colour : ColoursRedFirst) {
    EXPECT_EQ(SquareOf(view.level().balls, colour), SquareOf(before.balls, colour));
    EXPECT_EQ(SquareOf(view.level().holes, colour), SquareOf(before.holes, colour));
  }
}

TEST_F(BoardViewTest, SolutionStepMovesTheBallsAndAlwaysRepaints) {
  // Each ball one square east of its hole: one move west solves the level.
  Level& level = view.document().LevelForTests();
  testsupport::PlaceOneMoveFromSolved(level);
  RecheckLevel(level);
  ASSERT_TRUE(level.solvable);
  SettlePaints();
  RunCommand(CommandId("ID_SOLUTION_STEP"));
  for (const Colour colour : ColoursRedFirst) {
    EXPECT_EQ(SquareOf(level.balls, colour), (Square{0, 2 * ColourNumber(colour)}));
  }
  EXPECT_TRUE(Repainted());
  // Solved: nothing moves, and the board is still repainted.
  RunCommand(CommandId("ID_SOLUTION_STEP"));
  EXPECT_EQ(SquareOf(level.balls, Colour::Red), (Square{0, 4}));
  EXPECT_TRUE(Repainted());
}

struct SizeCase {
  const char* name;
  int id;
  int size;
  std::optional<Square> redBall;  // where the red ball ends up; nothing for the default
};

class BoardSizeTest : public BoardViewTest, public ::testing::WithParamInterface<SizeCase> {};

// The red ball is first moved from (0, 0) to (1, 3), off the default placement.
TEST_P(BoardSizeTest, KeepsPiecesOnlyForTheSameSize) {
  const SizeCase& c = GetParam();
  PickUpRedBall();
  ClickSquare(1, 3);
  ClickSquare(4, 4);  // the blue ball: picked up, so the size command ends a carry
  MoveTo(250, 250);   // hovering square (4, 4) of the old board
  ArmRecheck();
  SettlePaints();

  RunCommand(c.id);

  const Level& level = view.level();
  EXPECT_EQ(level.boardSize, c.size);
  EXPECT_EQ(view.editing().CarriedItem, CarriedPiece::Nothing);
  EXPECT_TRUE(LevelIsConsistent(level));
  EXPECT_TRUE(Rechecked());
  EXPECT_TRUE(Repainted());
  const int last = c.size - 1;
  if (c.redBall) {
    EXPECT_EQ(SquareOf(level.balls, Colour::Red), *c.redBall);
    EXPECT_EQ(SquareOf(level.balls, Colour::Blue), (Square{4, 4}));
    EXPECT_EQ(view.editing().HoverColumn, 4);  // same board size: the hover still holds
  } else {
    EXPECT_EQ(SquareOf(level.balls, Colour::Red), (Square{0, 0}));
    EXPECT_EQ(SquareOf(level.balls, Colour::Green), (Square{last / 2, last / 2}));
    EXPECT_EQ(SquareOf(level.balls, Colour::Blue), (Square{last, last}));
    EXPECT_EQ(view.editing().HoverColumn, -1);  // the old hover would lie off a 3 x 3 board
    EXPECT_EQ(view.editing().HoverKind, WallKind::None);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BoardSizeTest,
    ::testing::Values(SizeCase{"Three", CommandId("ID_GAME_3X3"), 3, std::nullopt},
                      SizeCase{"Five", CommandId("ID_GAME_5X5"), 5, Square{1, 3}},
                      SizeCase{"Seven", CommandId("ID_GAME_7X7"), 7, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BoardViewTest, TestPassesTheCodeFollowedByLevelEditor) {
  PickUpRedBall();
  RunCommand(CommandId("ID_GAME_TEST"));
  const QString code = QString::fromStdString(WriteLevelCode(view.level()));
  ASSERT_EQ(launched.size(), 1);
  EXPECT_EQ(launched[0], code + "Level Editor");
  EXPECT_EQ(launched[0].size(), 37);
}

TEST_F(BoardViewTest, WebCommandsOpenTheirAddresses) {
  UrlCatcher browser;
  PickUpRedBall();  // the code shows the carried ball where its record stands
  const std::string code = WriteLevelCode(view.level());
  RunCommand(CommandId("ID_EDIT_GETHTML"));
  RunCommand(CommandId("ID_HELP_HOMEPAGE"));
  RunCommand(CommandId("ID_MAKER_SITE"));
  const QString server = ServerAddress();
  ASSERT_EQ(browser.opened.size(), 3);
  EXPECT_EQ(browser.opened[0], server + "/cgi-bin/korvz?s=" + QString::fromStdString(code));
  EXPECT_TRUE(browser.opened[1].startsWith(server + "/eng/pc/")) << browser.opened[1].toStdString();
  EXPECT_TRUE(browser.opened[1].endsWith(".html"));
  EXPECT_EQ(browser.opened[2], server + "/eng");
}

/// Everything written to standard error while it lives, file descriptor and all.
class CapturedStandardError {
 public:
  CapturedStandardError() {
    std::fflush(stderr);
    m_saved = ::dup(STDERR_FILENO);
    m_file = std::tmpfile();
    ::dup2(::fileno(m_file), STDERR_FILENO);
  }
  ~CapturedStandardError() {
    Stop();
    std::fclose(m_file);
  }
  std::string Text() {
    Stop();
    std::string text;
    std::rewind(m_file);
    for (int c; (c = std::fgetc(m_file)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  void Stop() {
    if (m_saved < 0) return;
    std::fflush(stderr);
    ::dup2(m_saved, STDERR_FILENO);
    ::close(m_saved);
    m_saved = -1;
  }
  int m_saved = -1;
  std::FILE* m_file = nullptr;
};

// Off-screen there is no browser to open: Qt would warn about it, but a failed
// launch says nothing.
TEST_F(BoardViewTest, FailedBrowserLaunchSaysNothing) {
  CapturedStandardError captured;
  RunCommand(CommandId("ID_EDIT_GETHTML"));
  RunCommand(CommandId("ID_HELP_HOMEPAGE"));
  RunCommand(CommandId("ID_MAKER_SITE"));
  EXPECT_EQ(captured.Text(), "");
}

// --- The Copy dialog ------------------------------------------------------------

/// What the user does in the dialog: the text typed over the code, and the key that ends it.
struct CopyCase {
  const char* name;
  std::function<QString(const QString& code)> edit;
  Qt::Key key;
  bool reads;     // the text is read: recheck and repaint
  int boardSize;  // afterwards
  bool sameBoard;
};

const char* const ClearedSevenCode = "7003366663300fffbffefffbffefffbffe555";

class CopyDialogTest : public BoardViewTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopyDialogTest, ReadsOnlyAChangedConfirmedText) {
  const CopyCase& c = GetParam();
  PickUpRedBall();
  MoveTo(250, 250);
  const Level before = view.level();
  const QString code = QString::fromStdString(WriteLevelCode(before));
  bool sawDialog = false;
  WhenDialogOpens([&](QWidget* opened) {
    auto* dialog = qobject_cast<CLevelCodeDlg*>(opened);
    ASSERT_NE(dialog, nullptr);
    sawDialog = true;
    EXPECT_EQ(dialog->windowTitle(), "Copy");
    EXPECT_EQ(dialog->codeEdit()->text(), code);
    EXPECT_EQ(dialog->codeEdit()->selectedText(), code);
    dialog->codeEdit()->setText(c.edit(code));
    QTest::keyClick(dialog->codeEdit(), c.key);
  });
  ArmRecheck();
  SettlePaints();

  RunCommand(CommandId("ID_EDIT_COPYCODE"));

  ASSERT_TRUE(sawDialog);
  EXPECT_EQ(Rechecked(), c.reads);
  // The dialog closing repaints what it covered, so only a read can be told by its repaint.
  if (c.reads) {
    EXPECT_TRUE(Repainted());
  }
  EXPECT_EQ(view.level().boardSize, c.boardSize);
  EXPECT_EQ(SameBoard(view.level(), before), c.sameBoard);
  EXPECT_EQ(view.editing().CarriedItem, CarriedBall(Colour::Red));  // a carry goes on
  EXPECT_TRUE(LevelIsConsistent(view.level()));
  if (c.boardSize != 5) {
    EXPECT_FALSE(HasHoveredSquare(view.editing()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CopyDialogTest,
    ::testing::Values(CopyCase{"Unchanged", [](const QString& code) { return code; },
                               Qt::Key_Return, false, 5, true},
                      CopyCase{"Recased", [](const QString& code) { return code.toUpper(); },
                               Qt::Key_Return, true, 5, true},
                      CopyCase{"LeadingBlank", [](const QString& code) { return " " + code; },
                               Qt::Key_Return, true, 5, true},
                      CopyCase{"SevenBySeven",
                               [](const QString&) { return QString(ClearedSevenCode); },
                               Qt::Key_Return, true, 7, false},
                      CopyCase{"SevenBySevenEscaped",
                               [](const QString&) { return QString(ClearedSevenCode); },
                               Qt::Key_Escape, false, 5, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BoardViewTest, CloseBoxCancelsTheCopyDialog) {
  const Level before = view.level();
  WhenDialogOpens([](QWidget* opened) {
    auto* dialog = qobject_cast<CLevelCodeDlg*>(opened);
    ASSERT_NE(dialog, nullptr);
    dialog->codeEdit()->setText(ClearedSevenCode);
    dialog->close();
  });
  RunCommand(CommandId("ID_EDIT_COPYCODE"));
  EXPECT_TRUE(SameBoard(view.level(), before));
}

// On a screen with two device pixels per pixel every board pixel becomes a
// 2 x 2 block of exactly its colour: scaled, never smoothed.
TEST_F(BoardViewTest, HighDensityScreenGetsWholePixelBlocks) {
  MoveTo(94, 63);  // the hover marker gives sharp edges to check
  QImage frame(view.size(), QImage::Format_RGB32);
  view.render(&frame);
  QImage dense(view.size() * 2, QImage::Format_RGB32);
  dense.setDevicePixelRatio(2);
  view.render(&dense);
  const QPoint edge = view.contentsRect().topLeft();
  int mismatches = 0;
  for (int y = 0; y < ViewHeight; ++y) {
    for (int x = 0; x < ViewWidth; ++x) {
      const QRgb pixel = frame.pixel(edge.x() + x, edge.y() + y);
      for (int d = 0; d < 4; ++d) {
        if (dense.pixel(2 * (edge.x() + x) + d % 2, 2 * (edge.y() + y) + d / 2) != pixel)
          ++mismatches;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace

#include "board_view_test.moc"
