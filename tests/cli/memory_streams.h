#pragma once
// Standard streams held in memory for running a command in-process: input
// from a string, output and error collected in strings. Either output can be
// made to fail after a number of bytes, and the input after its text.

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "cli/commands.h"

class MemoryStreams {
 public:
  explicit MemoryStreams(std::string input = {}, int inputError = 0)
      : m_input(std::move(input)), m_inputError(inputError) {
    m_errStream.FlushFirst(&m_outStream);  // as the tool's own streams
  }

  /// Output accepts this many more bytes, then every write fails with error.
  void FailOutputAfter(std::size_t bytes, int error) {
    m_outRoom = bytes;
    m_outError = error;
  }

  /// Standard error as a terminal, for the progress of long searches.
  void ErrIsTerminal() { m_streams.errIsTerminal = true; }
  /// Called after each write that reaches standard output.
  void OnOutput(std::function<void()> hook) { m_onOutput = std::move(hook); }
  /// Called after each write to standard error.
  void OnError(std::function<void()> hook) { m_onError = std::move(hook); }

  CommandStreams& streams() { return m_streams; }
  const std::string& out() const { return m_out; }
  const std::string& err() const { return m_err; }
  /// Output as far as it was flushed: what the user would see.
  std::string FlushedOut() {
    m_outStream.Flush();
    return m_out;
  }

 private:
  ReadOutcome Read(char* buffer, std::size_t size) {
    const std::size_t count = std::min(size, m_input.size() - m_offset);
    if (count == 0 && m_inputError != 0) return {0, m_inputError};
    std::memcpy(buffer, m_input.data() + m_offset, count);
    m_offset += count;
    return {count, 0};
  }

  WriteOutcome WriteOut(const char* bytes, std::size_t size) {
    if (m_outRoom == 0) return {0, m_outError};
    const std::size_t count = std::min(size, m_outRoom);
    m_out.append(bytes, count);
    m_outRoom -= count;
    if (m_onOutput) m_onOutput();
    return {count, 0};
  }

  std::string m_input;
  int m_inputError;
  std::size_t m_offset = 0;
  std::string m_out;
  std::string m_err;
  std::size_t m_outRoom = std::string::npos;
  int m_outError = 0;
  std::function<void()> m_onOutput;
  std::function<void()> m_onError;
  CheckedOutput m_outStream{[this](const char* b, std::size_t n) { return WriteOut(b, n); },
                            CheckedOutput::Buffering::Full};
  CheckedOutput m_errStream{[this](const char* b, std::size_t n) {
                              m_err.append(b, n);
                              if (m_onError) m_onError();
                              return WriteOutcome{n, 0};
                            },
                            CheckedOutput::Buffering::None};
  CommandStreams m_streams{
      [this](char* b, std::size_t n) { return Read(b, n); }, m_outStream, m_errStream, false, {}};
};

/// A command of the tool, as the tests run it in-process.
using Command = int (*)(const std::vector<std::string>&, CommandStreams&);

/// What a command gave: its exit status, its output as far as it was flushed,
/// and its standard error.
struct Outcome {
  int status;
  std::string out;
  std::string err;
};

/// Runs the command on streams in memory, with the input given (and the read
/// error after it, when not 0).
inline Outcome Invoke(Command command, const std::vector<std::string>& args,
                      const std::string& input = {}, int inputError = 0) {
  MemoryStreams io(input, inputError);
  const int status = command(args, io.streams());
  return {status, io.FlushedOut(), io.err()};
}
