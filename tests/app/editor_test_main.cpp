// Runs GoogleTest inside the editor's own application object, off-screen.

#include <gtest/gtest.h>

#include <QStandardPaths>

#include "app/editor_app.h"
#include "app/translations.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  CEditorApp app(argc, argv);
  // Designer mode's settings go to a test location, never to the user's.
  QStandardPaths::setTestModeEnabled(true);
  // Designer mode's texts as a designer starts it; the classic editor's texts
  // are never translated, so its tests see them as they are.
  InstallTranslations(app);
  return RUN_ALL_TESTS();
}
