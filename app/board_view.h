#pragma once
// The board view: the window that shows the board image, forwards the pointer
// to the editing and handles the board's commands. It holds the program's one
// level, the editing state, the renderer and the random source.

#include <QFrame>
#include <string>

#include "app/game_launcher.h"
#include "logic/level.h"
#include "logic/maze.h"
#include "view/board_renderer.h"
#include "view/editing_state.h"

class CBoardView : public QFrame {
  Q_OBJECT
 public:
  /// Builds a random 5 x 5 level before any window exists.
  explicit CBoardView(QWidget* parent = nullptr, RandomSource random = ClockSeededRandomSource());
  ~CBoardView() override;

  /// Runs the command if it is one of the view's; returns whether it was.
  bool OnCommand(int id);

  const Level& level() const { return m_level; }
  Level& level() { return m_level; }
  const EditingState& editing() const { return m_editing; }

  /// Replaces the way the game is started (tests catch the parameter text).
  void SetGameLauncher(GameLauncher launcher) { m_launchGame = std::move(launcher); }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

  // The board's commands.
  void OnGame3x3() { OnBoardSize(3); }
  void OnGame5x5() { OnBoardSize(5); }
  void OnGame7x7() { OnBoardSize(7); }
  void OnEditClearMaze();
  void OnEditRandom();
  void OnGameTest();
  void OnEditYFlip();
  void OnEditXFlip();
  void OnEditRotate();
  void OnSolutionStep();
  void OnEditCopyCode();
  void OnEditGetHtml();
  void OnHelpHomepage();
  void OnMakerSite();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  /// The event's position in the pixels of the board image.
  QPoint BoardPoint(const QMouseEvent* event) const;
  void OnBoardClick(QMouseEvent* event);
  void OnBoardSize(int size);
  /// Ends a carry, repainting when one was under way.
  void EndCarry();
  /// Replaces the level from an edited code; a rejected code leaves it unchanged.
  void ReadEditedCode(const std::string& code);
  /// Keeps the hover state on the board after a level build or read.
  void ForgetHoverIfResized(int previousSize);

  Level m_level;
  EditingState m_editing;
  BoardRenderer m_renderer;
  RandomSource m_random;
  GameLauncher m_launchGame = LaunchDetachedGame;
};
