#pragma once
// One attempt at a level as the sharing site records it: the line of moves
// that stands on the board, the undos, hints and restarts, and the active
// seconds, written as the JSON body of POST /api/attempts. The game's window
// tells it each action and sends the record when the level is solved or left;
// whether to send at all is the player's choice, asked once.

#include <optional>
#include <string>

#include "logic/moves.h"

/// A pause longer than this counts as this many seconds of play.
inline constexpr double MostCountedPause = 30.0;

class AttemptRecorder {
 public:
  /// `session`: the player's 32 lowercase hexadecimal digits; `version`: the game's.
  AttemptRecorder(std::string session, std::string version);

  /// A level opened (its code as written); a new attempt, the last one dropped.
  void Start(const std::string& code, double now);
  /// A tilt; `moved` when a ball moved (only those are in the line).
  void Tilted(Direction direction, bool moved, double now);
  /// An undo that took a move back; one that took back the solving move
  /// starts a new attempt from the position before it.
  void Undone(bool wasSolved, double now);
  void Restarted(double now);
  void Hinted(double now);

  /// The record of the attempt, solved or given up, and a new attempt from
  /// the same position; nullopt when nothing was played since the last.
  std::optional<std::string> Finish(bool solved);

 private:
  void Touch(double now);

  std::string m_session;
  std::string m_version;
  std::string m_code;
  std::string m_line;  // letters N, S, W, E
  int m_undos = 0;
  int m_hints = 0;
  int m_restarts = 0;
  double m_seconds = 0.0;
  std::optional<double> m_last;
  bool m_played = false;
};
