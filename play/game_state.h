#pragma once
// One game of Korvalo: the level being played, the way back to its start, and
// what the player is told about it. No window: the game window only forwards
// keys to this and shows the result.

#include <optional>
#include <string>
#include <vector>

#include "logic/level.h"
#include "logic/moves.h"
#include "logic/solver.h"
#include "play/game_text.h"

class GameState {
 public:
  /// Starts a game on level, with the balls where the level holds them.
  // level keeps every invariant of LevelIsConsistent.
  explicit GameState(Level level);

  /// Tilts the board; true when a ball moved. A tilt that moves nothing, or any
  /// tilt once the level is solved, changes nothing and is not counted.
  bool Tilt(Direction direction);

  /// Takes back the last counted tilt; false at the start.
  bool Undo();

  /// Puts the balls back where the game started.
  void Restart();

  /// Starts over on another level, as the constructor does.
  void Replace(Level level);

  /// Asks for the hint to be shown until the next change of position.
  void ShowHint() { m_hintShown = true; }
  bool HintShown() const { return m_hintShown; }

  const Level& level() const { return m_level; }
  int MoveCount() const { return static_cast<int>(m_history.size()); }
  bool IsSolved() const { return m_remaining.exists && m_remaining.moves.empty(); }
  /// True when the holes can still be reached from the current position.
  bool HasSolution() const { return m_remaining.exists; }
  /// Moves of a shortest solution from the current position; nullopt when none.
  std::optional<int> ShortestRemaining() const;
  /// Moves of a shortest solution from the start; nullopt when the level has none.
  std::optional<int> ShortestFromStart() const { return m_shortestFromStart; }
  /// The first move of the shortest solution from here; nullopt when solved or stuck.
  std::optional<Direction> Hint() const;

 private:
  void Recompute();

  Level m_level;
  Pieces m_startBalls{};
  std::vector<Pieces> m_history;  // the balls before each counted tilt, oldest first
  Solution m_remaining;           // from the current position
  std::optional<int> m_shortestFromStart;
  bool m_hintShown = false;
};

/// The lines the window shows below the board: the moves, then the shortest
/// solution from here and the hint when asked for, or at the end the solved
/// line and the shortest possible count.
std::vector<GameText> StatusTexts(const GameState& game);
/// The same lines in English.
std::vector<std::string> StatusLines(const GameState& game);
