#pragma once
// The board view: the window that shows the board image, turns pointer events
// and commands into edits of the editor's document, and repaints when the
// document says so. The document holds the program's one level.

#include <QFrame>

#include "app/editor_mode.h"
#include "app/game_launcher.h"
#include "editing/editor_document.h"
#include "logic/maze.h"
#include "view/board_renderer.h"

class CBoardView : public QFrame {
  Q_OBJECT
 public:
  /// Builds a random 5 x 5 level before any window exists.
  explicit CBoardView(QWidget* parent = nullptr, RandomSource random = ClockSeededRandomSource(),
                      EditorMode mode = EditorMode::Classic);

  /// Runs the command if the command table gives it to the view in its mode;
  /// returns whether it did.
  bool OnCommand(int id);

  EditorDocument& document() { return m_document; }
  const Level& level() const { return m_document.level(); }
  const EditingState& editing() const { return m_document.editing(); }

  /// Replaces the way the game is started (tests catch the parameter text).
  void SetGameLauncher(GameLauncher launcher) { m_launchGame = std::move(launcher); }

  /// Designer mode: whether each ball and hole also shows its colour's shape
  /// (remembered in the settings; on at first). The classic editor never shows them.
  bool pieceSymbols() const { return m_pieceSymbols; }
  void SetPieceSymbols(bool on);
  /// What the next frame is drawn with: the classic frame, or designer mode's
  /// symbols at the screen's device pixel ratio.
  DrawOptions drawOptions() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

  // The board's commands (board_view_commands.cpp).
  void OnGame3x3();
  void OnGame5x5();
  void OnGame7x7();
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
  // Designer mode's level commands.
  void OnEditUndo();
  void OnEditRedo();
  void OnEditCopy();
  void OnEditPaste();
  void OnViewPieceSymbols();

 signals:
  /// After every change of the level or the editing state, once repainting is asked for.
  void documentChanged();
  /// A short message for the user, such as why a pasted text is no level code.
  void transientMessage(const QString& text);
  /// The colours' shapes were switched on or off.
  void pieceSymbolsChanged(bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  /// The event's position in the pixels of the board image.
  QPoint BoardPoint(const QMouseEvent* event) const;
  void OnBoardClick(QMouseEvent* event);

  EditorMode m_mode;
  EditorDocument m_document;
  BoardRenderer m_renderer;
  bool m_pieceSymbols = false;
  GameLauncher m_launchGame = LaunchDetachedGame;
};
