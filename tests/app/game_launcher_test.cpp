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
    ASSERT_TRUE(own.isValid() && current.isValid() && onPath.isValid());
    savedPath = qgetenv("PATH");
    savedCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    qputenv("PATH", QByteArray());  // each case says what the search path holds
  }
  void TearDown() override {
    qputenv("PATH", savedPath);
    QDir::setCurrent(savedCurrent);
  }

  QString Find() { return FindGameExecutable(own.path()); }

  QTemporaryDir own;      // the editor's folder
  QTemporaryDir current;  // the current folder
  QTemporaryDir onPath;   // a folder on the search path
  QByteArray savedPath;
  QString savedCurrent;
};

TEST_F(GameLookupTest, NoGameGivesNothing) { EXPECT_TRUE(Find().isEmpty()); }

TEST_F(GameLookupTest, EditorFolderComesBeforeTheSearchPath) {
  qputenv("PATH", QFile::encodeName(onPath.path()));
  MakeFile(onPath.filePath("korvalo"), true);
  EXPECT_EQ(Find(), onPath.filePath("korvalo"));
  MakeFile(own.filePath("korvalo"), true);
  EXPECT_EQ(Find(), own.filePath("korvalo"));
}

TEST_F(GameLookupTest, WindowsNameFirstAndOnlyRunnableFiles) {
  MakeFile(own.filePath("korvalo.exe"), false);
  MakeFile(own.filePath("korvalo"), true);
  EXPECT_EQ(Find(), own.filePath("korvalo"));
  MakeFile(own.filePath("korvalo.exe"), true);
  EXPECT_EQ(Find(), own.filePath("korvalo.exe"));
}

// Whoever can write to the folder the editor was started from must not choose
// what Test runs: neither the folder itself nor a search path entry that
// stands for it (empty or relative) is searched.
TEST_F(GameLookupTest, CurrentFolderIsNeverSearched) {
  MakeFile(current.filePath("korvalo"), true);
  for (const QByteArray& path : {QByteArray(), QByteArray(":"), QByteArray("."), QByteArray("./"),
                                 QByteArray("bin:") + QFile::encodeName(onPath.path()) + ":"}) {
    SCOPED_TRACE(path.toStdString());
    qputenv("PATH", path);
    EXPECT_TRUE(Find().isEmpty());
  }
  EXPECT_TRUE(FindGameExecutable(QString()).isEmpty())
      << "an unknown editor folder is not the current one";
  EXPECT_TRUE(FindGameExecutable(QStringLiteral(".")).isEmpty());
}

TEST(GameParameterTextTest, CodeRunsStraightIntoLevelEditor) {
  EXPECT_EQ(GameParameterText("5002244442200ffbfeffbfe55"),
            "5002244442200ffbfeffbfe55Level Editor");
}

}  // namespace
