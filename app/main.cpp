// The Korvalo Level Editor. The command line is not looked at.

#include "app/editor_app.h"

int main(int argc, char** argv) {
  CEditorApp app(argc, argv);
  if (!app.InitInstance()) return 1;
  return app.exec();
}
