#include "cli/io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

#include "cli/io/escaped_text.h"

namespace {

FileWriteFailure Failure(const std::string& path, int error) {
  return {"cannot write " + QuoteFileName(path) + ": " + std::strerror(error)};
}

/// The file a path names after following symbolic links; the path itself
/// when it names nothing yet.
std::optional<std::string> ResolvedTarget(const std::string& path, int& error) {
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0) {
    if (errno == ENOENT) return path;
    error = errno;
    return std::nullopt;
  }
  if (!S_ISLNK(link.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) {
    error = errno;  // a link to nothing, or a loop
    return std::nullopt;
  }
  return std::string(resolved);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// An open, new, empty file beside the target; its name goes to tempPath.
int CreateTemporaryBeside(const std::string& target, mode_t mode, std::string& tempPath) {
  // Names are tried until one is new, so the draws need not be unpredictable.
  std::mt19937 draw(static_cast<std::uint32_t>(
      ::getpid() ^ std::chrono::steady_clock::now().time_since_epoch().count()));
  // Cut a long name so that the temporary one stays within the name limit.
  const std::string stem = FolderOf(target) + "/." + NameOf(target).substr(0, 200) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = stem + std::to_string(draw() % 1000000000u) + ".tmp";
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

/// 0, or the error number of the first write that failed.
int WriteAll(int fd, std::string_view contents) {
  const char* bytes = contents.data();
  std::size_t left = contents.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, bytes, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return EIO;
    bytes += written;
    left -= static_cast<std::size_t>(written);
  }
  return 0;
}

/// Writes, flushes to the disk and closes the new file; 0 or an error number.
int FillAndClose(int fd, std::string_view contents, bool keepMode, mode_t mode) {
  int error = WriteAll(fd, contents);
  // The permission bits of the file it replaces; open() has applied the umask.
  if (error == 0 && keepMode && ::fchmod(fd, mode) != 0) error = errno;
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

/// The rename is on the disk only once the folder is: best effort, since the
/// new file is complete either way.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

/// The file that a path leads to, as ReplaceFile writes it.
struct Target {
  std::string path;  // after following symbolic links
  bool exists = false;
  bool special = false;  // a device, a FIFO or a pipe: written in place
  mode_t mode = 0666;    // an existing file's permission bits
  std::optional<FileWriteFailure> refusal;
};

Target LookAt(const std::string& path) {
  Target target;
  if (IsWrittenInPlace(path)) {
    target.path = path;
    target.exists = true;
    target.special = true;
    return target;
  }
  int error = 0;
  const std::optional<std::string> resolved = ResolvedTarget(path, error);
  if (!resolved) {
    target.refusal = Failure(path, error);
    return target;
  }
  target.path = *resolved;
  struct stat existing {};
  target.exists = ::stat(target.path.c_str(), &existing) == 0;
  if (!target.exists && errno != ENOENT) {
    target.refusal = Failure(path, errno);
  } else if (target.exists && !S_ISREG(existing.st_mode)) {
    target.refusal =
        FileWriteFailure{QuoteFileName(path) + " is not a regular file; it is left alone"};
  } else if (target.exists) {
    target.mode = existing.st_mode & 07777;
  }
  return target;
}

/// Writes into a device, FIFO or pipe as it is: there is no file to replace
/// and nothing to keep, and a rename would put a file in the device's place.
std::optional<FileWriteFailure> WriteInPlace(const std::string& path, std::string_view contents) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return Failure(path, errno);
  int error = WriteAll(fd, contents);
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) return Failure(path, error);
  return std::nullopt;
}

}  // namespace

bool IsWrittenInPlace(const std::string& path) {
  // What the path leads to, links followed the kernel's way: /dev/stdout
  // leads to a pipe that no path names.
  struct stat led {};
  return ::stat(path.c_str(), &led) == 0 &&
         (S_ISCHR(led.st_mode) || S_ISBLK(led.st_mode) || S_ISFIFO(led.st_mode));
}

std::optional<FileWriteFailure> CheckReplaceable(const std::string& path) {
  const Target target = LookAt(path);
  if (target.refusal) return target.refusal;
  if (target.special) return std::nullopt;
  const std::string folder = FolderOf(target.path);
  struct stat status {};
  if (::stat(folder.c_str(), &status) != 0) return Failure(path, errno);
  if (!S_ISDIR(status.st_mode)) return Failure(path, ENOTDIR);
  if (::access(folder.c_str(), W_OK) != 0) return Failure(path, errno);
  return std::nullopt;
}

std::optional<FileWriteFailure> ReplaceFile(const std::string& path, std::string_view contents) {
  const Target target = LookAt(path);
  if (target.refusal) return target.refusal;
  if (target.special) return WriteInPlace(path, contents);
  std::string tempPath;
  const int fd = CreateTemporaryBeside(target.path, target.mode, tempPath);
  if (fd < 0) return Failure(path, errno);
  int error = FillAndClose(fd, contents, target.exists, target.mode);
  if (error == 0 && ::rename(tempPath.c_str(), target.path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(tempPath.c_str());
    return Failure(path, error);
  }
  SyncFolder(FolderOf(target.path));
  return std::nullopt;
}
