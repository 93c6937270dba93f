#pragma once
// The game's one window: the board as the editor draws it, the game's status
// below it, and the keys that play.

#include <QWidget>

#include "game/game_start.h"
#include "game/game_state.h"
#include "view/board_renderer.h"

class QLabel;

/// Window titles: a game started by the editor's Test command says so.
inline constexpr const char* GameTitle = "Korvalo";
inline constexpr const char* EditorTestTitle = "Korvalo - test of the editor's level";

class CGameWindow : public QWidget {
 public:
  /// random makes the levels of the New key.
  CGameWindow(GameStart start, RandomSource random, QWidget* parent = nullptr);

  const GameState& game() const { return m_game; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  /// Carries out the key's action; false when the key means nothing here.
  bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
  void NewRandomLevel();
  void ShowState();

  GameState m_game;
  RandomSource m_random;
  BoardRenderer m_renderer;
  QString m_notice;
  QLabel* m_board = nullptr;
  QLabel* m_moves = nullptr;
  QLabel* m_remaining = nullptr;
  QLabel* m_thirdLine = nullptr;  // the hint, or the shortest possible count at the end
  QLabel* m_noticeLabel = nullptr;
};
