// korvalo-level: checks, generates and draws Korvalo levels given as level codes.

#include <fcntl.h>
#include <termios.h>
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

/// The key that ends what is typed at the terminal on standard input, as
/// the terminal is set ("Ctrl+D" unless changed with stty eof); empty when
/// standard input is no terminal.
std::string TypedInputEnd() {
  termios settings{};
  if (::tcgetattr(STDIN_FILENO, &settings) != 0) return {};
  const unsigned char key = settings.c_cc[VEOF];
  if (key >= 1 && key <= 26) return std::string("Ctrl+") + static_cast<char>('A' + key - 1);
  return "the terminal's end-of-file key";
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
    CommandStreams streams{DescriptorReader(STDIN_FILENO), out, err, ::isatty(STDERR_FILENO) == 1,
                           TypedInputEnd()};
    return RunTool(std::vector<std::string>(argv + 1, argv + argc), streams);
  } catch (const std::bad_alloc&) {
    // Before the streams exist (RunTool reports it once they do).
    constexpr char message[] = "korvalo-level: out of memory\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
    return StreamFailure;
  }
}
