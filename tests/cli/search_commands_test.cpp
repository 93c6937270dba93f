// generate and hardest: the same output for a seed, the promised levels,
// the level set written whole or not at all, progress only on a terminal,
// and Ctrl+C ending the search with what was found.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/command_table.h"
#include "logic/level_generator.h"
#include "tests/cli/memory_streams.h"
#include "tests/cli/temp_folder.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream stream(line);
  for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
  return fields;
}

const std::vector<std::string> Small = {"--size",  "5", "--moves", "12-20",
                                        "--count", "3", "--seed",  "2024"};

// Pinned: the random source, the mazes, the pieces and the choice among them
// are all the tool's own, so these are the levels of this seed everywhere.
const std::string SmallLevels =
    "5224030241323b6aa27536645\tsolvable\t12\tEEWNENNNESES\n"
    "53334120121135b33aa8a9c55\tsolvable\t16\tSWSEENWSWNWNNWWE\n"
    "5140242433044c695ad31bc51\tsolvable\t20\tNESSSWNSWNWNESSWESWS\n";

TEST(GenerateCommandTest, ASeedGivesTheSameLevels) {
  const Outcome first = Invoke(RunGenerate, Small);
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.out, SmallLevels);
  EXPECT_EQ(first.err, "");  // the seed is given, standard error is no terminal
  EXPECT_EQ(Invoke(RunGenerate, Small).out, first.out);
}

TEST(GenerateCommandTest, WithoutASeedNamesTheOneItDrew) {
  const Outcome run = Invoke(RunGenerate, {"--size", "3", "--moves", "5", "--count", "2"});
  EXPECT_EQ(run.status, 0);
  const std::string start = "korvalo-level generate: seed ";
  ASSERT_EQ(run.err.substr(0, start.size()), start) << run.err;
  const std::string seed =
      run.err.substr(start.size(), run.err.find(' ', start.size()) - start.size());
  EXPECT_EQ(run.err, start + seed + " (--seed " + seed + " makes these levels again)\n");
  EXPECT_EQ(
      Invoke(RunGenerate, {"--size", "3", "--moves", "5", "--count", "2", "--seed", seed}).out,
      run.out);
}

struct RangeCase {
  std::vector<std::string> args;
  int count;
  int least;
  int most;
};

// Every line is what solve says of its code, in range, and no two levels
// have the same canonical code.
TEST(GenerateCommandTest, LevelsAreSolvableInRangeAndDistinct) {
  const RangeCase cases[] = {
      {{"--size", "3", "--moves", "5-8", "--count", "12", "--seed", "1"}, 12, 5, 8},
      {{"--size", "5", "--moves", "25", "--count", "6", "--seed", "2"}, 6, 25, 1000},
      {{"--size", "7", "--moves", "30-31", "--count", "4", "--seed", "3", "--open-walls", "4"},
       4,
       30,
       31},
      {{"--size", "5", "--moves", "0-0", "--count", "3", "--seed", "4"}, 3, 0, 0},
  };
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const Outcome run = Invoke(RunGenerate, c.args);
    EXPECT_EQ(run.status, 0);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(c.count));
    std::vector<std::string> codes;
    for (const std::string& line : lines) {
      const std::vector<std::string> fields = Fields(line);
      ASSERT_EQ(fields.size(), 4u) << line;
      const int moves = std::stoi(fields[2]);
      EXPECT_GE(moves, c.least) << line;
      EXPECT_LE(moves, c.most) << line;
      codes.push_back(fields[0]);
    }
    EXPECT_EQ(Invoke(RunSolve, codes).out, run.out);
    std::set<std::string> canonical;
    for (const std::string& line : Lines(Invoke(RunCanon, codes).out))
      canonical.insert(Fields(line)[1]);
    EXPECT_EQ(canonical.size(), codes.size());
  }
}

// What analyze says of every level generated with --unique and --effort:
// one shortest solution, the greedy effort in range.
TEST(GenerateCommandTest, UniqueAndEffortHoldForEveryLevelAsAnalyzeSeesIt) {
  const struct {
    std::vector<std::string> args;
    bool unique;
    int leastEffort;
    int mostEffort;
  } cases[] = {
      {{"--size", "5", "--moves", "10-20", "--count", "4", "--seed", "5", "--unique"},
       true,
       0,
       1 << 30},
      {{"--size", "5", "--moves", "8-30", "--count", "3", "--seed", "6", "--effort", "100-300"},
       false,
       100,
       300},
      {{"--size", "7", "--moves", "20-40", "--count", "2", "--seed", "7", "--unique", "--effort",
        "400"},
       true,
       400,
       1 << 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const Outcome run = Invoke(RunGenerate, c.args);
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> codes;
    for (const std::string& line : Lines(run.out)) codes.push_back(Fields(line)[0]);
    ASSERT_FALSE(codes.empty());
    for (const std::string& line : Lines(Invoke(RunAnalyze, codes).out)) {
      const std::vector<std::string> fields = Fields(line);
      ASSERT_EQ(fields.size(), 7u) << line;
      if (c.unique) {
        EXPECT_EQ(fields[3], "1") << line;
      }
      EXPECT_GE(std::stoi(fields[6]), c.leastEffort) << line;
      EXPECT_LE(std::stoi(fields[6]), c.mostEffort) << line;
    }
  }
  // The same options give the same levels.
  EXPECT_EQ(Invoke(RunGenerate, cases[1].args).out, Invoke(RunGenerate, cases[1].args).out);
}

TEST(GenerateCommandTest, ATargetOutOfReachEndsWithWhatWasFound) {
  const Outcome none =
      Invoke(RunGenerate, {"--size", "3", "--moves", "45", "--count", "2", "--seed", "1"});
  EXPECT_EQ(none.status, CommandFailure);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err,
            "korvalo-level generate: out of reach: 5000 candidates in a row brought no new level "
            "(0 of 2 levels found)\n");
  // Few 3 x 3 levels need 39 moves or more: some are found, then no new one.
  const Outcome some =
      Invoke(RunGenerate, {"--size", "3", "--moves", "39", "--count", "40", "--seed", "1"});
  EXPECT_EQ(some.status, CommandFailure);
  EXPECT_EQ(Lines(some.out).size(), 26u);
  EXPECT_EQ(some.err,
            "korvalo-level generate: out of reach: 5000 candidates in a row brought no new level "
            "(26 of 40 levels found)\n");
}

// ---------------------------------------------------------------------------
// --output

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

const std::string SmallSet =
    "# title: generate --size 5 --moves 12-20 --count 3 --seed 2024\n"
    "5224030241323b6aa27536645\n"
    "53334120121135b33aa8a9c55\n"
    "5140242433044c695ad31bc51\n";

// The largest value every option takes: the counting of moves, levels, walls
// and seeds stays within what it can hold (this test also runs under the
// sanitizers, which would stop it at an overflow).
TEST(SearchCommandsTest, TheLargestValuesOfTheOptionsRunToTheirEnd) {
  const std::string most = "2147483647";
  const std::string largestSeed = "18446744073709551615";
  const struct {
    Command command;
    std::vector<std::string> args;
    int status;
    std::size_t lines;
    std::string err;
  } cases[] = {
      {RunGenerate,
       {"--size", "3", "--moves", "503", "--count", most, "--seed", largestSeed, "--open-walls",
        most},
       CommandFailure,
       0,
       "korvalo-level generate: out of reach: 5000 candidates in a row brought no new level (0 "
       "of " +
           most + " levels found)\n"},
      {RunGenerate,
       {"--size", "3", "--moves", "0-503", "--count", "3", "--seed", largestSeed, "--open-walls",
        most},
       0,
       3,
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const Outcome run = Invoke(c.command, c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(Lines(run.out).size(), c.lines);
    EXPECT_EQ(run.err, c.err);
  }
  const Outcome hardest =
      Invoke(RunHardest, {"--size", "3", "--seconds", "0.2", "--seed", largestSeed});
  EXPECT_EQ(hardest.status, 0);
  EXPECT_FALSE(hardest.out.empty());
}

TEST(GenerateCommandTest, OutputIsALevelSetInsteadOfLines) {
  TempFolder folder;
  folder.Write("old.txt", "earlier set\n");
  for (const std::string name : {"new.txt", "old.txt"}) {
    const Outcome run = Invoke(RunGenerate, With(Small, {"--output", folder.Path(name)}));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(folder.Read(name), SmallSet);
  }
  // The title names every option that shapes the levels.
  const Outcome walls =
      Invoke(RunGenerate, {"--size", "3", "--moves", "4", "--seed", "9", "--open-walls", "2",
                           "--output=" + folder.Path("walls.txt")});
  EXPECT_EQ(walls.status, 0);
  EXPECT_EQ(Lines(folder.Read("walls.txt"))[0],
            "# title: generate --size 3 --moves 4 --count 1 --seed 9 --open-walls 2");
}

TEST(GenerateCommandTest, OutputThatCannotBeWrittenIsRefusedBeforeTheSearch) {
  TempFolder folder;
  ::mkdir(folder.Path("dir.txt").c_str(), 0777);
  folder.Write("dir.txt/inside", "kept");
  const struct {
    std::string name;
    std::string message;
  } cases[] = {
      {"dir.txt", "'{path}' is not a regular file; it is left alone"},
      {"missing/set.txt", "cannot write '{path}': No such file or directory"},
      {"dir.txt/inside/set.txt", "cannot write '{path}': Not a directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.Path(c.name);
    for (const Command command : {RunGenerate, RunHardest}) {
      const std::vector<std::string> args =
          command == RunGenerate
              ? With(Small, {"--output", path})
              : std::vector<std::string>{"--size", "7", "--seed", "1", "--output", path};
      const Outcome run = Invoke(command, args);
      EXPECT_EQ(run.status, CommandFailure);
      EXPECT_EQ(run.out, "");
      std::string message = c.message;
      message.replace(message.find("{path}"), 6, path);
      const std::string name = command == RunGenerate ? "generate" : "hardest";
      EXPECT_EQ(run.err, "korvalo-level " + name + ": " + message + "\n");
    }
  }
  EXPECT_EQ(folder.Read("dir.txt/inside"), "kept");
}

TEST(GenerateCommandTest, DashAsOutputWritesTheLevelSetToStandardOutput) {
  TempFolder folder;
  const std::vector<std::string> toFile = With(Small, {"--output", folder.Path("set.txt")});
  ASSERT_EQ(Invoke(RunGenerate, toFile).status, 0);
  const Outcome toOutput = Invoke(RunGenerate, With(Small, {"--output", "-"}));
  EXPECT_EQ(toOutput.status, 0);
  EXPECT_EQ(toOutput.out, folder.Read("set.txt"));
  const Outcome hardest =
      Invoke(RunHardest, {"--size", "3", "--seed", "1", "--seconds", "0.2", "--output", "-"});
  EXPECT_EQ(hardest.status, 0);
  EXPECT_EQ(hardest.out.substr(0, 23), "# title: hardest --size");
}

TEST(GenerateCommandTest, OutOfReachWritesTheLevelsFoundAndLeavesAFileAloneWithoutAny) {
  TempFolder folder;
  folder.Write("set.txt", "earlier set\n");
  const Outcome none = Invoke(RunGenerate, {"--size", "3", "--moves", "45", "--seed", "1",
                                            "--output", folder.Path("set.txt")});
  EXPECT_EQ(none.status, CommandFailure);
  EXPECT_EQ(none.err,
            "korvalo-level generate: out of reach: 5000 candidates in a row brought no new level "
            "(0 of 1 levels found)\n"
            "korvalo-level generate: no level found; '" +
                folder.Path("set.txt") + "' is left alone\n");
  EXPECT_EQ(folder.Read("set.txt"), "earlier set\n");

  const Outcome some = Invoke(RunGenerate, {"--size", "3", "--moves", "39", "--count", "40",
                                            "--seed", "1", "--output", folder.Path("set.txt")});
  EXPECT_EQ(some.status, CommandFailure);
  const std::vector<std::string> lines = Lines(folder.Read("set.txt"));
  ASSERT_EQ(lines.size(), 27u);
  EXPECT_EQ(lines[0], "# title: generate --size 3 --moves 39 --count 40 --seed 1");
}

TEST(HardestCommandTest, PrintsEachBetterLevelAndWritesTheBest) {
  const Outcome run = Invoke(RunHardest, {"--size", "5", "--seconds", "0.3", "--seed", "11"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_FALSE(lines.empty());
  int before = -1;
  for (const std::string& line : lines) {
    const std::vector<std::string> fields = Fields(line);
    ASSERT_EQ(fields.size(), 2u) << line;
    const int moves = std::stoi(fields[1]);
    EXPECT_GT(moves, before) << line;
    before = moves;
    // What solve says of the code.
    const std::vector<std::string> solved = Fields(Invoke(RunSolve, {fields[0]}).out);
    EXPECT_EQ(solved[1], "solvable");
    EXPECT_EQ(solved[2], fields[1]);
  }

  TempFolder folder;
  EXPECT_EQ(Invoke(RunHardest, {"--size", "3", "--seconds", "0.25", "--seed", "4", "--output",
                                folder.Path("best.txt")})
                .status,
            0);
  const std::vector<std::string> set = Lines(folder.Read("best.txt"));
  ASSERT_EQ(set.size(), 2u);
  EXPECT_EQ(set[0], "# title: hardest --size 3 --seconds 0.25 --seed 4");
  EXPECT_EQ(Fields(Invoke(RunSolve, {set[1]}).out)[1], "solvable");
}

TEST(HardestCommandTest, GoalEffortClimbsOnTheGreedyEffort) {
  const Outcome run =
      Invoke(RunHardest, {"--size", "5", "--goal", "effort", "--seconds", "0.3", "--seed", "11"});
  EXPECT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_FALSE(lines.empty());
  int before = -1;
  for (const std::string& line : lines) {
    const std::vector<std::string> fields = Fields(line);
    ASSERT_EQ(fields.size(), 3u) << line;
    const int effort = std::stoi(fields[2]);
    EXPECT_GT(effort, before) << line;
    before = effort;
    const std::vector<std::string> analysed = Fields(Lines(Invoke(RunAnalyze, {fields[0]}).out)[0]);
    EXPECT_EQ(analysed[2], fields[1]);
    EXPECT_EQ(analysed[6], fields[2]);
  }
}

// ---------------------------------------------------------------------------
// Progress

TEST(SearchCommandsTest, ProgressIsDrawnInPlaceOnATerminalAndCleared) {
  MemoryStreams io;
  io.ErrIsTerminal();
  EXPECT_EQ(RunGenerate(Small, io.streams()), 0);
  EXPECT_EQ(io.FlushedOut(), SmallLevels);
  const std::string& err = io.err();
  // At least the last state, then blanks over it and back to the start.
  const std::string lastState = "\rfound 3 of 3, tried ";
  EXPECT_EQ(err.substr(0, lastState.size()), lastState) << err;
  EXPECT_NE(err.find(", best 20 moves, "), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), std::string::npos);
  const std::size_t lastDrawn = err.rfind("\rfound");
  const std::size_t width = err.find('\r', lastDrawn + 1) - lastDrawn - 1;
  std::string cleared(width + 2, ' ');
  cleared.front() = cleared.back() = '\r';
  EXPECT_EQ(err.substr(err.size() - cleared.size()), cleared);

  MemoryStreams climb;
  climb.ErrIsTerminal();
  EXPECT_EQ(RunHardest({"--size", "3", "--seconds", "0.3", "--seed", "1"}, climb.streams()), 0);
  EXPECT_NE(climb.err().find(" s of 0.3 s"), std::string::npos) << climb.err();
  EXPECT_EQ(climb.err().substr(0, 6), "\rbest ");
  EXPECT_EQ(climb.err().back(), '\r');
}

// ---------------------------------------------------------------------------
// Ctrl+C and a failed output

struct sigaction CurrentInterruptHandling() {
  struct sigaction now {};
  ::sigaction(SIGINT, nullptr, &now);
  return now;
}

TEST(SearchCommandsTest, InterruptEndsTheSearchWithTheLevelsFound) {
  const auto before = CurrentInterruptHandling().sa_handler;
  MemoryStreams io;
  io.OnOutput([] { std::raise(SIGINT); });  // Ctrl+C once the first level is out
  const std::vector<std::string> many = {"--size",  "5",  "--moves", "12-20",
                                         "--count", "50", "--seed",  "2024"};
  EXPECT_EQ(RunGenerate(many, io.streams()), Interrupted);
  EXPECT_EQ(io.FlushedOut(), Lines(SmallLevels)[0] + "\n");
  EXPECT_EQ(io.err(), "korvalo-level generate: stopped by Ctrl+C with 1 of 50 levels found\n");
  EXPECT_EQ(CurrentInterruptHandling().sa_handler, before);

  MemoryStreams climb;
  climb.OnOutput([] { std::raise(SIGINT); });
  EXPECT_EQ(RunHardest({"--size", "7", "--seed", "1"}, climb.streams()), Interrupted);
  EXPECT_EQ(Lines(climb.FlushedOut()).size(), 1u);
  EXPECT_EQ(climb.err(), "korvalo-level hardest: stopped by Ctrl+C\n");
  EXPECT_EQ(CurrentInterruptHandling().sa_handler, before);
}

TEST(SearchCommandsTest, InterruptWritesTheOutputWithTheLevelsFound) {
  TempFolder folder;
  MemoryStreams io;
  io.ErrIsTerminal();
  // Ctrl+C once, at the first progress report (a second one ends the program).
  io.OnError([raised = false]() mutable {
    if (!std::exchange(raised, true)) std::raise(SIGINT);
  });
  const std::vector<std::string> many = {
      "--size",  "5",      "--moves", "12-20",    "--count",
      "1000000", "--seed", "2024",    "--output", folder.Path("set.txt")};
  EXPECT_EQ(RunGenerate(many, io.streams()), Interrupted);
  EXPECT_EQ(io.FlushedOut(), "");
  const std::vector<std::string> lines = Lines(folder.Read("set.txt"));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "# title: generate --size 5 --moves 12-20 --count 1000000 --seed 2024");
  // The levels found are the first of the full answer.
  GenerationRequest request;
  request.size = 5;
  request.minMoves = 12;
  request.maxMoves = 20;
  request.count = static_cast<int>(lines.size() - 1);
  request.seed = 2024;
  const GenerationResult expected = GenerateLevels(request);
  for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected.levels[i - 1].code);
  EXPECT_NE(io.err().find("stopped by Ctrl+C with " + std::to_string(lines.size() - 1) +
                          " of 1000000 levels found\n"),
            std::string::npos);
}

TEST(SearchCommandsTest, AnIgnoredInterruptStaysIgnored) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction before {};
  ::sigaction(SIGINT, &ignore, &before);
  MemoryStreams io;
  io.OnOutput([] { std::raise(SIGINT); });
  const int status = RunGenerate(Small, io.streams());
  const auto after = CurrentInterruptHandling().sa_handler;
  ::sigaction(SIGINT, &before, nullptr);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(io.FlushedOut(), SmallLevels);
  EXPECT_EQ(after, SIG_IGN);
}

TEST(SearchCommandsTest, AFailedOutputStopsTheSearch) {
  MemoryStreams io;
  io.ErrIsTerminal();
  io.FailOutputAfter(0, EPIPE);
  const std::vector<std::string> many = {"--size",  "5",       "--moves", "12-20",
                                         "--count", "1000000", "--seed",  "5"};
  RunGenerate(many, io.streams());
  EXPECT_FALSE(io.streams().out.Flush());
  // The last progress report: the search ended at its first level.
  EXPECT_NE(io.err().find("\rfound 1 of 1000000, "), std::string::npos) << io.err();
  EXPECT_EQ(io.err().find("\rfound 2 of"), std::string::npos) << io.err();
}

}  // namespace
