#pragma once
// Designer mode's panel beside the board: the levels of the set being edited,
// each with a small picture, its title, the length of its shortest solution,
// how many shortest solutions it has and a greedy player's effort, the mark of the level the board
// holds, and the buttons of the Set menu's commands. It grows with the window.

#include <QHash>
#include <QIcon>
#include <QWidget>

#include "editing/set_document.h"
#include "logic/level_analysis.h"
#include "logic/level_grade.h"
#include "view/board_renderer.h"

class CPlayFiguresFetcher;
class QAction;
class QLabel;
class QListWidget;

class CLevelSetPanel : public QWidget {
  Q_OBJECT
 public:
  /// The rows' grades are worked out with the parameters.
  explicit CLevelSetPanel(GradeParameters grading = {}, QWidget* parent = nullptr);

  /// Shows the set's name and levels; the selection stays on the same index where it can.
  void Show(const SetDocument& set);
  /// The selected level's index, or -1 when none is selected.
  int selectedIndex() const;
  void Select(int index);
  /// Buttons under the list, each with a short label, that trigger the
  /// actions and follow whether they are enabled.
  void AddButtons(const QList<QPair<QString, QAction*>>& buttons);
  /// Marks the level the board holds (-1: none) and whether the board differs from it.
  void MarkBoardLevel(int index, bool boardChanged);
  /// Under the set's name: that its file is read-only, and the order it is
  /// sorted by (empty: none).
  void ShowMarks(bool readOnly, const QString& sortedBy);
  /// Whether the pictures show the colours' shapes, as the board does; they
  /// are drawn anew at the next Show.
  void SetPieceSymbols(bool on);

  QListWidget* list() const { return m_list; }
  /// How people fare on the set's published levels, shown in their rows.
  CPlayFiguresFetcher* playFigures() const { return m_people; }
  /// The list, then the buttons, in the order Tab visits them.
  QList<QWidget*> FocusOrder() const;

 signals:
  /// A level double-clicked or chosen with Enter: to be opened for editing.
  void levelActivated(int index);
  void selectionChanged();

 private:
  /// The level's board, drawn as the editor draws it, small, with as many
  /// pixels as the screen has.
  QIcon Picture(const std::string& code);
  /// "23 moves · 1 solution · effort 518" (the length, the shortest
  /// solutions and the greedy effort), "solved", "no solution" or "not a level".
  QString Figures(const std::string& code);
  /// Takes the lines of people's figures for the rows from the fetcher.
  void ShowPlayFigures();
  /// The text of the level's row, with the board's mark when it holds the level.
  QString RowText(int index) const;

  QLabel* m_heading;
  QLabel* m_marks;
  QListWidget* m_list;
  QWidget* m_buttons;
  BoardRenderer m_renderer;
  QHash<QString, QIcon> m_pictures;  // by code
  qreal m_picturesRatio = 0;         // the device pixel ratio they were drawn for
  LevelAnalyzer m_analyzer;
  GradeParameters m_grading;
  QHash<QString, QString> m_figures;  // by code
  QStringList m_rowTexts;             // without the board's mark and people's figures
  std::vector<std::string> m_codes;   // of the rows
  QStringList m_peopleLines;          // people's figures of the rows; none before any
  CPlayFiguresFetcher* m_people;
  int m_boardLevel = -1;
  bool m_boardChanged = false;
};

/// The set's name as the panel and the window title show it: its title, else
/// its file's name, else "Untitled set".
QString SetDisplayName(const SetDocument& set);
