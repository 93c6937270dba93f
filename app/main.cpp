// The Korvalo Level Editor. The command line knows --designer, --help and
// --version; any other command line opens the same window.

#include "app/command_line.h"
#include "app/editor_app.h"

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const StartOptions start = ReadCommandLine(arguments);
  if (start.request != StartRequest::OpenEditor)
    return PrintStartInformation(start.request, arguments);

  // Qt sees the program name alone, so its own options cannot act on the editor.
  int qtArgc = 1;
  CEditorApp app(qtArgc, argv);
  if (!app.InitInstance(start.mode, start.setFile)) return 1;
  return app.exec();
}
