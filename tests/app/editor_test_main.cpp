// Runs GoogleTest inside the editor's own application object, off-screen.

#include <gtest/gtest.h>

#include <QStandardPaths>

#include "app/editor_app.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  CEditorApp app(argc, argv);
  // Designer mode's settings go to a test location, never to the user's.
  QStandardPaths::setTestModeEnabled(true);
  return RUN_ALL_TESTS();
}
