#include "app/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest/QTest>
#include <map>

#include "app/about_box.h"
#include "app/command_table.h"
#include "app/editor_app.h"
#include "app/level_code_dlg.h"
#include "drawing/board_geometry.h"
#include "tests/app/board_view_fixture.h"
#include "tests/support/board_test_support.h"

namespace {

using testsupport::AllInnerSidesOpen;

class MainFrameTest : public ::testing::Test {
 protected:
  MainFrameTest() : frame(FixedRandom()) {
    frame.boardCommands().SetGameLauncher([](const QString&) {});
    frame.show();
    frame.activateWindow();
  }
  /// Presses a key sequence in the main window as the user would.
  void Press(const char* keys) {
    EXPECT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keySequence(&frame, QKeySequence(QString::fromLatin1(keys)));
  }
  CMainFrame frame;
};

TEST_F(MainFrameTest, TitleAndNoMaximise) {
  EXPECT_EQ(frame.windowTitle(), "Korvalo Level Editor");
  EXPECT_FALSE(frame.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(frame.windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(MainFrameTest, MenuBarFollowsTheTable) {
  EXPECT_EQ(MenuBarOutline(frame.menuBar()),
            "&Game[3x3|5x5|7x7|-|Test\tCtrl+T|-|Exit] "
            "&Edit[Clear\tCtrl+N|Random\tCtrl+R|-|X-flip\tCtrl+X|Y-flip\tCtrl+Y|Rotate\tCtrl+Z|-|"
            "Get &HTML|-|Copy\tCtrl+C] "
            "&Help[About|Homepage] "
            "&Vandrel");
  for (QAction* entry : frame.menuBar()->actions()) {
    if (entry->menu() == nullptr) continue;
    for (QAction* item : entry->menu()->actions()) {
      EXPECT_TRUE(item->isEnabled());
      EXPECT_FALSE(item->isCheckable()) << item->text().toStdString();
    }
  }
}

struct KeyCase {
  const char* keys;
  int id;
};

TEST_F(MainFrameTest, EightKeysNameTheirCommands) {
  const KeyCase keys[] = {
      {"Ctrl+C", CommandId("ID_EDIT_COPYCODE")},     {"Ctrl+N", CommandId("ID_EDIT_CLEARMAZE")},
      {"Ctrl+Alt+O", CommandId("ID_SOLUTION_STEP")}, {"Ctrl+R", CommandId("ID_EDIT_RANDOM")},
      {"Ctrl+T", CommandId("ID_GAME_TEST")},         {"Ctrl+X", CommandId("ID_EDIT_XFLIP")},
      {"Ctrl+Y", CommandId("ID_EDIT_YFLIP")},        {"Ctrl+Z", CommandId("ID_EDIT_ROTATE")}};
  std::map<int, QString> expected;
  for (const KeyCase& key : keys) expected[key.id] = key.keys;
  std::map<int, QString> bound;
  for (const CommandEntry& command : Commands) {
    if (!ExistsIn(command.modes, EditorMode::Classic)) continue;
    QAction* action = frame.commandAction(command.id);
    ASSERT_NE(action, nullptr);
    if (action->shortcut().isEmpty()) continue;
    bound[command.id] = action->shortcut().toString(QKeySequence::PortableText);
    EXPECT_EQ(action->shortcutContext(), Qt::WindowShortcut);
    EXPECT_TRUE(frame.actions().contains(action));  // reachable without its menu
  }
  EXPECT_EQ(bound, expected);
}

TEST_F(MainFrameTest, KeysRunTheBoardCommands) {
  Press("Ctrl+N");
  EXPECT_TRUE(AllInnerSidesOpen(frame.boardView().level()));
  Press("Ctrl+R");
  EXPECT_FALSE(AllInnerSidesOpen(frame.boardView().level()));
}

TEST_F(MainFrameTest, HiddenSolutionStepHasAKeyButNoMenuItem) {
  QAction* step = frame.commandAction(CommandId("ID_SOLUTION_STEP"));
  for (QAction* entry : frame.menuBar()->actions()) {
    EXPECT_NE(entry, step);
    if (entry->menu() != nullptr) {
      EXPECT_FALSE(entry->menu()->actions().contains(step));
    }
  }
  Level& level = frame.boardView().document().LevelForTests();
  testsupport::PlaceOneMoveFromSolved(level);
  RecheckLevel(level);
  Press("Ctrl+Alt+O");
  for (const Piece& ball : level.balls) EXPECT_EQ(ball.column, 0);
}

// While the Copy dialog is open, Ctrl+N and the other keys belong to it.
TEST_F(MainFrameTest, KeysInTheDialogDoNotReachTheBoard) {
  const std::vector<Cell> cells = frame.boardView().level().cells;
  bool sawDialog = false;
  WhenDialogOpens([&](QWidget* opened) {
    auto* dialog = qobject_cast<CLevelCodeDlg*>(opened);
    ASSERT_NE(dialog, nullptr);
    sawDialog = true;
    dialog->activateWindow();
    QTest::keySequence(dialog->codeEdit(), QKeySequence(QStringLiteral("Ctrl+N")));
    QTest::keySequence(dialog->codeEdit(), QKeySequence(QStringLiteral("Ctrl+Z")));
    QTest::keyClick(dialog->codeEdit(), Qt::Key_Escape);
  });
  Press("Ctrl+C");
  EXPECT_TRUE(sawDialog);
  EXPECT_EQ(frame.boardView().level().cells, cells);
}

TEST_F(MainFrameTest, ViewKeepsItsSizeWhateverTheMenuFont) {
  const QSize before = frame.size();
  EXPECT_EQ(frame.boardView().contentsRect().size(), QSize(ViewWidth, ViewHeight));
  QFont large = frame.menuBar()->font();
  large.setPixelSize(30);
  frame.menuBar()->setFont(large);
  QApplication::processEvents();
  frame.adjustSize();
  EXPECT_GT(frame.height(), before.height());
  EXPECT_EQ(frame.boardView().contentsRect().size(), QSize(ViewWidth, ViewHeight));
  EXPECT_EQ(frame.minimumSize(), frame.maximumSize());  // the user cannot resize it
}

TEST_F(MainFrameTest, RoutingReachesAboutAndExit) {
  QSignalSpy about(&frame, &CMainFrame::aboutRequested);
  frame.commandAction(CommandId("ID_APP_ABOUT"))->trigger();
  EXPECT_EQ(about.size(), 1);
  EXPECT_FALSE(frame.OnCmdMsg(1));
  frame.commandAction(CommandId("ID_APP_EXIT"))->trigger();
  EXPECT_FALSE(frame.isVisible());
}

TEST(AboutBoxTest, ShowsItsTextsAndClosesWithOk) {
  CAboutBox box;
  EXPECT_EQ(box.windowTitle(), "About");
  QStringList texts;
  for (QLabel* label : box.findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;
    texts << label->text();
    // Every text fits the place its dialog units give it.
    const QFontMetrics metrics(label->font());
    for (const QString& line : label->text().split('\n')) {
      EXPECT_LE(metrics.horizontalAdvance(line), label->width()) << line.toStdString();
    }
  }
  EXPECT_TRUE(texts.contains("Korvalo Level Editor, v.1.0"));
  EXPECT_TRUE(texts.contains("Please visit the program's homepage\nfor more information."));
  auto* ok = box.findChild<QPushButton*>();
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "OK");
  QTimer::singleShot(0, ok, &QPushButton::click);
  EXPECT_EQ(box.exec(), QDialog::Accepted);
}

TEST(EditorAppTest, StartsWithTheMainWindowShown) {
  auto* app = qobject_cast<CEditorApp*>(QCoreApplication::instance());
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(QCoreApplication::organizationName(), "Vandrel");
  EXPECT_EQ(QCoreApplication::applicationVersion(), "1.0");
  ASSERT_TRUE(app->InitInstance());
  CMainFrame* frame = app->mainFrame();
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->boardView().level().boardSize, 5);
  EXPECT_FALSE(frame->windowIcon().isNull());
  frame->close();  // deletes the frame, and with it the level
  QApplication::processEvents();
  EXPECT_EQ(app->mainFrame(), nullptr);
}

}  // namespace
