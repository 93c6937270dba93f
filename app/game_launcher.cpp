#include "app/game_launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

/// The Windows name first; systems whose executables have no suffix use the bare name.
const QStringList GameNames = {QStringLiteral("korvalo.exe"), QStringLiteral("korvalo")};

bool IsRunnableFile(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && info.isExecutable();
}

}  // namespace

QString GameParameterText(const QString& code) { return code + QStringLiteral("Level Editor"); }

QString FindGameExecutable(const QStringList& folders) {
  for (const QString& folder : folders) {
    for (const QString& name : GameNames) {
      const QString path = QDir(folder).absoluteFilePath(name);
      if (IsRunnableFile(path)) return path;
    }
  }
  for (const QString& name : GameNames) {
    const QString path = QStandardPaths::findExecutable(name);
    if (!path.isEmpty()) return path;
  }
  return {};
}

QStringList GameFolders() {
  return {QCoreApplication::applicationDirPath(), QDir::currentPath()};
}

void LaunchDetachedGame(const QString& parameterText) {
  const QString program = FindGameExecutable(GameFolders());
  if (program.isEmpty()) return;
  QProcess::startDetached(program, QProcess::splitCommand(parameterText));
}
