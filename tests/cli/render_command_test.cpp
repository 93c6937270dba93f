// korvalo-level render: the written file holds exactly the editor's frame, and
// nothing is written for a rejected code or a failed write.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "tests/cli/memory_streams.h"
#include "tests/support/level_code_reading.h"
#include "view/board_renderer.h"

namespace {

/// Runs the command with standard streams in memory.
int RunRender(const std::vector<std::string>& args) {
  MemoryStreams io;
  return RunRender(args, io.streams());
}

struct RenderCase {
  const char* code;
  bool lit;
};

// A 3 x 3 level without a solution and a 5 x 5 and a 7 x 7 random maze with one.
constexpr RenderCase RenderCases[] = {
    {"3001122221100fbe5", false},
    {"50022444422005eae44c9f644", true},
    {"7003366663300d4dae70cec86baf110a5e554", true},
};

TEST(RenderCommandTest, WritesTheFrameTheEditorShowsForTheCode) {
  QTemporaryDir dir;
  BoardRenderer renderer;
  const QImage lampLit = LoadBoardImages().lampLit;
  for (const RenderCase& c : RenderCases) {
    SCOPED_TRACE(c.code);
    const std::string path = dir.filePath("level.png").toStdString();
    ASSERT_EQ(RunRender({c.code, path}), 0);
    const QImage written =
        QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);

    Level level;
    ASSERT_TRUE(ReadLevelCode(level, c.code).outcome != CodeReading::Rejected);
    RecheckLevel(level);
    EXPECT_EQ(written, renderer.DrawFrame(level, EditingState{}));
    const int statusTop = 315 - 42 * ((7 - level.boardSize) / 2);
    EXPECT_EQ(written.copy(86, statusTop, 33, 36) == lampLit, c.lit);
  }
}

TEST(RenderCommandTest, RejectedCodeWritesNothing) {
  QTemporaryDir dir;
  const QString fresh = dir.filePath("fresh.png");
  const QString kept = dir.filePath("kept.png");
  {
    QFile earlier(kept);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
  }
  // Empty, a wrong size, too short, two balls on one square.
  const char* const invalid[] = {"", "9001122221100fbe5", "3001122221100fbe", "3000022221100fbe5"};
  for (const char* code : invalid) {
    SCOPED_TRACE(std::string("code '") + code + "'");
    EXPECT_EQ(RunRender({code, fresh.toStdString()}), 1);
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(RunRender({code, kept.toStdString()}), 1);
    QFile earlier(kept);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "earlier");
  }
}

TEST(RenderCommandTest, FailedWriteIsAnError) {
  QTemporaryDir dir;
  EXPECT_EQ(RunRender({RenderCases[0].code, dir.filePath("missing/level.png").toStdString()}), 1);
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.png"));
  EXPECT_EQ(RunRender({RenderCases[0].code, dir.filePath("folder.png").toStdString()}), 1);
}

TEST(RenderCommandTest, WrongCommandLineIsAUsageError) {
  const std::vector<std::vector<std::string>> lines = {{}, {RenderCases[0].code}, {"a", "b", "c"}};
  for (const auto& line : lines)
    EXPECT_EQ(RunRender(line), UsageError) << line.size() << " arguments";
}

// The picture is PNG whatever is asked, so only a PNG name is taken; any other
// is a wrong command line and nothing is written.
TEST(RenderCommandTest, FileNameMustEndInPng) {
  struct NameCase {
    const char* name;
    int status;
  };
  const NameCase cases[] = {
      {"level.png", 0},
      {"LEVEL.PNG", 0},
      {"level.Png", 0},
      {"level.svg", UsageError},
      {"level.png.svg", UsageError},
      {"levelpng", UsageError},
      {"png", UsageError},
      {"level.png ", UsageError},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    MemoryStreams io;
    EXPECT_EQ(RunRender({RenderCases[0].code, dir.filePath(c.name).toStdString()}, io.streams()),
              c.status);
    const QStringList written = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(written, c.status == 0 ? QStringList{c.name} : QStringList{});
    if (c.status == UsageError) {
      EXPECT_NE(io.err().find("does not end in .png"), std::string::npos);
    }
  }
}

TEST(RenderCommandTest, HelpNamesThePngRuleAndOnlyStandsAlone) {
  MemoryStreams io;
  EXPECT_EQ(RunRender({"--help"}, io.streams()), 0);
  EXPECT_NE(io.FlushedOut().find("must end in .png"), std::string::npos);
  const std::vector<std::vector<std::string>> lines = {
      {"--help", "x"}, {"-h", "level.png"}, {"--fast", "level.png"}};
  for (const auto& line : lines)
    EXPECT_EQ(RunRender(line), UsageError) << line[0] << " " << line[1];
}

}  // namespace
