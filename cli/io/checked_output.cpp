#include "cli/io/checked_output.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::size_t BufferSize = 64 * 1024;

}  // namespace

WriteBytes DescriptorWriter(int fd) {
  return [fd](const char* bytes, std::size_t size) -> WriteOutcome {
    for (;;) {
      const ssize_t written = ::write(fd, bytes, size);
      if (written >= 0) return {static_cast<std::size_t>(written), 0};
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        pollfd ready{fd, POLLOUT, 0};
        ::poll(&ready, 1, -1);
        continue;
      }
      return {0, errno};
    }
  };
}

CheckedOutput::CheckedOutput(WriteBytes write, Buffering buffering)
    : m_write(std::move(write)), m_buffering(buffering) {
  if (m_buffering == Buffering::Full) m_buffer.reserve(BufferSize);
}

void CheckedOutput::Write(std::string_view text) {
  if (m_flushFirst) m_flushFirst->Flush();
  if (Failed()) return;
  if (m_buffering == Buffering::None || text.size() > BufferSize) {
    Flush();
    WriteAll(text.data(), text.size());
    return;
  }
  if (m_buffer.size() + text.size() > BufferSize) Flush();
  m_buffer.append(text);  // within the reserved capacity
}

bool CheckedOutput::Flush() {
  if (!Failed() && !m_buffer.empty()) WriteAll(m_buffer.data(), m_buffer.size());
  m_buffer.clear();
  return !Failed();
}

void CheckedOutput::WriteAll(const char* bytes, std::size_t size) {
  // A short write is not a failure by itself (a pipe, a signal); the rest is
  // written by the next call, which then reports why it cannot go on.
  while (size > 0 && !Failed()) {
    const WriteOutcome outcome = m_write(bytes, size);
    if (outcome.error != 0) {
      m_error = outcome.error;
    } else if (outcome.written == 0) {
      m_error = EIO;  // no progress and no reason: never loop on it
    } else {
      const std::size_t done = std::min(outcome.written, size);
      bytes += done;
      size -= done;
    }
  }
}
