#include "app/set_tester.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "editing/set_for_game.h"

CSetTester::CSetTester(DesignerSession& session, const QString& folder, QObject* parent)
    : QObject(parent),
      m_session(session),
      m_path(QDir(folder).filePath(
          QStringLiteral("korvalo-test-set-%1.txt").arg(QCoreApplication::applicationPid()))) {
  m_session.AddListener([this](SessionChange change) {
    if (change == SessionChange::Work) FollowSet();
  });
}

CSetTester::~CSetTester() {
  if (m_inUse) QFile::remove(m_path);
}

// The runtime folder is the user's alone and is emptied when the user logs
// out; Qt would make a stand-in for it in /tmp when the system names none.
QString CSetTester::DefaultFolder() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
      .filePath(QStringLiteral("test-sets"));
}

bool CSetTester::Test() {
  const std::optional<SetForGame> game = SetForGameOf(m_session);
  if (!game) {
    emit transientMessage(tr("The set holds no level to play."));
    return false;
  }
  QString path = QString::fromStdString(m_session.set().path());
  if (!game->inOwnFile) {
    if (!Write(game->text)) {
      emit transientMessage(tr("The set could not be written for the game to %1.")
                                .arg(QDir::toNativeSeparators(m_path)));
      return false;
    }
    m_inUse = true;
    path = m_path;
  }
  m_launchGame(SetGameArguments(path, game->level));
  return true;
}

// QSaveFile renames the finished file into place, so a game never reads half a set.
bool CSetTester::Write(const std::string& text) {
  if (m_inUse && text == m_written) return true;
  QDir().mkpath(QFileInfo(m_path).absolutePath());
  QSaveFile file(m_path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(text.data(), static_cast<qint64>(text.size()));
  if (!file.commit()) return false;
  m_written = text;
  return true;
}

// A set emptied meanwhile leaves the file as it was: the game has nothing else to play.
void CSetTester::FollowSet() {
  if (!m_inUse || m_session.set().size() == 0) return;
  Write(m_session.set().Text());
}
