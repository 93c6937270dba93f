#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "tests/cli/memory_streams.h"

namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

/// Runs the command with the given arguments and standard input.
Outcome RunWith(const std::vector<std::string>& args, const std::string& input = {}) {
  MemoryStreams io(input);
  const int status = RunSolve(args, io.streams());
  return {status, io.FlushedOut(), io.err()};
}

struct SolveCase {
  const char* name;
  std::vector<std::string> args;
  std::string input;
  int status;
  std::string out;
  bool complains;  // something on standard error
};

class SolveCommandTest : public testing::TestWithParam<SolveCase> {};

TEST_P(SolveCommandTest, PrintsOneLinePerCode) {
  const SolveCase& c = GetParam();
  const Outcome run = RunWith(c.args, c.input);
  EXPECT_EQ(run.status, c.status);
  EXPECT_EQ(run.out, c.out);
  EXPECT_EQ(!run.err.empty(), c.complains) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SolveCommandTest,
    testing::Values(
        SolveCase{"Solvable", {"3111221000110fbe5"}, "", 0, "3111221000110fbe5\tsolvable\t2\tNW\n", false},
        SolveCase{"AlreadySolved", {"3001122001122fbe5"}, "", 0, "3001122001122fbe5\tsolvable\t0\t-\n", false},
        SolveCase{"Unsolvable",
                  {"76342030002556aa97fe5aa95fe55a9572555"}, "", 0,
                  "76342030002556aa97fe5aa95fe55a9572555\tunsolvable\t-\t-\n", false},
        SolveCase{"InvalidAmongValid",
                  {"9bad", "3001122221100fbe5"}, "", 1,
                  "9bad\tinvalid\t-\t-\n3001122221100fbe5\tunsolvable\t-\t-\n", true},
        SolveCase{"CodesFromStandardInput", {},
                  "3111221000110fbe5\r\n3001122221100FBE5\n\n", 1,
                  "3111221000110fbe5\tsolvable\t2\tNW\n3001122221100FBE5\tunsolvable\t-\t-\n"
                  "\tinvalid\t-\t-\n",
                  true},
        SolveCase{"NoInputAtAll", {}, "", 0, "", false},
        SolveCase{"UnknownOption", {"--fast", "3111221000110fbe5"}, "", 2, "", true}),
    [](const testing::TestParamInfo<SolveCase>& info) { return info.param.name; });

TEST(SolveCommandTest, HelpExplainsTheFieldsAndExitsZero) {
  const Outcome run = RunWith({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("korvalo-level solve [CODE ...]"), std::string::npos);
  EXPECT_NE(run.out.find("unsolvable"), std::string::npos);
}

}  // namespace
