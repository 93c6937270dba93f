// Designer mode's Test Set: the arguments the game gets, the file an unsaved
// set is played from and how it follows the set, and the command's row.

#include "app/set_tester.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include "app/command_table.h"
#include "app/main_frame.h"
#include "logic/level_code.h"
#include "play/set_start.h"
#include "play/start_level.h"
#include "tests/app/board_view_fixture.h"

namespace {

constexpr const char* SolvedThreeCode = "3001122001122fbe5";
constexpr const char* RowCode = "5020100030201ffbfeffbfe55";

QString FileText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("(no file)");
  return QString::fromUtf8(file.readAll());
}

class SetTesterTest : public ::testing::Test {
 protected:
  SetTesterTest() : tester(session, folder.filePath("runtime")) {
    tester.SetGameLauncher([this](const QStringList& arguments) { launched << arguments; });
    QObject::connect(&tester, &CSetTester::transientMessage,
                     [this](const QString& text) { messages << text; });
  }

  void AddToSet(const char* code) {
    Level level;
    ASSERT_TRUE(ParseLevelCode(level, code).accepted) << code;
    session.board().Apply(edit::ReplaceLevel{level, OriginKind::Pasted});
    session.AddBoardLevel();
  }
  QString SetText() const { return QString::fromStdString(session.set().Text()); }

  QTemporaryDir folder;
  DesignerSession session{[] { return 0; }};
  CSetTester tester;
  QList<QStringList> launched;
  QStringList messages;
};

TEST_F(SetTesterTest, AnUnsavedSetIsPlayedFromTheRunsOwnFileAtTheSelectedLevel) {
  AddToSet(SolvedThreeCode);
  AddToSet(RowCode);
  session.Select(1);

  EXPECT_TRUE(tester.Test());

  ASSERT_EQ(launched.size(), 1);
  EXPECT_EQ(launched[0], (QStringList{"--level", "2", tester.path(), "Level Editor"}));
  EXPECT_TRUE(tester.path().startsWith(folder.filePath("runtime")));
  EXPECT_EQ(FileText(tester.path()), SetText());
  EXPECT_TRUE(messages.isEmpty());
}

// The game watching the file offers each new version; testing again rewrites the same file.
TEST_F(SetTesterTest, TheFileFollowsTheSetWhileAGamePlaysIt) {
  AddToSet(SolvedThreeCode);
  EXPECT_FALSE(QFile::exists(tester.path())) << "no game plays it yet";

  ASSERT_TRUE(tester.Test());
  AddToSet(RowCode);
  EXPECT_EQ(FileText(tester.path()), SetText());
  EXPECT_TRUE(FileText(tester.path()).contains(RowCode));
  session.Select(0);
  ASSERT_TRUE(session.RemoveSelected());
  EXPECT_EQ(FileText(tester.path()), SetText());
  EXPECT_FALSE(FileText(tester.path()).contains(SolvedThreeCode));

  AddToSet(SolvedThreeCode);
  session.Select(1);
  ASSERT_TRUE(tester.Test());
  ASSERT_EQ(launched.size(), 2);
  EXPECT_EQ(launched[1], (QStringList{"--level", "2", tester.path(), "Level Editor"}))
      << "the same file again";
  EXPECT_EQ(FileText(tester.path()), SetText());
}

TEST_F(SetTesterTest, ASavedUnchangedSetIsPlayedFromItsOwnFile) {
  const QString path = folder.filePath("corridors.txt");
  const std::string text = "# title: Corridors\n" + std::string(SolvedThreeCode) + "\n";
  session.OpenSet(text, path.toStdString());
  session.Select(0);

  ASSERT_TRUE(tester.Test());

  ASSERT_EQ(launched.size(), 1);
  EXPECT_EQ(launched[0], (QStringList{"--level", "1", path, "Level Editor"}));
  EXPECT_FALSE(QFile::exists(tester.path()));
}

// The game reads Test Set's arguments as its own command line does: the set
// from the selected level, as the editor's game, which asks nothing about
// play records and sends none.
TEST_F(SetTesterTest, TheGameTakesTheArgumentsAsTheEditorsSetAtTheSelectedLevel) {
  const QString path = folder.filePath("saved set.txt");
  const std::string text = std::string(SolvedThreeCode) + "\n" + RowCode + "\n";
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text.data(), static_cast<qint64>(text.size()));
  file.close();
  session.OpenSet(text, path.toStdString());
  for (const bool saved : {true, false}) {
    SCOPED_TRACE(saved ? "played from its own file" : "played from the run's file");
    if (!saved) session.RenameLevel(0, "Changed");
    session.Select(1);
    launched.clear();
    ASSERT_TRUE(tester.Test());
    ASSERT_EQ(launched.size(), 1);
    EXPECT_EQ(launched[0][2], saved ? path : tester.path());
    std::vector<std::string> arguments;
    for (const QString& argument : launched[0]) arguments.push_back(argument.toStdString());
    const StartLevelOption option = TakeStartLevel(arguments);
    ASSERT_TRUE(option.error.empty()) << option.error;
    GameStart start = OpenGameOrSet(
        option.rest, [] { return 0; }, std::make_shared<MemoryProgressStore>());
    ASSERT_EQ(ApplyStartLevel(option.level.value_or(1), start), "");
    ASSERT_TRUE(start.set.has_value());
    EXPECT_EQ(start.set->LevelCount(), 2);
    EXPECT_EQ(start.set->Index(), 1);
    EXPECT_EQ(WriteLevelCode(start.level), RowCode);
    EXPECT_TRUE(start.editorLevel);
  }
}

TEST_F(SetTesterTest, AnEmptySetStartsNoGame) {
  EXPECT_FALSE(tester.Test());
  EXPECT_TRUE(launched.isEmpty());
  EXPECT_EQ(messages, QStringList{"The set holds no level to play."});
  EXPECT_FALSE(QFile::exists(tester.path()));
}

TEST_F(SetTesterTest, ACleanEndRemovesTheFile) {
  QString path;
  {
    DesignerSession own{[] { return 0; }};
    CSetTester ownTester(own, folder.filePath("runtime"));
    ownTester.SetGameLauncher([](const QStringList&) {});
    Level level;
    ASSERT_TRUE(ParseLevelCode(level, RowCode).accepted);
    own.board().Apply(edit::ReplaceLevel{level, OriginKind::Pasted});
    own.AddBoardLevel();
    ASSERT_TRUE(ownTester.Test());
    path = ownTester.path();
    ASSERT_TRUE(QFile::exists(path));
  }
  EXPECT_FALSE(QFile::exists(path));
}

// Designer mode's Game menu holds Test Set on a key the classic editor does not use;
// it can act once the set holds a level.
TEST(SetTestCommandTest, IsADesignerCommandOnAKeyOfItsOwn) {
  const int id = CommandId("ID_GAME_TEST_SET");
  CMainFrame designer(FixedRandom(), EditorMode::Designer);
  CMainFrame classic(FixedRandom(), EditorMode::Classic);
  QAction* action = designer.commandAction(id);
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(classic.commandAction(id), nullptr);
  EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+T")));
  for (const CommandEntry& command : Commands) {
    if (ExistsIn(command.modes, EditorMode::Classic)) {
      EXPECT_NE(command.classicKey.text, "Ctrl+Shift+T") << command.name;
    }
  }
  EXPECT_FALSE(action->isEnabled()) << "an empty set has nothing to play";
  designer.session()->AddBoardLevel();
  EXPECT_TRUE(action->isEnabled());
}

}  // namespace
