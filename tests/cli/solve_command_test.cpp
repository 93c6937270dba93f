#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "tests/cli/memory_streams.h"

namespace {

/// Runs the command with the given arguments and standard input.
Outcome RunWith(const std::vector<std::string>& args, const std::string& input = {}) {
  return Invoke(RunSolve, args, input);
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
    testing::Values(SolveCase{"Solvable",
                              {"3111221000110fbe5"},
                              "",
                              0,
                              "3111221000110fbe5\tsolvable\t2\tNW\n",
                              false},
                    SolveCase{"AlreadySolved",
                              {"3001122001122fbe5"},
                              "",
                              0,
                              "3001122001122fbe5\tsolvable\t0\t-\n",
                              false},
                    SolveCase{"Unsolvable",
                              {"76342030002556aa97fe5aa95fe55a9572555"},
                              "",
                              0,
                              "76342030002556aa97fe5aa95fe55a9572555\tunsolvable\t-\t-\n",
                              false},
                    SolveCase{"InvalidAmongValid",
                              {"9bad", "3001122221100fbe5"},
                              "",
                              1,
                              "9bad\tinvalid\t-\t-\n3001122221100fbe5\tunsolvable\t-\t-\n",
                              true},
                    // Standard input is a level set, where a blank line is no level.
                    SolveCase{
                        "CodesFromStandardInput",
                        {},
                        "3111221000110fbe5\r\n3001122221100FBE5\n\n",
                        0,
                        "3111221000110fbe5\tsolvable\t2\tNW\n3001122221100FBE5\tunsolvable\t-\t-\n",
                        false},
                    SolveCase{"NoInputAtAll", {}, "", 0, "", false},
                    SolveCase{"UnknownOption", {"--fast", "3111221000110fbe5"}, "", 2, "", true},
                    // Bytes outside printable ASCII, from a line or an argument, are shown
                    // escaped. A line of a set holds one code, so a code followed by
                    // them is invalid there; an argument is still read (below).
                    SolveCase{"ControlBytesAreEscaped",
                              {},
                              "\x1b]0;title\x07\n3111221000110fbe5\x1b[2J\n",
                              1,
                              "\\x1b]0;title\\x07\tinvalid\t-\t-\n"
                              "3111221000110fbe5\\x1b[2J\tinvalid\t-\t-\n",
                              true},
                    SolveCase{"ArgumentsAreEscaped",
                              {"3111221000110fbe5\t\\"},
                              "",
                              0,
                              "3111221000110fbe5\\x09\\x5c\tsolvable\t2\tNW\n",
                              false},
                    // A line over the limit is cut in the echo, and reading goes on.
                    SolveCase{"TooLongLineThenValidOnes",
                              {},
                              "3111221000110fbe5" + std::string(5000, 'x') +
                                  "\r\n3111221000110fbe5\r\n" + std::string(4096, 'y') + "\r\n",
                              1,
                              "3111221000110fbe5xxxxxxxxxxxxxxx...\tinvalid\t-\t-\n"
                              "3111221000110fbe5\tsolvable\t2\tNW\n" +
                                  std::string(4096, 'y') + "\tinvalid\t-\t-\n",
                              true}),
    [](const testing::TestParamInfo<SolveCase>& info) { return info.param.name; });

TEST(SolveCommandTest, HelpExplainsTheFieldsAndExitsZero) {
  const Outcome run = RunWith({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("korvalo-level solve [CODE | FILE | -]..."), std::string::npos);
  EXPECT_NE(run.out.find("unsolvable"), std::string::npos);
}

TEST(SolveCommandTest, ReasonsCarryNoControlBytes) {
  const Outcome run =
      RunWith({}, "\x1b[2J\n" + std::string(10000, '\x1b') + "\n3\x9b" + "1111111111111\n");
  EXPECT_EQ(run.status, 1);
  for (const char c : run.out + run.err) {
    EXPECT_TRUE((c >= 0x20 && c < 0x7f) || c == '\t' || c == '\n') << int(c);
  }
  EXPECT_NE(run.err.find("invalid code '\\x1b\\x1b\\x1b"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("...': line too long\n"), std::string::npos) << run.err;
}

// A read error is not the end of the input: the lines before it are answered,
// then the error is reported with the status for a failed stream.
TEST(SolveCommandTest, ReadErrorIsAnError) {
  const struct {
    std::string before;
    std::string out;
  } cases[] = {
      {"", ""},
      {"3111221000110fbe5\n3001122001122fbe5", "3111221000110fbe5\tsolvable\t2\tNW\n"},
  };
  for (const auto& c : cases) {
    MemoryStreams io(c.before, EIO);
    EXPECT_EQ(RunSolve({}, io.streams()), StreamFailure);
    EXPECT_EQ(io.FlushedOut(), c.out);
    EXPECT_EQ(io.err(), "korvalo-level solve: cannot read standard input: Input/output error\n");
  }
}

}  // namespace
