// Lines come out whole, without their line ends, however the bytes arrive;
// an over-long line is cut and reported, and reading goes on after it; a read
// error is reported and never taken for the end.

#include "cli/io/line_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Kind = InputLine::Kind;

/// Gives the text in pieces of at most piece bytes, then the end or an error.
ReadBytes PiecesOf(std::string text, std::size_t piece, int errorAtEnd = 0) {
  auto offset = std::make_shared<std::size_t>(0);
  return [text = std::move(text), piece, errorAtEnd, offset](char* buffer, std::size_t size) {
    const std::size_t count = std::min({size, piece, text.size() - *offset});
    if (count == 0 && errorAtEnd != 0) return ReadOutcome{0, errorAtEnd};
    std::memcpy(buffer, text.data() + *offset, count);
    *offset += count;
    return ReadOutcome{count, 0};
  };
}

struct Line {
  Kind kind;
  std::string text;
  bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
  const char* names[] = {"Text", "TooLong", "End", "ReadError"};
  return out << names[static_cast<int>(line.kind)] << " '" << line.text << "'";
}

/// Every line until the end or an error, which comes last.
std::vector<Line> ReadAll(LineReader& reader) {
  std::vector<Line> lines;
  for (;;) {
    const InputLine line = reader.Next();
    lines.push_back({line.kind, std::string(line.text)});
    if (line.kind == Kind::End || line.kind == Kind::ReadError) return lines;
  }
}

struct LinesCase {
  const char* name;
  std::string input;
  std::vector<Line> lines;
};

constexpr std::size_t SmallLimit = 8;

// With a limit of 8 bytes, so that the edges of the limit are short to write.
const LinesCase LinesCases[] = {
    {"Nothing", "", {{Kind::End, ""}}},
    {"LastLineWithoutLineEnd", "ab\ncd", {{Kind::Text, "ab"}, {Kind::Text, "cd"}, {Kind::End, ""}}},
    {"EmptyLinesCount",
     "\n\r\n\n",
     {{Kind::Text, ""}, {Kind::Text, ""}, {Kind::Text, ""}, {Kind::End, ""}}},
    {"CrLfAndLoneCr",
     "a\r\nb\rc\r\n\r",
     {{Kind::Text, "a"}, {Kind::Text, "b\rc"}, {Kind::Text, ""}, {Kind::End, ""}}},
    {"ExactlyTheLimit",
     "12345678\n12345678\r\n",
     {{Kind::Text, "12345678"}, {Kind::Text, "12345678"}, {Kind::End, ""}}},
    {"OneOverTheLimit",
     "123456789\nok\n",
     {{Kind::TooLong, "12345678"}, {Kind::Text, "ok"}, {Kind::End, ""}}},
    {"OverTheLimitBeforeCrLf",
     "123456789\r\nok",
     {{Kind::TooLong, "12345678"}, {Kind::Text, "ok"}, {Kind::End, ""}}},
    {"LimitAndTwoCarriageReturns",
     "12345678\r\r\n",
     {{Kind::TooLong, "12345678"}, {Kind::End, ""}}},
    {"LongLineAtTheEnd",
     "ok\n" + std::string(100, 'x'),
     {{Kind::Text, "ok"}, {Kind::TooLong, "xxxxxxxx"}, {Kind::End, ""}}},
    {"SeveralLongLines",
     std::string(20, 'a') + "\n" + std::string(9, 'b') + "\nshort\n" + std::string(30, 'c') + "\n",
     {{Kind::TooLong, "aaaaaaaa"},
      {Kind::TooLong, "bbbbbbbb"},
      {Kind::Text, "short"},
      {Kind::TooLong, "cccccccc"},
      {Kind::End, ""}}},
    {"ZeroBytesAreText",
     std::string("a\0b\n", 4),
     {{Kind::Text, std::string("a\0b", 3)}, {Kind::End, ""}}},
};

void PrintTo(const LinesCase& c, std::ostream* out) { *out << c.name; }

class LineReaderTest : public testing::TestWithParam<LinesCase> {};

TEST_P(LineReaderTest, SameLinesWhateverPiecesTheBytesComeIn) {
  for (std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{1} << 20}) {
    SCOPED_TRACE("pieces of " + std::to_string(piece));
    LineReader reader(PiecesOf(GetParam().input, piece), SmallLimit);
    EXPECT_EQ(ReadAll(reader), GetParam().lines);
  }
}

INSTANTIATE_TEST_SUITE_P(Inputs, LineReaderTest, testing::ValuesIn(LinesCases),
                         [](const testing::TestParamInfo<LinesCase>& info) {
                           return info.param.name;
                         });

TEST(LineReaderTest, TheToolsLimitKeepsCrLfLinesOfExactlyTheLimit) {
  const std::string atLimit(LineLimit, 'x');
  LineReader reader(PiecesOf(atLimit + "\r\n" + atLimit + "y\n3111221000110fbe5\n", 1000));
  EXPECT_EQ(ReadAll(reader), (std::vector<Line>{{Kind::Text, atLimit},
                                                {Kind::TooLong, atLimit},
                                                {Kind::Text, "3111221000110fbe5"},
                                                {Kind::End, ""}}));
}

TEST(LineReaderTest, LinesAreNumberedTooLongOnesIncluded) {
  LineReader reader(PiecesOf("a\n123456789\n\nb", 4), SmallLimit);
  std::vector<std::size_t> numbers;
  for (InputLine line = reader.Next(); line.kind != Kind::End; line = reader.Next()) {
    numbers.push_back(line.number);
  }
  EXPECT_EQ(numbers, (std::vector<std::size_t>{1, 2, 3, 4}));
}

// A read error after some lines: the complete lines come first, the part of a
// line before the error is dropped, and the error stays.
TEST(LineReaderTest, ReadErrorIsReportedAndStays) {
  struct ErrorCase {
    std::string before;
    std::vector<Line> lines;
  };
  const ErrorCase cases[] = {
      {"", {{Kind::ReadError, ""}}},
      {"a\nb\n", {{Kind::Text, "a"}, {Kind::Text, "b"}, {Kind::ReadError, ""}}},
      {"a\npart", {{Kind::Text, "a"}, {Kind::ReadError, ""}}},
      {std::string(50, 'z'), {{Kind::ReadError, ""}}},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.before);
    LineReader reader(PiecesOf(c.before, 2, EIO), SmallLimit);
    EXPECT_EQ(ReadAll(reader), c.lines);
    const InputLine again = reader.Next();
    EXPECT_EQ(again.kind, Kind::ReadError);
    EXPECT_EQ(again.error, EIO);
  }
}

TEST(LineReaderTest, HookRunsBeforeEveryRead) {
  int reads = 0;
  int hooks = 0;
  auto source = PiecesOf("a\nb\nc\n", 2);
  LineReader reader([&](char* buffer, std::size_t size) {
    EXPECT_EQ(hooks, reads + 1);
    ++reads;
    return source(buffer, size);
  });
  reader.BeforeEachRead([&] { ++hooks; });
  ReadAll(reader);
  EXPECT_EQ(reads, 4);  // three pieces, then the end
  EXPECT_EQ(hooks, reads);
}

TEST(LineReaderTest, ReadsFromADescriptor) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const std::string text = "3111221000110fbe5\r\n" + std::string(5000, '-') + "\nlast";
  ASSERT_EQ(::write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  ::close(ends[1]);
  LineReader reader(DescriptorReader(ends[0]));
  const std::vector<Line> lines = ReadAll(reader);
  ::close(ends[0]);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], (Line{Kind::Text, "3111221000110fbe5"}));
  EXPECT_EQ(lines[1].kind, Kind::TooLong);
  EXPECT_EQ(lines[2], (Line{Kind::Text, "last"}));
}

TEST(LineReaderTest, ADirectoryIsAReadError) {
  const int fd = ::open("/", O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  LineReader reader(DescriptorReader(fd));
  const InputLine line = reader.Next();
  ::close(fd);
  EXPECT_EQ(line.kind, Kind::ReadError);
  EXPECT_EQ(line.error, EISDIR);
}

}  // namespace
