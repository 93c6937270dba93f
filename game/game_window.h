#pragma once
// The game's one window: the board as the editor draws it, sharp at the
// screen's pixel density and with the colours' shapes, the game's status
// below it, and the keys that play.

#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "game/endless_dialog.h"
#include "logic/level_grade.h"
#include "play/board_reading.h"
#include "play/campaign.h"
#include "play/game_keys.h"
#include "play/game_start.h"
#include "play/game_state.h"
#include "view/board_renderer.h"

class CAttemptReporter;
class QFileSystemWatcher;
class QLabel;

/// Window titles: a game started by the editor's Test command says so; a set
/// played adds its title to GameTitle. The window shows them translated
/// (context "Game").
inline constexpr const char* GameTitle = "Korvalo";
inline constexpr const char* EditorTestTitle =
    QT_TRANSLATE_NOOP("Game", "Korvalo - test of the editor's level");

/// The settings key of the colours' shapes on the pieces (on at first).
inline constexpr const char* PieceSymbolsKey = "display/pieceSymbols";

class CGameWindow : public QWidget {
 public:
  /// random makes the levels of the New key; grading grades endless play's
  /// levels. A start with a set plays the set: Page Up and Page Down go
  /// through its levels, Enter goes on from a solved level, and N makes no
  /// random level.
  CGameWindow(GameStart start, RandomSource random, GradeParameters grading = {},
              QWidget* parent = nullptr);

  /// Plays the campaign from its chapter `chapter`, whose levels the start's
  /// set holds: L opens the level picker on every chapter, and Enter goes on
  /// into the next chapter from the last level of one. A set played without
  /// a campaign is a campaign of one chapter to the picker.
  // the window plays a set; chapter is one of the campaign's
  void UseCampaign(Campaign campaign, int chapter);

  /// The level-set files the game ships, which Open Set offers.
  void SetInstalledSets(QStringList paths) { m_installedSets = std::move(paths); }
  /// Offers the new version of the set file at path whenever it changes.
  void FollowSetFile(const QString& path) { WatchSetFile(path); }

  /// Opens the level picker on the level played and plays the level chosen.
  void ShowPicker();

  const GameState& game() const { return m_game; }
  /// The set played; null when the game plays a single level.
  const SetPlay* set() const { return m_set ? &*m_set : nullptr; }
  /// Whether the pieces show their colours' shapes; the C key switches, and
  /// the settings remember it.
  bool pieceSymbols() const { return m_pieceSymbols; }
  /// The play records sent to the site with the player's consent.
  CAttemptReporter* attempts() const { return m_attempts; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  /// Draws the board anew for the screen the window moves to.
  bool event(QEvent* event) override;

 private:
  /// Carries out the key's action; false when the key means nothing here.
  bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
  /// Carries out the action of the game's table of keys; false when it means
  /// nothing here.
  bool Act(GameAction action);
  /// The actions that only a set has.
  bool ActInSet(GameAction action);
  void GoToSetLevel(int index);
  /// Plays the campaign's level at place, opening its chapter when another.
  void GoToPlace(CampaignPlace place);
  /// Enter on a solved last level of a chapter: the next chapter's first level
  /// not solved; false when there is no next chapter.
  bool GoToNextChapter();
  /// Watches the set file played (one that is not the campaign's), so that a
  /// designer's new version of it is offered.
  void WatchSetFile(const QString& path);
  /// The watched file changed: asks whether to play its new version.
  void OfferNewVersion();
  /// Keeps the level played as the one to resume at.
  void RememberPlace();
  void NewRandomLevel();
  /// Asks for the size and grade of endless play, then plays its first level.
  void StartEndless();
  /// Open Set: plays the set chosen (a chapter of the campaign in its place).
  void OpenSet();
  void NewEndlessLevel();
  /// Shows the set's lines, or hides them while no set is played.
  void ShowSetLines(bool shown);
  /// The endless level's code to the clipboard; false when no endless level is played.
  bool CopyCode();
  void SwitchPieceSymbols();
  void ShowBoard();
  void ShowState();
  /// Shows the set's lines; returns the notice with the set's notes on the level.
  QString ShowSetState();
  /// Moves the reading cursor and reads the square it comes to.
  void ReadSquare(Direction direction);
  /// The board and the lines under it as the window's accessible description.
  void ShowToScreenReader(const QStringList& lines);

  GameState m_game;
  std::optional<SetPlay> m_set;
  Campaign m_campaign;                        // the chapters the picker offers; sets only
  std::shared_ptr<ProgressStore> m_progress;  // the sets' progress; null without a set
  std::optional<EndlessChoice> m_endless;     // while endless play goes on
  std::string m_endlessCode;                  // the endless level's code as made
  QStringList m_installedSets;
  QFileSystemWatcher* m_watcher = nullptr;
  QString m_watchedSet;       // the set file whose changes are offered; empty when none
  std::string m_watchedText;  // its text as last played or offered
  bool m_offering = false;    // the question is open
  int m_chapter = 0;          // the chapter m_set plays
  RandomSource m_random;
  GradeParameters m_grading;
  bool m_pieceSymbols;
  BoardRenderer m_renderer;
  QString m_notice;
  BoardSquare m_readingSquare;      // the square the player reads by keys
  QString m_reading;                // what the player read last, until the next other key
  QLabel* m_setLevel = nullptr;     // "Level k of n" and the title; sets only
  QLabel* m_setProgress = nullptr;  // what the player achieved; sets only
  QLabel* m_offer = nullptr;        // where to go on from a solved level; sets only
  QLabel* m_board = nullptr;
  QLabel* m_moves = nullptr;
  QLabel* m_remaining = nullptr;
  QLabel* m_thirdLine = nullptr;  // the hint, or the shortest possible count at the end
  QLabel* m_noticeLabel = nullptr;
  QLabel* m_keys = nullptr;
  CAttemptReporter* m_attempts = nullptr;
};
