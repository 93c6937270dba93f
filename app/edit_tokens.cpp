#include "app/edit_tokens.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace {

QList<EditToken> ReadAll() {
  QList<EditToken> entries;
  QFile file(EditTokensPath());
  if (!file.open(QIODevice::ReadOnly)) return entries;
  for (const QByteArray& line : file.readAll().split('\n')) {
    const QStringList fields = QString::fromUtf8(line).split(QLatin1Char('\t'));
    if (fields.size() == 3) entries.append({fields[0], fields[1], fields[2]});
  }
  return entries;
}

}  // namespace

QString EditTokensPath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/edit_tokens.tsv");
}

bool KeepEditToken(const EditToken& entry) {
  QList<EditToken> entries = ReadAll();
  entries.removeIf([&](const EditToken& kept) { return kept.code == entry.code; });
  entries.append(entry);
  QDir().mkpath(QFileInfo(EditTokensPath()).absolutePath());
  QSaveFile file(EditTokensPath());
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  for (const EditToken& kept : entries)
    file.write((kept.code + QLatin1Char('\t') + kept.address + QLatin1Char('\t') + kept.token +
                QLatin1Char('\n'))
                   .toUtf8());
  return file.commit();
}

std::optional<EditToken> FindEditToken(const QString& code) {
  for (const EditToken& entry : ReadAll())
    if (entry.code == code) return entry;
  return std::nullopt;
}
