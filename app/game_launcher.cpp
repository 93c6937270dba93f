#include "app/game_launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

/// What marks the game as the editor's, after the level code or the set file:
/// the game then never sends play records of what it plays.
const QString EditorWords = QStringLiteral("Level Editor");

/// The Windows name first; systems whose executables have no suffix use the bare name.
const QStringList GameNames = {QStringLiteral("korvalo.exe"), QStringLiteral("korvalo")};

bool IsRunnableFile(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && info.isExecutable();
}

QString GameIn(const QString& folder) {
  for (const QString& name : GameNames) {
    const QString path = QDir(folder).absoluteFilePath(name);
    if (IsRunnableFile(path)) return path;
  }
  return {};
}

/// The absolute folders of the search path; empty and relative entries, which
/// name the current folder, are left out.
QStringList SearchPathFolders() {
  QStringList folders;
  const QString path = QString::fromLocal8Bit(qgetenv("PATH"));
  for (const QString& folder : path.split(QDir::listSeparator(), Qt::SkipEmptyParts)) {
    if (QDir::isAbsolutePath(folder)) folders << folder;
  }
  return folders;
}

}  // namespace

QString GameParameterText(const QString& code) { return code + EditorWords; }

QString FindGameExecutable(const QString& editorFolder) {
  if (QDir::isAbsolutePath(editorFolder)) {
    if (const QString game = GameIn(editorFolder); !game.isEmpty()) return game;
  }
  for (const QString& folder : SearchPathFolders()) {
    if (const QString game = GameIn(folder); !game.isEmpty()) return game;
  }
  return {};
}

void LaunchDetachedGame(const QString& parameterText) {
  LaunchDetachedGameWith(QProcess::splitCommand(parameterText));
}

QStringList SetGameArguments(const QString& path, int level) {
  return {QStringLiteral("--level"), QString::number(level), path, EditorWords};
}

void LaunchDetachedGameWith(const QStringList& arguments) {
  const QString program = FindGameExecutable(QCoreApplication::applicationDirPath());
  if (program.isEmpty()) return;
  QProcess::startDetached(program, arguments);
}
