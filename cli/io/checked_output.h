#pragma once
// An output stream whose every failure is seen: a failed or short write is
// remembered with its error number, and nothing is written after it.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

/// What one write call did: bytes written, or an error number (errno) when
/// none could be.
struct WriteOutcome {
  std::size_t written = 0;
  int error = 0;
};

/// Writes some leading part of the bytes, as write(2) does.
using WriteBytes = std::function<WriteOutcome(const char* bytes, std::size_t size)>;

/// write(2) on the descriptor, retried when interrupted or when the
/// descriptor is non-blocking and not ready.
WriteBytes DescriptorWriter(int fd);

class CheckedOutput {
 public:
  enum class Buffering { Full, None };

  CheckedOutput(WriteBytes write, Buffering buffering);
  CheckedOutput(const CheckedOutput&) = delete;
  CheckedOutput& operator=(const CheckedOutput&) = delete;

  /// Buffered (or written at once without buffering); dropped after a failure.
  /// Does not allocate once constructed, so it can report running out of memory.
  void Write(std::string_view text);
  /// Writes everything buffered; false when any write so far failed.
  bool Flush();
  /// Another output flushed before each write of this one, so that messages
  /// on standard error follow the lines already given to standard output.
  void FlushFirst(CheckedOutput* other) { m_flushFirst = other; }

  bool Failed() const { return m_error != 0; }
  /// The error number of the first failure; 0 when none.
  int Error() const { return m_error; }

 private:
  void WriteAll(const char* bytes, std::size_t size);

  WriteBytes m_write;
  Buffering m_buffering;
  std::string m_buffer;
  CheckedOutput* m_flushFirst = nullptr;
  int m_error = 0;
};
