#pragma once
// The "About" box: the program's name and version and a pointer to its home page.

#include <QDialog>

class CAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutBox(QWidget* parent = nullptr);
};
