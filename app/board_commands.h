#pragma once
// The board's commands: what each menu command and key does to the document's
// level and carry, and to the outside world (the clipboard, the browser, the
// game). The main window owns them and the command table points at them; the
// board view only draws the document and turns pointer and keys into its calls.

#include <QObject>
#include <QString>

#include "app/editor_mode.h"
#include "app/game_launcher.h"
#include "editing/editor_document.h"

class QWidget;

class CBoardCommands : public QObject {
  Q_OBJECT
 public:
  /// Acts on the document, which outlives the commands; the Copy dialog opens
  /// over dialogParent.
  CBoardCommands(EditorDocument& document, QWidget& dialogParent, EditorMode mode);

  /// Replaces the way the game is started (tests catch the parameter text).
  void SetGameLauncher(GameLauncher launcher) { m_launchGame = std::move(launcher); }

  /// Designer mode: whether each ball and hole also shows its colour's shape
  /// (remembered in the settings; on at first). The classic editor never shows them.
  bool pieceSymbols() const { return m_pieceSymbols; }
  void SetPieceSymbols(bool on);

  // The commands of both modes.
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
  /// A short message for the user, such as why a pasted text is no level code.
  void transientMessage(const QString& text);
  /// The colours' shapes were switched on or off.
  void pieceSymbolsChanged(bool on);

 private:
  const Level& level() const { return m_document.level(); }

  EditorDocument& m_document;
  QWidget& m_dialogParent;
  EditorMode m_mode;
  bool m_pieceSymbols = false;
  GameLauncher m_launchGame = LaunchDetachedGame;
};
