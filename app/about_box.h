#pragma once
// The "About" box: the program's name and version and a pointer to its home page.

#include <QDialog>

#include "app/editor_mode.h"

class CAboutBox : public QDialog {
  Q_OBJECT
 public:
  /// The classic box keeps its exact size, font and English texts; designer
  /// mode's speaks the user's language and grows with its texts.
  explicit CAboutBox(QWidget* parent = nullptr, EditorMode mode = EditorMode::Classic);

 private:
  void LayOutClassic();
  void LayOutForDesigner();
};
