#include "game/file_progress_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

/// Longest wait for another game's write; a write takes milliseconds.
constexpr int LockWaitMilliseconds = 5000;
/// A progress file larger than this is no progress file.
constexpr qint64 MaxProgressBytes = 16 * 1024 * 1024;

/// A name beside path that no file has yet.
QString FreeNameBeside(const QString& path, const QString& suffix) {
  QString name = path + suffix;
  for (int n = 2; QFileInfo::exists(name); ++n) name = path + suffix + '-' + QString::number(n);
  return name;
}

}  // namespace

QString DefaultProgressPath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/progress.txt");
}

CFileProgressStore::CFileProgressStore(QString path) : m_path(std::move(path)) {
  QLockFile lock(m_path + QStringLiteral(".lock"));
  QDir().mkpath(QFileInfo(m_path).absolutePath());
  lock.tryLock(LockWaitMilliseconds);
  ReadFile();
}

std::optional<int> CFileProgressStore::FewestMoves(const std::string& canonicalCode) const {
  const auto found = m_record.fewestMoves.find(canonicalCode);
  if (found == m_record.fewestMoves.end()) return std::nullopt;
  return found->second;
}

bool CFileProgressStore::SetFewestMoves(const std::string& canonicalCode, int moves) {
  ProgressRecord change;
  change.fewestMoves.emplace(canonicalCode, moves);
  return WriteWithChange(change);
}

bool CFileProgressStore::SetLastPlayed(const std::string& canonicalCode) {
  ProgressRecord change;
  change.lastPlayed = canonicalCode;
  return WriteWithChange(change);
}

bool CFileProgressStore::Merge(const ProgressRecord& other) { return WriteWithChange(other); }

bool CFileProgressStore::ReadFile() {
  QFile file(m_path);
  if (!file.exists()) return true;
  if (!file.open(QIODevice::ReadOnly)) {
    m_problem = {{GameTextId::ProgressUnreadable, {}, {m_path.toStdString()}}};
    return false;
  }
  const QByteArray bytes = file.read(MaxProgressBytes + 1);
  file.close();
  ProgressReading reading = ReadProgress(std::string_view(bytes.constData(), bytes.size()));
  if (bytes.size() > MaxProgressBytes) reading.badLines.push_back(0);
  MergeProgress(m_record, reading.record);
  if (!reading.Damaged()) return true;
  // Never written over: the player, or whoever helps, may want it back.
  m_keptAside = FreeNameBeside(m_path, QStringLiteral(".damaged"));
  if (!QFile::rename(m_path, m_keptAside)) {
    m_keptAside.clear();
    m_problem = {{GameTextId::ProgressUnreadable, {}, {m_path.toStdString()}}};
    return false;
  }
  m_problem = {{GameTextId::ProgressKeptAside, {}, {m_keptAside.toStdString()}}};
  return true;
}

bool CFileProgressStore::WriteWithChange(const ProgressRecord& change) {
  QLockFile lock(m_path + QStringLiteral(".lock"));
  const bool locked =
      QDir().mkpath(QFileInfo(m_path).absolutePath()) && lock.tryLock(LockWaitMilliseconds);
  // What another game wrote since comes first, so that this change is the newest.
  // A damaged file that cannot be put aside is not written over.
  const bool writable = locked && (ReadFile() || !QFileInfo::exists(m_path));
  MergeProgress(m_record, change);
  if (!writable) return false;
  QSaveFile file(m_path);
  const std::string text = WriteProgress(m_record);
  return file.open(QIODevice::WriteOnly) &&
         file.write(text.data(), static_cast<qint64>(text.size())) ==
             static_cast<qint64>(text.size()) &&
         file.commit();
}
