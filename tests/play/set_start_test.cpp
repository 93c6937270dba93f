#include "play/set_start.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "logic/level_code.h"
#include "logic/solver.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* TwoMoveCode = "3111221000110fbe5";
constexpr const char* OneMoveCode = "5020100030201ffbfeffbfe55";
constexpr const char* UnsolvableCode = "3001122221100fbe5";
constexpr const char* RandomInstead = "; playing a random 5 x 5 level instead.";

RandomSource FixedSource() {
  return [] { return 0; };
}

/// A folder of its own for each test, removed with everything in it.
class SetFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "set_start_test.XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_folder = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
  }

  std::string Write(const std::string& name, const std::string& text) const {
    const fs::path path = m_folder / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }

  GameStart Open(const std::vector<std::string>& arguments) const {
    return OpenGameOrSet(arguments, FixedSource(), m_store);
  }

  fs::path m_folder;
  std::shared_ptr<MemoryProgressStore> m_store = std::make_shared<MemoryProgressStore>();
};

void ExpectRandomLevel(const GameStart& start) {
  EXPECT_FALSE(start.set.has_value());
  EXPECT_FALSE(start.editorLevel);
  EXPECT_EQ(start.level.boardSize, DefaultBoardSize);
  Level copy = start.level;
  EXPECT_TRUE(ShortestSolution(copy).exists);
}

std::string TwoLevelSet() {
  return "# title: Test set\n" + std::string(TwoMoveCode) + "\tFirst\n" + OneMoveCode +
         "\tSecond\n";
}

TEST_F(SetFileTest, AFileIsPlayedAsASetFromItsFirstLevel) {
  const GameStart start = Open({Write("two.set", TwoLevelSet())});
  ASSERT_TRUE(start.set.has_value());
  EXPECT_EQ(start.set->set().title, "Test set");
  EXPECT_EQ(start.set->LevelCount(), 2);
  EXPECT_EQ(start.set->Index(), 0);
  EXPECT_EQ(WriteLevelCode(start.level), TwoMoveCode);
  EXPECT_TRUE(LevelIsConsistent(start.level));
  EXPECT_FALSE(start.editorLevel);
  EXPECT_EQ(EnglishText(start.notice, " "), "");
}

TEST_F(SetFileTest, ASetWithoutTitleIsNamedAfterItsFile) {
  const GameStart start = Open({Write("corridors.txt", std::string(OneMoveCode) + "\n")});
  ASSERT_TRUE(start.set.has_value());
  EXPECT_EQ(start.set->set().title, "corridors.txt");
}

TEST_F(SetFileTest, AFileNameWithBlanksSplitIntoArguments) {
  Write("my set.txt", TwoLevelSet());
  const GameStart start = Open({PathOf("my"), "set.txt"});
  ASSERT_TRUE(start.set.has_value());
  EXPECT_EQ(start.set->LevelCount(), 2);
}

TEST_F(SetFileTest, InvalidLinesAreLeftOutAndCounted) {
  const GameStart start = Open({Write(
      "bad.set", "3xyz\n" + std::string(TwoMoveCode) + "\nhello\n" + UnsolvableCode + "\n")});
  ASSERT_TRUE(start.set.has_value());
  EXPECT_EQ(start.set->LevelCount(), 2);
  EXPECT_EQ(WriteLevelCode(start.level), TwoMoveCode);
  EXPECT_TRUE(
      EnglishText(start.notice, " ")
          .starts_with(
              "2 lines of the set could not be read and were left out; the first is line 1: "))
      << EnglishText(start.notice, " ");
}

// A level without solution is played, as a code on the command line is.
TEST_F(SetFileTest, ALevelWithoutSolutionIsPlayed) {
  const GameStart start = Open({Write("stuck.set", std::string(UnsolvableCode) + "\n")});
  ASSERT_TRUE(start.set.has_value());
  EXPECT_EQ(WriteLevelCode(start.level), UnsolvableCode);
}

TEST_F(SetFileTest, PlayStartsAtTheFirstLevelNotSolved) {
  const std::string path = Write("two.set", TwoLevelSet());
  m_store->SetFewestMoves(Open({path}).set->Current().canonicalCode, 5);
  const GameStart start = Open({path});
  ASSERT_TRUE(start.set.has_value());
  EXPECT_EQ(start.set->Index(), 1);
  EXPECT_EQ(WriteLevelCode(start.level), OneMoveCode);
}

struct FallbackCase {
  const char* name;
  std::string text;       // of the file
  std::string noticeEnd;  // after the fallback's own words
};

TEST_F(SetFileTest, AFileWithoutPlayableLevelGivesARandomLevel) {
  const FallbackCase cases[] = {
      {"empty.set", "", ""},
      {"comments.set", "# title: Only a title\n# a comment\n\n", ""},
      {"invalid.set", "hello\n3xyz\n",
       " 2 lines of the set could not be read and were left out; the first is line 1: "},
      {"binary.set", std::string("\x89PNG\r\n\x1a\n\0\0\0", 11), " 3 lines of the set"},
  };
  for (const FallbackCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.name, c.text);
    const GameStart start = Open({path});
    ExpectRandomLevel(start);
    const std::string expected = "The level set " + QuotedForNotice(path) +
                                 " holds no level that can be played" + RandomInstead + c.noticeEnd;
    EXPECT_TRUE(EnglishText(start.notice, " ").starts_with(expected))
        << EnglishText(start.notice, " ");
  }
}

TEST_F(SetFileTest, AFileThatCannotBeReadGivesARandomLevelAndSaysWhy) {
  fs::create_directory(m_folder / "folder");
  ASSERT_EQ(::mkfifo(PathOf("fifo").c_str(), 0600), 0);
  {
    std::ofstream(PathOf("huge.set")) << "# title: too big\n";
    fs::resize_file(PathOf("huge.set"), MaxSetFileBytes + 1);
  }
  const std::pair<const char*, const char*> cases[] = {
      {"folder", "it is a folder"},
      {"fifo", "it is not a regular file"},
      {"huge.set", "it is larger than 4 MiB"},
  };
  for (const auto& [name, reason] : cases) {
    SCOPED_TRACE(name);
    const GameStart start = Open({PathOf(name)});
    ExpectRandomLevel(start);
    EXPECT_EQ(EnglishText(start.notice, " "), "Could not read the level set " +
                                                  QuotedForNotice(PathOf(name)) + ": " + reason +
                                                  RandomInstead);
    EXPECT_EQ(EnglishReason(ReadSetFile(PathOf(name)).reason), reason);
    EXPECT_FALSE(ReadSetFile(PathOf(name)).text.has_value());
  }
}

TEST_F(SetFileTest, ReadsAFileUpToTheLimitWhole) {
  std::string text(MaxSetFileBytes, '\n');
  text.replace(0, 17, TwoMoveCode);
  const SetFileReading reading = ReadSetFile(Write("full.set", text));
  ASSERT_TRUE(reading.text.has_value()) << EnglishReason(reading.reason);
  EXPECT_EQ(*reading.text, text);
  EXPECT_EQ(ReadSetFile(PathOf("missing")).reason, Reason{ReasonId::NoSuchFile});
}

// A name that is neither a file nor a code says both, and quotes the text
// safely.
TEST_F(SetFileTest, ANameThatIsNeitherAFileNorACode) {
  struct Case {
    std::vector<std::string> arguments;
    std::string quoted;
  };
  const Case cases[] = {
      {{PathOf("missing.set")}, QuotedForNotice(PathOf("missing.set"))},
      {{"levels/first.set"}, "\"levels/first.set\""},
      {{"3111221000110fbe"}, "\"3111221000110fbe\""},  // a wall digit short
      {{std::string(300, '7') + "\x01"}, "\"" + std::string(40, '7') + "...\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.quoted);
    const GameStart start = Open(c.arguments);
    ExpectRandomLevel(start);
    const std::string said =
        "Could not read " + c.quoted + ": there is no such file, and it is not a level code (";
    EXPECT_TRUE(EnglishText(start.notice, " ").starts_with(said)) << EnglishText(start.notice, " ");
    EXPECT_TRUE(EnglishText(start.notice, " ").ends_with(std::string(")").append(RandomInstead)))
        << EnglishText(start.notice, " ");
  }
}

// A plain code, the editor's text and nothing at all start exactly as OpenGame does.
TEST_F(SetFileTest, CodesAndNoArgumentStartAsBefore) {
  const std::vector<std::vector<std::string>> commandLines = {
      {TwoMoveCode},
      {"  " + std::string(TwoMoveCode) + "\t"},
      {std::string(TwoMoveCode) + "Level Editor"},
      {std::string(TwoMoveCode) + "Level", "Editor"},
      {std::string(UnsolvableCode) + "Level Editor"},
      {"3xyzLevel Editor"},
      {"Level Editor"},
      {},
  };
  for (const std::vector<std::string>& arguments : commandLines) {
    SCOPED_TRACE(arguments.empty() ? "(nothing)" : arguments[0]);
    const GameStart start = Open(arguments);
    const GameStart before = OpenGame(arguments, FixedSource());
    EXPECT_FALSE(start.set.has_value());
    EXPECT_EQ(WriteLevelCode(start.level), WriteLevelCode(before.level));
    EXPECT_EQ(start.editorLevel, before.editorLevel);
    EXPECT_EQ(EnglishText(start.notice, " "), EnglishText(before.notice, " "));
  }
}

// The editor's Test Set names its file followed by the editor's words: the
// set is played, and the game is the editor's, as its Test command's is.
TEST_F(SetFileTest, AFileFollowedByTheEditorsWordsIsTheEditorsSet) {
  Write("my set.txt", TwoLevelSet());
  const std::vector<std::vector<std::string>> commandLines = {
      {PathOf("my set.txt"), "Level Editor"},
      {PathOf("my"), "set.txt", "Level", "Editor"},
      {PathOf("my set.txt") + "Level Editor"},
  };
  for (const std::vector<std::string>& arguments : commandLines) {
    SCOPED_TRACE(arguments.back());
    const GameStart start = Open(arguments);
    ASSERT_TRUE(start.set.has_value());
    EXPECT_EQ(start.set->LevelCount(), 2);
    EXPECT_TRUE(start.editorLevel);
  }
  EXPECT_FALSE(Open({PathOf("my set.txt")}).editorLevel) << "the player's own set";
  const GameStart gone = Open({PathOf("gone.txt"), "Level Editor"});
  EXPECT_FALSE(gone.set.has_value()) << "no such file: read as a code, as before";
}

// A file whose name is also a level code is the set; the editor's text is
// always a code.
TEST_F(SetFileTest, AnExistingFileWinsOverTheCodeItsNameSpells) {
  Write(TwoMoveCode, std::string(OneMoveCode) + "\n");
  const fs::path before = fs::current_path();
  fs::current_path(m_folder);
  const GameStart file = Open({TwoMoveCode});
  const GameStart editor = Open({std::string(TwoMoveCode) + "Level Editor"});
  fs::current_path(before);
  ASSERT_TRUE(file.set.has_value());
  EXPECT_EQ(WriteLevelCode(file.level), OneMoveCode);
  EXPECT_FALSE(editor.set.has_value());
  EXPECT_EQ(WriteLevelCode(editor.level), TwoMoveCode);
}

}  // namespace
