#pragma once
// The choice of endless play: the board's size and the grade of the levels.

#include <QDialog>

#include "logic/level_grade.h"

class QComboBox;

struct EndlessChoice {
  int size = 5;
  Grade grade = Grade::Normal;
};

class CEndlessDialog : public QDialog {
 public:
  /// Opens with choice selected.
  explicit CEndlessDialog(EndlessChoice choice, QWidget* parent = nullptr);
  EndlessChoice Chosen() const;

 private:
  QComboBox* m_size = nullptr;
  QComboBox* m_grade = nullptr;
};
