// A file is replaced as a whole or not at all: after any failure the earlier
// file is there byte for byte and no temporary file is left; devices and
// FIFOs are written in place, never replaced, and folders are left alone.

#include "cli/io/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string Earlier = "earlier contents\n";
const std::string Picture(10000, '\x89');

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "atomic_file_test.XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~TempFolder() { fs::remove_all(m_path); }
  std::string operator/(const std::string& name) const { return m_path + "/" + name; }
  /// The names in the folder, hidden ones included.
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_path)) names.insert(entry.path().filename());
    return names;
  }

 private:
  std::string m_path;
};

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

void Put(const std::string& path, const std::string& contents) {
  std::ofstream(path, std::ios::binary) << contents;
}

bool MakeSocket(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  const bool made = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return made;
}

fs::file_type TypeOf(const std::string& path) { return fs::symlink_status(path).type(); }

struct TargetCase {
  const char* name;
  std::function<void(const TempFolder&)> make;  // puts what the folder holds before
  const char* target;
  const char* failure;  // part of the message; nullptr when the write succeeds
  std::set<std::string> namesAfter;
};

const TargetCase TargetCases[] = {
    {"NewFile", [](const TempFolder&) {}, "level.png", nullptr, {"level.png"}},
    {"EarlierFile",
     [](const TempFolder& f) { Put(f / "level.png", Earlier); },
     "level.png",
     nullptr,
     {"level.png"}},
    {"LinkToAFile",
     [](const TempFolder& f) {
       Put(f / "real.png", Earlier);
       fs::create_symlink("real.png", f / "link.png");
     },
     "link.png",
     nullptr,
     {"real.png", "link.png"}},
    {"Folder",
     [](const TempFolder& f) { fs::create_directory(f / "level.png"); },
     "level.png",
     "level.png' is not a regular file; it is left alone",
     {"level.png"}},
    {"Socket",
     [](const TempFolder& f) { ASSERT_TRUE(MakeSocket(f / "level.png")); },
     "level.png",
     "is not a regular file",
     {"level.png"}},
    {"LinkToNothing",
     [](const TempFolder& f) { fs::create_symlink("gone.png", f / "level.png"); },
     "level.png",
     "No such file or directory",
     {"level.png"}},
    {"MissingFolder",
     [](const TempFolder&) {},
     "missing/level.png",
     "No such file or directory",
     {}},
    {"FileAsFolder",
     [](const TempFolder& f) { Put(f / "notes", Earlier); },
     "notes/level.png",
     "Not a directory",
     {"notes"}},
};

void PrintTo(const TargetCase& c, std::ostream* out) { *out << c.name; }

class ReplaceFileTest : public testing::TestWithParam<TargetCase> {};

TEST_P(ReplaceFileTest, WritesRegularFilesAndLeavesEverythingElseAlone) {
  const TargetCase& c = GetParam();
  TempFolder folder;
  c.make(folder);
  const std::string target = folder / c.target;
  const fs::file_type typeBefore = TypeOf(target);
  const std::optional<FileWriteFailure> failure = ReplaceFile(target, Picture);
  if (c.failure == nullptr) {
    EXPECT_FALSE(failure) << failure->message;
    EXPECT_EQ(Contents(target), Picture);
    EXPECT_EQ(TypeOf(target),
              typeBefore == fs::file_type::not_found ? fs::file_type::regular : typeBefore);
  } else {
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->message.find(c.failure), std::string::npos) << failure->message;
    EXPECT_EQ(TypeOf(target), typeBefore);
  }
  EXPECT_EQ(folder.Names(), c.namesAfter);  // no temporary file left
}

INSTANTIATE_TEST_SUITE_P(Targets, ReplaceFileTest, testing::ValuesIn(TargetCases),
                         [](const testing::TestParamInfo<TargetCase>& info) {
                           return info.param.name;
                         });

TEST(ReplaceFileTest, ADeviceIsWrittenInPlace) {
  TempFolder folder;
  const std::string device = folder / "null.png";
  // A null device of our own, so that no failure here can touch /dev/null.
  if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "cannot make a device here: " << std::strerror(errno);
  }
  const std::optional<FileWriteFailure> failure = ReplaceFile(device, Picture);
  EXPECT_FALSE(failure) << failure->message;
  EXPECT_EQ(TypeOf(device), fs::file_type::character);
  EXPECT_EQ(folder.Names(), std::set<std::string>{"null.png"});
}

TEST(ReplaceFileTest, AFifoIsWrittenInPlaceDirectlyOrThroughALink) {
  for (const char* target : {"fifo", "link.png"}) {
    SCOPED_TRACE(target);
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0644), 0);
    fs::create_symlink("fifo", folder / "link.png");
    // A reader that is there already; the pipe holds the whole picture.
    const int reader = ::open((folder / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const std::optional<FileWriteFailure> failure = ReplaceFile(folder / target, Picture);
    EXPECT_FALSE(failure) << failure->message;
    std::string received(Picture.size() + 1, '\0');
    const ssize_t got = ::read(reader, received.data(), received.size());
    ::close(reader);
    EXPECT_EQ(received.substr(0, got < 0 ? 0 : static_cast<std::size_t>(got)), Picture);
    EXPECT_EQ(TypeOf(folder / "fifo"), fs::file_type::fifo);
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"fifo", "link.png"}));
  }
}

TEST(ReplaceFileTest, StandardOutputThroughDevStdoutIsWritten) {
  // /dev/stdout leads to a pipe here, which no path in a folder names.
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const int saved = ::dup(STDOUT_FILENO);
  ::dup2(ends[1], STDOUT_FILENO);
  const std::optional<FileWriteFailure> failure = ReplaceFile("/dev/stdout", "a level set\n");
  ::dup2(saved, STDOUT_FILENO);
  ::close(saved);
  ::close(ends[1]);
  char received[32] = {};
  const ssize_t got = ::read(ends[0], received, sizeof received);
  ::close(ends[0]);
  EXPECT_FALSE(failure) << failure->message;
  EXPECT_EQ(std::string(received, got < 0 ? 0 : static_cast<std::size_t>(got)), "a level set\n");
}

TEST(ReplaceFileTest, AReplacedFileKeepsItsPermissionsANewOneFollowsTheUmask) {
  TempFolder folder;
  Put(folder / "kept.png", Earlier);
  ::chmod((folder / "kept.png").c_str(), 0640);
  const mode_t mask = ::umask(022);
  EXPECT_FALSE(ReplaceFile(folder / "kept.png", Picture));
  EXPECT_FALSE(ReplaceFile(folder / "new.png", Picture));
  ::umask(mask);
  struct stat kept {
  }, fresh{};
  ASSERT_EQ(::stat((folder / "kept.png").c_str(), &kept), 0);
  ASSERT_EQ(::stat((folder / "new.png").c_str(), &fresh), 0);
  EXPECT_EQ(kept.st_mode & 07777, 0640u);
  EXPECT_EQ(fresh.st_mode & 07777, 0644u);
}

// A file size limit makes the writes fail part way, as a full disk does.
TEST(ReplaceFileTest, AFailedWriteLeavesTheEarlierFileByteForByte) {
  TempFolder folder;
  Put(folder / "kept.png", Earlier);
  rlimit previous{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
  const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = previous;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::optional<FileWriteFailure> onEarlier = ReplaceFile(folder / "kept.png", Picture);
  const std::optional<FileWriteFailure> onNew = ReplaceFile(folder / "new.png", Picture);
  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousSignal);

  ASSERT_TRUE(onEarlier);
  EXPECT_NE(onEarlier->message.find("cannot write '"), std::string::npos) << onEarlier->message;
  EXPECT_NE(onEarlier->message.find(std::strerror(EFBIG)), std::string::npos) << onEarlier->message;
  ASSERT_TRUE(onNew);
  EXPECT_EQ(Contents(folder / "kept.png"), Earlier);
  EXPECT_EQ(folder.Names(), std::set<std::string>{"kept.png"});
}

TEST(ReplaceFileTest, ControlBytesInTheNameAreEscapedInTheMessage) {
  const std::optional<FileWriteFailure> failure = ReplaceFile("/nonexistent\x1b[2J/x.png", Picture);
  ASSERT_TRUE(failure);
  EXPECT_NE(failure->message.find("'/nonexistent\\x1b[2J/x.png'"), std::string::npos)
      << failure->message;
}

}  // namespace
