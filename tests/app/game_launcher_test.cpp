#include "app/game_launcher.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

/// Writes an empty file, runnable or not.
void MakeFile(const QString& path, bool runnable) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
  if (runnable) permissions |= QFile::ExeOwner;
  file.setPermissions(permissions);
}

class GameLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(own.isValid() && current.isValid());
    savedPath = qgetenv("PATH");
    qputenv("PATH", QByteArray());  // only the two folders count
  }
  void TearDown() override { qputenv("PATH", savedPath); }

  QString Find() { return FindGameExecutable({own.path(), current.path()}); }

  QTemporaryDir own;      // the editor's folder
  QTemporaryDir current;  // the current folder
  QByteArray savedPath;
};

TEST_F(GameLookupTest, NoGameGivesNothing) { EXPECT_TRUE(Find().isEmpty()); }

TEST_F(GameLookupTest, EditorFolderComesBeforeCurrentFolder) {
  MakeFile(current.filePath("korvalo"), true);
  EXPECT_EQ(Find(), current.filePath("korvalo"));
  MakeFile(own.filePath("korvalo"), true);
  EXPECT_EQ(Find(), own.filePath("korvalo"));
}

TEST_F(GameLookupTest, WindowsNameFirstAndOnlyRunnableFiles) {
  MakeFile(own.filePath("korvalo.exe"), false);
  MakeFile(own.filePath("korvalo"), true);
  EXPECT_EQ(Find(), own.filePath("korvalo"));
  MakeFile(current.filePath("korvalo.exe"), true);
  EXPECT_EQ(Find(), own.filePath("korvalo"));
  EXPECT_EQ(FindGameExecutable({current.path(), own.path()}), current.filePath("korvalo.exe"));
}

TEST_F(GameLookupTest, SearchPathComesLast) {
  QTemporaryDir onPath;
  MakeFile(onPath.filePath("korvalo"), true);
  qputenv("PATH", QFile::encodeName(onPath.path()));
  EXPECT_EQ(Find(), onPath.filePath("korvalo"));
}

TEST(GameParameterTextTest, CodeRunsStraightIntoLevelEditor) {
  EXPECT_EQ(GameParameterText("5002244442200ffbfeffbfe55"), "5002244442200ffbfeffbfe55Level Editor");
}

}  // namespace
