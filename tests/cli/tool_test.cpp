// The tool as a whole: every wrong command line exits 2 with two lines, a failed standard
// output exits 3 with a message (a broken pipe without one), and running out
// of memory exits 3 with a message instead of aborting.

#include "cli/tool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "cli/suggestion.h"
#include "tests/cli/memory_streams.h"

namespace {

/// Allocations of at least this size fail while set; 0 when none fails.
std::atomic<std::size_t> failAllocationsFrom{0};

}  // namespace

void* operator new(std::size_t size) {
  const std::size_t limit = failAllocationsFrom.load();
  if (limit != 0 && size >= limit) throw std::bad_alloc();
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
// Not inlined: GCC 12 would then take the free() of memory that operator new
// above got from malloc() for a mismatched pair (-Wmismatched-new-delete).
[[gnu::noinline]] void operator delete(void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
// The array forms too: under AddressSanitizer they do not pass through the
// single-object forms above, and the solver's buffers are arrays.
void* operator new[](std::size_t size) { return ::operator new(size); }
[[gnu::noinline]] void operator delete[](void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

constexpr const char* Solvable3 = "3111221000110fbe5";
constexpr const char* Solvable7 = "7003366663300d4dae70cec86baf110a5e554";

TEST(ToolTest, EveryWrongCommandLineExitsTwoWithTwoLines) {
  const std::vector<std::vector<std::string>> lines = {
      {},
      {"--"},
      {"bogus"},
      {"--", "--help"},
      {"--", "--version"},
      {"solve", "--fast"},
      {"solve", Solvable3, "-x"},
      {"render"},
      {"render", Solvable3},
      {"render", "--help", "x"},
      {"render", "-h", "level.png"},
      {"render", Solvable3, "level.svg"},
      {"render", Solvable3, "level.png", "more"},
      {"render", "--fast", "level.png"},
      {"render", Solvable3, "-x.png"},
      {"render", "--", Solvable3, "level.png", "more"},
      {"canon", "--fast"},
      {"generate"},
      {"generate", "--size", "5", "--moves", "3", "extra"},
      {"hardest", "--size", "4"},
      {"check-set", "a.txt", "b.txt"},
  };
  for (const auto& line : lines) {
    SCOPED_TRACE(testing::PrintToString(line));
    MemoryStreams io;
    EXPECT_EQ(RunTool(line, io.streams()), UsageError);
    EXPECT_EQ(io.FlushedOut(), "");
    // What was wrong, then where to read more; not the whole help.
    const bool command = !line.empty() && FindToolCommand(line[0]) != nullptr;
    const std::string named = command ? "korvalo-level " + line[0] : "korvalo-level";
    const std::string& err = io.err();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
    EXPECT_EQ(err.substr(0, named.size() + 2), named + ": ") << err;
    const std::string pointer = "\nTry '" + named + " --help' for more information.\n";
    EXPECT_TRUE(err.size() > pointer.size() && err.substr(err.size() - pointer.size()) == pointer)
        << err;
  }
}

// What a command prints is checked: help and answers alike.
TEST(ToolTest, FailedStandardOutputExitsThreeWithAMessage) {
  const std::vector<std::vector<std::string>> lines = {
      {"--help"},
      {"solve", "--help"},
      {"render", "--help"},
      {"solve", Solvable3},
      {"solve", "9bad"},
      {"canon", Solvable3},
      {"check-set", "--help"},
      {"generate", "--size", "3", "--moves", "4", "--count", "2", "--seed", "1"}};
  for (const auto& line : lines) {
    SCOPED_TRACE(testing::PrintToString(line));
    MemoryStreams full;
    full.FailOutputAfter(10, ENOSPC);
    EXPECT_EQ(RunTool(line, full.streams()), StreamFailure);
    EXPECT_EQ(full.out().size(), 10u);
    EXPECT_NE(full.err().find(
                  "korvalo-level: cannot write to standard output: No space left on device\n"),
              std::string::npos)
        << full.err();

    MemoryStreams closedPipe;
    closedPipe.FailOutputAfter(0, EPIPE);
    EXPECT_EQ(RunTool(line, closedPipe.streams()), StreamFailure);
    EXPECT_EQ(closedPipe.err().find("cannot write"), std::string::npos) << closedPipe.err();
  }
}

TEST(ToolTest, RunningOutOfMemoryExitsThreeWithAMessage) {
  MemoryStreams io;
  // The 7 x 7 level's search table is the first allocation this large.
  failAllocationsFrom = 256 * 1024;
  const int status = RunTool({"solve", Solvable3, Solvable7, Solvable3}, io.streams());
  failAllocationsFrom = 0;
  EXPECT_EQ(status, StreamFailure);
  EXPECT_EQ(io.out(), std::string(Solvable3) + "\tsolvable\t2\tNW\n");
  EXPECT_EQ(io.err(), "korvalo-level: out of memory\n");
}

TEST(ToolTest, AnswersAndHelpGoToStandardOutput) {
  MemoryStreams io;
  EXPECT_EQ(RunTool({"solve", Solvable3}, io.streams()), 0);
  EXPECT_EQ(io.out(), std::string(Solvable3) + "\tsolvable\t2\tNW\n");  // flushed by the tool
  MemoryStreams help;
  EXPECT_EQ(RunTool({"--help"}, help.streams()), 0);
  EXPECT_NE(help.out().find("3 that standard output could not"), std::string::npos);
  EXPECT_EQ(help.err(), "");
}

TEST(ToolTest, HelpCommandGivesThatCommandsOwnHelp) {
  for (const ToolCommand& command : ToolCommands) {
    SCOPED_TRACE(std::string(command.name));
    MemoryStreams asked;
    MemoryStreams own;
    EXPECT_EQ(RunTool({"help", std::string(command.name)}, asked.streams()), 0);
    EXPECT_EQ(RunTool({std::string(command.name), "--help"}, own.streams()), 0);
    EXPECT_EQ(asked.out(), own.out());
    EXPECT_EQ(asked.out().rfind("Usage: korvalo-level " + std::string(command.name), 0), 0u);
  }
  MemoryStreams general;
  EXPECT_EQ(RunTool({"help"}, general.streams()), 0);
  EXPECT_EQ(general.out().rfind("Usage: korvalo-level solve", 0), 0u);
}

TEST(ToolTest, MistakesNameTheNearestCommandOrOption) {
  const struct {
    std::vector<std::string> words;
    const char* firstLine;
  } cases[] = {
      {{"slove", "x"}, "korvalo-level: unknown command 'slove'; did you mean 'solve'?"},
      {{"chek-set"}, "korvalo-level: unknown command 'chek-set'; did you mean 'check-set'?"},
      {{"help", "rendr"}, "korvalo-level: unknown command 'rendr'; did you mean 'render'?"},
      {{"frobnicate"}, "korvalo-level: unknown command 'frobnicate'"},
      {{"-x"}, "korvalo-level: unknown option '-x'"},
      {{"--verison"}, "korvalo-level: unknown option '--verison'; did you mean '--version'?"},
      {{"generate", "--sed", "1"},
       "korvalo-level generate: unknown option '--sed'; did you mean '--seed'?"},
      {{"hardest", "--size", "3", "--ouptut", "f"},
       "korvalo-level hardest: unknown option '--ouptut'; did you mean '--output'?"},
      {{"check-set", "--uniq"},
       "korvalo-level check-set: unknown option '--uniq'; did you mean '--unique'?"},
      {{"solve", "--hepl"}, "korvalo-level solve: unknown option '--hepl'; did you mean '--help'?"},
      {{"solve", "--x"}, "korvalo-level solve: unknown option '--x'"},
      {{"grade", "--hlep"}, "korvalo-level grade: unknown option '--hlep'; did you mean '--help'?"},
      {{"publish", "--titel", "x", "3111221000110fbe5"},
       "korvalo-level publish: unknown option '--titel'; did you mean '--title'?"},
      {{"pubilsh"}, "korvalo-level: unknown command 'pubilsh'; did you mean 'publish'?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.words));
    MemoryStreams io;
    EXPECT_EQ(RunTool(c.words, io.streams()), UsageError);
    EXPECT_EQ(io.err().substr(0, io.err().find('\n')), c.firstLine);
  }
}

TEST(SuggestionTest, EditDistanceCountsSwapsOfNeighboursAsOne) {
  const struct {
    const char* a;
    const char* b;
    std::size_t distance;
  } cases[] = {{"", "", 0},          {"solve", "solve", 0},    {"slove", "solve", 1},
               {"solv", "solve", 1}, {"sollve", "solve", 1},   {"salve", "solve", 1},
               {"", "abc", 3},       {"kitten", "sitting", 3}, {"--ouptut", "--output", 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(EditDistance(c.a, c.b), c.distance) << c.a << " / " << c.b;
    EXPECT_EQ(EditDistance(c.b, c.a), c.distance) << c.b << " / " << c.a;
  }
}

}  // namespace
