#include "cli/io/line_reader.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::size_t ChunkSize = 64 * 1024;

}  // namespace

ReadBytes DescriptorReader(int fd) {
  return [fd](char* buffer, std::size_t size) -> ReadOutcome {
    for (;;) {
      const ssize_t count = ::read(fd, buffer, size);
      if (count >= 0) return {static_cast<std::size_t>(count), 0};
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        pollfd ready{fd, POLLIN, 0};
        ::poll(&ready, 1, -1);
        continue;
      }
      return {0, errno};
    }
  };
}

LineReader::LineReader(ReadBytes read, std::size_t limit)
    : m_read(std::move(read)), m_limit(limit), m_chunk(ChunkSize) {
  // One byte over the limit: a line of exactly the limit may still end in CR LF.
  m_line.reserve(m_limit + 1);
}

InputLine LineReader::Next() {
  m_line.clear();
  m_tooLong = false;
  bool started = false;  // some byte of this line, or its line end, was seen
  for (;;) {
    if (m_error != 0) return {InputLine::Kind::ReadError, {}, 0, m_error};
    if (m_begin == m_end) {
      if (m_atEnd) break;
      if (!Fill()) continue;  // the error or the end is handled above
    }
    const char* begin = m_chunk.data() + m_begin;
    const char* end = m_chunk.data() + m_end;
    const char* newline = std::find(begin, end, '\n');
    Take(begin, static_cast<std::size_t>(newline - begin));
    started = true;
    if (newline == end) {
      m_begin = m_end;
      continue;
    }
    m_begin += static_cast<std::size_t>(newline - begin) + 1;
    return Finish();
  }
  if (!started) return {InputLine::Kind::End, {}, 0, 0};
  return Finish();
}

bool LineReader::Fill() {
  if (m_beforeRead) m_beforeRead();
  const ReadOutcome outcome = m_read(m_chunk.data(), m_chunk.size());
  m_begin = 0;
  m_end = std::min(outcome.count, m_chunk.size());
  if (outcome.error != 0) m_error = outcome.error;
  if (outcome.error == 0 && outcome.count == 0) m_atEnd = true;
  return m_end > 0;
}

void LineReader::Take(const char* bytes, std::size_t size) {
  if (m_tooLong) return;
  const std::size_t room = m_limit + 1 - m_line.size();
  if (size > room) {
    m_line.append(bytes, room);
    m_tooLong = true;
  } else {
    m_line.append(bytes, size);
  }
}

InputLine LineReader::Finish() {
  ++m_number;
  if (!m_tooLong && !m_line.empty() && m_line.back() == '\r') m_line.pop_back();
  if (m_tooLong || m_line.size() > m_limit) {
    return {InputLine::Kind::TooLong, std::string_view(m_line).substr(0, m_limit), m_number, 0};
  }
  return {InputLine::Kind::Text, m_line, m_number, 0};
}
