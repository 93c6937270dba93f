#pragma once
// Starting the game with a level: finding its executable and passing the
// parameter text, without waiting for it.

#include <QString>
#include <QStringList>
#include <functional>

/// Starts the game with a parameter text; a game that cannot be started changes nothing.
using GameLauncher = std::function<void(const QString& parameterText)>;

/// The parameter text for a level code: the code followed directly by "Level Editor".
QString GameParameterText(const QString& code);

/// The game's executable: "korvalo.exe" or "korvalo" in the first of these
/// folders that holds one, else on the search path; empty when there is none.
QString FindGameExecutable(const QStringList& folders);

/// The folders searched before the search path: the editor's own, then the current one.
QStringList GameFolders();

/// Finds the game and starts it detached, the parameter text split as a command line is split.
void LaunchDetachedGame(const QString& parameterText);
