// Designer mode: its menus and keys, the status line, undo and redo, the
// clipboard, the level set's panel and file, the questions before unkept work
// is dropped, the window's place and the Generate dialog, driven in-process
// off-screen.

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <functional>

#include "app/command_table.h"
#include "app/dialog_units.h"
#include "app/editor_app.h"
#include "app/generate_dlg.h"
#include "app/level_code_dlg.h"
#include "app/level_set_panel.h"
#include "app/main_frame.h"
#include "app/set_controller.h"
#include "app/status_line.h"
#include "drawing/board_geometry.h"
#include "logic/level_code.h"
#include "tests/app/board_view_fixture.h"
#include "view/readable_colours.h"

namespace {

constexpr const char* ClearedSevenCode = "7003366663300fffbffefffbffefffbffe555";
constexpr const char* SolvedThreeCode = "3001122001122fbe5";
constexpr const char* RowCode = "5020100030201ffbfeffbfe55";  // balls blue, green, red along row 1

/// Answers the questions that open from now on, in turn, with the button
/// whose text starts with the next answer (an empty answer: the question's
/// Cancel), and keeps the texts of the questions asked. Whatever asks after
/// the answers run out is cancelled.
class Answers : public QObject {
 public:
  explicit Answers(QStringList answers) : m_answers(std::move(answers)) {
    connect(&m_poll, &QTimer::timeout, this, &Answers::Poll);
    m_poll.start(5);
  }
  QStringList asked;

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || box == m_answered) return;
    m_answered = box;
    asked << box->text();
    const QString answer = m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    for (QAbstractButton* button : box->buttons()) {
      const bool cancel = box->buttonRole(button) == QMessageBox::RejectRole;
      if (answer.isEmpty() ? cancel : button->text().remove('&').startsWith(answer)) {
        button->click();
        return;
      }
    }
    ADD_FAILURE() << "no button " << answer.toStdString() << " for " << box->text().toStdString();
    box->reject();
  }
  QStringList m_answers;
  QTimer m_poll;
  QPointer<QMessageBox> m_answered;
};

class DesignerTest : public ::testing::Test {
 protected:
  DesignerTest() {
    QSettings().clear();
    frame = NewFrame();
  }
  ~DesignerTest() override { CloseWithoutQuestions(); }

  static std::unique_ptr<CMainFrame> NewFrame(GradeParameters grading = {}) {
    auto made = std::make_unique<CMainFrame>(FixedRandom(), EditorMode::Designer, grading);
    made->boardCommands().SetGameLauncher([](const QString&) {});
    made->setAttribute(Qt::WA_DeleteOnClose, false);
    made->show();
    made->activateWindow();
    return made;
  }
  // Nothing asks when the test is over.
  void CloseWithoutQuestions() {
    if (!frame || !frame->isVisible()) return;
    const Answers discard({"Discard", "Discard"});
    frame->close();
  }

  SetDocument const& Set() const { return frame->sets()->document(); }
  CLevelSetPanel* Panel() const { return frame->sets()->panel(); }
  /// The codes of the set's levels, in order.
  std::vector<std::string> SetCodes() const {
    std::vector<std::string> codes;
    for (const SetLevel& level : Set().set().levels) codes.push_back(level.code);
    return codes;
  }
  QString ActionText(const char* name) const {
    return frame->commandAction(CommandIdOfName(name))->text().section('\t', 0, 0);
  }
  bool Enabled(const char* name) const {
    return frame->commandAction(CommandIdOfName(name))->isEnabled();
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
  QListWidget* List() const { return Panel()->list(); }
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

TEST(StatusTextTest, GivesTheAnalysisFiguresAfterTheLength) {
  const struct {
    Verdict verdict;
    const char* text;
  } cases[] = {
      {{23, 1, 0, 518, std::nullopt},
       "Shortest solution: 23 moves \u00b7 1 shortest solution \u00b7 "
       "0 counter-intuitive steps \u00b7 greedy effort 518"},
      {{38, 12, 1, 3249, std::nullopt},
       "Shortest solution: 38 moves \u00b7 12 shortest solutions \u00b7 "
       "1 counter-intuitive step \u00b7 greedy effort 3249"},
      {{90, ManySolutions, 4, 70000, std::nullopt},
       "Shortest solution: 90 moves \u00b7 more than 1000000000 shortest solutions \u00b7 "
       "4 counter-intuitive steps \u00b7 greedy effort 70000"},
      {{41, 2, 3, 900, LevelGrade{50, Grade::Hard}},
       "Shortest solution: 41 moves \u00b7 2 shortest solutions \u00b7 "
       "3 counter-intuitive steps \u00b7 greedy effort 900 \u00b7 grade Hard (50 points)"},
      {{0, 1, 0, 1, std::nullopt}, "Already solved"},
      {{std::nullopt, 0, 0, std::nullopt, std::nullopt}, "No solution"},
      {{std::nullopt, 0, 0, std::nullopt, std::nullopt, {ReasonId::GreenBallCutOff}},
       "No solution: no open path joins the green ball to the green hole"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StatusWithFigures(EditingState{}, &c.verdict), QString::fromUtf8(c.text));
  }
  EditingState carrying;
  carrying.CarriedItem = CarriedPiece::RedHole;
  EXPECT_EQ(StatusWithFigures(carrying, nullptr), "Carrying the red hole");
}

TEST_F(DesignerTest, MenusHoldTheStandardActionsAndTheClassicCommandsWithOtherKeys) {
  EXPECT_EQ(MenuBarOutline(frame->menuBar()).toStdString(),
            "&File[&New\tCtrl+N|&Open...\tCtrl+O|Open &Recent>|-|&Save\tCtrl+S|Save "
            "&As...\tCtrl+Shift+S|-|&Publish...|-|E&xit\tCtrl+Q] "
            "&Game[&3x3\tCtrl+3|&5x5\tCtrl+5|&7x7\tCtrl+7|-|&Generate...\tCtrl+G|-|&Test\tCtrl+T|"
            "Test &Set\tCtrl+Shift+T] "
            "&Edit[&Undo\tCtrl+Z|&Redo\tCtrl+Y|-|&Copy Level Code\tCtrl+C|&Paste Level "
            "Code\tCtrl+V|-|"
            "Cl&ear\tCtrl+Shift+N|Ra&ndom\tCtrl+R|-|&X-flip\tCtrl+Shift+X|&Y-flip\tCtrl+Shift+Y|"
            "R&otate\tCtrl+Shift+R|-|Get &HTML|-|&Level Code...\tCtrl+L] "
            "&View[Colour &Symbols] "
            "&Set[&Add Level\tCtrl+Shift+A|&Update Level from Board\tCtrl+U|&Remove Selected "
            "Level\tCtrl+Shift+Del|-|"
            "Move U&p\tCtrl+Shift+Up|Move &Down\tCtrl+Shift+Down|-|&Edit Selected "
            "Level\tCtrl+E|-|&Title and Author...|Re&name Level...\tF2|-|Sort by &Length|"
            "Sort by Greedy E&ffort|Sort by &Grade] "
            "&Help[&Keyboard Editing...\tF1|&About|&Homepage] "
            "V&andrel");
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
  const QRegularExpression lengthThenFigures(
      QString::fromUtf8("^Shortest solution: \\d+ moves?\n\\d+ shortest solutions? \u00b7 \\d+ "
                        "counter-intuitive steps? \u00b7 greedy effort \\d+ \u00b7 grade \\w+ "
                        "\\(\\d+ points\\)$"));
  EXPECT_TRUE(lengthThenFigures.match(Status()).hasMatch()) << Status().toStdString();
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
                      PasteCase{"Empty", "", false, "The clipboard holds no level code."},
                      PasteCase{"BlanksOnly", " \n ", false, "The clipboard holds no level code."},
                      PasteCase{"Words", "hello there", false, "Not pasted: the first character"},
                      PasteCase{"TooShort", "70033666633", false, "Not pasted: the code ends"},
                      PasteCase{"TwoBallsOnOneSquare", "3000022221100fbe5", false,
                                "Not pasted: two balls"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesignerTest, SetPanelGivesEachLevelsLengthSolutionsAndEffort) {
  for (const char* code : {RowCode, SolvedThreeCode, ClearedSevenCode}) {
    Document().Apply(edit::ReadCode{code});
    Run("ID_SET_ADD");
  }
  ASSERT_EQ(List()->count(), 3);
  const QString rows[] = {QString::fromUtf8("1 move \u00b7 1 solution \u00b7 effort 2"), "solved",
                          "no solution"};
  for (int row = 0; row < 3; ++row) {
    EXPECT_TRUE(List()->item(row)->text().contains(rows[row]))
        << List()->item(row)->text().toStdString();
  }
}

// The window hands the grade's parameters it starts with to everything that
// grades: under a rule that puts every level 100 points higher, the one-move
// level is Expert in the status line and in the set's list, where the default
// rule calls it Easy.
TEST_F(DesignerTest, TheGradeParametersReachTheStatusLineAndTheSetsList) {
  GradeParameters raised;
  raised.offset = 100.0;
  for (const auto& [grading, grade] :
       {std::pair{GradeParameters{}, "Easy"}, std::pair{raised, "Expert"}}) {
    SCOPED_TRACE(grade);
    CloseWithoutQuestions();
    frame = NewFrame(grading);
    Document().Apply(edit::ReadCode{RowCode});
    EXPECT_TRUE(Status().contains(QStringLiteral("grade %1 (").arg(grade)))
        << Status().toStdString();
    Run("ID_SET_ADD");
    ASSERT_EQ(List()->count(), 1);
    EXPECT_TRUE(List()->item(0)->text().contains(QString::fromUtf8("\u00b7 ") + grade))
        << List()->item(0)->text().toStdString();
  }
}

TEST_F(DesignerTest, SetPanelAddsUpdatesRemovesReordersAndOpensLevels) {
  const std::string first = Code();
  Run("ID_SET_ADD");
  Document().Apply(edit::ReadCode{SolvedThreeCode});
  Run("ID_SET_ADD");
  ASSERT_EQ(List()->count(), 2);
  EXPECT_EQ(Panel()->selectedIndex(), 1);
  EXPECT_TRUE(List()->item(1)->text().contains("solved")) << List()->item(1)->text().toStdString();
  EXPECT_FALSE(List()->item(0)->icon().isNull());
  EXPECT_TRUE(frame->isWindowModified());

  Run("ID_SET_MOVE_UP");
  EXPECT_EQ(Set().set().levels[0].code, SolvedThreeCode);
  EXPECT_EQ(Panel()->selectedIndex(), 0);

  Panel()->Select(1);
  Run("ID_SET_EDIT");  // the first level back on the board, undoably
  EXPECT_EQ(Code(), first);
  Run("ID_EDIT_UNDO");
  EXPECT_EQ(Code(), SolvedThreeCode);

  // Update acts on the level the board came from (level 1), not on the selected one.
  Panel()->Select(1);
  Document().Apply(edit::FlipWall{0, 0, WallKind::East});
  Run("ID_SET_UPDATE");
  EXPECT_EQ(SetCodes(), (std::vector<std::string>{Code(), first}));
  EXPECT_TRUE(Status().startsWith("Level 1 updated from the board.")) << Status().toStdString();
  EXPECT_EQ(Panel()->selectedIndex(), 0) << "the updated level is selected";
  Panel()->Select(1);
  Run("ID_SET_REMOVE");
  ASSERT_EQ(Set().size(), 1u);
  EXPECT_EQ(List()->count(), 1);
  EXPECT_TRUE(Status().startsWith("Level 2 removed")) << Status().toStdString();
}

TEST_F(DesignerTest, SaveThenOpenGivesTheSameSetAndRemembersIt) {
  QTemporaryDir folder;
  const QString path = folder.filePath("set.txt");
  Run("ID_SET_ADD");
  Document().Apply(edit::ReadCode{SolvedThreeCode});
  Run("ID_SET_ADD");
  const LevelSet saved = Set().set();
  ASSERT_TRUE(frame->sets()->SaveSetFile(path));
  EXPECT_FALSE(Set().modified());
  EXPECT_FALSE(frame->isWindowModified());

  Run("ID_FILE_NEW");
  EXPECT_EQ(Set().size(), 0u);
  ASSERT_TRUE(frame->sets()->OpenSetFile(path));
  ASSERT_EQ(Set().size(), saved.levels.size());
  for (std::size_t i = 0; i < saved.levels.size(); ++i) {
    EXPECT_EQ(Set().set().levels[i].code, saved.levels[i].code);
  }
  EXPECT_EQ(frame->sets()->RecentSets(), QStringList{QFileInfo(path).absoluteFilePath()});
}

/// The bytes of a file.
QByteArray FileBytes(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

// The file's comments, blank lines and unreadable lines stay where they were,
// and the file keeps its permissions.
TEST_F(DesignerTest, SavingKeepsTheFilesOtherLinesAndPermissions) {
  QTemporaryDir folder;
  const QString path = folder.filePath("set.txt");
  const QByteArray text =
      "# title: Mine\n# the easy ones\n\n3001122001122fbe5\tSolved\n"
      "3001122001122fbX\tmistyped\n";
  WriteFile(path, text);
  const QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
  ASSERT_TRUE(QFile::setPermissions(path, permissions));
  const Answers leftOut({"OK"});
  ASSERT_TRUE(frame->sets()->OpenSetFile(path));
  Document().Apply(edit::ReadCode{RowCode});
  Run("ID_SET_ADD");
  Run("ID_FILE_SAVE");
  EXPECT_FALSE(Set().modified());
  EXPECT_EQ(FileBytes(path), text + RowCode + "\n");
  EXPECT_EQ(QFile::permissions(path) & 0x7077, permissions);
}

// A file in which no level was read is written into only when the user says so.
TEST_F(DesignerTest, AFileWithoutLevelsIsNotSavedIntoUnasked) {
  QTemporaryDir folder;
  const QString path = folder.filePath("picture.png");
  const QByteArray bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\n\xff\xfe\n", 18);
  WriteFile(path, bytes);
  {
    const Answers leftOut({"OK"});
    ASSERT_TRUE(frame->sets()->OpenSetFile(path));
  }
  Run("ID_SET_ADD");
  {
    const Answers cancel({""});
    Run("ID_FILE_SAVE");
    ASSERT_EQ(cancel.asked.size(), 1);
    EXPECT_TRUE(cancel.asked[0].startsWith("No level was read from picture.png: its 4 line"))
        << cancel.asked[0].toStdString();
    EXPECT_EQ(FileBytes(path), bytes);
    EXPECT_TRUE(Set().modified());
  }
  const Answers into({"Save Into It"});
  Run("ID_FILE_SAVE");
  EXPECT_EQ(FileBytes(path).left(bytes.size()), bytes);
  EXPECT_FALSE(Set().modified());
}

TEST_F(DesignerTest, AFailedSaveSaysSoAndKeepsTheChanges) {
  QTemporaryDir folder;
  Run("ID_SET_ADD");
  WhenDialogOpens(
      [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click(); });
  EXPECT_FALSE(frame->sets()->SaveSetFile(folder.filePath("no/such/folder/set.txt")));
  EXPECT_TRUE(Set().modified());
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
  ASSERT_TRUE(frame->sets()->SaveSetFile(path));
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
    EXPECT_TRUE(Set().modified());
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
  EXPECT_EQ(Set().size(), 1u);
  WhenDialogOpens(
      [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Discard)->click(); });
  Run("ID_FILE_NEW");
  EXPECT_EQ(Set().size(), 0u);
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

TEST_F(DesignerTest, GenerateDialogKeepsToOneShortestSolutionAndTheEffortRange) {
  WhenDialogOpens([](QWidget* opened) {
    auto* dialog = qobject_cast<CGenerateDlg*>(opened);
    ASSERT_NE(dialog, nullptr);
    dialog->sizeBox()->setCurrentIndex(dialog->sizeBox()->findData(5));
    dialog->fewestMovesBox()->setValue(8);
    dialog->mostMovesBox()->setValue(14);
    dialog->uniqueBox()->setChecked(true);
    dialog->leastEffortBox()->setValue(20);
    dialog->mostEffortBox()->setValue(400);
    dialog->seedEdit()->setText("7");
    dialog->generateButton()->click();
  });
  Run("ID_GAME_GENERATE");
  const Verdict& verdict = Document().verdict();
  ASSERT_TRUE(verdict.shortestMoves.has_value()) << Status().toStdString();
  EXPECT_EQ(verdict.solutions, 1u);
  ASSERT_TRUE(verdict.greedyEffort.has_value());
  EXPECT_GE(*verdict.greedyEffort, 20);
  EXPECT_LE(*verdict.greedyEffort, 400);

  WhenDialogOpens([](QWidget* opened) {
    auto* dialog = qobject_cast<CGenerateDlg*>(opened);
    EXPECT_TRUE(dialog->uniqueBox()->isChecked());
    EXPECT_EQ(dialog->leastEffortBox()->value(), 20);
    EXPECT_EQ(dialog->mostEffortBox()->value(), 400);
    dialog->reject();
  });
  Run("ID_GAME_GENERATE");
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

namespace {

// --- Nothing is lost ----------------------------------------------------------------

enum class Leave { Close, New, OpenRecent, EditOtherLevel };

struct LostEditCase {
  const char* name;
  Leave leave;
  QStringList answers;  // "" cancels
  bool leaves;          // the window closes, or the set or the board's level is replaced
  bool levelUpdated;    // the set's level 2 holds the board's changes afterwards
  bool fileUpdated;     // and so does the file
};

class LostEditTest : public DesignerTest, public ::testing::WithParamInterface<LostEditCase> {
 protected:
  /// A saved set of two levels, the second on the board with a wall flipped.
  void SetUp() override {
    path = folder.filePath("set.txt");
    Run("ID_SET_ADD");
    Document().Apply(edit::ReadCode{SolvedThreeCode});
    Run("ID_SET_ADD");
    ASSERT_TRUE(frame->sets()->SaveSetFile(path));
    saved = SetCodes();
    Panel()->Select(0);
    Run("ID_SET_EDIT");
    Panel()->Select(1);
    Run("ID_SET_EDIT");
    ASSERT_EQ(Code(), saved[1]);
    Document().Apply(edit::FlipWall{0, 0, WallKind::East});
    edited = Code();
  }
  /// Does what the case names; false when it was cancelled.
  bool DoLeave(Leave leave) {
    switch (leave) {
      case Leave::Close: return frame->close();
      case Leave::New: Run("ID_FILE_NEW"); return Set().size() == 0;
      case Leave::OpenRecent: {
        QMenu* recent = frame->findChild<QMenu*>();
        for (QMenu* menu : frame->findChildren<QMenu*>()) {
          if (menu->title() == "Open Recent") recent = menu;
        }
        recent->actions().first()->trigger();
        // The board keeps the changes the user left out of the set, else it
        // shows the opened set's first level.
        return !Set().modified() && (Code() == edited || Code() == SetCodes()[0]) &&
               History().CanUndo() == false;
      }
      case Leave::EditOtherLevel:
        Panel()->Select(0);
        Run("ID_SET_EDIT");
        return Code() == saved[0];
    }
    return false;
  }
  const ::History& History() { return Document().history(); }
  std::string FileLevel2() {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return ReadLevelSet(file.readAll().toStdString()).set.levels.at(1).code;
  }

  QTemporaryDir folder;
  QString path;
  std::vector<std::string> saved;
  std::string edited;
};

TEST_P(LostEditTest, AsksOrKeepsTheBoardsChangesAndNeverDropsThemUnasked) {
  const LostEditCase& c = GetParam();
  // The board's changes are in no file: the title and the panel say so.
  EXPECT_FALSE(Set().modified());
  EXPECT_TRUE(frame->isWindowModified());
  EXPECT_TRUE(List()->item(1)->text().endsWith("on the board, changed"))
      << List()->item(1)->text().toStdString();
  EXPECT_TRUE(Enabled("ID_SET_UPDATE"));

  Answers answers(c.answers);
  EXPECT_EQ(DoLeave(c.leave), c.leaves);
  EXPECT_FALSE(answers.asked.isEmpty()) << "nothing asked";
  EXPECT_TRUE(answers.asked.first().startsWith("Level 2 on the board has changes"))
      << answers.asked.first().toStdString();
  if (c.leave != Leave::Close || !c.leaves) {
    if (!c.leaves) {
      EXPECT_EQ(Code(), edited) << "a cancel changes nothing";
    }
    if (c.leave != Leave::New && c.leave != Leave::OpenRecent) {
      EXPECT_EQ(SetCodes()[1], c.levelUpdated ? edited : saved[1]);
    }
  }
  EXPECT_EQ(FileLevel2(), c.fileUpdated ? edited : saved[1]);
  if (c.leave == Leave::EditOtherLevel && c.leaves && !c.levelUpdated) {
    Run("ID_EDIT_UNDO");  // even the dropped changes come back
    EXPECT_EQ(Code(), edited);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LostEditTest,
    ::testing::Values(
        LostEditCase{
            "CloseUpdateAndSave", Leave::Close, {"Update Level 2", "Save"}, true, true, true},
        LostEditCase{
            "CloseUpdateThenCancel", Leave::Close, {"Update Level 2", ""}, false, true, false},
        LostEditCase{"CloseDiscard", Leave::Close, {"Discard"}, true, false, false},
        LostEditCase{"CloseCancel", Leave::Close, {""}, false, false, false},
        LostEditCase{"NewUpdateAndSave", Leave::New, {"Update Level 2", "Save"}, true, true, true},
        LostEditCase{"NewLeaveOut", Leave::New, {"Leave Out"}, true, false, false},
        LostEditCase{"NewCancel", Leave::New, {""}, false, false, false},
        LostEditCase{
            "OpenUpdateAndSave", Leave::OpenRecent, {"Update Level 2", "Save"}, true, true, true},
        LostEditCase{"OpenCancel", Leave::OpenRecent, {""}, false, false, false},
        LostEditCase{
            "EditOtherUpdate", Leave::EditOtherLevel, {"Update Level 2"}, true, true, false},
        LostEditCase{"EditOtherDiscard", Leave::EditOtherLevel, {"Discard"}, true, false, false},
        LostEditCase{"EditOtherCancel", Leave::EditOtherLevel, {""}, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesignerTest, ABoardLevelInNoSetIsOfferedToTheSetOnClose) {
  Document().Apply(edit::FlipWall{1, 1, WallKind::South});
  EXPECT_TRUE(frame->isWindowModified());
  Answers answers({"Add to Set", ""});
  EXPECT_FALSE(frame->close()) << "the set question was cancelled";
  ASSERT_EQ(answers.asked.size(), 2);
  EXPECT_EQ(answers.asked[0], "The level on the board has changes and is in no set.");
  EXPECT_EQ(SetCodes(), std::vector<std::string>{Code()});
  EXPECT_TRUE(List()->item(0)->text().endsWith("on the board"))
      << List()->item(0)->text().toStdString();
}

TEST_F(DesignerTest, UnchangedLevelsNeedNoQuestion) {
  Document().Apply(edit::Rotate{});
  Document().Apply(edit::Rotate{});
  Document().Apply(edit::Rotate{});
  Document().Apply(edit::Rotate{});
  EXPECT_FALSE(frame->isWindowModified()) << "four turns give back the level";
  Answers answers({});
  EXPECT_TRUE(frame->close());
  EXPECT_TRUE(answers.asked.isEmpty());
}

// A generated or pasted level exists nowhere else: it carries the change mark
// and is asked about before a set level takes its place or the window closes.
TEST_F(DesignerTest, GeneratedAndPastedLevelsAreUnkeptWork) {
  const std::function<void()> arrivals[] = {
      [this] {
        QGuiApplication::clipboard()->setText(SolvedThreeCode);
        Run("ID_EDIT_PASTE");
      },
      [this] {
        Level level;
        ParseLevelCode(level, RowCode);
        Document().Apply(edit::ReplaceLevel{level, OriginKind::Generated});
      },
  };
  Run("ID_SET_ADD");
  for (const auto& arrive : arrivals) {
    arrive();
    const std::string arrived = Code();
    EXPECT_TRUE(frame->isWindowModified());
    Answers cancel({""});
    Panel()->Select(0);
    emit Panel()->levelActivated(0);  // a double-click or Enter in the list
    EXPECT_EQ(cancel.asked, QStringList{"The level on the board has changes and is in no set."});
    EXPECT_EQ(Code(), arrived) << "a cancel keeps the board";
  }
  Answers keep({"Add to Set", "Discard"});
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(SetCodes().back(), RowCode);
}

// --- One history ------------------------------------------------------------------

/// What the designer's work consists of: the set's levels and titles, and the board.
struct Work {
  std::vector<std::string> codes;
  std::string title;
  std::string board;
  friend bool operator==(const Work&, const Work&) = default;
};

TEST_F(DesignerTest, SetChangesAndBoardChangesShareOneUndoHistory) {
  const auto work = [this] { return Work{SetCodes(), Set().set().title, Code()}; };
  const auto title = [this](const char* text) {
    WhenDialogOpens([text](QWidget* dialog) {
      dialog->findChildren<QLineEdit*>().first()->setText(text);
      qobject_cast<QDialog*>(dialog)->accept();
    });
    Run("ID_SET_TITLE");
  };
  const struct {
    const char* change;  // as Undo names it
    std::function<void()> make;
  } steps[] = {
      {"Add Level", [&] { Run("ID_SET_ADD"); }},
      {"Wall Flip",
       [&] {
         Document().Apply(edit::FlipWall{0, 0, WallKind::East});
       }},
      {"Add Level", [&] { Run("ID_SET_ADD"); }},
      {"Wall Flip",
       [&] {
         Document().Apply(edit::FlipWall{1, 0, WallKind::South});
       }},
      {"Update Level", [&] { Run("ID_SET_UPDATE"); }},
      {"Move Up",
       [&] {
         Panel()->Select(1);
         Run("ID_SET_MOVE_UP");
       }},
      {"Titles", [&] { title("Firsts"); }},
      {"Edit Level",
       [&] {
         Panel()->Select(1);
         Run("ID_SET_EDIT");
       }},
      {"Remove Level",
       [&] {
         Panel()->Select(0);
         Run("ID_SET_REMOVE");
       }},
      {"Ball Move",
       [&] {
         Document().Apply(edit::PickUp{CarriedPiece::RedBall});
         Document().Apply(edit::PutDown{CarriedPiece::RedBall, 2, 2});
       }},
  };
  std::vector<Work> states{work()};
  for (const auto& step : steps) {
    step.make();
    ASSERT_NE(work(), states.back()) << step.change << " changed nothing";
    states.push_back(work());
    EXPECT_EQ(ActionText("ID_EDIT_UNDO"), QString("&Undo %1").arg(step.change));
  }
  for (std::size_t i = std::size(steps); i > 0; --i) {
    SCOPED_TRACE(steps[i - 1].change);
    EXPECT_EQ(ActionText("ID_EDIT_UNDO"), QString("&Undo %1").arg(steps[i - 1].change));
    Run("ID_EDIT_UNDO");
    EXPECT_EQ(work(), states[i - 1]);
    EXPECT_EQ(ActionText("ID_EDIT_REDO"), QString("&Redo %1").arg(steps[i - 1].change));
  }
  EXPECT_FALSE(Enabled("ID_EDIT_UNDO"));
  EXPECT_EQ(ActionText("ID_EDIT_UNDO"), "&Undo");
  EXPECT_FALSE(Set().modified()) << "back to the set as it was";
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    Run("ID_EDIT_REDO");
    EXPECT_EQ(work(), states[i + 1]) << steps[i].change;
  }
}

TEST_F(DesignerTest, UpDownRemoveAndUpdateAreEnabledWhereTheyCanAct) {
  const auto enabled = [this] {
    return std::vector<bool>{Enabled("ID_SET_UPDATE"), Enabled("ID_SET_REMOVE"),
                             Enabled("ID_SET_MOVE_UP"), Enabled("ID_SET_MOVE_DOWN")};
  };
  EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, false})) << "an empty set";
  Run("ID_SET_ADD");
  Document().Apply(edit::ReadCode{SolvedThreeCode});
  Run("ID_SET_ADD");
  Document().Apply(edit::ReadCode{ClearedSevenCode});
  Run("ID_SET_ADD");
  Panel()->Select(0);
  EXPECT_EQ(enabled(), (std::vector<bool>{false, true, false, true})) << "the first";
  Panel()->Select(1);
  EXPECT_EQ(enabled(), (std::vector<bool>{false, true, true, true})) << "the middle";
  Panel()->Select(2);
  Document().Apply(edit::FlipWall{0, 0, WallKind::East});
  EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, false})) << "the last, changed";
}

TEST_F(DesignerTest, AddingARepeatOrAnUnsolvableLevelSaysSo) {
  Document().Apply(edit::ReadCode{SolvedThreeCode});
  Run("ID_SET_ADD");
  Document().Apply(edit::Rotate{});  // the same level turned
  Run("ID_SET_ADD");
  EXPECT_EQ(Status(),
            "Added as level 2. It is the same level as level 1, up to turns and mirrors.");
  Document().Apply(edit::ReadCode{ClearedSevenCode});
  Run("ID_SET_ADD");
  EXPECT_EQ(Status(), "Added as level 3. It has no solution.");
  EXPECT_EQ(Set().size(), 3u) << "added all the same";
}

// --- Files --------------------------------------------------------------------------

TEST_F(DesignerTest, SaveAsAddsTheExtensionAndStartsInTheSetsFolder) {
  QTemporaryDir folder;
  Run("ID_SET_ADD");
  ASSERT_TRUE(frame->sets()->SaveSetFile(folder.filePath("first.txt")));
  QString startedIn;
  WhenDialogOpens([&](QWidget* opened) {
    auto* dialog = qobject_cast<QFileDialog*>(opened);
    ASSERT_NE(dialog, nullptr);
    startedIn = dialog->directory().absolutePath();
    dialog->selectFile(folder.filePath("audit"));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  Run("ID_FILE_SAVE_AS");
  EXPECT_EQ(startedIn, QDir(folder.path()).absolutePath());
  EXPECT_TRUE(QFile::exists(folder.filePath("audit.txt")));
  EXPECT_FALSE(QFile::exists(folder.filePath("audit")));
  EXPECT_EQ(QFileInfo(QString::fromStdString(Set().path())).fileName(), "audit.txt");
  EXPECT_TRUE(Status().startsWith("Saved audit.txt")) << Status().toStdString();
}

TEST(SetExtensionTest, IsAddedOnlyWhereTheNameHasNone) {
  EXPECT_EQ(WithSetExtension("/a/audit"), "/a/audit.txt");
  EXPECT_EQ(WithSetExtension("/a/audit.txt"), "/a/audit.txt");
  EXPECT_EQ(WithSetExtension("/a/levels.korvalo"), "/a/levels.korvalo");
  EXPECT_EQ(WithSetExtension("/a.b/audit"), "/a.b/audit.txt");
  EXPECT_EQ(WithSetExtension(""), "");
}

// --- The window's place -------------------------------------------------------------

TEST_F(DesignerTest, TheWindowKeepsItsPlaceOverManyStartsAndGrowsItsList) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  QRect expected(screen.topLeft() + QPoint(40, 50), QSize(900, 520));
  frame->setGeometry(expected);
  const int listWidth = List()->width();
  QApplication::processEvents();
  EXPECT_GT(List()->width(), listWidth - 1);
  for (int start = 0; start < 6; ++start) {
    SCOPED_TRACE(start);
    expected = frame->geometry();
    CloseWithoutQuestions();
    frame = NewFrame();
    EXPECT_EQ(frame->geometry(), expected);
    frame->setGeometry(expected.translated(7, 5));  // moved a little each time
  }
  EXPECT_GT(List()->width(), 900 - ViewWidth - 60) << "the list takes the width";
}

TEST_F(DesignerTest, APlaceNoScreenShowsGivesACentredWindow) {
  frame->move(QPoint(30000, 30000));
  CloseWithoutQuestions();
  frame = NewFrame();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.contains(frame->geometry().center())) << "on the screen";
  EXPECT_LE((frame->frameGeometry().center() - screen.center()).manhattanLength(), 16);
}

// --- Smaller points -----------------------------------------------------------------

TEST_F(DesignerTest, GenerateRemembersItsSettingsShowsTheSeedAndRefusesABadOne) {
  WhenDialogOpens([](QWidget* opened) {
    auto* dialog = qobject_cast<CGenerateDlg*>(opened);
    dialog->sizeBox()->setCurrentIndex(dialog->sizeBox()->findData(5));
    dialog->fewestMovesBox()->setValue(8);
    dialog->mostMovesBox()->setValue(12);
    dialog->seedEdit()->setText("abc");
    const QSize size = dialog->size();
    dialog->generateButton()->click();
    EXPECT_TRUE(dialog->progressLabel()->text().startsWith("The seed must be a whole number"));
    EXPECT_TRUE(dialog->generateButton()->isEnabled()) << "no search started";
    QApplication::processEvents();
    EXPECT_EQ(dialog->size(), size) << "the message wraps";
    dialog->seedEdit()->clear();  // from the clock
    dialog->generateButton()->click();
  });
  Run("ID_GAME_GENERATE");
  const QRegularExpression found(
      "^Generated from seed (\\d+): the shortest solution takes \\d+ moves\\.$");
  const QRegularExpressionMatch match = found.match(Status());
  ASSERT_TRUE(match.hasMatch()) << Status().toStdString();
  EXPECT_EQ(ActionText("ID_EDIT_UNDO"), "&Undo Generate");

  WhenDialogOpens([&](QWidget* opened) {
    auto* dialog = qobject_cast<CGenerateDlg*>(opened);
    EXPECT_EQ(dialog->sizeBox()->currentData().toInt(), 5);
    EXPECT_EQ(dialog->fewestMovesBox()->value(), 8);
    EXPECT_EQ(dialog->mostMovesBox()->value(), 12);
    EXPECT_EQ(dialog->seedEdit()->text(), "");
    EXPECT_EQ(dialog->lastSeedEdit()->text(), match.captured(1));
    EXPECT_TRUE(dialog->lastSeedEdit()->isReadOnly());
    dialog->reject();
  });
  Run("ID_GAME_GENERATE");
}

// Designer mode's dialog is laid out for the system font, whatever its size;
// the classic one keeps its dialog units and their small font.
TEST_F(DesignerTest, LevelCodeDialogIsNamedForWhatItDoesAndLaidOutForTheSystemFont) {
  WhenDialogOpens([](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Level Code");
    EXPECT_NE(dialog->layout(), nullptr);
    EXPECT_EQ(dialog->font(), QApplication::font());
    const auto* edit = dialog->findChild<QLineEdit*>();
    EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance(QString(37, 'f')));
    qobject_cast<QDialog*>(dialog)->reject();
  });
  Run("ID_EDIT_COPYCODE");

  const CLevelCodeDlg classic;
  EXPECT_EQ(classic.windowTitle(), "Copy");
  EXPECT_EQ(classic.layout(), nullptr);
  EXPECT_EQ(classic.size(), DialogUnitSize(175, 30));
  EXPECT_EQ(classic.font(), DialogFont(QApplication::font()));
}

// View > Colour Symbols: on at first, its check mark and the board follow it,
// the panel's pictures too, and a new window starts as the last one ended.
TEST_F(DesignerTest, ColourSymbolsSwitchFromTheViewMenuAndAreRemembered) {
  CBoardView& view = frame->boardView();
  QAction* symbols = frame->commandAction(CommandIdOfName("ID_VIEW_PIECE_SYMBOLS"));
  ASSERT_TRUE(symbols->isCheckable());
  const auto shownAs = [&](bool on) {
    const DrawOptions options{on, BoardScale(view.devicePixelRatioF()), ClassicBackground};
    return ShownBoard(view) == DrawnBoard(options, view.level(), view.editing());
  };
  EXPECT_TRUE(view.pieceSymbols());
  EXPECT_TRUE(symbols->isChecked());
  EXPECT_TRUE(shownAs(true));
  Run("ID_SET_ADD");
  const QImage pictureWith = List()->item(0)->icon().pixmap(64).toImage();

  symbols->trigger();  // as the menu does
  EXPECT_FALSE(view.pieceSymbols());
  EXPECT_FALSE(symbols->isChecked());
  EXPECT_TRUE(shownAs(false));
  EXPECT_NE(List()->item(0)->icon().pixmap(64).toImage(), pictureWith);
  EXPECT_EQ(QSettings().value("designer/pieceSymbols").toBool(), false);

  CloseWithoutQuestions();
  frame = NewFrame();
  EXPECT_FALSE(frame->boardView().pieceSymbols());
  EXPECT_FALSE(frame->commandAction(CommandIdOfName("ID_VIEW_PIECE_SYMBOLS"))->isChecked());
  Run("ID_VIEW_PIECE_SYMBOLS");  // as a key or another caller does
  EXPECT_TRUE(frame->boardView().pieceSymbols());
  EXPECT_TRUE(frame->commandAction(CommandIdOfName("ID_VIEW_PIECE_SYMBOLS"))->isChecked());
}

// Every text role of designer mode's palette, and the texts of its status
// line and panel, reach 4.5 to 1 against their backgrounds.
TEST(DesignerLookTest, TextsStandOutFromTheirBackgrounds) {
  auto* app = qobject_cast<CEditorApp*>(QCoreApplication::instance());
  ASSERT_NE(app, nullptr);
  const QPalette before = QApplication::palette();
  ASSERT_TRUE(app->InitInstance(EditorMode::Designer, QString()));
  CMainFrame* shown = app->mainFrame();
  const struct {
    QPalette::ColorRole text, background;
  } pairs[] = {{QPalette::WindowText, QPalette::Window},
               {QPalette::Text, QPalette::Base},
               {QPalette::Text, QPalette::AlternateBase},
               {QPalette::ButtonText, QPalette::Button},
               {QPalette::HighlightedText, QPalette::Highlight},
               {QPalette::ToolTipText, QPalette::ToolTipBase},
               {QPalette::PlaceholderText, QPalette::Base}};
  const QWidget* widgets[] = {shown, shown->statusLine(), shown->sets()->panel(),
                              shown->sets()->panel()->list()};
  for (const QWidget* widget : widgets) {
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
      for (const auto& pair : pairs) {
        const QPalette& palette = widget->palette();
        EXPECT_GE(
            ContrastRatio(palette.color(group, pair.text), palette.color(group, pair.background)),
            ReadableContrast)
            << widget->metaObject()->className() << ": " << pair.text << " on " << pair.background;
      }
    }
  }
  shown->close();
  QApplication::processEvents();
  QApplication::setPalette(before);
}

TEST_F(DesignerTest, SetOperationsAndSaveAreConfirmedInTheStatusLine) {
  QTemporaryDir folder;
  Run("ID_SET_ADD");
  EXPECT_EQ(Status(), "Added as level 1.");
  Run("ID_SET_ADD");
  Run("ID_SET_MOVE_UP");
  EXPECT_EQ(Status(), "Level 2 is now level 1.");
  ASSERT_TRUE(frame->sets()->SaveSetFile(folder.filePath("set.txt")));
  EXPECT_EQ(Status(), "Saved set.txt.");
  EXPECT_FALSE(frame->isWindowModified());
}

}  // namespace

namespace {

// --- The keyboard -------------------------------------------------------------------

/// A point of the board image of the 5 x 5 board: a square's corner plus an offset.
QPoint OnSquare(int column, int row, int dx, int dy) {
  return QPoint(SquareOrigin(5, column) + dx, SquareOrigin(5, row) + dy);
}
QPoint Centre(int column, int row) { return OnSquare(column, row, 15, 15); }
QPoint Corner(int column, int row) { return OnSquare(column, row, 1, 1); }
QPoint EastGap(int column, int row) { return OnSquare(column, row, 36, 15); }
QPoint SouthGap(int column, int row) { return OnSquare(column, row, 15, 36); }

void SendMouse(CBoardView& view, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
  const QPointF local(view.contentsRect().topLeft() + at);
  QMouseEvent event(type, local, view.mapToGlobal(local), button, held, Qt::NoModifier);
  QApplication::sendEvent(&view, &event);
}

/// What a mouse user does: a move over the point, then a click there.
void MouseClick(CBoardView& view, QPoint at) {
  SendMouse(view, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
  SendMouse(view, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
  SendMouse(view, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

struct Key {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

struct KeyboardCase {
  const char* name;
  std::vector<Key> keys;       // from the cursor's first square, column 1, row 1
  std::vector<QPoint> clicks;  // the same edit with the mouse
};

class KeyboardTest : public DesignerTest, public ::testing::WithParamInterface<KeyboardCase> {
 protected:
  /// The level and the undo history after the edit, made on a fresh window.
  std::pair<std::string, std::vector<ChangeKind>> Edited(bool byKeys) {
    CloseWithoutQuestions();
    frame = NewFrame();
    Document().Apply(edit::ReadCode{RowCode});
    CBoardView& view = frame->boardView();
    view.setFocus();
    if (byKeys) {
      for (const Key& key : GetParam().keys) QTest::keyClick(&view, key.key, key.modifiers);
    } else {
      for (const QPoint& click : GetParam().clicks) MouseClick(view, click);
    }
    std::pair<std::string, std::vector<ChangeKind>> result{Code(), {}};
    while (const std::optional<ChangeKind> kind = Document().history().UndoKind()) {
      if (*kind == ChangeKind::LevelCode) break;  // the start
      result.second.push_back(*kind);
      Document().Undo();
    }
    EXPECT_EQ(Code(), RowCode) << "undone to the start";
    return result;
  }
};

TEST_P(KeyboardTest, KeysMakeTheEditTheMouseMakes) {
  const auto byMouse = Edited(false);
  const auto byKeys = Edited(true);
  EXPECT_NE(byMouse.first, RowCode) << "the mouse changed the level";
  EXPECT_EQ(byKeys.first, byMouse.first);
  EXPECT_EQ(byKeys.second, byMouse.second) << "the same undo steps";
}

INSTANTIATE_TEST_SUITE_P(
    Edits, KeyboardTest,
    ::testing::Values(
        KeyboardCase{"EastWall",
                     {{Qt::Key_Right}, {Qt::Key_Down}, {Qt::Key_Right, Qt::ShiftModifier}},
                     {EastGap(1, 1)}},
        KeyboardCase{"NorthWallIsTheSouthWallAbove",
                     {{Qt::Key_Right}, {Qt::Key_Down}, {Qt::Key_Up, Qt::ShiftModifier}},
                     {SouthGap(1, 0)}},
        KeyboardCase{"WestWallIsTheEastWallBeside",
                     {{Qt::Key_Right}, {Qt::Key_Right}, {Qt::Key_Left, Qt::ShiftModifier}},
                     {EastGap(1, 0)}},
        KeyboardCase{"CarryABall",
                     {{Qt::Key_B}, {Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_B}},
                     {Centre(0, 0), Centre(0, 3)}},
        KeyboardCase{"CarryWithExchange",
                     {{Qt::Key_Right},
                      {Qt::Key_Right},
                      {Qt::Key_Space},
                      {Qt::Key_Left},
                      {Qt::Key_Space},
                      {Qt::Key_Down},
                      {Qt::Key_Down},
                      {Qt::Key_B}},
                     {Centre(2, 0), Centre(1, 0), Centre(1, 2)}},
        KeyboardCase{"CarryAHoleUnderABall",
                     {{Qt::Key_Right}, {Qt::Key_H}, {Qt::Key_Down}, {Qt::Key_H}},
                     {Corner(1, 0), Centre(1, 1)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DesignerTest, KeysThatCannotActSayWhyAndChangeNothing) {
  Document().Apply(edit::ReadCode{RowCode});
  CBoardView& view = frame->boardView();
  view.setFocus();
  QTest::keyClick(&view, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(Status(), "The border has no wall to flip.");
  QTest::keyClick(&view, Qt::Key_Down);
  QTest::keyClick(&view, Qt::Key_B);
  EXPECT_EQ(Status(), "No ball stands on this square.");
  QTest::keyClick(&view, Qt::Key_H);
  EXPECT_EQ(Status(), "No hole lies on this square.");
  for (int i = 0; i < 9; ++i) QTest::keyClick(&view, Qt::Key_Right);
  EXPECT_EQ(view.cursor(), QPoint(4, 1)) << "the cursor stops at the edge";
  // Escape puts a carried piece back: no change at all.
  QTest::keyClick(&view, Qt::Key_Up);
  QTest::keyClick(&view, Qt::Key_Left);
  QTest::keyClick(&view, Qt::Key_Left);
  QTest::keyClick(&view, Qt::Key_B);
  EXPECT_TRUE(IsCarrying(view.editing()));
  QTest::keyClick(&view, Qt::Key_Down);
  QTest::keyClick(&view, Qt::Key_Escape);
  EXPECT_FALSE(IsCarrying(view.editing()));
  EXPECT_EQ(Code(), RowCode);
  EXPECT_EQ(Document().history().UndoKind(), ChangeKind::LevelCode);
}

TEST_F(DesignerTest, TabVisitsTheBoardTheListAndTheButtonsAndTheListTakesKeys) {
  Document().Apply(edit::ReadCode{RowCode});
  Run("ID_SET_ADD");
  Document().Apply(edit::ReadCode{SolvedThreeCode});
  Run("ID_SET_ADD");
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
  frame->boardView().setFocus();
  QStringList visited;
  for (int i = 0; i < 7; ++i) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr) << visited.join(", ").toStdString();
    visited << (focused == &frame->boardView() ? "board"
                : focused == List()            ? "list"
                                               : focused->accessibleName());
    QTest::keyClick(focused, Qt::Key_Tab);
  }
  // The last level is selected and the board holds it unchanged: Update and
  // Move Down cannot act, and Tab passes over them.
  EXPECT_EQ(visited.join(", ").toStdString(),
            "board, list, Add Level, Remove Selected Level, Move Up, board, list");

  List()->setFocus();
  Panel()->Select(0);
  QTest::keyClick(List(), Qt::Key_Down);
  EXPECT_EQ(Panel()->selectedIndex(), 1);
  QTest::keyClick(List(), Qt::Key_Up);
  QTest::keyClick(List(), Qt::Key_Return);
  EXPECT_EQ(Code(), RowCode) << "Enter puts the level on the board";
  EXPECT_EQ(QApplication::focusWidget(), &frame->boardView()) << "and gives the board the focus";
  List()->setFocus();
  QTest::keyClick(List(), Qt::Key_Delete);
  EXPECT_EQ(SetCodes(), std::vector<std::string>{SolvedThreeCode});
}

// The status line, the title and the board's accessible text share one search
// per change of the level; the pointer's moves over the board search nothing.
TEST_F(DesignerTest, OneSearchPerLevelChangeAndNoneForPointerMoves) {
  CBoardView& view = frame->boardView();
  QApplication::processEvents();
  const int before = Document().verdictSearches();
  for (int x = 0; x < 325; x += 5) {
    SendMouse(view, QEvent::MouseMove, QPoint(x, x), Qt::NoButton, Qt::NoButton);
  }
  QApplication::processEvents();
  EXPECT_EQ(Document().verdictSearches(), before);
  const QString status = Status();
  Document().Apply(edit::ReadCode{ClearedSevenCode});
  QApplication::processEvents();
  EXPECT_EQ(Document().verdictSearches(), before + 1);
  EXPECT_NE(Status(), status);
  EXPECT_TRUE(view.AccessibleDescription().contains(Status()))
      << view.AccessibleDescription().toStdString();
  EXPECT_EQ(Document().verdictSearches(), before + 1);
}

// --- Screen readers -----------------------------------------------------------------

/// The board's accessibility events while it lives.
class AccessibilityEvents {
 public:
  explicit AccessibilityEvents(CBoardView& view) {
    QObject::connect(&view, &CBoardView::accessibleChanged, &m_receiver,
                     [this](QAccessible::Event change) { m_seen.push_back(change); });
  }
  int Count(QAccessible::Event type) const {
    return static_cast<int>(std::count(m_seen.begin(), m_seen.end(), type));
  }
  void Clear() { m_seen.clear(); }

 private:
  QObject m_receiver;
  std::vector<QAccessible::Event> m_seen;
};

TEST_F(DesignerTest, TheBoardTellsAScreenReaderTheLevelTheCursorAndTheVerdict) {
  Document().Apply(edit::ReadCode{RowCode});
  CBoardView& view = frame->boardView();
  QAccessibleInterface* board = QAccessible::queryAccessibleInterface(&view);
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(board->text(QAccessible::Name),
            "Board, cursor on column 1, row 1: the blue ball; walls north, west; open south, east");
  EXPECT_EQ(board->text(QAccessible::Description),
            "A 5 by 5 board. The red ball on column 3, row 1. The red hole on column 4, row 1. "
            "The green ball on column 2, row 1. The green hole on column 3, row 1. The blue ball "
            "on column 1, row 1. The blue hole on column 2, row 1. Shortest solution: 1 move"
            " \u00b7 1 shortest solution \u00b7 0 counter-intuitive steps \u00b7 greedy effort 2"
            " \u00b7 grade Easy (3 points).");

  const QString before = board->text(QAccessible::Description);
  AccessibilityEvents events(view);
  view.setFocus();
  QTest::keyClick(&view, Qt::Key_Right);
  EXPECT_EQ(events.Count(QAccessible::NameChanged), 1);
  EXPECT_EQ(events.Count(QAccessible::DescriptionChanged), 0) << "the level is the same";
  EXPECT_EQ(board->text(QAccessible::Name),
            "Board, cursor on column 2, row 1: the green ball, the blue hole; walls north; open "
            "south, west, east");
  QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);  // a wall east of the green ball
  EXPECT_EQ(events.Count(QAccessible::DescriptionChanged), 1);
  EXPECT_NE(board->text(QAccessible::Description), before);
  events.Clear();
  MouseClick(view, QPoint(2, 2));  // a move and a click off the floor change nothing
  EXPECT_EQ(events.Count(QAccessible::NameChanged), 0);
  EXPECT_EQ(events.Count(QAccessible::DescriptionChanged), 0);
  for (int step = 0; step < 4; ++step) QTest::keyClick(&view, Qt::Key_Right);
  EXPECT_EQ(board->text(QAccessible::Name),
            "Board, cursor on column 5, row 1: walls north, east; open south, west")
      << "a square without pieces names none";
}

TEST_F(DesignerTest, EveryControlHasAnAccessibleName) {
  QStringList nameless;
  const auto check = [&](QWidget* window) {
    for (QWidget* widget : window->findChildren<QWidget*>()) {
      if (widget->focusPolicy() == Qt::NoFocus || widget->isWindow()) continue;
      if (qobject_cast<QAbstractSpinBox*>(widget->parentWidget())) continue;  // the box's own
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
      if (accessible && accessible->text(QAccessible::Name).trimmed().isEmpty())
        nameless << QString::fromLatin1(widget->metaObject()->className()) + " " +
                        widget->objectName();
    }
  };
  check(frame.get());
  CGenerateDlg generate(5, frame.get());
  check(&generate);
  EXPECT_EQ(nameless.join(", ").toStdString(), "");
}

}  // namespace
