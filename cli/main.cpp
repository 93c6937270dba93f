// korvalo-level: checks, generates and draws Korvalo levels given as level codes.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <new>
#include <string>
#include <vector>

#include "cli/tool.h"

namespace {

/// Puts /dev/null, opened the wrong way round, in the place of a closed
/// standard stream: a file the tool opens later cannot take its number and
/// receive what was meant for the stream, and using the stream still fails.
void GuardClosedStandardStreams() {
  const int wrongWay[3] = {O_WRONLY, O_RDONLY, O_RDONLY};
  for (int fd = 0; fd < 3; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int placeholder = ::open("/dev/null", wrongWay[fd]);  // the lowest free number: fd
    if (placeholder > fd) {
      ::dup2(placeholder, fd);
      ::close(placeholder);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  GuardClosedStandardStreams();
  // Past a file size limit a write then fails with EFBIG, which is reported,
  // instead of the signal ending the program half way.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    CheckedOutput out(DescriptorWriter(STDOUT_FILENO), CheckedOutput::Buffering::Full);
    CheckedOutput err(DescriptorWriter(STDERR_FILENO), CheckedOutput::Buffering::None);
    err.FlushFirst(&out);
    CommandStreams streams{DescriptorReader(STDIN_FILENO), out, err, ::isatty(STDERR_FILENO) == 1};
    return RunTool(std::vector<std::string>(argv + 1, argv + argc), streams);
  } catch (const std::bad_alloc&) {
    // Before the streams exist (RunTool reports it once they do).
    constexpr char message[] = "korvalo-level: out of memory\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
    return StreamFailure;
  }
}
