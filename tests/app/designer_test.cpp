// Designer mode: its menus and keys, the status line, undo and redo, the
// clipboard, the level set's panel and file, the unsaved-changes question and
// the Generate dialog, driven in-process off-screen.

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "app/command_table.h"
#include "app/generate_dlg.h"
#include "app/level_set_panel.h"
#include "app/main_frame.h"
#include "app/status_line.h"
#include "drawing/board_geometry.h"
#include "logic/level_code.h"
#include "tests/app/board_view_fixture.h"

namespace {

constexpr const char* ClearedSevenCode = "7003366663300fffbffefffbffefffbffe555";
constexpr const char* SolvedThreeCode = "3001122001122fbe5";

class DesignerTest : public ::testing::Test {
 protected:
  DesignerTest() {
    QSettings().clear();
    frame = std::make_unique<CMainFrame>(FixedRandom(), EditorMode::Designer);
    frame->boardView().SetGameLauncher([](const QString&) {});
    frame->show();
    frame->activateWindow();
  }
  ~DesignerTest() override {
    // Nothing asks when the test is over.
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    if (frame->isVisible() && frame->setDocument().modified()) {
      WhenDialogOpens([](QWidget* box) {
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Discard)->click();
      });
    }
    frame->close();
  }

  void Run(const char* name) { EXPECT_TRUE(frame->OnCmdMsg(CommandIdOfName(name))); }
  static int CommandIdOfName(const char* name) {
    for (const CommandEntry& command : Commands) {
      if (command.name == name) return command.id;
    }
    ADD_FAILURE() << "no command " << name;
    return 0;
  }
  QString Status() const { return frame->statusLine()->text(); }
  std::string Code() const { return WriteLevelCode(frame->boardView().level()); }
  QListWidget* List() const { return frame->setPanel()->list(); }
  EditorDocument& Document() { return frame->boardView().document(); }

  std::unique_ptr<CMainFrame> frame;
};

TEST(StatusTextTest, SaysTheLengthOrWhatIsCarried) {
  const struct {
    CarriedPiece carried;
    std::optional<int> moves;
    const char* text;
  } cases[] = {
      {CarriedPiece::Nothing, 23, "Shortest solution: 23 moves"},
      {CarriedPiece::Nothing, 1, "Shortest solution: 1 move"},
      {CarriedPiece::Nothing, 0, "Already solved"},
      {CarriedPiece::Nothing, std::nullopt, "No solution"},
      {CarriedPiece::RedBall, 5, "Carrying the red ball"},
      {CarriedPiece::GreenHole, std::nullopt, "Carrying the green hole"},
  };
  for (const auto& c : cases) {
    EditingState editing;
    editing.CarriedItem = c.carried;
    EXPECT_EQ(StatusText(editing, c.moves), c.text);
  }
}

TEST_F(DesignerTest, MenusHoldTheStandardActionsAndTheClassicCommandsWithOtherKeys) {
  EXPECT_EQ(MenuBarOutline(frame->menuBar()).toStdString(),
            "&File[New\tCtrl+N|Open...\tCtrl+O|Open Recent>|-|Save\tCtrl+S|Save "
            "As...\tCtrl+Shift+S|-|Exit\tCtrl+Q] "
            "&Game[3x3|5x5|7x7|-|Generate...\tCtrl+G|-|Test\tCtrl+T] "
            "&Edit[Undo\tCtrl+Z|Redo\tCtrl+Y|-|Copy Level Code\tCtrl+C|Paste Level Code\tCtrl+V|-|"
            "Clear\tCtrl+Shift+N|Random\tCtrl+R|-|X-flip\tCtrl+Shift+X|Y-flip\tCtrl+Shift+Y|"
            "Rotate\tCtrl+Shift+R|-|Get &HTML|-|Level Code...\tCtrl+L] "
            "&Set[Add Level\tCtrl+Shift+A|Replace Selected Level\tCtrl+Shift+E|Remove Selected "
            "Level\tCtrl+Shift+Del|-|"
            "Move Up\tCtrl+Shift+Up|Move Down\tCtrl+Shift+Down|-|Edit Selected "
            "Level\tCtrl+E|-|Title and Author...] "
            "&Help[About|Homepage] "
            "&Vandrel");
  // Every key names one command only.
  QStringList keys;
  for (QAction* action : frame->actions()) {
    for (const QKeySequence& key : action->shortcuts()) keys << key.toString();
  }
  EXPECT_EQ(keys.size(), QSet<QString>(keys.begin(), keys.end()).size())
      << keys.join(' ').toStdString();
  EXPECT_EQ(frame->boardView().contentsRect().size(), QSize(ViewWidth, ViewHeight));
  EXPECT_TRUE(frame->windowTitle().startsWith("Korvalo Level Designer"));
}

TEST_F(DesignerTest, StatusLineFollowsEveryChange) {
  Document().Apply(edit::ReadCode{SolvedThreeCode});
  EXPECT_EQ(Status(), "Already solved");
  Document().Apply(edit::ReadCode{ClearedSevenCode});
  EXPECT_EQ(Status(), "No solution");
  Document().Apply(edit::ReadCode{"3111221000110fbe5"});
  EXPECT_TRUE(Status().startsWith("Shortest solution: ")) << Status().toStdString();
  Document().Apply(edit::PickUp{CarriedPiece::BlueBall});
  EXPECT_EQ(Status(), "Carrying the blue ball");
}

TEST_F(DesignerTest, KeysUndoAndRedoAndTheMenuShowsWhatCanBeUndone) {
  QAction* undo = frame->commandAction(CommandIdOfName("ID_EDIT_UNDO"));
  QAction* redo = frame->commandAction(CommandIdOfName("ID_EDIT_REDO"));
  EXPECT_FALSE(undo->isEnabled());
  const std::string before = Code();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
  QTest::keySequence(frame.get(), QKeySequence(QStringLiteral("Ctrl+Shift+R")));  // Rotate
  const std::string rotated = Code();
  EXPECT_NE(rotated, before);
  EXPECT_TRUE(undo->isEnabled());
  QTest::keySequence(frame.get(), QKeySequence::Undo);
  EXPECT_EQ(Code(), before);
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_TRUE(redo->isEnabled());
  QTest::keySequence(frame.get(), QKeySequence::Redo);
  EXPECT_EQ(Code(), rotated);
}

TEST_F(DesignerTest, CopyPutsTheCodeOnTheClipboard) {
  Run("ID_EDIT_COPY");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), Code());
}

struct PasteCase {
  const char* name;
  QString text;
  bool taken;
  const char* status;  // the start of the status line afterwards
};

class PasteTest : public DesignerTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteTest, ReadsAllOrNothing) {
  const PasteCase& c = GetParam();
  const std::string before = Code();
  QGuiApplication::clipboard()->setText(c.text);
  Run("ID_EDIT_PASTE");
  EXPECT_EQ(Code() != before, c.taken);
  EXPECT_TRUE(Status().startsWith(c.status)) << Status().toStdString();
  if (c.taken) {
    EXPECT_EQ(frame->boardView().level().boardSize, 7);
    Run("ID_EDIT_UNDO");
    EXPECT_EQ(Code(), before);
  } else {
    EXPECT_FALSE(Document().CanUndo());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PasteTest,
    ::testing::Values(PasteCase{"SevenBySeven", ClearedSevenCode, true, "No solution"},
                      PasteCase{"WithLineBreakAndBlanks", QString("  %1\n").arg(ClearedSevenCode),
                                true, "No solution"},
                      PasteCase{"Empty", "", false, "Not pasted: "},
                      PasteCase{"Words", "hello there", false, "Not pasted: the first character"},
                      PasteCase{"TooShort", "70033666633", false, "Not pasted: the code ends"},
                      PasteCase{"TwoBallsOnOneSquare", "3000022221100fbe5", false,
                                "Not pasted: two balls"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesignerTest, SetPanelAddsReplacesRemovesReordersAndOpensLevels) {
  const std::string first = Code();
  Run("ID_SET_ADD");
  Document().Apply(edit::ReadCode{SolvedThreeCode});
  Run("ID_SET_ADD");
  ASSERT_EQ(List()->count(), 2);
  EXPECT_EQ(frame->setPanel()->selectedIndex(), 1);
  EXPECT_TRUE(List()->item(1)->text().contains("solved")) << List()->item(1)->text().toStdString();
  EXPECT_FALSE(List()->item(0)->icon().isNull());
  EXPECT_TRUE(frame->isWindowModified());

  Run("ID_SET_MOVE_UP");
  EXPECT_EQ(frame->setDocument().set().levels[0].code, SolvedThreeCode);
  EXPECT_EQ(frame->setPanel()->selectedIndex(), 0);

  frame->setPanel()->Select(1);
  Run("ID_SET_EDIT");  // the first level back on the board, undoably
  EXPECT_EQ(Code(), first);
  Run("ID_EDIT_UNDO");
  EXPECT_EQ(Code(), SolvedThreeCode);

  frame->setPanel()->Select(1);
  Run("ID_SET_REPLACE");
  EXPECT_EQ(frame->setDocument().set().levels[1].code, SolvedThreeCode);
  Run("ID_SET_REMOVE");
  ASSERT_EQ(frame->setDocument().size(), 1u);
  EXPECT_EQ(List()->count(), 1);
}

TEST_F(DesignerTest, SaveThenOpenGivesTheSameSetAndRemembersIt) {
  QTemporaryDir folder;
  const QString path = folder.filePath("set.txt");
  Run("ID_SET_ADD");
  Document().Apply(edit::ReadCode{SolvedThreeCode});
  Run("ID_SET_ADD");
  const LevelSet saved = frame->setDocument().set();
  ASSERT_TRUE(frame->SaveSetFile(path));
  EXPECT_FALSE(frame->setDocument().modified());
  EXPECT_FALSE(frame->isWindowModified());

  Run("ID_FILE_NEW");
  EXPECT_EQ(frame->setDocument().size(), 0u);
  ASSERT_TRUE(frame->OpenSetFile(path));
  ASSERT_EQ(frame->setDocument().size(), saved.levels.size());
  for (std::size_t i = 0; i < saved.levels.size(); ++i) {
    EXPECT_EQ(frame->setDocument().set().levels[i].code, saved.levels[i].code);
  }
  EXPECT_EQ(frame->RecentSets(), QStringList{QFileInfo(path).absoluteFilePath()});
}

TEST_F(DesignerTest, AFailedSaveSaysSoAndKeepsTheChanges) {
  QTemporaryDir folder;
  Run("ID_SET_ADD");
  WhenDialogOpens(
      [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click(); });
  EXPECT_FALSE(frame->SaveSetFile(folder.filePath("no/such/folder/set.txt")));
  EXPECT_TRUE(frame->setDocument().modified());
}

struct QuestionCase {
  const char* name;
  QMessageBox::StandardButton answer;
  bool closes;
  bool saved;
};

class UnsavedChangesTest : public DesignerTest,
                           public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(UnsavedChangesTest, ClosingAsksFirst) {
  const QuestionCase& c = GetParam();
  QTemporaryDir folder;
  const QString path = folder.filePath("set.txt");
  Run("ID_SET_ADD");
  ASSERT_TRUE(frame->SaveSetFile(path));
  Run("ID_SET_ADD");  // unsaved now
  bool asked = false;
  WhenDialogOpens([&](QWidget* box) {
    asked = true;
    qobject_cast<QMessageBox*>(box)->button(c.answer)->click();
  });
  frame->setAttribute(Qt::WA_DeleteOnClose, false);
  EXPECT_EQ(frame->close(), c.closes);
  EXPECT_TRUE(asked);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(ReadLevelSet(file.readAll().toStdString()).set.levels.size(), c.saved ? 2u : 1u);
  if (c.answer == QMessageBox::Cancel) {
    EXPECT_TRUE(frame->setDocument().modified());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UnsavedChangesTest,
    ::testing::Values(QuestionCase{"Save", QMessageBox::Save, true, true},
                      QuestionCase{"Discard", QMessageBox::Discard, true, false},
                      QuestionCase{"Cancel", QMessageBox::Cancel, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesignerTest, NewAndOpenAskToo) {
  Run("ID_SET_ADD");
  WhenDialogOpens(
      [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Cancel)->click(); });
  Run("ID_FILE_NEW");
  EXPECT_EQ(frame->setDocument().size(), 1u);
  WhenDialogOpens(
      [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Discard)->click(); });
  Run("ID_FILE_NEW");
  EXPECT_EQ(frame->setDocument().size(), 0u);
}

TEST_F(DesignerTest, GenerateDialogPutsALevelOfTheRangeOnTheBoardUndoably) {
  const std::string before = Code();
  WhenDialogOpens([](QWidget* opened) {
    auto* dialog = qobject_cast<CGenerateDlg*>(opened);
    ASSERT_NE(dialog, nullptr);
    dialog->sizeBox()->setCurrentIndex(dialog->sizeBox()->findData(5));
    dialog->fewestMovesBox()->setValue(8);
    dialog->mostMovesBox()->setValue(12);
    dialog->seedEdit()->setText("42");
    dialog->generateButton()->click();
  });
  Run("ID_GAME_GENERATE");
  const Level& level = frame->boardView().level();
  EXPECT_EQ(level.boardSize, 5);
  Level copy = level;
  const Solution solution = ShortestSolution(copy);
  ASSERT_TRUE(solution.exists);
  EXPECT_GE(solution.moves.size(), 8u);
  EXPECT_LE(solution.moves.size(), 12u);
  Run("ID_EDIT_UNDO");
  EXPECT_EQ(Code(), before);
}

TEST_F(DesignerTest, GenerateCancelStopsTheSearchAndChangesNothing) {
  const std::string before = Code();
  WhenDialogOpens([](QWidget* opened) {
    auto* dialog = qobject_cast<CGenerateDlg*>(opened);
    ASSERT_NE(dialog, nullptr);
    dialog->sizeBox()->setCurrentIndex(dialog->sizeBox()->findData(7));
    dialog->fewestMovesBox()->setValue(190);  // far beyond any level known: the search goes on
    dialog->generateButton()->click();
    QTimer::singleShot(300, dialog, [dialog] {
      EXPECT_FALSE(dialog->generateButton()->isEnabled()) << "still searching";
      dialog->reject();  // stops the search; the dialog stays open
      auto* poll = new QTimer(dialog);
      QObject::connect(poll, &QTimer::timeout, dialog, [dialog, poll] {
        if (!dialog->generateButton()->isEnabled()) return;
        poll->stop();
        EXPECT_EQ(dialog->progressLabel()->text(), "Stopped.");
        dialog->reject();  // now it closes
      });
      poll->start(20);
    });
  });
  Run("ID_GAME_GENERATE");
  EXPECT_EQ(Code(), before);
  EXPECT_FALSE(Document().CanUndo());
}

}  // namespace
