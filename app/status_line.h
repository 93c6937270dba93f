#pragma once
// Designer mode's status line under the board: the length of the shortest
// solution, or which piece is carried, following every change; and, for a few
// seconds, a message such as why a pasted text was not taken.

#include <QLabel>
#include <QTimer>
#include <optional>

#include "drawing/editing_state.h"

/// "Shortest solution: N moves", "Already solved" or "No solution" for the
/// shortest length (nothing when none); "Carrying the red ball" while a piece is carried.
QString StatusText(const EditingState& editing, std::optional<int> shortestMoves);

class CStatusLine : public QLabel {
  Q_OBJECT
 public:
  explicit CStatusLine(QWidget* parent = nullptr);

  /// Shows the level's state: what is carried, or the shortest length the
  /// document's verdict gives (nothing when there is no solution).
  void ShowLevel(const EditingState& editing, std::optional<int> shortestMoves);
  /// Shows a message instead of the level's state for the given time.
  void ShowMessage(const QString& text, int milliseconds = 4000);

 private:
  void ShowCurrent();

  QString m_levelText;
  QTimer m_messageTime;
};
