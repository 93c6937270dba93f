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

/// The game's executable: "korvalo.exe" or "korvalo" in the editor's own
/// folder, else in a folder of the search path; empty when there is none.
/// The current folder is never searched, not even through an empty or
/// relative entry of the search path: whoever can write there would choose
/// what runs.
QString FindGameExecutable(const QString& editorFolder);

/// Finds the game and starts it detached, with the parameter text split into
/// arguments as a command line is split and passed as a list, never through a shell.
void LaunchDetachedGame(const QString& parameterText);

/// Starts the game with a list of arguments, each passed as it is.
using GameArgumentsLauncher = std::function<void(const QStringList& arguments)>;

/// The game's arguments that play a set file from its level (counted from 1),
/// marked as the editor's as the parameter text of a level code is.
QStringList SetGameArguments(const QString& path, int level);

/// Finds the game and starts it detached with the arguments, never through a shell.
void LaunchDetachedGameWith(const QStringList& arguments);
