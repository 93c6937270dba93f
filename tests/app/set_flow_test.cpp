// Making a set quickly in designer mode: several generated levels put into
// the set at once, sorting and its mark, F2's rename, the focus after a level
// is opened from the list, the first board and the opened set's first level,
// and a set whose file is read-only. Driven in-process off-screen.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
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
#include "app/set_controller.h"
#include "app/status_line.h"
#include "logic/level_code.h"
#include "tests/app/board_view_fixture.h"

namespace {

// 3 x 3 levels of 10, 11 and 7 moves.
constexpr const char* TenMoves = "3112101102102fa21";
constexpr const char* ElevenMoves = "3110122101120cb64";
constexpr const char* SevenMoves = "3021112201110ba25";

class SetFlowTest : public ::testing::Test {
 protected:
  SetFlowTest() {
    QSettings().clear();
    frame = std::make_unique<CMainFrame>(FixedRandom(), EditorMode::Designer);
    frame->boardCommands().SetGameLauncher([](const QString&) {});
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame->show();
    frame->activateWindow();
  }

  void Run(std::string_view name) {
    for (const CommandEntry& command : Commands) {
      if (command.name == name) {
        EXPECT_TRUE(frame->OnCmdMsg(command.id));
        return;
      }
    }
    ADD_FAILURE() << "no command " << name;
  }
  /// Opens a set file holding the codes.
  void OpenSet(const QString& path, const std::vector<const char*>& codes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const char* code : codes) file.write(QByteArray(code) + '\n');
    file.close();
    ASSERT_TRUE(frame->sets()->OpenSetFile(path));
  }
  std::vector<std::string> SetCodes() const {
    std::vector<std::string> codes;
    for (const SetLevel& level : frame->sets()->document().set().levels)
      codes.push_back(level.code);
    return codes;
  }
  QLabel* Marks() const { return frame->sets()->panel()->findChild<QLabel*>("setMarks"); }
  QString Status() const { return frame->statusLine()->text(); }
  std::string BoardCode() const { return WriteLevelCode(frame->boardView().level()); }

  QTemporaryDir folder;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(SetFlowTest, GenerateWithACountPutsTheLevelsIntoTheSetAsOneStep) {
  OpenSet(folder.filePath("set.txt"), {TenMoves, ElevenMoves});
  frame->sets()->panel()->Select(0);
  const std::string board = BoardCode();
  WhenDialogOpens([](QWidget* opened) {
    auto* dialog = qobject_cast<CGenerateDlg*>(opened);
    ASSERT_NE(dialog, nullptr);
    dialog->sizeBox()->setCurrentIndex(dialog->sizeBox()->findData(3));
    dialog->fewestMovesBox()->setValue(4);
    dialog->mostMovesBox()->setValue(12);
    dialog->countBox()->setValue(4);
    dialog->seedEdit()->setText("3");
    dialog->generateButton()->click();
  });
  Run("ID_GAME_GENERATE");
  const std::vector<std::string> codes = SetCodes();
  ASSERT_EQ(codes.size(), 6u) << Status().toStdString();
  EXPECT_EQ(codes.front(), TenMoves);
  EXPECT_EQ(codes.back(), ElevenMoves) << "after the selected level";
  EXPECT_EQ(BoardCode(), board) << "the board is left as it was";
  EXPECT_TRUE(Status().startsWith("Added as levels 2 to 5.")) << Status().toStdString();
  for (std::size_t i = 1; i < 5; ++i) {
    Level level;
    ASSERT_TRUE(ParseLevelCode(level, codes[i]).accepted);
    EXPECT_EQ(level.boardSize, 3);
  }
  Run("ID_EDIT_UNDO");
  EXPECT_EQ(SetCodes(), (std::vector<std::string>{TenMoves, ElevenMoves}));
}

TEST_F(SetFlowTest, SortingIsMarkedInThePanelUntilTheOrderBreaks) {
  OpenSet(folder.filePath("set.txt"), {TenMoves, ElevenMoves, SevenMoves});
  EXPECT_TRUE(Marks()->isHidden());
  Run("ID_SET_SORT_LENGTH");
  EXPECT_EQ(SetCodes(), (std::vector<std::string>{SevenMoves, TenMoves, ElevenMoves}));
  EXPECT_FALSE(Marks()->isHidden());
  EXPECT_EQ(Marks()->text(), "Sorted by length.");
  EXPECT_EQ(frame->commandAction(CommandId("ID_EDIT_UNDO"))->text().section('\t', 0, 0),
            "&Undo Sort");
  frame->sets()->panel()->Select(0);
  Run("ID_SET_MOVE_DOWN");
  EXPECT_TRUE(Marks()->isHidden()) << "7 moves after 10";
}

TEST_F(SetFlowTest, F2RenamesTheSelectedLevelUndoably) {
  OpenSet(folder.filePath("set.txt"), {TenMoves, ElevenMoves});
  frame->sets()->panel()->Select(1);
  QAction* rename = frame->commandAction(CommandId("ID_SET_RENAME"));
  EXPECT_EQ(rename->shortcut(), QKeySequence(Qt::Key_F2));
  WhenDialogOpens([](QWidget* opened) {
    auto* dialog = qobject_cast<QInputDialog*>(opened);
    ASSERT_NE(dialog, nullptr);
    dialog->setTextValue("  The long one ");
    dialog->accept();
  });
  EXPECT_TRUE(rename->isEnabled());
  rename->trigger();
  EXPECT_EQ(frame->sets()->document().set().levels[1].title, "The long one")
      << Status().toStdString();
  Run("ID_EDIT_UNDO");
  EXPECT_EQ(frame->sets()->document().set().levels[1].title, "");
}

TEST_F(SetFlowTest, ALevelOpenedFromTheListGivesTheBoardTheFocus) {
  OpenSet(folder.filePath("set.txt"), {TenMoves, ElevenMoves});
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
  QListWidget* list = frame->sets()->panel()->list();
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(BoardCode(), ElevenMoves);
  EXPECT_EQ(QApplication::focusWidget(), &frame->boardView());
}

TEST_F(SetFlowTest, OpeningASetShowsTheLevelTheListSelects) {
  OpenSet(folder.filePath("set.txt"), {ElevenMoves, TenMoves});
  EXPECT_EQ(frame->sets()->panel()->selectedIndex(), 0);
  EXPECT_EQ(BoardCode(), ElevenMoves);
}

// The selected row's picture is the picture itself, not tinted in the row's
// colour, which would hide the colours' marks.
TEST_F(SetFlowTest, TheSelectedRowShowsItsPictureUntinted) {
  OpenSet(folder.filePath("set.txt"), {TenMoves, ElevenMoves});
  const QIcon icon = frame->sets()->panel()->list()->item(0)->icon();
  const QImage normal = icon.pixmap(QSize(64, 64), QIcon::Normal).toImage();
  EXPECT_FALSE(normal.isNull());
  EXPECT_EQ(icon.pixmap(QSize(64, 64), QIcon::Selected).toImage(), normal);
}

TEST(FirstBoardTest, EveryFirstStartShowsALevelWithASolution) {
  QSettings().clear();
  for (unsigned seed = 1; seed <= 9; ++seed) {
    SCOPED_TRACE(seed);
    CMainFrame frame(FixedRandom(seed), EditorMode::Designer);
    EXPECT_TRUE(frame.boardView().document().verdict().shortestMoves.has_value());
    EXPECT_FALSE(frame.isWindowModified());
  }
}

// A file the user cannot write: the title and the panel say so, and Save
// names the file once and offers Save As, which keeps the changes elsewhere.
TEST_F(SetFlowTest, AReadOnlySetIsMarkedAndSaveOffersSaveAs) {
  const QString path = folder.filePath("locked.txt");
  OpenSet(path, {TenMoves});
  ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
  frame->sets()->OpenSetFile(path);
  EXPECT_TRUE(frame->windowTitle().contains("locked.txt (read-only)"))
      << frame->windowTitle().toStdString();
  EXPECT_FALSE(Marks()->isHidden());
  EXPECT_TRUE(Marks()->text().startsWith("Read-only file")) << Marks()->text().toStdString();

  frame->boardView().document().Apply(edit::ReadCode{SevenMoves});
  Run("ID_SET_ADD");
  const QString copy = folder.filePath("copy.txt");
  QString asked;
  WhenDialogOpens([&asked, copy](QWidget* opened) {
    auto* box = qobject_cast<QMessageBox*>(opened);
    ASSERT_NE(box, nullptr);
    asked = box->text() + "\n" + box->informativeText();
    for (QAbstractButton* button : box->buttons()) {
      if (button->text().remove('&') != "Save As...") continue;
      WhenDialogOpens([copy](QWidget* files) {
        auto* dialog = qobject_cast<QFileDialog*>(files);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(copy);
        QMetaObject::invokeMethod(dialog, "accept");
      });
      button->click();
      return;
    }
    ADD_FAILURE() << "no Save As for " << asked.toStdString();
    box->reject();
  });
  Run("ID_FILE_SAVE");
  EXPECT_EQ(asked.count(path), 1) << asked.toStdString();
  EXPECT_FALSE(frame->sets()->document().modified());
  EXPECT_EQ(frame->sets()->document().path(), copy.toStdString());
  EXPECT_EQ(QFile(path).size(), static_cast<qint64>(std::string(TenMoves).size() + 1))
      << "the read-only file is as it was";
  EXPECT_FALSE(frame->windowTitle().contains("read-only"));
}

}  // namespace
