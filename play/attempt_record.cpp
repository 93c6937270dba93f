#include "play/attempt_record.h"

#include <algorithm>
#include <cmath>

AttemptRecorder::AttemptRecorder(std::string session, std::string version)
    : m_session(std::move(session)), m_version(std::move(version)) {}

void AttemptRecorder::Start(const std::string& code, double now) {
  m_code = code;
  m_line.clear();
  m_undos = m_hints = m_restarts = 0;
  m_seconds = 0.0;
  m_last = now;
  m_played = false;
}

void AttemptRecorder::Touch(double now) {
  if (m_last) m_seconds += std::clamp(now - *m_last, 0.0, MostCountedPause);
  m_last = now;
}

void AttemptRecorder::Tilted(Direction direction, bool moved, double now) {
  Touch(now);
  if (!moved) return;
  m_line += DirectionLetter(direction);
  m_played = true;
}

void AttemptRecorder::Undone(bool wasSolved, double now) {
  Touch(now);
  if (!m_line.empty()) m_line.pop_back();
  if (!wasSolved) ++m_undos;
}

void AttemptRecorder::Restarted(double now) {
  Touch(now);
  if (!m_line.empty()) ++m_restarts;
  m_line.clear();
}

void AttemptRecorder::Hinted(double now) {
  Touch(now);
  ++m_hints;
}

std::optional<std::string> AttemptRecorder::Finish(bool solved) {
  if (!m_played || m_code.empty()) return std::nullopt;
  const std::string record = "{\"level\":\"" + m_code + "\",\"session\":\"" + m_session +
                             "\",\"solved\":" + (solved ? "true" : "false") + ",\"moves\":\"" +
                             m_line + "\",\"undos\":" + std::to_string(m_undos) +
                             ",\"hints\":" + std::to_string(m_hints) +
                             ",\"restarts\":" + std::to_string(m_restarts) +
                             ",\"seconds\":" + std::to_string(std::lround(m_seconds)) +
                             ",\"version\":\"" + m_version + "\"}";
  // The next attempt starts from the position on the board.
  m_undos = m_hints = m_restarts = 0;
  m_seconds = 0.0;
  m_played = false;
  return record;
}
