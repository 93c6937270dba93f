#include "app/recovery_keeper.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <vector>

#include "app/level_set_panel.h"
#include "editing/recovery.h"

namespace {

const QString Suffix = QStringLiteral(".recovery");

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

/// What the question says a recovery holds.
QString Contents(const Recovery& recovery) {
  SetDocument set;
  set.Open(recovery.setText, recovery.setPath);
  QString text =
      CRecoveryKeeper::tr("The level set \"%1\" with %n level(s)", "", static_cast<int>(set.size()))
          .arg(SetDisplayName(set));
  text += recovery.setModified ? CRecoveryKeeper::tr(", with changes that were not saved.")
                               : CRecoveryKeeper::tr(", as it was saved.");
  if (BoardHoldsWork(recovery)) {
    text +=
        QLatin1Char('\n') + (recovery.originSetLevel
                                 ? CRecoveryKeeper::tr("The board's changes to level %1.")
                                       .arg(*recovery.originSetLevel + 1)
                                 : CRecoveryKeeper::tr("The board's level, which is in no set: %1.")
                                       .arg(FromStd(recovery.boardCode)));
  }
  return text;
}

}  // namespace

CRecoveryKeeper::CRecoveryKeeper(DesignerSession& session, const QString& folder, QObject* parent)
    : QObject(parent), m_session(session), m_folder(folder) {
  QDir().mkpath(folder);
  // The process id and the start time: a later run with the same id never
  // takes over a file a crashed run left.
  const QString name = QStringLiteral("%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QDateTime::currentMSecsSinceEpoch());
  m_path = QDir(folder).filePath(name + Suffix);
  m_lock = std::make_unique<QLockFile>(LockPathOf(m_path));
  m_lock->tryLock(0);
  m_timer.setSingleShot(true);
  m_timer.setInterval(WriteDelay);
  connect(&m_timer, &QTimer::timeout, this, &CRecoveryKeeper::WriteNow);
  m_session.AddListener([this](SessionChange change) {
    if (change == SessionChange::Work && !m_finished && !m_timer.isActive()) m_timer.start();
  });
}

CRecoveryKeeper::~CRecoveryKeeper() { Finish(); }

void CRecoveryKeeper::Finish() {
  m_timer.stop();
  m_finished = true;
  QFile::remove(m_path);
  m_lock->unlock();
}

QString CRecoveryKeeper::DefaultFolder() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
      .filePath(QStringLiteral("recovery"));
}

QString CRecoveryKeeper::LockPathOf(const QString& recoveryPath) {
  return recoveryPath.chopped(Suffix.size()) + QStringLiteral(".lock");
}

// QSaveFile renames the finished file into place: a crash mid-write leaves
// the last whole recovery.
void CRecoveryKeeper::WriteNow() {
  m_timer.stop();
  if (m_finished) return;
  if (!m_session.HoldsUnkeptWork()) {
    QFile::remove(m_path);
    return;
  }
  const std::string text = WriteRecovery(RecoveryOf(m_session));
  QSaveFile file(m_path);
  if (file.open(QIODevice::WriteOnly)) {
    file.write(text.data(), static_cast<qint64>(text.size()));
    file.commit();
  }
}

void CRecoveryKeeper::OfferLeftBehind(QWidget* window) {
  const QFileInfoList found =
      QDir(m_folder).entryInfoList({QStringLiteral("*") + Suffix}, QDir::Files, QDir::Time);
  std::vector<RecoveryFile> files;
  std::vector<std::unique_ptr<QLockFile>> gone;  // the locks of runs that are gone, now ours
  for (const QFileInfo& info : found) {
    if (info.absoluteFilePath() == QFileInfo(m_path).absoluteFilePath()) continue;
    auto lock = std::make_unique<QLockFile>(LockPathOf(info.absoluteFilePath()));
    const bool ownerRunning = !lock->tryLock(0);
    if (!ownerRunning) gone.push_back(std::move(lock));
    files.push_back(
        {info.absoluteFilePath().toStdString(), ownerRunning,
         ownerRunning ? std::string() : ReadAll(info.absoluteFilePath()).toStdString()});
  }
  const RecoveryChoice choice = ChooseRecoveries(files);
  for (const std::string& path : choice.remove) QFile::remove(FromStd(path));
  // The newest first; one run's work is restored, the others wait for the next start.
  const QString path = choice.offer.empty() ? QString() : FromStd(choice.offer.front());
  // Read again for the question: the file it was chosen by may be gone by now.
  const std::optional<Recovery> recovery =
      path.isEmpty() ? std::nullopt : ReadRecovery(ReadAll(path).toStdString());
  if (recovery) {
    QMessageBox box(QMessageBox::Question, tr("Recover Work"),
                    tr("The level designer ended without closing. Its work was kept:"),
                    QMessageBox::NoButton, window);
    box.setInformativeText(Contents(*recovery) + QStringLiteral("\n\n") +
                           tr("Restore it in place of the work now open?"));
    QPushButton* restore = box.addButton(tr("&Restore"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(tr("&Discard"), QMessageBox::DestructiveRole);
    box.addButton(tr("&Later"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.exec();
    if (box.clickedButton() == restore) Recover(m_session, *recovery);
    if (box.clickedButton() == restore || box.clickedButton() == discard) QFile::remove(path);
  }
  for (auto& lock : gone) lock->unlock();
}
