#include "game/settings_progress_store.h"

namespace {

const QString Group = QStringLiteral("SetProgress");

QString KeyOf(const std::string& canonicalCode) {
  return Group + QLatin1Char('/') + QString::fromStdString(canonicalCode);
}

}  // namespace

std::optional<int> CSettingsProgressStore::FewestMoves(const std::string& canonicalCode) const {
  const QVariant value = m_settings.value(KeyOf(canonicalCode));
  if (!value.isValid()) return std::nullopt;
  bool isNumber = false;
  const int moves = value.toString().toInt(&isNumber);
  if (!isNumber || moves < 0) return std::nullopt;
  return moves;
}

bool CSettingsProgressStore::SetFewestMoves(const std::string& canonicalCode, int moves) {
  m_settings.setValue(KeyOf(canonicalCode), moves);
  m_settings.sync();
  return m_settings.status() == QSettings::NoError;
}

std::map<std::string, int> CSettingsProgressStore::AllFewestMoves() const {
  std::map<std::string, int> all;
  QSettings settings;
  settings.beginGroup(Group);
  for (const QString& key : settings.childKeys()) {
    const std::string code = key.toStdString();
    if (const std::optional<int> moves = FewestMoves(code)) all.emplace(code, *moves);
  }
  return all;
}

bool CSettingsProgressStore::Forget() {
  m_settings.remove(Group);
  m_settings.sync();
  return m_settings.status() == QSettings::NoError;
}
