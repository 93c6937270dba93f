#pragma once
// Designer mode's "Generate" dialog: board size, range of moves, seed and
// opened walls; the search runs on a worker thread with its progress shown,
// and Cancel stops it. The level found goes on the board through the
// document, so it can be undone.

#include <QDialog>
#include <QThread>
#include <atomic>
#include <optional>
#include <string>

#include "logic/level_generator.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class CGenerateDlg : public QDialog {
  Q_OBJECT
 public:
  /// Starts with the size of the level on the board.
  explicit CGenerateDlg(int boardSize, QWidget* parent = nullptr);
  ~CGenerateDlg() override;

  /// The request the fields describe; a seed left empty is drawn from the clock.
  GenerationRequest Request() const;
  /// The code of the level found, once the dialog was accepted.
  const std::string& levelCode() const { return m_levelCode; }

  QComboBox* sizeBox() const { return m_size; }
  QSpinBox* fewestMovesBox() const { return m_fewest; }
  QSpinBox* mostMovesBox() const { return m_most; }
  QLineEdit* seedEdit() const { return m_seed; }
  QPushButton* generateButton() const { return m_generate; }
  QLabel* progressLabel() const { return m_progress; }

 public slots:
  void reject() override;

 private:
  void StartSearch();
  void ShowProgress(const SearchProgress& progress);
  void SearchEnded();
  void StopSearch();

  QComboBox* m_size;
  QSpinBox* m_fewest;
  QSpinBox* m_most;  // its lowest value stands for "no limit"
  QSpinBox* m_walls;
  QLineEdit* m_seed;
  QLabel* m_progress;
  QPushButton* m_generate;
  QPushButton* m_cancel;
  QThread* m_worker = nullptr;
  std::atomic<bool> m_stop{false};
  GenerationResult m_result;  // written by the worker, read once it has finished
  std::string m_levelCode;
};
