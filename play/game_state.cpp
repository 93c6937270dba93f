#include "play/game_state.h"

#include <cassert>
#include <utility>

namespace {

/// The balls' squares as one number, whatever order their records stand in.
StateIndex PlacementOf(const Level& level, Pieces balls) { return EncodeState(level, balls); }

}  // namespace

GameState::GameState(Level level) { Replace(std::move(level)); }

void GameState::Replace(Level level) {
  assert(LevelIsConsistent(level));
  m_level = std::move(level);
  m_startBalls = m_level.balls;
  m_history.clear();
  Recompute();
  m_shortestFromStart = ShortestRemaining();
}

bool GameState::Tilt(Direction direction) {
  if (IsSolved()) return false;
  const Pieces before = m_level.balls;
  Move(m_level, m_level.balls, direction);
  if (PlacementOf(m_level, m_level.balls) == PlacementOf(m_level, before)) {
    m_level.balls = before;  // nothing moved: keep even the record order
    return false;
  }
  m_history.push_back(before);
  Recompute();
  return true;
}

bool GameState::Undo() {
  if (m_history.empty()) return false;
  m_level.balls = m_history.back();
  m_history.pop_back();
  Recompute();
  return true;
}

void GameState::Restart() {
  m_level.balls = m_startBalls;
  m_history.clear();
  Recompute();
}

std::optional<int> GameState::ShortestRemaining() const {
  if (!m_remaining.exists) return std::nullopt;
  return static_cast<int>(m_remaining.moves.size());
}

std::optional<Direction> GameState::Hint() const {
  if (!m_remaining.exists || m_remaining.moves.empty()) return std::nullopt;
  return m_remaining.moves.front();
}

// Every change of position ends here: the solution from the new position is
// searched afresh, and a hint shown for the old position no longer applies.
void GameState::Recompute() {
  m_remaining = ShortestSolution(m_level);
  m_level.solvable = m_remaining.exists ? 1 : 0;
  m_hintShown = false;
}

std::vector<GameText> StatusTexts(const GameState& game) {
  std::vector<GameText> texts{{GameTextId::Moves, {game.MoveCount()}}};
  if (game.IsSolved()) {
    texts.push_back({GameTextId::SolvedIn, {game.MoveCount()}});
    texts.push_back({GameTextId::ShortestPossible, {game.ShortestFromStart().value_or(0)}});
    return texts;
  }
  if (const std::optional<int> remaining = game.ShortestRemaining())
    texts.push_back({GameTextId::ShortestFromHere, {*remaining}});
  else
    texts.push_back({GameTextId::NoSolutionFromHere});
  if (game.HintShown()) {
    if (const std::optional<Direction> hint = game.Hint())
      texts.push_back({GameTextId::Hint, {static_cast<int>(*hint)}});
    else
      texts.push_back({GameTextId::NoHint});
  }
  return texts;
}

std::vector<std::string> StatusLines(const GameState& game) {
  std::vector<std::string> lines;
  for (const GameText& text : StatusTexts(game)) lines.push_back(EnglishText(text));
  return lines;
}
