#include "game/attempt_reporter.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QWidget>

#include "game/record_sender.h"
#include "korvalo_constants.h"
#include "logic/level_code.h"
#include "view/site_address.h"

namespace {

/// Milliseconds the game's end may wait for records still on their way.
constexpr int DrainAtEnd = 2000;

bool IsSession(const QString& text) {
  static const QRegularExpression form(QStringLiteral("^[0-9a-f]{32}$"));
  return form.match(text).hasMatch();
}

QString NewSession() {
  QString session;
  for (int i = 0; i < 4; ++i)
    session +=
        QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
  return session;
}

std::optional<Direction> TiltOf(GameAction action) {
  switch (action) {
    case GameAction::TiltNorth: return Direction::North;
    case GameAction::TiltSouth: return Direction::South;
    case GameAction::TiltWest: return Direction::West;
    case GameAction::TiltEast: return Direction::East;
    default: return std::nullopt;
  }
}

/// The actions that may put another level on the board.
bool MayChangeLevel(GameAction action) {
  switch (action) {
    case GameAction::NewLevel:
    case GameAction::Endless:
    case GameAction::PreviousLevel:
    case GameAction::NextLevel:
    case GameAction::GoOn:
    case GameAction::Levels:
    case GameAction::OpenSet: return true;
    default: return false;
  }
}

}  // namespace

std::optional<bool> RecordsConsent() {
  const QVariant answer = QSettings().value(RecordsConsentKey);
  if (!answer.isValid()) return std::nullopt;
  return answer.toBool();
}

QString RecordsSession() {
  QSettings settings;
  QString session = settings.value(RecordsSessionKey).toString();
  if (!IsSession(session)) {
    session = NewSession();
    settings.setValue(RecordsSessionKey, session);
  }
  return session;
}

CAttemptReporter::CAttemptReporter(QWidget* window, bool editorGame)
    : QObject(window),
      m_window(window),
      m_consent(new QAction(
          QCoreApplication::translate("PlayRecords", "&Send Play Records to the Site"), window)),
      m_sender(new CRecordSender(SiteAddress(), this)),
      m_recorder(RecordsSession().toStdString(), KorvaloVersion),
      m_editorGame(editorGame) {
  m_clock.start();
  m_consent->setObjectName(QStringLiteral("playRecords"));
  m_consent->setCheckable(true);
  m_consent->setChecked(RecordsConsent().value_or(false));
  connect(m_consent, &QAction::toggled, this, &CAttemptReporter::SetConsent);
  window->addAction(m_consent);
  window->setContextMenuPolicy(Qt::ActionsContextMenu);
  window->installEventFilter(this);
}

CAttemptReporter::~CAttemptReporter() = default;

bool CAttemptReporter::AskOnFirstUse() {
  if (m_editorGame || RecordsConsent()) return false;
  const auto answer = QMessageBox::question(
      m_window, QCoreApplication::translate("PlayRecords", "Play Records"),
      QCoreApplication::translate(
          "PlayRecords",
          "May Korvalo send a record of each attempt at a level to the sharing "
          "site %1?\n\n"
          "A record holds the level, an anonymous session number made on this "
          "computer, whether you solved the level or gave up, your moves, the "
          "numbers of undos, hints and restarts, the seconds played and the "
          "game's version. Nothing else is sent.\n\n"
          "The records tell designers how people fare on their levels. You can "
          "change your answer at any time: Send Play Records to the Site, in the "
          "menu of the right mouse button.")
          .arg(SiteAddress()),
      QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  SetConsent(answer == QMessageBox::Yes);
  return true;
}

void CAttemptReporter::SetConsent(bool on) {
  QSettings().setValue(RecordsConsentKey, on);
  if (m_consent->isChecked() != on) m_consent->setChecked(on);
}

void CAttemptReporter::Acted(const GameState& before, GameAction action, const GameState& after) {
  // A level put on the board outside the keys (the picker at the start, a
  // set file's new version) is seen at the next action.
  if (WriteLevelCode(before.level()) != m_levelCode) LevelChanged(before, m_madeHere);
  const bool anotherLevel =
      MayChangeLevel(action) &&
      (after.MoveCount() != before.MoveCount() || WriteLevelCode(after.level()) != m_levelCode);
  if (anotherLevel) {
    const bool madeHere = action == GameAction::NewLevel || action == GameAction::Endless;
    LevelChanged(after, madeHere);
  } else {
    Follow(before, action, after);
  }
  m_levelCode = WriteLevelCode(after.level());
}

void CAttemptReporter::LevelChanged(const GameState& game, bool madeHere) {
  Finish(false);
  m_madeHere = madeHere;
  // The game stands at the level's start, so its position is the level's code.
  m_recorder.Start(WriteLevelCode(game.level()), Now());
}

void CAttemptReporter::Follow(const GameState& before, GameAction action, const GameState& after) {
  const double now = Now();
  if (const std::optional<Direction> tilt = TiltOf(action)) {
    m_recorder.Tilted(*tilt, after.MoveCount() > before.MoveCount(), now);
    if (!before.IsSolved() && after.IsSolved()) Finish(true);
  } else if (action == GameAction::Undo && after.MoveCount() < before.MoveCount()) {
    m_recorder.Undone(before.IsSolved(), now);
  } else if (action == GameAction::Restart) {
    m_recorder.Restarted(now);
  } else if (action == GameAction::Hint) {
    m_recorder.Hinted(now);
  }
}

void CAttemptReporter::Finish(bool solved) {
  const std::optional<std::string> record = m_recorder.Finish(solved);
  if (!record || m_editorGame || m_madeHere || !m_consent->isChecked()) return;
  m_sender->Send(QByteArray::fromStdString(*record));
}

bool CAttemptReporter::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_window && event->type() == QEvent::Close) {
    Finish(false);
    m_sender->Drain(DrainAtEnd);
  }
  return QObject::eventFilter(watched, event);
}
