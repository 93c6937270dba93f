// Runs GoogleTest inside the editor's own application object, off-screen.

#include <gtest/gtest.h>

#include "app/editor_app.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  CEditorApp app(argc, argv);
  return RUN_ALL_TESTS();
}
