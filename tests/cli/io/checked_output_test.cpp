// Every byte reaches the stream or the failure is remembered: short writes are
// completed, the first error stops all further writing, and nothing allocates
// after construction.

#include "cli/io/checked_output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ostream>
#include <string>

namespace {

/// A stream that takes at most piece bytes a call and fails with error once
/// room bytes are taken; counts its calls.
struct FakeStream {
  std::size_t piece = SIZE_MAX;
  std::size_t room = SIZE_MAX;
  int error = ENOSPC;
  std::string written;
  int calls = 0;

  WriteBytes Writer() {
    return [this](const char* bytes, std::size_t size) {
      ++calls;
      if (room == 0) return WriteOutcome{0, error};
      const std::size_t count = std::min({size, piece, room});
      written.append(bytes, count);
      room -= count;
      return WriteOutcome{count, 0};
    };
  }
};

const std::string Big(200 * 1024, 'b');  // more than the buffer holds

struct WriteCase {
  const char* name;
  std::size_t piece;
  std::size_t room;
  CheckedOutput::Buffering buffering;
  std::string expectedWritten;  // of "first line\n", Big, "last\n"
  int expectedError;
};

const WriteCase WriteCases[] = {
    {"WholeWrites", SIZE_MAX, SIZE_MAX, CheckedOutput::Buffering::Full,
     "first line\n" + Big + "last\n", 0},
    {"ShortWritesAreCompleted", 7, SIZE_MAX, CheckedOutput::Buffering::Full,
     "first line\n" + Big + "last\n", 0},
    {"UnbufferedShortWrites", 1000, SIZE_MAX, CheckedOutput::Buffering::None,
     "first line\n" + Big + "last\n", 0},
    {"FullAfterFiveBytes", SIZE_MAX, 5, CheckedOutput::Buffering::Full, "first", ENOSPC},
    {"FullInTheBigWrite", 4096, 20000, CheckedOutput::Buffering::Full,
     ("first line\n" + Big).substr(0, 20000), ENOSPC},
    {"UnbufferedFull", SIZE_MAX, 11, CheckedOutput::Buffering::None, "first line\n", ENOSPC},
};

void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.name; }

class CheckedOutputTest : public testing::TestWithParam<WriteCase> {};

TEST_P(CheckedOutputTest, WritesEverythingOrRemembersTheFirstFailure) {
  const WriteCase& c = GetParam();
  FakeStream stream;
  stream.piece = c.piece;
  stream.room = c.room;
  CheckedOutput output(stream.Writer(), c.buffering);
  output.Write("first line\n");
  output.Write(Big);
  output.Write("last\n");
  EXPECT_EQ(output.Flush(), c.expectedError == 0);
  EXPECT_EQ(output.Error(), c.expectedError);
  EXPECT_EQ(stream.written, c.expectedWritten);
  // Once failed, nothing more goes to the stream.
  const int calls = stream.calls;
  stream.room = SIZE_MAX;
  output.Write("after\n");
  output.Flush();
  if (c.expectedError != 0) {
    EXPECT_EQ(stream.calls, calls);
    EXPECT_TRUE(output.Failed());
  }
}

INSTANTIATE_TEST_SUITE_P(Streams, CheckedOutputTest, testing::ValuesIn(WriteCases),
                         [](const testing::TestParamInfo<WriteCase>& info) {
                           return info.param.name;
                         });

TEST(CheckedOutputTest, AStreamThatTakesNothingWithoutErrorIsAFailure) {
  CheckedOutput output(
      [](const char*, std::size_t) {
        return WriteOutcome{0, 0};
      },
      CheckedOutput::Buffering::None);
  output.Write("x");
  EXPECT_EQ(output.Error(), EIO);
}

TEST(CheckedOutputTest, BufferedTextWaitsForFlushOrForTheTiedStream) {
  std::string order;
  CheckedOutput out(
      [&](const char* b, std::size_t n) {
        order += "out:" + std::string(b, n);
        return WriteOutcome{n, 0};
      },
      CheckedOutput::Buffering::Full);
  CheckedOutput err(
      [&](const char* b, std::size_t n) {
        order += "err:" + std::string(b, n);
        return WriteOutcome{n, 0};
      },
      CheckedOutput::Buffering::None);
  err.FlushFirst(&out);
  out.Write("line 1\n");
  out.Write("line 2\n");
  EXPECT_EQ(order, "");
  err.Write("reason\n");
  out.Write("line 3\n");
  out.Flush();
  EXPECT_EQ(order, "out:line 1\nline 2\nerr:reason\nout:line 3\n");
}

/// The outcome of writing one line to a real descriptor and flushing.
int ErrorWritingTo(int fd) {
  CheckedOutput output(DescriptorWriter(fd), CheckedOutput::Buffering::Full);
  output.Write("3111221000110fbe5\tsolvable\t2\tNW\n");
  output.Flush();
  return output.Error();
}

TEST(CheckedOutputTest, FailuresOfRealDescriptors) {
  const int full = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  EXPECT_EQ(ErrorWritingTo(full), ENOSPC);
  ::close(full);

  const int readOnly = ::open("/dev/null", O_RDONLY);  // as the tool's stand-in for a closed stream
  ASSERT_GE(readOnly, 0);
  EXPECT_EQ(ErrorWritingTo(readOnly), EBADF);
  ::close(readOnly);

  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);
  const auto previous = std::signal(SIGPIPE, SIG_IGN);
  EXPECT_EQ(ErrorWritingTo(ends[1]), EPIPE);
  std::signal(SIGPIPE, previous);
  ::close(ends[1]);

  const int devNull = ::open("/dev/null", O_WRONLY);
  ASSERT_GE(devNull, 0);
  EXPECT_EQ(ErrorWritingTo(devNull), 0);
  ::close(devNull);
}

}  // namespace
