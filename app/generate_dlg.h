#pragma once
// Designer mode's "Generate" dialog: board size, range of moves, opened
// walls, whether the shortest solution must be the only one, a range of the
// greedy player's effort, how many levels, and the seed; the search runs on a
// worker thread with its progress shown, and Cancel stops it. One level found
// goes on the board through the document, so it can be undone; several go
// into the set as one step, and a search stopped early keeps those it found. The dialog remembers
// its settings and the last seed it used, which can be copied, so every level can be made again.

#include <QDialog>
#include <QThread>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "logic/level_generator.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class CGenerateDlg : public QDialog {
  Q_OBJECT
 public:
  /// Starts with the settings of its last run, or the size of the level on
  /// the board the first time.
  explicit CGenerateDlg(int boardSize, QWidget* parent = nullptr);
  ~CGenerateDlg() override;

  /// The request the fields describe, a seed left empty drawn from the clock;
  /// none, with the reason shown, when the fields describe no request.
  std::optional<GenerationRequest> Request();
  /// No level found is alike one of these (canonical codes): the set's levels.
  void AvoidLevels(std::vector<std::string> canonicalCodes) { m_avoid = std::move(canonicalCodes); }
  /// The code of the (first) level found, once the dialog was accepted.
  const std::string& levelCode() const { return m_levelCodes.front(); }
  /// The codes of the levels found, once the dialog was accepted: as many as
  /// asked for, or fewer when the search was stopped or ran out of reach.
  const std::vector<std::string>& levelCodes() const { return m_levelCodes; }
  /// The number of levels asked for.
  int wanted() const;
  /// What was found and from which seed, for the status line.
  QString FoundText() const;

  QComboBox* sizeBox() const { return m_size; }
  QSpinBox* fewestMovesBox() const { return m_fewest; }
  QSpinBox* mostMovesBox() const { return m_most; }
  QCheckBox* uniqueBox() const { return m_unique; }
  QSpinBox* leastEffortBox() const { return m_leastEffort; }
  QSpinBox* mostEffortBox() const { return m_mostEffort; }
  QSpinBox* countBox() const { return m_count; }
  QLineEdit* seedEdit() const { return m_seed; }
  QLineEdit* lastSeedEdit() const { return m_lastSeed; }
  QPushButton* generateButton() const { return m_generate; }
  QLabel* progressLabel() const { return m_progress; }

 public slots:
  void reject() override;

 private:
  void StartSearch();
  void ShowProgress(const SearchProgress& progress);
  void SearchEnded();
  void StopSearch();
  void RememberSettings() const;

  QComboBox* m_size;
  QSpinBox* m_fewest;
  QSpinBox* m_most;  // its lowest value stands for "no limit"
  QSpinBox* m_walls;
  QCheckBox* m_unique;
  QSpinBox* m_leastEffort;
  QSpinBox* m_mostEffort;  // its lowest value stands for "no limit"
  QSpinBox* m_count;
  QLineEdit* m_seed;
  QLineEdit* m_lastSeed;  // read-only, so that the seed can be copied
  QLabel* m_progress;
  QPushButton* m_generate;
  QPushButton* m_cancel;
  QThread* m_worker = nullptr;
  std::atomic<bool> m_stop{false};
  GenerationResult m_result;  // written by the worker, read once it has finished
  std::vector<std::string> m_avoid;
  std::vector<std::string> m_levelCodes;
  std::uint64_t m_usedSeed = 0;
  int m_foundMoves = 0;
};
