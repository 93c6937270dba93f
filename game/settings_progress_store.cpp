#include "game/settings_progress_store.h"

namespace {

QString KeyOf(const std::string& canonicalCode) {
  return QStringLiteral("SetProgress/") + QString::fromStdString(canonicalCode);
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
