#pragma once
// Lines read from a stream with bounded memory: a line longer than the limit
// is reported as too long and skipped, a read error is reported as such and
// never taken for the end of the input.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

/// The longest line the tool reads, without its line end: far above any
/// level code (at most 37 characters) with a title.
inline constexpr std::size_t LineLimit = 4096;

/// What one read call did: bytes read (0 at the end of the input), or an
/// error number (errno).
struct ReadOutcome {
  std::size_t count = 0;
  int error = 0;
};

/// Reads up to size bytes into buffer, as read(2) does.
using ReadBytes = std::function<ReadOutcome(char* buffer, std::size_t size)>;

/// read(2) on the descriptor, retried when interrupted or when the descriptor
/// is non-blocking and not ready.
ReadBytes DescriptorReader(int fd);

struct InputLine {
  enum class Kind {
    Text,       // text is the whole line
    TooLong,    // longer than the limit; text is its first limit bytes
    End,        // no more lines
    ReadError,  // error holds the error number; no more lines
  };
  Kind kind = Kind::End;
  std::string_view text;   // valid until the next call
  std::size_t number = 0;  // of Text and TooLong lines, 1 for the first
  int error = 0;
};

class LineReader {
 public:
  explicit LineReader(ReadBytes read, std::size_t limit = LineLimit);

  /// Called before every read, e.g. to flush the answers so far to a terminal.
  void BeforeEachRead(std::function<void()> hook) { m_beforeRead = std::move(hook); }

  /// The next line without its line end (LF, or CR LF; a last line may lack
  /// it). Holds at most limit + 1 bytes of a line, however long it is.
  InputLine Next();

 private:
  bool Fill();
  void Take(const char* bytes, std::size_t size);
  InputLine Finish();

  ReadBytes m_read;
  std::function<void()> m_beforeRead;
  std::size_t m_limit;
  std::vector<char> m_chunk;
  std::size_t m_begin = 0;
  std::size_t m_end = 0;
  std::string m_line;
  bool m_tooLong = false;
  bool m_atEnd = false;
  int m_error = 0;
  std::size_t m_number = 0;
};
