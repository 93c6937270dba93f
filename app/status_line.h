#pragma once
// Designer mode's status line under the board: the length of the shortest
// solution, or which piece is carried, following every change; and, for a few
// seconds, a message such as why a pasted text was not taken.

#include <QLabel>
#include <QTimer>
#include <optional>

#include "drawing/editing_state.h"
#include "editing/editor_document.h"

/// "Shortest solution: N moves", "Already solved" or "No solution" for the
/// shortest length (nothing when none); "Carrying the red ball" while a piece is carried.
QString StatusText(const EditingState& editing, std::optional<int> shortestMoves);

/// The verdict's figures beyond the length, for a level with a solution:
/// "1 shortest solution · 2 counter-intuitive steps · greedy effort 518";
/// empty for a level without one or solved already.
QString VerdictFigures(const Verdict& verdict);

/// The status text with the verdict's figures after it, set apart by the
/// separator; the figures are left out while a piece is carried (null verdict).
/// A level without solution says why where it can ("No solution: no open path ...").
QString StatusWithFigures(const EditingState& editing, const Verdict* verdict,
                          const QString& separator = QStringLiteral(" \u00b7 "));

class CStatusLine : public QLabel {
  Q_OBJECT
 public:
  explicit CStatusLine(QWidget* parent = nullptr);

  /// Shows the level's state: what is carried (the verdict null), or the
  /// document's verdict: the shortest length, and the analysis' figures on a
  /// second line.
  void ShowLevel(const EditingState& editing, const Verdict* verdict);
  /// Shows a message instead of the level's state for the given time.
  void ShowMessage(const QString& text, int milliseconds = 4000);

 private:
  void ShowCurrent();

  QString m_levelText;
  QTimer m_messageTime;
};
