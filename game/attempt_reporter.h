#pragma once
// The game's play records: with the player's consent, asked once, each
// attempt at a level is sent to the sharing site when it is solved or given
// up (another level opened, the game closed). The window tells this of every
// action it carried out; this keeps the attempt (play/attempt_record.h),
// the player's answer and anonymous session in the game's settings, and the
// sending in the background (game/record_sender.h).
//
// Only levels the site can know are sent: not the levels the game makes
// itself (N, endless play), which no one has published. A game the editor
// started (its Test or Test Set) sends nothing at all and asks nothing: it
// plays a designer's unfinished work, which is not to leave the machine.

#include <QElapsedTimer>
#include <QObject>
#include <optional>
#include <string>

#include "play/attempt_record.h"
#include "play/game_keys.h"
#include "play/game_state.h"

class CRecordSender;
class QAction;
class QWidget;

/// The game's settings: the player's answer (absent until asked) and the
/// session's 32 lowercase hexadecimal digits (made once, then kept).
inline constexpr const char* RecordsConsentKey = "playRecords/consent";
inline constexpr const char* RecordsSessionKey = "playRecords/session";

/// The player's answer; nullopt while never asked.
std::optional<bool> RecordsConsent();
/// The session kept in the settings, made of 128 random bits the first time.
QString RecordsSession();

class CAttemptReporter : public QObject {
  Q_OBJECT
 public:
  /// Adds the consent's check item to the window's menu (the right mouse
  /// button) and follows the window's closing. editorGame: the editor
  /// started the game on its level or set under test.
  CAttemptReporter(QWidget* window, bool editorGame);
  ~CAttemptReporter() override;

  /// Asks the player once whether records may be sent; false when the answer
  /// was there already, or in the editor's game, which sends none.
  bool AskOnFirstUse();
  /// The window carried out action, which changed the game from before to after.
  void Acted(const GameState& before, GameAction action, const GameState& after);

  QAction* consentAction() const { return m_consent; }
  CRecordSender& sender() const { return *m_sender; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  double Now() const { return static_cast<double>(m_clock.elapsed()) / 1000.0; }
  /// A new level stands at its start: the last attempt is given up.
  void LevelChanged(const GameState& game, bool madeHere);
  /// Records the play action of the attempt; true when it solved the level.
  void Follow(const GameState& before, GameAction action, const GameState& after);
  /// The attempt ends, solved or given up; sent when the player agreed.
  void Finish(bool solved);
  void SetConsent(bool on);

  QWidget* m_window;
  QAction* m_consent;
  CRecordSender* m_sender;
  AttemptRecorder m_recorder;
  QElapsedTimer m_clock;
  std::string m_levelCode;  // the position the window showed after the last action
  bool m_madeHere = false;  // the level played is one the game made
  const bool m_editorGame;  // the editor started the game: nothing is sent
};
