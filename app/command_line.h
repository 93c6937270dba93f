#pragma once
// The editor's command line: --designer, --help and --version, and nothing
// else that changes what the program does. Qt's own options (-platform, -reverse, ...)
// never reach Qt: the application is given the program name alone.

#include <QStringList>

#include "app/editor_mode.h"

/// What the command line asks the editor to do.
enum class StartRequest { OpenEditor, ShowHelp, ShowVersion };

struct StartOptions {
  StartRequest request = StartRequest::OpenEditor;
  EditorMode mode = EditorMode::Classic;
  QString setFile;  // designer mode: a level set to open at start; empty for none
};

/// Reads the arguments (the program name first). Anything the editor does
/// not document is ignored, so every other command line opens the same window.
StartOptions ReadCommandLine(const QStringList& arguments);

/// Prints the help or the version text on standard output (before any window
/// exists, so no display is needed) and returns the exit status; 3 when
/// standard output cannot be written.
int PrintStartInformation(StartRequest request, const QStringList& arguments);
